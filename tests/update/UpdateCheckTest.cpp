// "Check for updates": the version file's number, the fetch and its failures, the poll and the
// result the user is told.
#include "support/Harness.h"
#include "update/Inet.h"
#include "update/Site.h"
#include "update/modUpdate.h"

namespace {

namespace shell32 = os::fake::shell32;
namespace wininet = os::fake::wininet;
using os::fake::Calls;
using testing_support::MainWindowTest;
using Answer = os::fake::Wininet::Answer;
using namespace std::chrono_literals;

constexpr const char* kNewer = "There is a update to version 1.4 is available!    \rDo you want to download it now?";
constexpr const char* kNoNewer = "Sorry, No new updates are available!     ";
constexpr const char* kUnable =
    "Unable to get update information.\rPlease check your internet connection and try again.    ";
constexpr const char* kTimedOut = "Timout Exceeded!\rPlease check your internet connection and try again.";

const std::string kVersionFile = update::SiteAddress("/product/qnl_curver.txt");

TEST(ReadVersion, ReadsTheLeadingDecimalNumberOnly) {
  EXPECT_EQ(update::ReadVersion("1.4"), 1.4);
  EXPECT_EQ(update::ReadVersion("1.4\r\n"), 1.4);
  EXPECT_EQ(update::ReadVersion(" \t\n1.4"), 1.4);
  EXPECT_EQ(update::ReadVersion("1 .\n4"), 1.4) << "blanks, tabs and line feeds inside the number";
  EXPECT_EQ(update::ReadVersion("1.4.2"), 1.4);
  EXPECT_EQ(update::ReadVersion("1.4e2"), 1.4) << "no exponent";
  EXPECT_EQ(update::ReadVersion("2"), 2);
  EXPECT_EQ(update::ReadVersion(""), 0);
  EXPECT_EQ(update::ReadVersion("<html><body>1.4</body></html>"), 0);
  EXPECT_LT(update::ReadVersion("1.10"), update::OwnVersion()) << "1.10 is lower than 1.3";
  EXPECT_EQ(update::OwnVersion(), update::ReadVersion("1.3"));
}

class UpdateCheck : public MainWindowTest {
 protected:
  void SetUp() override { Start(); }
  void Serve(Answer answer) { fake.wininet.site[kVersionFile] = std::move(answer); }
  // Chooses "Check for updates" and lets the poll pick up the result.
  void Check() {
    ASSERT_TRUE(backend.Choose(M().mnu_update));
    backend.Advance(100ms);
  }
  std::vector<shell32::ShellExecuteA> PagesOpened() { return fake.log.Of<shell32::ShellExecuteA>(); }
  // The check has ended: the poll stopped, the menu item back, nothing left open.
  void ExpectIdle() {
    EXPECT_FALSE(M().tmrUpdate.Enabled());
    EXPECT_TRUE(M().mnu_update.Enabled());
    EXPECT_EQ(fake.wininet.OpenHandles(), 0u);
  }
};

TEST_F(UpdateCheck, ANewerVersionIsOfferedAndYesOpensTheDownloadPageMaximised) {
  Serve(Answer::Page("1.4\r\n"));
  boxes().Answer(ui::vbYes);
  Check();
  ASSERT_EQ(boxes().Log().size(), 1u);
  EXPECT_EQ(LastBox(), kNewer);
  EXPECT_EQ(boxes().Log().back().style, 68);
  EXPECT_EQ(boxes().Log().back().title, ":: Quenlar 1.3 ::");
  EXPECT_EQ(PagesOpened(), (std::vector{shell32::ShellExecuteA{0, "Open", update::SiteAddress("/product/qnl.html"),
                                                                "", "", os::kSwShowMaximized}}));
  EXPECT_EQ(M().Caption(), ":: Quenlar 1.3 ::");
  ExpectIdle();
}

TEST_F(UpdateCheck, NoToTheOfferOpensNothingAndAWholeNumberIsWrittenShort) {
  Serve(Answer::Page("2.0"));
  boxes().Answer(ui::vbNo);
  Check();
  EXPECT_EQ(LastBox(), "There is a update to version 2 is available!    \rDo you want to download it now?");
  EXPECT_TRUE(PagesOpened().empty());
  ExpectIdle();
}

TEST_F(UpdateCheck, TheSameOrALowerVersionHasNoNewUpdates) {
  for (const char* body : {"1.3", "1.10", " 1.2\n"}) {
    Serve(Answer::Page(body));
    boxes().Answer(ui::vbOK);
    Check();
    EXPECT_EQ(LastBox(), kNoNewer) << body;
    EXPECT_EQ(boxes().Log().back().style, ui::mb::kInformation);
    ExpectIdle();
  }
  EXPECT_EQ(boxes().Log().size(), 3u);
}

TEST_F(UpdateCheck, WhatIsNotAVersionGivesNoInformation) {
  std::vector<std::pair<std::string, Answer>> failures = {
      {"an empty body", Answer::Page("")},
      {"an HTML error page", Answer::Page("<html><head><title>Error</title></head></html>")},
      {"a 404 page whose text begins with its number", Answer::Page("404 Not Found", 404)},
      {"a server error with a version-like body", Answer::Page("1.4", 500)},
      {"nothing listening", Answer::Failing(os::kErrorInternetCannotConnect)},
      {"a body that breaks off", Answer::BreakingOff("1.", os::kErrorInternetConnectionReset)},
  };
  for (const auto& [what, answer] : failures) {
    Serve(answer);
    boxes().Answer(ui::vbOK);
    Check();
    EXPECT_EQ(LastBox(), kUnable) << what;
    EXPECT_EQ(boxes().Log().back().style, ui::mb::kExclamation) << what;
    EXPECT_EQ(M().Caption(), ":: Quenlar 1.3 ::") << what;
    ExpectIdle();
  }
  fake.wininet.site.clear();  // the host cannot be found
  boxes().Answer(ui::vbOK);
  Check();
  EXPECT_EQ(LastBox(), kUnable);
  EXPECT_TRUE(PagesOpened().empty());
}

TEST_F(UpdateCheck, TheRequestAsksTheSiteAfreshWithTenSecondTimeOuts) {
  Serve(Answer::Page("1.3"));
  boxes().Answer(ui::vbOK);
  Check();
  auto requests = fake.log.Of<wininet::HttpOpenRequestA>();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_TRUE(requests[0].flags & os::kInternetFlagReload) << "never an old copy from the cache";
  // The request that was sent is one the time-outs were set on.
  os::Handle request = fake.log.Of<wininet::HttpSendRequestA>().at(0).request;
  auto options = fake.log.Of<wininet::InternetSetOptionA>();
  for (std::uint32_t option : {os::kInternetOptionConnectTimeout, os::kInternetOptionSendTimeout,
                               os::kInternetOptionReceiveTimeout})
    EXPECT_NE(std::find(options.begin(), options.end(), wininet::InternetSetOptionA{request, option, 10000}),
              options.end())
        << "time-out " << option;
}

// The transfer runs on a thread of its own: the window goes on working while it waits.
TEST_F(UpdateCheck, WhileTheFetchRunsTheWindowWorksTheMenuItemIsGreyedAndTheCaptionSaysSo) {
  Serve(Answer::Page("1.3"));
  fake.kernel32.runThreadsAtOnce = false;
  ASSERT_TRUE(backend.Choose(M().mnu_update));
  EXPECT_EQ(M().Caption(), ":: Quenlar 1.3 :: Checking for updates...");
  EXPECT_FALSE(M().mnu_update.Enabled());
  EXPECT_FALSE(backend.Press(M(), ui::Shortcut::Ctrl('U')));
  const std::string clock = M().lblTime.Caption();
  backend.Advance(3s);
  EXPECT_NE(M().lblTime.Caption(), clock) << "the clock ticks";
  ASSERT_TRUE(backend.Click(M().optExitOption[1]));
  EXPECT_EQ(M().ActionName(), "Restart") << "a click is handled at once";
  EXPECT_TRUE(boxes().Log().empty());
  fake.kernel32.RunThreads();  // the answer comes
  boxes().Answer(ui::vbOK);
  backend.Advance(100ms);
  EXPECT_EQ(LastBox(), kNoNewer);
  EXPECT_EQ(M().Caption(), ":: Quenlar 1.3 ::");
  ExpectIdle();
}

// Past ten seconds the poll cancels the transfer; once it has let go, the user is told, and the
// caption comes back.
TEST_F(UpdateCheck, AServerThatNeverAnswersIsGivenUpAfterTenSeconds) {
  Serve(Answer::Failing(os::kErrorInternetTimeout));
  fake.kernel32.runThreadsAtOnce = false;
  ASSERT_TRUE(backend.Choose(M().mnu_update));
  backend.Advance(10s);
  EXPECT_EQ(M().Caption(), ":: Quenlar 1.3 :: Checking for updates...");
  backend.Advance(100ms);
  EXPECT_EQ(M().Caption(), "Timeout");
  EXPECT_EQ(fake.wininet.OpenHandles(), 0u) << "the cancel closed the transfer's handles";
  backend.Advance(1s);
  EXPECT_TRUE(boxes().Log().empty()) << "not before the transfer has let go";
  fake.kernel32.RunThreads();
  boxes().Answer(ui::vbOK);
  backend.Advance(100ms);
  ASSERT_EQ(boxes().Log().size(), 1u);
  EXPECT_EQ(LastBox(), kTimedOut);
  EXPECT_EQ(boxes().Log().back().style, ui::mb::kExclamation);
  EXPECT_EQ(M().Caption(), ":: Quenlar 1.3 ::") << "the caption is what it was before the check";
  ExpectIdle();
}

// A time-out is only a wait for an answer that never came: wininet's own time-out, or Wine's
// "connection aborted" once the time has passed. A connection the server drops or refuses at
// once is no time-out.
TEST_F(UpdateCheck, OnlyARealTimeOutIsOne) {
  struct Case {
    const char* what;
    Answer answer;
    const char* message;
  };
  for (const Case& c : {Case{"wininet's time-out", Answer::Failing(os::kErrorInternetTimeout), kTimedOut},
                        Case{"a body that stops coming", Answer::BreakingOff("1.", os::kErrorInternetTimeout), kTimedOut},
                        Case{"aborted after the ten seconds", Answer::Failing(os::kErrorInternetConnectionAborted, 10000),
                             kTimedOut},
                        Case{"dropped at once", Answer::Failing(os::kErrorInternetConnectionAborted, 20), kUnable},
                        Case{"reset at once", Answer::Failing(os::kErrorInternetConnectionReset), kUnable},
                        Case{"the next check", Answer::Page("1.3"), kNoNewer}}) {
    Serve(c.answer);
    boxes().Answer(ui::vbOK);
    Check();
    EXPECT_EQ(LastBox(), c.message) << c.what;
    EXPECT_EQ(M().Caption(), ":: Quenlar 1.3 ::") << c.what;
    ExpectIdle();
  }
}

TEST_F(UpdateCheck, TheResultIsShownOnceWhileThePollWouldTickOnBehindTheMessage) {
  Serve(Answer::Page("1.3"));
  bool waited = false;
  boxes().OnUnanswered = [&](const ui::ScriptedMessageBoxes::Shown&) {
    // The user reads the message for a second; the program's timers run meanwhile.
    if (waited) return;
    waited = true;
    backend.Advance(1000ms);
  };
  Check();
  EXPECT_TRUE(waited);
  EXPECT_EQ(boxes().Log().size(), 1u);
  ExpectIdle();
}

TEST_F(UpdateCheck, AScheduleActivatedBeforeTheResultKeepsTheMenuItemGreyed) {
  Serve(Answer::Page("1.3"));
  fake.kernel32.runThreadsAtOnce = false;
  ASSERT_TRUE(backend.Choose(M().mnu_update));
  ASSERT_TRUE(backend.Click(M().cmdActivate));  // while the fetch runs
  ASSERT_TRUE(backend.Click(M().cmdActivate));
  EXPECT_FALSE(M().mnu_update.Enabled()) << "deactivating does not bring it back while the check runs";
  ASSERT_TRUE(backend.Click(M().cmdActivate));
  fake.kernel32.RunThreads();
  boxes().Answer(ui::vbOK);
  backend.Advance(100ms);
  EXPECT_EQ(LastBox(), kNoNewer);
  EXPECT_FALSE(M().mnu_update.Enabled());
  ASSERT_TRUE(backend.Click(M().cmdActivate));
  EXPECT_TRUE(M().mnu_update.Enabled());
}

TEST_F(UpdateCheck, AMissingWininetGivesNoInformationAndLeavesTheMenuUsable) {
  fake.wininet.ThrowOn<wininet::InternetOpenA>();
  boxes().Answer(ui::vbOK);
  Check();
  EXPECT_EQ(LastBox(), kUnable);
  ExpectIdle();
}

TEST_F(UpdateCheck, ClosingTheProgramStopsThePollAndLetsAnOpenTransferGo) {
  Serve(Answer::Failing(os::kErrorInternetTimeout));
  fake.kernel32.runThreadsAtOnce = false;
  ASSERT_TRUE(backend.Choose(M().mnu_update));
  M().mnu_confirm.SetChecked(true);
  ASSERT_TRUE(backend.CloseBox(M()));
  EXPECT_FALSE(M().tmrUpdate.Enabled());
  main.reset();
  EXPECT_EQ(fake.wininet.OpenHandles(), 0u);
}

}  // namespace
