// The update check through the real wininet, against a web server on the loopback: what each
// answer the site can give ends as, and the ten-second give-up.
#include "LocalSite.h"
#include "Win32Fixture.h"
#include "app/frmMain.h"
#include "os/win32/Kernel32.h"
#include "os/win32/Wininet.h"
#include "update/Inet.h"
#include "update/Site.h"

#include <memory>
#include <set>

namespace {

namespace shell32 = os::fake::shell32;
using win32_testing::H;
using win32_testing::LocalSite;

constexpr const char* kUnable =
    "Unable to get update information.\rPlease check your internet connection and try again.    ";
constexpr const char* kNoNewer = "Sorry, No new updates are available!     ";
constexpr int kUpdateItem = 4;  // "Check for updates" in the menu bar's first menu
constexpr const char* kTimedOut = "Timout Exceeded!\rPlease check your internet connection and try again.";

// The port of the test programs' site address, "http://127.0.0.1:port".
unsigned short SitePort() {
  std::string base = update::kSiteBase;
  const std::string prefix = "http://127.0.0.1:";
  if (base.compare(0, prefix.size(), prefix) != 0) return 0;
  return static_cast<unsigned short>(std::stoi(base.substr(prefix.size())));
}

// The fetch on a thread of its own; what it gives once it has ended.
std::string Fetch(update::Inet& inet, const std::string& url) {
  inet.OpenURL(url);
  for (DWORD start = GetTickCount(); inet.StillExecuting() && GetTickCount() - start < 20000;) Sleep(5);
  return inet.Result();
}

TEST(RealInet, FetchesABodyAndRefusesAnythingButOk) {
  LocalSite site;
  ASSERT_TRUE(site.Listening());
  os::win32::Wininet wininet;
  os::win32::Kernel32 kernel32;
  update::Inet inet(wininet, kernel32);
  std::string url = site.Address() + "/product/qnl_curver.txt";
  site.Serve(200, "1.4\r\n");
  EXPECT_EQ(Fetch(inet, url), "1.4\r\n");
  site.Serve(404, "404 Not Found");
  EXPECT_EQ(Fetch(inet, url), "");
  site.Serve(200, std::string(100000, '7'));
  EXPECT_EQ(Fetch(inet, url).size(), update::Inet::kMaxBody);
  EXPECT_FALSE(inet.StillExecuting());
  EXPECT_EQ(site.Requests(), 3);
  site.Drop();
  EXPECT_EQ(Fetch(inet, url), "");
  EXPECT_FALSE(inet.TimedOut()) << "a connection the server closes at once is no time-out, wininet error "
                                << wininet.GetLastError();
}

// The fake kernel, but with the system's threads and its clock of elapsed time, which the
// transfer runs on.
struct KernelWithThreads : os::fake::Kernel32 {
  using Kernel32::Kernel32;
  os::Handle CreateThread(std::function<void()> work) override {
    os::Handle thread = real.CreateThread(std::move(work));
    threads.insert(thread);
    return thread;
  }
  std::uint32_t WaitForSingleObject(os::Handle object, std::uint32_t ms) override {
    return real.WaitForSingleObject(object, ms);
  }
  std::int32_t CloseHandle(os::Handle object) override {
    return threads.erase(object) ? real.CloseHandle(object) : Kernel32::CloseHandle(object);
  }
  std::uint32_t GetTickCount() override { return real.GetTickCount(); }
  os::win32::Kernel32 real;
  std::set<os::Handle> threads;
};

// The fakes, except for the real wininet and threads.
struct FakesWithRealWininet : os::fake::FakeServices {
  explicit FakesWithRealWininet(os::fake::VirtualClock& clock) : FakeServices(clock), kernel32(log, clock) {}
  os::win32::Wininet wininet;
  KernelWithThreads kernel32;
};

class NativeUpdateCheck : public win32_testing::Win32Test {
 protected:
  NativeUpdateCheck() {
    main.Initialize();
    main.Show();
    Pump();
  }
  ~NativeUpdateCheck() override {
    if (!runtime.Ended()) {
      webState.Control.End();
      main.Unload();
    }
  }
  // Ctrl+U in the main window, then its own loop until the result's message; the text of that
  // message ("" when none came within 20 s), and how long it took in `took`.
  std::string Check(DWORD* took = nullptr) {
    std::size_t before = boxes.Log().size();
    DWORD start = GetTickCount();
    Key(H(main), 'U', true);
    while (boxes.Log().size() == before && GetTickCount() - start < 20000) Pump(10);
    if (took) *took = GetTickCount() - start;
    return boxes.Log().size() > before ? boxes.Log().back().text : "";
  }

  std::unique_ptr<LocalSite> site = std::make_unique<LocalSite>(SitePort());
  FakesWithRealWininet services{clock};
  session::ProgramState webState{os::ServicesOf(services)};
  app::frmMain main{runtime, webState};
};

TEST_F(NativeUpdateCheck, EveryAnswerOfTheSiteEndsAsItsMessage) {
  ASSERT_NE(SitePort(), 0) << "the test programs' site is " << update::kSiteBase;
  ASSERT_TRUE(site->Listening());
  HMENU menu = GetSubMenu(GetMenu(H(main)), 0);
  std::string captionMeanwhile;
  bool greyedMeanwhile = false;
  site->OnRequest = [&] {
    // On the site's thread while the transfer waits: read the caption and menu without messages.
    wchar_t caption[128] = {};
    InternalGetWindowText(H(main), caption, 128);
    captionMeanwhile = std::string(caption, caption + wcslen(caption));
    greyedMeanwhile = GetMenuState(menu, kUpdateItem, MF_BYPOSITION) & MF_GRAYED;
  };

  site->Serve(200, "1.4");
  boxes.Answer(ui::vbYes);
  EXPECT_EQ(Check(), "There is a update to version 1.4 is available!    \rDo you want to download it now?");
  EXPECT_EQ(captionMeanwhile, ":: Quenlar 1.3 :: Checking for updates...");
  EXPECT_TRUE(greyedMeanwhile);
  EXPECT_EQ(services.log.Of<shell32::ShellExecuteA>(),
            (std::vector{shell32::ShellExecuteA{0, "Open", update::SiteAddress("/product/qnl.html"), "", "", 3}}));
  EXPECT_EQ(win32_testing::TextOf(main.hWnd()), ":: Quenlar 1.3 ::");
  EXPECT_FALSE(GetMenuState(menu, kUpdateItem, MF_BYPOSITION) & MF_GRAYED);

  struct Case {
    int status;
    const char* body;
    const char* message;
  };
  for (Case c : {Case{200, "1.3", kNoNewer}, Case{200, "1.10\n", kNoNewer}, Case{200, "", kUnable},
                 Case{200, "<html><body><h1>Service Unavailable</h1></body></html>", kUnable},
                 Case{404, "404 Not Found", kUnable}}) {
    site->Serve(c.status, c.body);
    boxes.Answer(ui::vbOK);
    EXPECT_EQ(Check(), c.message) << c.status << " " << c.body;
    EXPECT_EQ(win32_testing::TextOf(main.hWnd()), ":: Quenlar 1.3 ::");
  }
  EXPECT_EQ(site->Requests(), 6);

  site.reset();  // nothing listens any more
  boxes.Answer(ui::vbOK);
  DWORD took = 0;
  EXPECT_EQ(Check(&took), kUnable);
  EXPECT_LT(took, 3000u);
  EXPECT_FALSE(GetMenuState(menu, kUpdateItem, MF_BYPOSITION) & MF_GRAYED);
}

// The window works on while the site keeps it waiting: its clock ticks.
TEST_F(NativeUpdateCheck, AServerThatNeverAnswersIsGivenUpAfterTenSecondsWhileTheWindowWorks) {
  ASSERT_TRUE(site->Listening());
  site->Silent();
  int clockTicks = 0;
  main.tmrTime.TimerEvent = [&] { ++clockTicks; };
  boxes.Answer(ui::vbOK);
  DWORD took = 0;
  EXPECT_EQ(Check(&took), kTimedOut);
  std::printf("a server that never answers was given up after %lu ms, the clock ticking %d times meanwhile\n", took,
              clockTicks);
  EXPECT_GE(took, 9500u);
  EXPECT_LE(took, 12500u);
  EXPECT_GE(clockTicks, 15) << "twice a second while the check ran";
  EXPECT_EQ(win32_testing::TextOf(main.hWnd()), ":: Quenlar 1.3 ::") << "the caption came back";
  EXPECT_FALSE(main.tmrUpdate.Enabled());
  EXPECT_TRUE(main.mnu_update.Enabled());
  EXPECT_FALSE(main.iNet.StillExecuting());
}

}  // namespace
