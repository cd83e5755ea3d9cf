#include "app/SettingsLines.h"

#include <functional>
#include <type_traits>

#include "app/frmMain.h"
#include "base/Convert.h"
#include "settings/modSettings.h"

namespace app {
namespace {

// One line of the file: how its value is read off the window, and how it is put back.
struct Line {
  std::function<std::string()> save;
  std::function<void(const std::string&)> load;
};

// After the eighteen lines every version reads (an older one stops there): the "Activate When"
// window's last choices. A value out of its range keeps the default.
void WhenLines(session::WhenChoices& when, std::vector<Line>& lines) {
  auto number = [&lines](auto& value, long long lowest, long long highest) {
    lines.push_back({[&value] { return std::to_string(value); },
                     [&value, lowest, highest](const std::string& text) {
                       const double read = base::Val(text);
                       if (read >= lowest && read <= highest && read == static_cast<long long>(read))
                         value = static_cast<std::remove_reference_t<decltype(value)>>(read);
                     }});
  };
  lines.push_back({[&when] { return std::to_string(static_cast<int>(when.condition)); },
                   [&when](const std::string& text) {
                     const double read = base::Val(text);
                     for (int i = 0; i < session::kConditionCount; ++i)
                       if (read == i) when.condition = static_cast<session::Condition>(i);
                   }});
  lines.push_back({[&when] { return when.program; }, [&when](const std::string& text) { when.program = text; }});
  number(when.idleMinutes, 1, schedule::kLongestQuiet);
  number(when.processorPercent, 1, schedule::kHighestPercent);
  number(when.processorMinutes, 1, schedule::kLongestQuiet);
  number(when.networkRate, 1, schedule::kHighestRate);
  number(when.networkMinutes, 1, schedule::kLongestQuiet);
}

std::vector<Line> Lines(frmMain& form) {
  std::vector<Line> lines;
  for (int i = 0; i <= 6; ++i) {
    ui::OptionButton* option = &form.optExitOption[i];
    lines.push_back({[option] { return base::BooleanText(option->Value()); },
                     [option](const std::string& text) {
                       if (auto value = base::ParseBoolean(text)) option->SetValue(*value);
                     }});
  }
  for (ui::CheckBox* box : {&form.chkForced, &form.chkExecFile, &form.chkAlarmF})
    lines.push_back({[box] { return std::to_string(box->Value()); },
                     [box](const std::string& text) {
                       if (auto value = base::ParseCheckValue(text)) box->SetValue(*value);
                     }});
  for (ui::Menu* item : {&form.mnu_beep, &form.mnu_confirm, &form.mnu_autotray})
    lines.push_back({[item] { return base::BooleanText(item->Checked()); },
                     [item](const std::string& text) {
                       if (auto value = base::ParseBoolean(text)) item->SetChecked(*value);
                     }});
  auto box = [](ui::TextBox* box) {
    return Line{[box] { return box->Text(); }, [box](const std::string& text) { box->SetText(text); }};
  };
  lines.push_back(box(&form.txtTimeout));
  // The beep frequency, kept as the text the file holds (up to a NUL, as a text box keeps it).
  std::string& frequency = form.State().BeepFrequencyText;
  lines.push_back({[&frequency] { return frequency; },
                   [&frequency](const std::string& text) { frequency = text.substr(0, text.find('\0')); }});
  for (ui::TextBox* text : {&form.txtExecF, &form.txtAlarmF, &form.txtMessage}) lines.push_back(box(text));
  WhenLines(form.State().When, lines);
  return lines;
}

}  // namespace

std::vector<std::string> SettingsLines(frmMain& form) {
  std::vector<std::string> values;
  for (const Line& line : Lines(form)) values.push_back(line.save());
  return values;
}

void ApplySettingsLines(frmMain& form, const std::vector<std::string>& text) {
  std::vector<Line> lines = Lines(form);
  for (std::size_t i = 0; i < lines.size() && i < text.size(); ++i) {
    try {
      lines[i].load(text[i]);
    } catch (const std::exception&) {
      // This line stays without effect; the next one keeps its place.
    }
  }
}

}  // namespace app
