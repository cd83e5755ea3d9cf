#include "command/Switches.h"

#include <cctype>
#include <map>

#include "base/Convert.h"

namespace command {
namespace {

using base::Lower;
using schedule::Action;

bool AllDigits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

// A whole number of at most ten digits (more are out of every range here).
std::optional<long long> WholeNumber(const std::string& text) {
  if (!AllDigits(text) || text.size() > 10) return std::nullopt;
  return std::stoll(text);
}

// "45s", "90m", "2h", "1h30m" (each unit at most once, hours before minutes before seconds),
// or "h:mm:ss".
std::optional<long long> Duration(const std::string& value) {
  const std::string text = Lower(value);
  if (text.find(':') != std::string::npos) {
    std::size_t first = text.find(':'), second = text.find(':', first + 1);
    if (second == std::string::npos) return std::nullopt;
    std::string h = text.substr(0, first), m = text.substr(first + 1, second - first - 1), s = text.substr(second + 1);
    auto hours = WholeNumber(h);
    if (!hours || m.size() != 2 || s.size() != 2 || !AllDigits(m) || !AllDigits(s)) return std::nullopt;
    int minutes = std::stoi(m), seconds = std::stoi(s);
    if (minutes > 59 || seconds > 59) return std::nullopt;
    return *hours * 3600 + minutes * 60 + seconds;
  }
  long long total = 0;
  std::string units = "hms";
  std::size_t next = 0, at = 0;  // the first unit still allowed, and where in the text
  while (at < text.size()) {
    std::size_t digits = at;
    while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) ++digits;
    if (digits == at || digits == text.size()) return std::nullopt;  // a number, then a unit
    std::size_t unit = units.find(text[digits], next);
    auto amount = WholeNumber(text.substr(at, digits - at));
    if (unit == std::string::npos || !amount) return std::nullopt;
    total += *amount * (unit == 0 ? 3600 : unit == 1 ? 60 : 1);
    if (total > kLongestWait) return total;
    next = unit + 1;
    at = digits + 1;
  }
  return at == 0 ? std::nullopt : std::optional<long long>(total);
}

// "HH:MM[:SS]", 24-hour, or 1-12 with "AM" or "PM" after it (with or without a blank).
std::optional<When> TimeOfDay(const std::string& value) {
  std::string text = Lower(value);
  while (!text.empty() && text.back() == ' ') text.pop_back();
  int half = 0;  // 1 AM, 2 PM
  if (text.size() > 2 && (text.compare(text.size() - 2, 2, "am") == 0 || text.compare(text.size() - 2, 2, "pm") == 0)) {
    half = text[text.size() - 2] == 'a' ? 1 : 2;
    text.resize(text.size() - 2);
    while (!text.empty() && text.back() == ' ') text.pop_back();
  }
  std::vector<std::string> parts;
  for (std::size_t start = 0;;) {
    std::size_t colon = text.find(':', start);
    parts.push_back(text.substr(start, colon == std::string::npos ? std::string::npos : colon - start));
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  if (parts.size() < 2 || parts.size() > 3 || parts[0].empty() || parts[0].size() > 2) return std::nullopt;
  for (std::size_t i = 0; i < parts.size(); ++i)
    if (!AllDigits(parts[i]) || (i > 0 && parts[i].size() != 2)) return std::nullopt;
  When when = When::At(std::stoi(parts[0]), std::stoi(parts[1]), parts.size() == 3 ? std::stoi(parts[2]) : 0);
  if (when.minute > 59 || when.second > 59) return std::nullopt;
  if (half == 0) return when.hour <= 23 ? std::optional<When>(when) : std::nullopt;
  if (when.hour < 1 || when.hour > 12) return std::nullopt;
  when.hour = when.hour % 12 + (half == 2 ? 12 : 0);
  return when;
}

enum class Kind { Action, Time, Option, Verb };
struct Switch {
  Kind kind;
  bool takesValue;
  std::optional<Action> action;
  Request::Verb verb = Request::Verb::Schedule;
};

const std::map<std::string, Switch>& Switches() {
  static const std::map<std::string, Switch> table = {
      {"s", {Kind::Action, false, Action::Shutdown}},
      {"r", {Kind::Action, false, Action::Restart}},
      {"l", {Kind::Action, false, Action::LogOff}},
      {"h", {Kind::Action, false, Action::Hibernate}},
      {"standby", {Kind::Action, false, Action::StandBy}},
      {"sleep", {Kind::Action, false, Action::StandBy}},
      {"lock", {Kind::Action, false, Action::Lock}},
      {"alarm", {Kind::Action, true, Action::Alarm}},
      {"display", {Kind::Action, false, Action::Display}},
      {"t", {Kind::Time, true, std::nullopt}},
      {"in", {Kind::Time, true, std::nullopt}},
      {"at", {Kind::Time, true, std::nullopt}},
      {"whenexit", {Kind::Time, true, std::nullopt}},
      {"idle", {Kind::Time, true, std::nullopt}},
      {"cpu", {Kind::Time, true, std::nullopt}},
      {"net", {Kind::Time, true, std::nullopt}},
      {"f", {Kind::Option, false, std::nullopt}},
      {"w", {Kind::Option, true, std::nullopt}},
      {"run", {Kind::Option, true, std::nullopt}},
      {"tray", {Kind::Option, false, std::nullopt}},
      {"sound", {Kind::Option, true, std::nullopt}},
      {"repeat", {Kind::Option, true, std::nullopt}},
      {"a", {Kind::Verb, false, std::nullopt, Request::Verb::Cancel}},
      {"cancel", {Kind::Verb, false, std::nullopt, Request::Verb::Cancel}},
      {"status", {Kind::Verb, false, std::nullopt, Request::Verb::Status}},
      {"show", {Kind::Verb, false, std::nullopt, Request::Verb::Show}},
      {"quit", {Kind::Verb, false, std::nullopt, Request::Verb::Quit}},
      {"postpone", {Kind::Verb, true, std::nullopt, Request::Verb::Postpone}},
      {"?", {Kind::Verb, false, std::nullopt, Request::Verb::Usage}},
      {"startup", {Kind::Verb, false, std::nullopt, Request::Verb::Startup}},
  };
  return table;
}

Parsed Refuse(const std::string& reason) { return Parsed{std::nullopt, reason}; }

// A range as the texts give it: "1 to 999".
std::string Span(long long least, long long most) { return std::to_string(least) + " to " + std::to_string(most); }

std::optional<long long> InRange(const std::string& text, long long highest) {
  auto number = WholeNumber(text);
  return number && *number >= 1 && *number <= highest ? number : std::nullopt;
}

// The condition of /whenexit, /idle, /cpu or /net; nothing when the value is not one.
std::optional<schedule::Trigger> Condition(const std::string& name, const std::string& value) {
  using schedule::Trigger;
  if (name == "whenexit") {
    if (AllDigits(value)) {
      auto id = schedule::ProcessId(value);
      return id ? std::optional<Trigger>(Trigger::WhenProcessEnds(*id)) : std::nullopt;
    }
    std::string program = schedule::ProgramFileName(value);
    return program.empty() ? std::nullopt : std::optional<Trigger>(Trigger::WhenEnds(program));
  }
  if (name == "idle") {
    auto minutes = InRange(value, schedule::kLongestQuiet);
    return minutes ? std::optional<Trigger>(Trigger::WhenIdle(static_cast<int>(*minutes))) : std::nullopt;
  }
  const std::size_t colon = value.find(':');
  if (colon == std::string::npos) return std::nullopt;
  auto minutes = InRange(value.substr(colon + 1), schedule::kLongestQuiet);
  auto below = InRange(value.substr(0, colon), name == "cpu" ? schedule::kHighestPercent : schedule::kHighestRate);
  if (!minutes || !below) return std::nullopt;
  return name == "cpu" ? Trigger::WhenProcessorBelow(*below, static_cast<int>(*minutes))
                       : Trigger::WhenNetworkBelow(*below, static_cast<int>(*minutes));
}

const std::map<std::string, std::string>& ConditionForms() {
  static const std::map<std::string, std::string> forms = {
      {"whenexit", "/whenexit takes a program's file name or a process id"},
      {"idle", "/idle takes whole minutes, " + Span(1, schedule::kLongestQuiet)},
      {"cpu", "/cpu takes PERCENT:MINUTES, " + Span(1, schedule::kHighestPercent) + " and " +
                  Span(1, schedule::kLongestQuiet)},
      {"net", "/net takes KBPS:MINUTES, " + Span(1, schedule::kHighestRate) + " and " + Span(1, schedule::kLongestQuiet)},
  };
  return forms;
}

}  // namespace

Parsed Parse(const std::vector<std::string>& args) {
  Request request;
  std::string actionSwitch, timeSwitch, verbSwitch, anySwitch;
  std::map<std::string, bool> seen;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& token = args[i];
    if (token.size() < 2 || (token[0] != '/' && token[0] != '-')) return Refuse("unexpected \"" + token + "\"");
    std::string name = Lower(token.substr(1));
    std::optional<std::string> value;
    if (std::size_t colon = name.find(':'); colon != std::string::npos) {
      value = token.substr(1 + colon + 1);
      name.resize(colon);
    }
    auto found = Switches().find(name);
    if (found == Switches().end()) return Refuse("unknown switch /" + name);
    const Switch& s = found->second;
    const std::string shown = "/" + name;
    if (seen[name]) return Refuse(shown + " is given twice");
    seen[name] = true;
    if (s.takesValue && !value) {
      if (i + 1 >= args.size()) return Refuse(shown + " needs a value");
      value = args[++i];
    } else if (!s.takesValue && value) {
      return Refuse(shown + " takes no value");
    }
    if (!verbSwitch.empty() || (s.kind == Kind::Verb && !anySwitch.empty()))
      return Refuse((verbSwitch.empty() ? shown : verbSwitch) + " stands alone");
    anySwitch = shown;
    switch (s.kind) {
      case Kind::Verb:
        verbSwitch = shown;
        request.verb = s.verb;
        if (s.verb == Request::Verb::Postpone) {
          auto minutes = InRange(*value, schedule::kLongestPostpone);
          if (!minutes)
            return Refuse("/postpone takes whole minutes, 1 to " + std::to_string(schedule::kLongestPostpone) +
                          ", not \"" + *value + "\"");
          request.minutes = static_cast<int>(*minutes);
        }
        break;
      case Kind::Action:
        if (!actionSwitch.empty()) return Refuse("only one action may be given: " + actionSwitch + " and " + shown);
        actionSwitch = shown;
        request.action = s.action;
        if (name == "alarm") {
          if (value->size() > kLongestMessage) return Refuse("the alarm's message holds at most " + std::to_string(kLongestMessage) + " characters");
          if (value->find_first_of("\r\n") != std::string::npos) return Refuse("the alarm's message is one line");
          request.message = *value;
        }
        break;
      case Kind::Time: {
        if (!timeSwitch.empty()) return Refuse("only one time may be given: " + timeSwitch + " and " + shown);
        timeSwitch = shown;
        if (name == "t") {
          auto seconds = WholeNumber(*value);
          if (!seconds || *seconds > kLongestWait) return Refuse("/t takes whole seconds, " + Span(0, kLongestWait) + ", not \"" + *value + "\"");
          request.when = When::After(*seconds);
        } else if (name == "in") {
          auto seconds = Duration(*value);
          if (!seconds) return Refuse("/in takes an amount such as 45s, 90m, 2h, 1h30m or h:mm:ss, not \"" + *value + "\"");
          if (*seconds > kLongestWait) return Refuse("/in takes at most ten years (" + std::to_string(kLongestWait) + " seconds)");
          request.when = When::After(*seconds);
        } else if (ConditionForms().count(name)) {
          auto condition = Condition(name, *value);
          if (!condition) return Refuse(ConditionForms().at(name) + ", not \"" + *value + "\"");
          request.when = When::On(*condition);
        } else {
          // "11:30 PM" may come as two arguments.
          if (i + 1 < args.size() && (Lower(args[i + 1]) == "am" || Lower(args[i + 1]) == "pm")) *value += args[++i];
          auto when = TimeOfDay(*value);
          if (!when) return Refuse("/at takes a time of day, HH:MM[:SS], 24-hour or with AM or PM, not \"" + *value + "\"");
          request.when = when;
        }
        break;
      }
      case Kind::Option:
        if (name == "f") {
          request.forced = true;
        } else if (name == "tray") {
          request.tray = true;
        } else if (name == "w") {
          auto seconds = WholeNumber(*value);
          if (!seconds || *seconds > kLongestWarning) return Refuse("/w takes whole seconds, " + Span(0, kLongestWarning) + ", not \"" + *value + "\"");
          request.warning = static_cast<int>(*seconds);
        } else if (name == "repeat") {
          auto days = schedule::ParseDays(*value);
          if (!days) return Refuse("/repeat takes daily, weekdays or days such as mon,wed,fri, not \"" + *value + "\"");
          request.repeat = *days;
        } else if (value->empty()) {
          return Refuse(shown + " needs a file");
        } else if (name == "run") {
          request.program = *value;
        } else {
          request.sound = *value;
        }
        break;
    }
  }
  if (verbSwitch.empty() && !request.action) {
    const std::string actions = "/s, /r, /l, /h, /standby, /lock, /alarm or /display";
    if (!timeSwitch.empty()) return Refuse("a time needs an action: " + actions);
    if (!anySwitch.empty()) return Refuse(anySwitch + " needs an action: " + actions);
    return Refuse("no switch given");
  }
  if (request.sound && request.action != Action::Alarm) return Refuse("/sound goes with /alarm");
  if (request.repeat != schedule::kOnce && (!request.when || request.when->kind != When::Kind::At))
    return Refuse("/repeat goes with /at");
  if (request.action == Action::Display && (request.forced || request.warning))
    return Refuse("/display is never forced and gives no warning: /f and /w do not go with it");
  return Parsed{request, ""};
}

std::vector<std::string> SplitCommandLine(const std::string& line) {
  std::vector<std::string> args;
  std::size_t i = 0;
  // The program's name: up to the first blank, or quoted up to the next quote, no escapes.
  if (i < line.size() && line[i] == '"') {
    std::size_t end = line.find('"', 1);
    i = end == std::string::npos ? line.size() : end + 1;
  }
  while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
  for (;;) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= line.size()) break;
    std::string arg;
    bool quoted = false;
    for (; i < line.size(); ++i) {
      char c = line[i];
      if (!quoted && (c == ' ' || c == '\t')) break;
      if (c == '\\') {
        std::size_t run = 0;
        while (i < line.size() && line[i] == '\\') ++run, ++i;
        if (i < line.size() && line[i] == '"') {
          arg.append(run / 2, '\\');
          if (run % 2 == 1) {
            arg += '"';
            continue;
          }
        } else {
          arg.append(run, '\\');
        }
        --i;  // the quote, or whatever follows, is looked at next
        continue;
      }
      if (c == '"') {
        if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
          arg += '"';
          ++i;
        } else {
          quoted = !quoted;
        }
        continue;
      }
      arg += c;
    }
    args.push_back(arg);
  }
  return args;
}

std::string UsageText() {
  return "Usage: quenlar ACTION [TIME | WHEN] [OPTIONS]\n"
         "       quenlar /a | /postpone MIN | /status | /show | /quit | /?\n"
         "\n"
         "ACTION   /s shut down, /r restart, /l log off, /h hibernate, /standby (/sleep),\n"
         "         /lock, /alarm \"message\" [/sound FILE], /display turns the display off\n"
         "TIME     /t N         in N seconds, " + Span(0, kLongestWait) + "\n"
         "         /in 90m      in 45s, 90m, 2h, 1h30m or h:mm:ss\n"
         "         /at 23:30    at HH:MM[:SS], 24-hour or with AM/PM; tomorrow when passed\n"
         "         /repeat D    with /at: again on days D, daily, weekdays or mon,tue,...\n"
         "         Without a time the window is filled for you to press Activate;\n"
         "         /display without a time turns the display off at once.\n"
         "WHEN     /whenexit P  when program P (ffmpeg.exe, or a process id) has ended\n"
         "         /idle 30     after 30 minutes without keyboard or mouse input (" + Span(1, schedule::kLongestQuiet) + ")\n"
         "         /cpu 10:5    when the processor stays below 10 % for 5 minutes\n"
         "         /net 50:5    when the network stays below 50 KB/s for 5 minutes\n"
         "OPTIONS  /f forced, /w N warning of N seconds (" + Span(0, kLongestWarning) + "), /run \"program\" started a\n"
         "         second before the action, /tray into the tray once activated\n"
         "RUNNING  /a (/cancel) cancels the running copy's schedule, /postpone 10 puts it\n"
         "         off by 10 minutes (also in its warning), /status tells it,\n"
         "         /show brings its window up, /quit ends it\n"
         "STARTUP  /startup     as Windows starts it at logon (Settings, Start with Windows)\n"
         "\n"
         "Switches are written /x or -x; a value as /t 60 or /t:60. Exit codes: 0 done,\n"
         "87 usage error, 50 not offered on this computer, 1116 nothing to cancel,\n"
         "1190 a schedule is already active, 1062 Quenlar is not running, 1168 the\n"
         "program to wait for is not running.\n";
}

}  // namespace command
