#include "when/frmWhen.h"

#include <algorithm>

#include "base/Convert.h"
#include "ui/NumberBox.h"
#include "ui/Runtime.h"

namespace when {
namespace {

using base::Lower;
using session::Condition;
using Kind = schedule::Trigger::Kind;

constexpr Kind kKinds[session::kConditionCount] = {Kind::ProgramEnds, Kind::NoInput, Kind::ProcessorBelow,
                                                   Kind::NetworkBelow};

// The least value of every condition's box, applied when the value is taken (the box left,
// Enter pressed, the window loaded or activated).
constexpr long long kLeast = 1;

void TakeWhole(ui::TextBox& box) { ui::TakeNumber(box, kLeast); }

void BindNumberBox(ui::TextBox& box, long long highest) {
  ui::BindNumberBox(box, {highest, [] { return kLeast; }, {}});
}

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

frmWhen::frmWhen(ui::Runtime& runtime, session::ProgramState& state) : ui::Form(runtime, "frmWhen"), state_(state) {
  SetCaption("Activate When");
  SetIcon("IDI_MAIN");
  BorderStyle = ui::BorderStyle::FixedDialog;
  MinButton = MaxButton = false;
  ShowInTaskbar = false;
  StartUpPosition = ui::StartUpPosition::CenterOwner;
  SetClientSize(5850, 2580);

  const char* captions[] = {"A &program ends:", "&No input for", "P&rocessor below", "Net&work below"};
  for (int i = 0; i < session::kConditionCount; ++i) {
    optWhen[i].SetCaption(captions[i]);
    optWhen[i].Move(240, 240 + 420 * i, 1860, 255);
  }
  txtProgram.SetMaxLength(260);
  txtProgram.Move(2160, 225, 3015, 285);
  txtProgram.SetToolTipText("The program's file name (ffmpeg.exe) or its process id");
  cmdPrograms.SetCaption("...");
  cmdPrograms.Move(5235, 210, 375, 315);
  cmdPrograms.SetToolTipText("Choose one of the programs running now");
  auto row = [](ui::TextBox& box, long long highest, int top) {
    BindNumberBox(box, highest);
    box.Move(2160, top - 15, 840, 285);
  };
  auto unit = [](ui::Label& label, const char* caption, int left, int top) {
    label.SetCaption(caption);
    label.Move(left, top + 30, 840, 225);
  };
  row(txtIdle, schedule::kLongestQuiet, 660);
  unit(lblIdle, "minutes", 3090, 660);
  row(txtCpu, schedule::kHighestPercent, 1080);
  unit(lblCpu, "% for", 3090, 1080);
  BindNumberBox(txtCpuMinutes, schedule::kLongestQuiet);
  txtCpuMinutes.Move(3960, 1065, 600, 285);
  unit(lblCpuMinutes, "minutes", 4650, 1080);
  row(txtNet, schedule::kHighestRate, 1500);
  unit(lblNet, "KB/s for", 3090, 1500);
  BindNumberBox(txtNetMinutes, schedule::kLongestQuiet);
  txtNetMinutes.Move(3960, 1485, 600, 285);
  unit(lblNetMinutes, "minutes", 4650, 1500);
  cmdActivate.SetCaption("&Activate");
  cmdActivate.SetDefault(true);
  cmdActivate.Move(3030, 2040, 1215, 375);
  cmdCancel.SetCaption("Cancel");
  cmdCancel.SetCancel(true);
  cmdCancel.Move(4395, 2040, 1215, 375);

  LoadEvent = [this] { Form_Load(); };
  optWhen.ForEach([this](ui::OptionButton& option) { option.Click = [this](int index) { optWhen_Click(index); }; });
  cmdPrograms.Click = [this] { cmdPrograms_Click(); };
  cmdActivate.Click = [this] { cmdActivate_Click(); };
  cmdCancel.Click = [this] { cmdCancel_Click(); };
}

std::vector<ui::TextBox*> frmWhen::BoxesOf(int condition) {
  switch (condition) {
    case 0:
      return {&txtProgram};
    case 1:
      return {&txtIdle};
    case 2:
      return {&txtCpu, &txtCpuMinutes};
    default:
      return {&txtNet, &txtNetMinutes};
  }
}

std::vector<ui::TextBox*> frmWhen::NumberBoxes() { return {&txtIdle, &txtCpu, &txtCpuMinutes, &txtNet, &txtNetMinutes}; }

int frmWhen::Selected() const {
  for (int i = 0; i < session::kConditionCount; ++i)
    if (optWhen[i].Value()) return i;
  return -1;
}

// The last choices come back; a condition this computer cannot watch is disabled, with its
// reason as the tip, and the choice falls to the first one it can.
void frmWhen::Form_Load() {
  const session::WhenChoices& last = state_.When;
  txtProgram.SetText(last.program);
  txtIdle.SetText(std::to_string(last.idleMinutes));
  txtCpu.SetText(std::to_string(last.processorPercent));
  txtCpuMinutes.SetText(std::to_string(last.processorMinutes));
  txtNet.SetText(std::to_string(last.networkRate));
  txtNetMinutes.SetText(std::to_string(last.networkMinutes));
  for (ui::TextBox* box : NumberBoxes()) TakeWhole(*box);
  std::optional<int> chosen;
  for (int i = 0; i < session::kConditionCount; ++i) {
    const std::string why = schedule::WhyNotWatched(kKinds[i], state_.os);
    optWhen[i].SetEnabled(why.empty());
    optWhen[i].SetToolTipText(why);
    if (why.empty() && (!chosen || i == static_cast<int>(last.condition))) chosen = i;
  }
  optWhen_Click(-1);
  if (chosen)
    optWhen[*chosen].SetValue(true);
  else
    cmdActivate.SetEnabled(false);
}

// The chosen condition's boxes are enabled, the others' not; a click takes the user to the
// first of them. (-1: none chosen.)
void frmWhen::optWhen_Click(int index) {
  for (int i = 0; i < session::kConditionCount; ++i)
    for (ui::TextBox* box : BoxesOf(i)) box->SetEnabled(i == index);
  cmdPrograms.SetEnabled(index == 0);
  if (index >= 0 && Visible()) BoxesOf(index).front()->SetFocus();
}

void frmWhen::cmdPrograms_Click() {
  std::optional<std::vector<std::string>> running;
  try {
    running = RunningPrograms(state_.os.kernel32);
  } catch (const std::exception&) {
  }
  if (!running) {
    GetRuntime().MsgBox("The running programs could not be listed.", ui::mb::kExclamation);
    return;
  }
  frmPrograms picker(GetRuntime(), *running);
  picker.Show(ui::vbModal, this);
  if (!picker.Chosen().empty()) txtProgram.SetText(picker.Chosen());
  if (IsLoaded() && Visible()) txtProgram.SetFocus();
}

schedule::Trigger frmWhen::TriggerFromWindow() {
  auto minutes = [](const ui::TextBox& box) { return static_cast<int>(ui::NumberIn(box)); };
  switch (Selected()) {
    case 0: {
      const std::string program = Trimmed(txtProgram.Text());
      if (auto id = schedule::ProcessId(program)) return schedule::Trigger::WhenProcessEnds(*id);
      return schedule::Trigger::WhenEnds(schedule::ProgramFileName(program));
    }
    case 1:
      return schedule::Trigger::WhenIdle(minutes(txtIdle));
    case 2:
      return schedule::Trigger::WhenProcessorBelow(ui::NumberIn(txtCpu), minutes(txtCpuMinutes));
    default:
      return schedule::Trigger::WhenNetworkBelow(ui::NumberIn(txtNet), minutes(txtNetMinutes));
  }
}

session::WhenChoices frmWhen::ChoicesFromWindow() {
  session::WhenChoices choices;
  choices.condition = static_cast<Condition>(std::max(Selected(), 0));
  choices.program = Trimmed(txtProgram.Text());
  choices.idleMinutes = static_cast<int>(ui::NumberIn(txtIdle));
  choices.processorPercent = static_cast<int>(ui::NumberIn(txtCpu));
  choices.processorMinutes = static_cast<int>(ui::NumberIn(txtCpuMinutes));
  choices.networkRate = ui::NumberIn(txtNet);
  choices.networkMinutes = static_cast<int>(ui::NumberIn(txtNetMinutes));
  return choices;
}

// Arms the condition; one that cannot be armed (the program is not running) says why and the
// window stays, for the user to mend it.
void frmWhen::cmdActivate_Click() {
  for (ui::TextBox* box : NumberBoxes()) TakeWhole(*box);
  const int chosen = Selected();
  if (chosen < 0) return;
  if (chosen == 0 && Trimmed(txtProgram.Text()).empty()) {
    GetRuntime().MsgBox("Type the name of the program to wait for, or choose a running one with \"...\".",
                        ui::mb::kExclamation);
    txtProgram.SetFocus();
    return;
  }
  const schedule::Trigger trigger = TriggerFromWindow();
  std::string refusal;
  std::unique_ptr<schedule::Watch> watch = schedule::Arm(trigger, state_.os, refusal);
  if (!watch) {
    GetRuntime().MsgBox(refusal, ui::mb::kExclamation);
    BoxesOf(chosen).front()->SetFocus();
    return;
  }
  state_.When = ChoicesFromWindow();
  armed_ = Armed{trigger, std::move(watch)};
  Unload();
}

frmPrograms::frmPrograms(ui::Runtime& runtime, const std::vector<std::string>& programs)
    : ui::Form(runtime, "frmPrograms") {
  SetCaption("Running Programs");
  SetIcon("IDI_MAIN");
  BorderStyle = ui::BorderStyle::FixedDialog;
  MinButton = MaxButton = false;
  ShowInTaskbar = false;
  StartUpPosition = ui::StartUpPosition::CenterOwner;
  SetClientSize(4110, 1500);
  lblPrograms.SetCaption("Wait for the end of:");
  lblPrograms.Move(180, 180, 3750, 225);
  cboPrograms.Move(180, 450, 3750, 315);
  for (const std::string& program : programs) cboPrograms.AddItem(program);
  if (!programs.empty()) cboPrograms.SetListIndex(0);
  cmdOK.SetCaption("OK");
  cmdOK.SetDefault(true);
  cmdOK.SetEnabled(!programs.empty());
  cmdOK.Move(1350, 960, 1215, 375);
  cmdCancel.SetCaption("Cancel");
  cmdCancel.SetCancel(true);
  cmdCancel.Move(2715, 960, 1215, 375);
  cmdOK.Click = [this] {
    chosen_ = cboPrograms.Text();
    Unload();
  };
  cmdCancel.Click = [this] { Unload(); };
}

std::optional<std::vector<std::string>> RunningPrograms(os::Kernel32& kernel32) {
  std::vector<os::ProcessEntry> running;
  if (!kernel32.ListProcesses(running)) return std::nullopt;
  std::vector<std::string> names;
  for (const os::ProcessEntry& entry : running)
    if (!entry.exeFile.empty()) names.push_back(entry.exeFile);
  auto byLower = [](const std::string& a, const std::string& b) { return Lower(a) < Lower(b); };
  std::sort(names.begin(), names.end(), byLower);
  names.erase(std::unique(names.begin(), names.end(),
                          [](const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }),
              names.end());
  return names;
}

}  // namespace when
