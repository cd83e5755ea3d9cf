#include "repeat/frmRepeat.h"

#include "ui/NumberBox.h"
#include "ui/Runtime.h"

namespace repeat {
namespace {

// The options' order, and the days of the check boxes, Monday first as people read a week.
constexpr int kOnceOption = 0, kEveryDayOption = 1, kWeekdaysOption = 2, kChosenDaysOption = 3;
constexpr const char* kDayCaptions[7] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
constexpr int WeekdayOfBox(int box) { return (box + 1) % 7; }  // Windows counts Sunday as 0

void SetUpDialog(ui::Form& form, const char* caption, int width, int height) {
  form.SetCaption(caption);
  form.SetIcon("IDI_MAIN");
  form.BorderStyle = ui::BorderStyle::FixedDialog;
  form.MinButton = form.MaxButton = false;
  form.ShowInTaskbar = false;
  form.StartUpPosition = ui::StartUpPosition::CenterOwner;
  form.SetClientSize(width, height);
}

void SetUpButtons(ui::CommandButton& ok, ui::CommandButton& cancel, int right, int top) {
  ok.SetCaption("OK");
  ok.SetDefault(true);
  ok.Move(right - 2520, top, 1215, 375);
  cancel.SetCaption("Cancel");
  cancel.SetCancel(true);
  cancel.Move(right - 1215, top, 1215, 375);
}

}  // namespace

frmRepeat::frmRepeat(ui::Runtime& runtime, session::ProgramState& state) : ui::Form(runtime, "frmRepeat"), state_(state) {
  SetUpDialog(*this, "Repeat", 5640, 3180);
  const char* captions[] = {"&Once", "&Every day", "&Monday to Friday", "On &these days:"};
  for (int i = 0; i < 4; ++i) {
    optRepeat[i].SetCaption(captions[i]);
    optRepeat[i].Move(240, 200 + 330 * i, 2400, 255);
  }
  for (int i = 0; i < 7; ++i) {
    chkDay[i].SetCaption(kDayCaptions[i]);
    chkDay[i].Move(480 + 720 * i, 1530, 690, 255);
  }
  chkWake.SetCaption("&Wake the computer for it");
  chkWake.Move(240, 2040, 4200, 255);
  chkWake.SetToolTipText("Wakes the computer from sleep a minute before the time");
  SetUpButtons(cmdOK, cmdCancel, 5400, 2580);

  LoadEvent = [this] { Form_Load(); };
  optRepeat.ForEach([this](ui::OptionButton& option) { option.Click = [this](int index) { optRepeat_Click(index); }; });
  cmdOK.Click = [this] { cmdOK_Click(); };
  cmdCancel.Click = [this] { Unload(); };
}

// The choice as it was last made; the days' boxes take input only for "On these days".
void frmRepeat::Form_Load() {
  const schedule::Days days = state_.Repeat;
  const int option = days == schedule::kOnce        ? kOnceOption
                     : days == schedule::kEveryDay  ? kEveryDayOption
                     : days == schedule::kMondayToFriday ? kWeekdaysOption
                                                    : kChosenDaysOption;
  for (int i = 0; i < 7; ++i) chkDay[i].SetValue(option == kChosenDaysOption && (days & schedule::DayBit(WeekdayOfBox(i))) ? 1 : 0);
  optRepeat[option].SetValue(true);
  optRepeat_Click(option);
  chkWake.SetValue(state_.Wake ? 1 : 0);
}

void frmRepeat::optRepeat_Click(int index) {
  for (int i = 0; i < 7; ++i) chkDay[i].SetEnabled(index == kChosenDaysOption);
}

schedule::Days frmRepeat::DaysFromWindow() const {
  if (optRepeat[kEveryDayOption].Value()) return schedule::kEveryDay;
  if (optRepeat[kWeekdaysOption].Value()) return schedule::kMondayToFriday;
  schedule::Days days = schedule::kOnce;
  if (optRepeat[kChosenDaysOption].Value())
    for (int i = 0; i < 7; ++i)
      if (chkDay[i].Value() == 1) days |= schedule::DayBit(WeekdayOfBox(i));
  return days;
}

void frmRepeat::cmdOK_Click() {
  state_.Repeat = DaysFromWindow();
  state_.Wake = chkWake.Value() == 1;
  chosen_ = true;
  Unload();
}

frmNotify::frmNotify(ui::Runtime& runtime, session::ProgramState& state) : ui::Form(runtime, "frmNotify"), state_(state) {
  SetUpDialog(*this, "Notify Before", 4560, 1500);
  lblNotify.SetCaption("&Notify in the tray");
  lblNotify.Move(240, 300, 1500, 225);
  ui::BindNumberBox(txtNotify, {schedule::kLongestNotice, [] { return 0LL; }, {}});
  txtNotify.Move(1770, 255, 600, 285);
  txtNotify.SetToolTipText("Minutes before a time; 0: no notice");
  lblMinutes.SetCaption("minutes before a time");
  lblMinutes.Move(2460, 300, 1900, 225);
  SetUpButtons(cmdOK, cmdCancel, 4320, 900);

  LoadEvent = [this] {
    txtNotify.SetText(std::to_string(state_.NoticeFor(state_.Repeat != schedule::kOnce)));
    ui::SelectAll(txtNotify);
  };
  cmdOK.Click = [this] {
    ui::TakeNumber(txtNotify, 0);
    state_.NoticeMinutes = static_cast<int>(ui::NumberIn(txtNotify));
    Unload();
  };
  cmdCancel.Click = [this] { Unload(); };
}

}  // namespace repeat
