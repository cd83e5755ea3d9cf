// Any bytes as the settings file: the main window starts from it and saves again. Nothing may
// crash, hang or trip a sanitizer, and the file saved always has all its lines.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/frmMain.h"
#include "os/fake/FakeServices.h"
#include "session/ProgramState.h"
#include "settings/modSettings.h"
#include "ui/Runtime.h"
#include "ui/headless/Backend.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  os::fake::VirtualClock clock;
  ui::headless::Backend backend{clock};
  ui::Runtime runtime{backend};
  backend.Attach(runtime);
  os::fake::FakeServices fake{clock};
  session::ProgramState state{fake.Services()};
  const std::string path = "C:\\Program Files\\Quenlar\\settings.qnl";
  fake.files.disk[path] = std::string(reinterpret_cast<const char*>(data), size);
  {
    app::frmMain main(runtime, state);
    main.Initialize();
    main.Show();
    if (!main.SaveSett(path)) std::abort();
  }
  const std::string& saved = fake.files.disk[path];
  std::size_t lines = 0;
  for (std::size_t at = saved.find("\r\n"); at != std::string::npos; at = saved.find("\r\n", at + 2)) ++lines;
  if (lines != settings::kLineCount || saved.size() < 2 || saved.substr(saved.size() - 2) != "\r\n") {
    std::fprintf(stderr, "the saved file has %zu lines:\n%s\n", lines, saved.c_str());
    std::abort();
  }
  return 0;
}
