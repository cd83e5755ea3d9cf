// The windows on monitors of other DPIs: the layout stays in twips, texts are measured again in
// the fonts of the new DPI, and what the native backend would show in pixels still holds them.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "alarm/frmAlarm.h"
#include "app/Commands.h"
#include "support/Harness.h"

namespace {

class Dpi : public testing_support::MainWindowTest {
 protected:
  // Each control that lies outside its container's client area, or on a sibling it did not
  // lie on at 96 DPI, or whose label no longer holds its text, at the form's DPI now.
  void ExpectLaidOutAt(ui::Form& form, const std::vector<ui::PixelRect>& at96) {
    const int dpi = form.Dpi();
    const auto& controls = form.AllControls();
    for (std::size_t i = 0; i < controls.size() && i < at96.size(); ++i) {
      ui::Control& c = *controls[i];
      if (!c.Visible() || !c.InView()) continue;
      ui::PixelRect at = backend.Bounds(c);
      const int roomRight = ui::TwipsToPixels(c.Parent()->ClientWidth(), dpi);
      const int roomBottom = ui::TwipsToPixels(c.Parent()->ClientHeight(), dpi);
      EXPECT_TRUE(at.left >= 0 && at.top >= 0 && at.right <= roomRight && at.bottom <= roomBottom)
          << form.Name() << "." << c.Name() << " leaves its container at " << dpi << " DPI: " << at.left << ","
          << at.top << "," << at.right << "," << at.bottom << " in " << roomRight << "x" << roomBottom;
      if (c.Kind() == ui::ControlKind::Label) {
        auto& label = static_cast<ui::Label&>(c);
        ui::Size text = backend.MeasureText(label.Caption(), label.GetFont(), label.UseMnemonic(), dpi);
        if (label.AutoSize()) {
          EXPECT_EQ(label.Width(), text.width) << c.Name() << " measured again at " << dpi << " DPI";
        }
      }
      for (std::size_t j = i + 1; j < controls.size() && j < at96.size(); ++j) {
        ui::Control& d = *controls[j];
        if (d.Parent() != c.Parent() || !d.Visible() || !d.InView()) continue;
        auto apart = [](const ui::PixelRect& a, const ui::PixelRect& b) {
          return a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
        };
        if (apart(at96[i], at96[j])) {
          EXPECT_TRUE(apart(at, backend.Bounds(d))) << c.Name() << " and " << d.Name() << " overlap at " << dpi << " DPI";
        }
      }
    }
  }
};

TEST_F(Dpi, TheMainWindowMovedBetweenMonitorsTakesTheSuggestedRectangleAndKeepsItsLayout) {
  app::frmMain& main = Start();
  std::vector<ui::PixelRect> at96;
  for (ui::Control* c : main.AllControls()) at96.push_back(backend.Bounds(*c));
  int heard = 0;
  auto designed = main.DpiChanged;
  main.DpiChanged = [&](int dpi) {
    ++heard;
    if (designed) designed(dpi);
  };
  const int widthTwips = main.Width();
  for (int dpi : {120, 144, 192, 96}) {
    const ui::PixelRect suggested{100, 50, 100 + ui::TwipsToPixels(widthTwips, dpi), 50 + ui::TwipsToPixels(main.Height(), dpi)};
    ASSERT_TRUE(backend.MoveToMonitor(main, dpi, suggested));
    EXPECT_EQ(main.Dpi(), dpi);
    EXPECT_EQ(backend.Bounds(main), suggested);
    EXPECT_EQ(main.Width(), widthTwips) << "the layout is in twips and stays";
    ExpectLaidOutAt(main, at96);
  }
  EXPECT_EQ(heard, 4);
  ASSERT_TRUE(backend.MoveToMonitor(main, 96, {0, 0, 10, 10}));
  EXPECT_EQ(heard, 4) << "the same DPI again is no change";
}

TEST_F(Dpi, AConditionsTextIsFittedAgainInTheFontsOfTheNewDpi) {
  // A program name that fits the target panel at 96 DPI only in the smaller font: at 192 its
  // characters take whole pixels and more room, and it is fitted anew there.
  fake.kernel32.commandLine = "\"C:\\q.exe\" /s /whenexit abcdefghijklmnopqrstuvwxyz0123456789ABCDEF.exe";
  const std::string name = "abcdefghijklmnopqrstuvwxyz0123456789ABCDEF.exe";
  fake.kernel32.programs[4321] = name;
  app::Start start = app::Begin(state);
  app::frmMain& main = Start();
  ASSERT_TRUE(start.request) << start.exitCode.value_or(-1) << " " << LastBox();
  app::CarryOutAtStart(state, runtime, *start.request);
  ASSERT_TRUE(main.ScheduleActive());
  const std::string at96 = main.lblActionTime.Caption();
  auto fits = [&](int dpi) {
    ui::Size shown = backend.MeasureText(main.lblActionTime.Caption(), main.lblActionTime.GetFont(), false, dpi);
    return shown.width <= main.lblActionTime.Width() && shown.height <= main.lblActionTime.Height();
  };
  ASSERT_TRUE(fits(96));
  ASSERT_TRUE(backend.MoveToMonitor(main, 192, {0, 0, 800, 600}));
  EXPECT_TRUE(fits(192)) << main.lblActionTime.Caption();
  ASSERT_TRUE(backend.MoveToMonitor(main, 96, {0, 0, 800, 600}));
  EXPECT_EQ(main.lblActionTime.Caption(), at96);
}

TEST_F(Dpi, TheAlarmWindowWidensForItsMessageAtTheNewDpiAndAFormMadeThereStartsThere) {
  backend.systemDpi = 144;
  app::frmMain& main = Start();
  EXPECT_EQ(main.Dpi(), 144);
  main.txtMessage.SetText(std::string(60, 'W'));
  std::string refusal;
  state.Control.Activate(main.ScheduleFromWindow(clock.Now()), refusal);
  main.Hide();
  state.Control.End();
  auto alarm = std::make_unique<app::alarm::frmAlarm>(runtime, state);
  alarm->Show();
  EXPECT_EQ(alarm->lblAlarmM.Width(), backend.MeasureText(alarm->lblAlarmM.Caption(), alarm->lblAlarmM.GetFont(), true, 144).width);
  ASSERT_TRUE(backend.MoveToMonitor(*alarm, 192, {0, 0, 1000, 400}));
  EXPECT_GE(alarm->Width(), alarm->lblAlarmM.Width()) << "the window still holds the message";
  EXPECT_EQ(alarm->lblAlarmM.Width(), backend.MeasureText(alarm->lblAlarmM.Caption(), alarm->lblAlarmM.GetFont(), true, 192).width);
  backend.Click(alarm->cmdOk);
}

}  // namespace
