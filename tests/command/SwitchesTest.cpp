// The command line: every switch and value form it takes, and each refusal with its reason.
#include "command/Switches.h"

#include <gtest/gtest.h>

#include "command/HandOver.h"

namespace {

using command::Parse;
using command::Request;
using command::When;
using schedule::Action;
using namespace std::string_literals;

std::vector<std::string> Args(const std::string& line) { return command::SplitCommandLine("quenlar.exe " + line); }

TEST(Switches, ActionsTimesAndOptionsAsScriptsWriteThem) {
  struct Case {
    const char* line;
    Request wanted;
  };
  auto after = [](long long s) { return When::After(s); };
  auto at = [](int h, int m, int s) { return When::At(h, m, s); };
  Request shutdown;
  shutdown.action = Action::Shutdown;
  auto with = [](Request r, auto change) {
    change(r);
    return r;
  };
  const Case cases[] = {
      {"/s", shutdown},
      {"-S /T 60", with(shutdown, [&](Request& r) { r.when = after(60); })},
      {"/s /t:0", with(shutdown, [&](Request& r) { r.when = after(0); })},
      {"/s /t 315360000", with(shutdown, [&](Request& r) { r.when = after(315360000); })},
      {"/r /in 90m /f", with(shutdown, [&](Request& r) { r.action = Action::Restart, r.when = after(5400), r.forced = true; })},
      {"/l /in 45s", with(shutdown, [&](Request& r) { r.action = Action::LogOff, r.when = after(45); })},
      {"/h /in 2H", with(shutdown, [&](Request& r) { r.action = Action::Hibernate, r.when = after(7200); })},
      {"/standby /in 1h30m", with(shutdown, [&](Request& r) { r.action = Action::StandBy, r.when = after(5400); })},
      {"/sleep /in 1h5s", with(shutdown, [&](Request& r) { r.action = Action::StandBy, r.when = after(3605); })},
      {"/lock /in 1:02:03", with(shutdown, [&](Request& r) { r.action = Action::Lock, r.when = after(3723); })},
      {"/s /at 23:30", with(shutdown, [&](Request& r) { r.when = at(23, 30, 0); })},
      {"/s /at 7:05:09", with(shutdown, [&](Request& r) { r.when = at(7, 5, 9); })},
      {"/s /at 11:30pm", with(shutdown, [&](Request& r) { r.when = at(23, 30, 0); })},
      {"/s /at 12:00 AM", with(shutdown, [&](Request& r) { r.when = at(0, 0, 0); })},
      {"/s /at \"12:15 pm\"", with(shutdown, [&](Request& r) { r.when = at(12, 15, 0); })},
      {"/s /at 23:00 /repeat daily", with(shutdown, [&](Request& r) { r.when = at(23, 0, 0), r.repeat = schedule::kEveryDay; })},
      {"/lock /repeat Mon,sat /at 7:30", with(shutdown, [&](Request& r) {
         r.action = Action::Lock, r.when = at(7, 30, 0), r.repeat = schedule::DayBit(1) | schedule::DayBit(6);
       })},
      {"/s /w 0 /tray", with(shutdown, [&](Request& r) { r.warning = 0, r.tray = true; })},
      {"/s /w:99 /run \"C:\\Tools\\back up.bat\"",
       with(shutdown, [&](Request& r) { r.warning = 99, r.program = "C:\\Tools\\back up.bat"; })},
      {"/s /whenexit FFmpeg /w 3",
       with(shutdown, [&](Request& r) { r.when = When::On(schedule::Trigger::WhenEnds("FFmpeg.exe")), r.warning = 3; })},
      {"/h /whenexit 4321", with(shutdown, [&](Request& r) {
         r.action = Action::Hibernate, r.when = When::On(schedule::Trigger::WhenProcessEnds(4321));
       })},
      {"/s /idle 30", with(shutdown, [&](Request& r) { r.when = When::On(schedule::Trigger::WhenIdle(30)); })},
      {"/s /cpu:10:5", with(shutdown, [&](Request& r) { r.when = When::On(schedule::Trigger::WhenProcessorBelow(10, 5)); })},
      {"/s /net 999999:999",
       with(shutdown, [&](Request& r) { r.when = When::On(schedule::Trigger::WhenNetworkBelow(999999, 999)); })},
      {"/alarm \"Render done & saved\" /sound C:\\ring.wav /t 5",
       with(shutdown, [&](Request& r) {
         r.action = Action::Alarm, r.message = "Render done & saved", r.sound = "C:\\ring.wav", r.when = after(5);
       })},
      {"/display", with(shutdown, [&](Request& r) { r.action = Action::Display; })},
      {"-Display /in 5s /tray", with(shutdown, [&](Request& r) { r.action = Action::Display, r.when = after(5), r.tray = true; })},
      {"/display /idle 10",
       with(shutdown, [&](Request& r) { r.action = Action::Display, r.when = When::On(schedule::Trigger::WhenIdle(10)); })},
      {"/display /at 22:00 /run C:\\dim.exe",
       with(shutdown, [&](Request& r) { r.action = Action::Display, r.when = at(22, 0, 0), r.program = "C:\\dim.exe"; })},
  };
  for (const Case& c : cases) {
    command::Parsed parsed = Parse(Args(c.line));
    ASSERT_TRUE(parsed.request) << c.line << ": " << parsed.error;
    EXPECT_EQ(*parsed.request, c.wanted) << c.line;
  }
  for (auto [line, verb] : {std::pair{"/a", Request::Verb::Cancel}, {"-CANCEL", Request::Verb::Cancel},
                            {"/status", Request::Verb::Status}, {"/show", Request::Verb::Show},
                            {"/quit", Request::Verb::Quit}, {"/?", Request::Verb::Usage},
                            {"/StartUp", Request::Verb::Startup}}) {
    command::Parsed parsed = Parse(Args(line));
    ASSERT_TRUE(parsed.request) << line;
    EXPECT_EQ(parsed.request->verb, verb) << line;
  }
}

TEST(Switches, WhatIsRefusedAndWhy) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "no switch given"},
      {"/t", "/t needs a value"},
      {"/t 60", "a time needs an action: /s, /r, /l, /h, /standby, /lock, /alarm or /display"},
      {"/s /t", "/t needs a value"},
      {"/s /t -1", "/t takes whole seconds, 0 to 315360000, not \"-1\""},
      {"/s /t 315360001", "/t takes whole seconds, 0 to 315360000, not \"315360001\""},
      {"/s /t 1e3", "/t takes whole seconds, 0 to 315360000, not \"1e3\""},
      {"/s /in 5x", "/in takes an amount such as 45s, 90m, 2h, 1h30m or h:mm:ss, not \"5x\""},
      {"/s /in 10", "/in takes an amount such as 45s, 90m, 2h, 1h30m or h:mm:ss, not \"10\""},
      {"/s /in 30m1h", "/in takes an amount such as 45s, 90m, 2h, 1h30m or h:mm:ss, not \"30m1h\""},
      {"/s /in 1:75:00", "/in takes an amount such as 45s, 90m, 2h, 1h30m or h:mm:ss, not \"1:75:00\""},
      {"/s /in 87601h", "/in takes at most ten years (315360000 seconds)"},
      {"/s /at 25:00", "/at takes a time of day, HH:MM[:SS], 24-hour or with AM or PM, not \"25:00\""},
      {"/s /at 13:00pm", "/at takes a time of day, HH:MM[:SS], 24-hour or with AM or PM, not \"13:00pm\""},
      {"/s /at 9", "/at takes a time of day, HH:MM[:SS], 24-hour or with AM or PM, not \"9\""},
      {"/s /w 100", "/w takes whole seconds, 0 to 99, not \"100\""},
      {"/s /idle 0", "/idle takes whole minutes, 1 to 999, not \"0\""},
      {"/s /cpu 100:5", "/cpu takes PERCENT:MINUTES, 1 to 99 and 1 to 999, not \"100:5\""},
      {"/s /cpu 10", "/cpu takes PERCENT:MINUTES, 1 to 99 and 1 to 999, not \"10\""},
      {"/s /net 50:1000", "/net takes KBPS:MINUTES, 1 to 999999 and 1 to 999, not \"50:1000\""},
      {"/s /whenexit 0", "/whenexit takes a program's file name or a process id, not \"0\""},
      {"/s /idle 5 /t 60", "only one time may be given: /idle and /t"},
      {"/bogus", "unknown switch /bogus"},
      {"shutdown", "unexpected \"shutdown\""},
      {"/s /r", "only one action may be given: /s and /r"},
      {"/s /t 5 /in 5m", "only one time may be given: /t and /in"},
      {"/s /f /f", "/f is given twice"},
      {"/s /f:1", "/f takes no value"},
      {"/f", "/f needs an action: /s, /r, /l, /h, /standby, /lock, /alarm or /display"},
      {"/s /sound x.wav", "/sound goes with /alarm"},
      {"/s /in 5m /repeat daily", "/repeat goes with /at"},
      {"/s /repeat weekdays", "/repeat goes with /at"},
      {"/s /at 23:00 /repeat sometimes", "/repeat takes daily, weekdays or days such as mon,wed,fri, not \"sometimes\""},
      {"/display /sound x.wav", "/sound goes with /alarm"},
      {"/display /in 5m /f", "/display is never forced and gives no warning: /f and /w do not go with it"},
      {"/display /w 0", "/display is never forced and gives no warning: /f and /w do not go with it"},
      {"/display /lock", "only one action may be given: /display and /lock"},
      {"/display:on", "/display takes no value"},
      {"/s /run \"\"", "/run needs a file"},
      {"/alarm \"a message of more than sixty-five characters, which the window cannot hold\"",
       "the alarm's message holds at most 65 characters"},
      {"/status /s", "/status stands alone"},
      {"/s /a", "/a stands alone"},
      {"/startup /s", "/startup stands alone"},
      {"/startup:1", "/startup takes no value"},
  };
  for (auto [line, reason] : cases) {
    command::Parsed parsed = Parse(Args(line));
    EXPECT_FALSE(parsed.request) << line;
    EXPECT_EQ(parsed.error, reason) << line;
  }
}

TEST(Switches, TheCommandLineIsSplitAsWindowsSplitsItForAProgram) {
  EXPECT_EQ(command::SplitCommandLine("\"C:\\Program Files\\q.exe\" /run \"C:\\a b\\c.bat\" /t:5"),
            (std::vector<std::string>{"/run", "C:\\a b\\c.bat", "/t:5"}));
  EXPECT_EQ(command::SplitCommandLine("q.exe  a\\\\\\\"b \"c\"\"d\" e\\f"),
            (std::vector<std::string>{"a\\\"b", "c\"d", "e\\f"}))
      << "backslashes escape only a quote; a doubled quote inside quotes is one";
  EXPECT_TRUE(command::SplitCommandLine("q.exe   ").empty());
}

TEST(Switches, TheArgumentsTravelEndedByNulAndOnlyOurKindIsTaken) {
  const std::vector<std::string> args{"/r", "/in", "2m", ""};
  EXPECT_EQ(command::Decode(command::kCopyDataKind, command::Encode(args)), args);
  EXPECT_FALSE(command::Decode(0x514E4C02, command::Encode(args))) << "another version";
  EXPECT_FALSE(command::Decode(command::kCopyDataKind, "/r\0/in"s.substr(0, 5))) << "not NUL-ended";
  EXPECT_FALSE(command::Decode(command::kCopyDataKind, std::string(command::kLongestPayload + 1, '\0')));
}

}  // namespace
