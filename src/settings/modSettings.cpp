#include "settings/modSettings.h"

#include <functional>

#include "app/frmMain.h"
#include "base/Convert.h"

namespace settings {

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

namespace {

// One line of the file: how its value is read off the controls, and how it is put back.
struct Line {
  std::function<std::string()> save;
  std::function<void(const std::string&)> load;
};

// The 18 lines in file order. Loading runs the controls' own handlers, as a user's choice
// would; an unusable value leaves its control as it is.
std::vector<Line> Lines(app::frmMain& form) {
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
  for (ui::TextBox* box : {&form.txtTimeout, &form.txtBeepFreq, &form.txtExecF, &form.txtAlarmF, &form.txtMessage})
    lines.push_back({[box] { return box->Text(); }, [box](const std::string& text) { box->SetText(text); }});
  return lines;
}

}  // namespace

std::vector<std::string> SettingsLines(app::frmMain& form) {
  std::vector<std::string> values;
  for (const Line& line : Lines(form)) values.push_back(line.save());
  return values;
}

bool SaveSett(app::frmMain& form, os::Files& files, const std::string& fileName) {
  try {
    return files.ReplaceFileContents(fileName, JoinLines(SettingsLines(form)));
  } catch (const std::exception&) {
    return false;
  }
}

bool LoadSett(app::frmMain& form, os::Files& files, const std::string& fileName) {
  std::vector<std::string> text;
  try {
    auto contents = files.ReadFile(fileName, kReadLimit + 1);
    if (!contents) return false;
    // A file longer than any the program writes is read only this far; the line the limit cuts
    // through is not known, and counts as missing along with those after it.
    if (contents->size() > kReadLimit) {
      contents->resize(kReadLimit);
      std::size_t end = contents->find_last_of("\r\n");
      contents->resize(end == std::string::npos ? 0 : end + 1);
    }
    text = SplitLines(*contents);
  } catch (const std::exception&) {
    return false;
  }
  std::vector<Line> lines = Lines(form);
  for (std::size_t i = 0; i < lines.size() && i < text.size(); ++i) {
    try {
      lines[i].load(text[i]);
    } catch (const std::exception&) {
      // This line stays without effect; the next one keeps its place.
    }
  }
  return true;
}

}  // namespace settings
