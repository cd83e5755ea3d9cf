// Any bytes as the body of the version file: the update check reads the number and tells the
// user exactly one of its answers, then is ready for the next check. Nothing may crash, hang or
// trip a sanitizer, and the number read is always a finite one the answer can show.
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/frmMain.h"
#include "os/fake/FakeServices.h"
#include "session/ProgramState.h"
#include "ui/Runtime.h"
#include "ui/headless/Backend.h"
#include "update/Site.h"
#include "update/modUpdate.h"

namespace {

[[noreturn]] void Fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string body(reinterpret_cast<const char*>(data), size);
  double version = update::ReadVersion(body);
  if (!std::isfinite(version)) Fail("not a finite version", body);

  os::fake::VirtualClock clock;
  ui::headless::Backend backend{clock};
  ui::Runtime runtime{backend};
  backend.Attach(runtime);
  os::fake::FakeServices fake{clock};
  fake.wininet.site[update::SiteAddress("/product/qnl_curver.txt")] = os::fake::Wininet::Answer::Page(body);
  session::ProgramState state{fake.Services()};
  app::frmMain main(runtime, state);
  main.Initialize();
  main.Show();
  backend.Choose(main.mnu_update);
  backend.Advance(std::chrono::milliseconds(300));
  const auto& shown = backend.MessageBoxes().Log();
  if (shown.size() != 1) Fail("messages shown", std::to_string(shown.size()));
  const std::string& text = shown[0].text;
  bool known = text.rfind("There is a update to version ", 0) == 0 ||
               text == "Sorry, No new updates are available!     " ||
               text.rfind("Unable to get update information.", 0) == 0;
  if (!known) Fail("unexpected message", text);
  if (main.tmrUpdate.Enabled() || !main.mnu_update.Enabled()) Fail("the check did not end", text);
  return 0;
}
