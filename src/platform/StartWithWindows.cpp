#include "platform/StartWithWindows.h"

#include <algorithm>
#include <exception>

#include "base/Convert.h"
#include "platform/ErrorText.h"

namespace platform {
namespace {

// A value longer than this is not a command line this program wrote.
constexpr std::uint32_t kLongestEntry = 4096;

// An open key, closed when it goes.
class Key {
 public:
  explicit Key(os::Advapi32& advapi32) : advapi32_(advapi32) {}
  ~Key() {
    if (handle) advapi32_.RegCloseKey(handle);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  os::HKey handle = 0;

 private:
  os::Advapi32& advapi32_;
};

// The entry's command, or empty when there is none (or none that is a text).
std::string ReadEntry(os::Advapi32& advapi32) {
  Key run(advapi32);
  if (advapi32.RegOpenKeyExA(os::kHKeyCurrentUser, kRunKey, 0, os::kKeyQueryValue, run.handle) != os::kErrorSuccess)
    return {};
  std::uint32_t type = 0, length = 0;
  std::string data;
  if (advapi32.RegQueryValueExA(run.handle, kRunValue, type, data, length) != os::kErrorSuccess) return {};
  if ((type != os::kRegSz && type != os::kRegExpandSz) || length == 0 || length > kLongestEntry) return {};
  if (advapi32.RegQueryValueExA(run.handle, kRunValue, type, data, length) != os::kErrorSuccess) return {};
  // Stored with its ending NUL, or (written by another program) without one.
  data.resize(std::min<std::size_t>(data.size(), length));
  while (!data.empty() && data.back() == '\0') data.pop_back();
  return data;
}

}  // namespace

std::string StartupCommand(os::Kernel32& kernel32) {
  const std::string path = kernel32.GetModuleFileNameA();
  if (path.empty() || path.find('?') != std::string::npos) return {};
  return "\"" + path + "\" " + kStartupSwitch;
}

bool StartsWithWindows(const os::Services& os) {
  try {
    const std::string command = StartupCommand(os.kernel32);
    return !command.empty() && base::Lower(ReadEntry(os.advapi32)) == base::Lower(command);
  } catch (const std::exception&) {
    return false;  // a registry this Windows does not offer holds no entry
  }
}

bool SetStartWithWindows(const os::Services& os, bool on, std::string& reason) {
  try {
    const std::string command = StartupCommand(os.kernel32);
    if (on && command.empty()) {
      reason = "The program's folder has a name Windows cannot start it by at logon.";
      return false;
    }
    Key run(os.advapi32);
    std::int32_t error = os::kErrorSuccess;
    if (on) {
      std::uint32_t disposition = 0;
      error = os.advapi32.RegCreateKeyExA(os::kHKeyCurrentUser, kRunKey, 0, "", os::kRegOptionNonVolatile,
                                          os::kKeySetValue, run.handle, disposition);
      if (error == os::kErrorSuccess)
        error = os.advapi32.RegSetValueExA(run.handle, kRunValue, 0, os::kRegSz, command + '\0');
    } else {
      error = os.advapi32.RegOpenKeyExA(os::kHKeyCurrentUser, kRunKey, 0, os::kKeySetValue, run.handle);
      if (error == os::kErrorSuccess) error = os.advapi32.RegDeleteValueA(run.handle, kRunValue);
      if (error == os::kErrorFileNotFound) error = os::kErrorSuccess;  // no key, or no value: nothing to remove
    }
    if (error == os::kErrorSuccess) return true;
    reason = platform::ErrorText(os.kernel32, static_cast<std::uint32_t>(error));
  } catch (const std::exception& failure) {
    reason = failure.what();
  }
  return false;
}

}  // namespace platform
