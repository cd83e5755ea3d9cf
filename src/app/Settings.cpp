#include "app/Settings.h"

#include <algorithm>
#include <functional>
#include <sstream>

#include "base/Convert.h"
#include "base/Utf8.h"
#include "settings/modSettings.h"
#include "schedule/Schedule.h"
#include "schedule/Trigger.h"

namespace app {
namespace {

// One line of the file: how its value is written, and how it is read back; whether it is text
// that may hold any character (kept in the code page, and whole after the last line).
struct Line {
  std::function<std::string()> save;
  std::function<void(const std::string&)> load;
  bool text = false;
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
  return {[&value] { return value; }, [&value](const std::string& text) { value = text; }, true};
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
                   [&s](const std::string& text) { s.beepFrequency = text.substr(0, text.find('\0')); }, true});
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

namespace {

constexpr std::string_view kWholeText = "UTF-8:";

// The numbers (from 1) of the lines that hold text.
std::vector<std::size_t> TextLines() {
  Settings s;
  std::vector<std::size_t> numbers;
  const std::vector<Line> lines = Lines(s);
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i].text) numbers.push_back(i + 1);
  return numbers;
}

bool IsTextLine(std::size_t number) {
  static const std::vector<std::size_t> numbers = TextLines();
  return std::find(numbers.begin(), numbers.end(), number) != numbers.end();
}

bool IsUtf8(const std::string& text) { return base::Utf8(base::Utf16(text)) == text; }

// "UTF-8:<number>:<text>": the line's number and the whole text; nothing for any other line.
std::optional<std::pair<std::size_t, std::string>> ReadWholeText(const std::string& line) {
  if (line.compare(0, kWholeText.size(), kWholeText) != 0) return std::nullopt;
  const std::size_t colon = line.find(':', kWholeText.size());
  const std::string digits = line.substr(kWholeText.size(), colon - kWholeText.size());
  if (colon == std::string::npos || digits.empty() || digits.size() > 3 ||
      digits.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  return std::pair{static_cast<std::size_t>(std::stoi(digits)), line.substr(colon + 1)};
}

}  // namespace

std::vector<std::string> ToFileLines(const std::vector<std::string>& lines, os::Kernel32& kernel32) {
  std::vector<std::string> file = lines;
  std::vector<std::string> whole;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!IsTextLine(i + 1)) continue;
    bool exact = true;
    file[i] = kernel32.ToCodePage(lines[i], exact);
    if (!exact) whole.push_back(std::string(kWholeText) + std::to_string(i + 1) + ":" + lines[i]);
  }
  file.insert(file.end(), whole.begin(), whole.end());
  return file;
}

std::vector<std::string> FromFileLines(const std::vector<std::string>& file, os::Kernel32& kernel32) {
  const std::size_t count = std::min(file.size(), static_cast<std::size_t>(settings::kLineCount));
  std::vector<std::string> lines(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(count));
  for (std::size_t i = 0; i < count; ++i)
    if (IsTextLine(i + 1)) lines[i] = kernel32.FromCodePage(file[i]);
  for (std::size_t i = count; i < file.size(); ++i) {
    const auto whole = ReadWholeText(file[i]);
    if (!whole || !IsTextLine(whole->first) || whole->first > count || !IsUtf8(whole->second)) continue;
    // The whole text stands for its line while the line still holds its best fit; a line
    // changed since (by hand, say) is taken as it now is.
    bool exact = true;
    if (kernel32.ToCodePage(whole->second, exact) == file[whole->first - 1]) lines[whole->first - 1] = whole->second;
  }
  return lines;
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
