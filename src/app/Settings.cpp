#include "app/Settings.h"

#include <functional>
#include <sstream>

#include "base/Convert.h"
#include "schedule/Schedule.h"
#include "schedule/Trigger.h"

namespace app {
namespace {

// One line of the file: how its value is written, and how it is read back.
struct Line {
  std::function<std::string()> save;
  std::function<void(const std::string&)> load;
};

Line YesOrNo(bool& value) {
  return {[&value] { return base::BooleanText(value); },
          [&value](const std::string& text) {
            if (auto read = base::ParseBoolean(text)) value = *read;
          }};
}

Line CheckValue(int& value) {
  return {[&value] { return std::to_string(value); },
          [&value](const std::string& text) {
            if (auto read = base::ParseCheckValue(text)) value = *read;
          }};
}

Line Text(std::string& value) {
  return {[&value] { return value; }, [&value](const std::string& text) { value = text; }};
}

// A whole number within its range; any other value keeps the one there was.
template <typename T>
Line Number(T& value, long long lowest, long long highest) {
  return {[&value] { return std::to_string(value); },
          [&value, lowest, highest](const std::string& text) {
            const double read = base::Val(text);
            if (read >= lowest && read <= highest && read == static_cast<long long>(read)) value = static_cast<T>(read);
          }};
}

std::string TwoDigits(long long n) { return (n < 10 ? "0" : "") + std::to_string(n); }

std::string ActiveRepeatText(const ActiveRepeat& a) {
  const long long seconds = a.timeOfDay.count();
  return TwoDigits(seconds / 3600) + ":" + TwoDigits(seconds / 60 % 60) + ":" + TwoDigits(seconds % 60) + " " +
         std::to_string(a.days) + " " + std::to_string(static_cast<int>(a.action));
}

// "hh:mm:ss days action", each in its range; nothing for any other text.
std::optional<ActiveRepeat> ReadActiveRepeat(const std::string& text) {
  int hour = -1, minute = -1, second = -1, days = -1, action = -1;
  char colon1 = 0, colon2 = 0;
  std::istringstream in(text);
  in >> hour >> colon1 >> minute >> colon2 >> second >> days >> action;
  std::string rest;
  if (!in || (in >> rest) || colon1 != ':' || colon2 != ':' || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
      second < 0 || second > 59 || days <= schedule::kOnce || days > schedule::kEveryDay || action < 0 ||
      action > static_cast<int>(schedule::Action::Display))
    return std::nullopt;
  return ActiveRepeat{std::chrono::seconds(hour * 3600 + minute * 60 + second), static_cast<schedule::Days>(days),
                      static_cast<schedule::Action>(action)};
}

// The lines of the file, in its order, each over its value in `s`.
std::vector<Line> Lines(Settings& s) {
  std::vector<Line> lines;
  for (int i = 0; i < schedule::kActionCount; ++i) {
    const std::optional<schedule::Action> action = schedule::ActionAt(i);
    lines.push_back({[&s, action] { return base::BooleanText(s.action == action); },
                     [&s, action](const std::string& text) {
                       const std::optional<bool> selected = base::ParseBoolean(text);
                       if (selected && *selected)
                         s.action = action;
                       else if (selected && s.action == action)
                         s.action.reset();
                     }});
  }
  for (int* value : {&s.forced, &s.execFile, &s.alarmFile}) lines.push_back(CheckValue(*value));
  for (bool* value : {&s.beep, &s.confirm, &s.autoTray}) lines.push_back(YesOrNo(*value));
  lines.push_back(Text(s.countdown));
  // The beep frequency has no box to show it: it is kept up to a NUL, as a box would keep it.
  lines.push_back({[&s] { return s.beepFrequency; },
                   [&s](const std::string& text) { s.beepFrequency = text.substr(0, text.find('\0')); }});
  for (std::string* value : {&s.execPath, &s.alarmPath, &s.message}) lines.push_back(Text(*value));

  session::WhenChoices& when = s.when;
  lines.push_back({[&when] { return std::to_string(static_cast<int>(when.condition)); },
                   [&when](const std::string& text) {
                     const double read = base::Val(text);
                     for (int i = 0; i < session::kConditionCount; ++i)
                       if (read == i) when.condition = static_cast<session::Condition>(i);
                   }});
  lines.push_back(Text(when.program));
  lines.push_back(Number(when.idleMinutes, 1, schedule::kLongestQuiet));
  lines.push_back(Number(when.processorPercent, 1, schedule::kHighestPercent));
  lines.push_back(Number(when.processorMinutes, 1, schedule::kLongestQuiet));
  lines.push_back(Number(when.networkRate, 1, schedule::kHighestRate));
  lines.push_back(Number(when.networkMinutes, 1, schedule::kLongestQuiet));

  lines.push_back(YesOrNo(s.postpone));
  lines.push_back(Number(s.postponeMinutes, 1, schedule::kLongestPostpone));
  lines.push_back(YesOrNo(s.keepAwake));

  lines.push_back(Number(s.repeat, schedule::kOnce, schedule::kEveryDay));
  lines.push_back(YesOrNo(s.wake));
  lines.push_back({[&s] { return s.noticeMinutes ? std::to_string(*s.noticeMinutes) : std::string(); },
                   [&s](const std::string& text) {
                     if (text.empty()) return s.noticeMinutes.reset();  // never chosen
                     int minutes = -1;
                     Number(minutes, 0, schedule::kLongestNotice).load(text);
                     if (minutes >= 0) s.noticeMinutes = minutes;
                   }});
  lines.push_back({[&s] { return s.active ? ActiveRepeatText(*s.active) : std::string(); },
                   [&s](const std::string& text) {
                     if (text.empty())
                       s.active.reset();
                     else if (auto read = ReadActiveRepeat(text))
                       s.active = read;
                   }});
  return lines;
}

}  // namespace

std::vector<std::string> ToLines(const Settings& settings) {
  Settings s = settings;
  std::vector<std::string> text;
  for (const Line& line : Lines(s)) text.push_back(line.save());
  return text;
}

Settings FromLines(const std::vector<std::string>& text, Settings previous) {
  std::vector<Line> lines = Lines(previous);
  for (std::size_t i = 0; i < lines.size() && i < text.size(); ++i) {
    try {
      lines[i].load(text[i]);
    } catch (const std::exception&) {
      // This line stays without effect; the next one keeps its place.
    }
  }
  return previous;
}

}  // namespace app
