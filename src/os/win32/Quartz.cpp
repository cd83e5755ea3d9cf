#include "os/win32/Quartz.h"

// MinGW's DirectShow headers use the old string functions that strsafe.h would forbid.
#define STRSAFE_NO_DEPRECATE
#include <windows.h>
#include <dshow.h>

#include <string>

#include "base/RuntimeError.h"
#include "os/win32/SystemLibrary.h"

namespace os::win32 {
namespace {

// Holds one interface of the object and releases it when let go.
template <typename Interface>
class Held {
 public:
  explicit Held(Interface* held) : held_(held) {}
  ~Held() { held_->Release(); }
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;

 protected:
  Interface* held_;
};

class MediaControl : public os::IMediaControl, Held<::IMediaControl> {
 public:
  using Held::Held;
  // DirectShow takes the name in UTF-16 on every Windows.
  std::int32_t RenderFile(const std::string& fileName) override {
    const std::wstring wide = Wide(fileName);
    BSTR name = Resolve<decltype(&::SysAllocString)>("oleaut32.dll", "SysAllocString")(wide.c_str());
    HRESULT result = held_->RenderFile(name);
    Resolve<decltype(&::SysFreeString)>("oleaut32.dll", "SysFreeString")(name);
    return result;
  }
  std::int32_t Run() override { return held_->Run(); }
  std::int32_t Stop() override { return held_->Stop(); }
};

class MediaPosition : public os::IMediaPosition, Held<::IMediaPosition> {
 public:
  using Held::Held;
  std::int32_t put_CurrentPosition(double seconds) override { return held_->put_CurrentPosition(seconds); }
};

class BasicAudio : public os::IBasicAudio, Held<::IBasicAudio> {
 public:
  using Held::Held;
};

}  // namespace

Quartz::~Quartz() {
  if (comStarted_) Resolve<decltype(&::CoUninitialize)>("ole32.dll", "CoUninitialize")();
}

// CLSID_FilterGraph is the filter graph manager's class, {E436EBB3-524F-11CE-9F53-0020AF0BA770}.
FilgraphManager Quartz::CreateFilgraphManager() {
  if (!comStarted_) comStarted_ = SUCCEEDED(Resolve<decltype(&::CoInitialize)>("ole32.dll", "CoInitialize")(nullptr));
  ::IMediaControl* control = nullptr;
  if (FAILED(Resolve<decltype(&::CoCreateInstance)>("ole32.dll", "CoCreateInstance")(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IMediaControl,
                              reinterpret_cast<void**>(&control))))
    throw base::RuntimeError(base::kCannotCreateObject, "ActiveX component can't create object");
  FilgraphManager manager;
  manager.control = std::make_unique<MediaControl>(control);
  ::IBasicAudio* audio = nullptr;
  if (SUCCEEDED(control->QueryInterface(IID_IBasicAudio, reinterpret_cast<void**>(&audio))))
    manager.audio = std::make_unique<BasicAudio>(audio);
  ::IMediaPosition* position = nullptr;
  if (SUCCEEDED(control->QueryInterface(IID_IMediaPosition, reinterpret_cast<void**>(&position))))
    manager.position = std::make_unique<MediaPosition>(position);
  return manager;
}

}  // namespace os::win32
