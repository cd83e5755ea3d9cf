// Every caption of every window shows whole in the fonts Windows (here Wine) gives the program:
// each text measured in its control's font fits the room its control leaves for it, with a few
// pixels to spare, since fonts of the same name differ a little from one computer to another.
#include "Win32Fixture.h"
#include "about/frmAbout.h"
#include "alarm/frmAlarm.h"
#include "app/frmMain.h"
#include "countdown/frmAction.h"
#include "countdown/frmOptions.h"
#include "repeat/frmRepeat.h"
#include "when/frmWhen.h"
#include "ui/win32/Peers.h"
#include "ui/win32/WindowText.h"

namespace {

class Captions : public win32_testing::Win32Test {
 protected:
  static constexpr int kSpare = 4;  // pixels
  // The pixels a text takes in a font: its widest line and its lines' height.
  SIZE Measure(const std::string& text, HFONT font, bool mnemonic = true) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font);
    std::string shown = ui::win32::DisplayText(text);
    RECT r{0, 0, 0, 0};
    ui::win32::DrawUtf8(screen, shown, r, DT_CALCRECT | (mnemonic ? 0 : DT_NOPREFIX));
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return {r.right - r.left, r.bottom - r.top};
  }
  int Pixels(int twips) { return backend.ToPixels(twips, dpi_); }
  // Pixels written for 96 DPI, at the form's.
  int Scaled(int pixels) { return MulDiv(pixels, dpi_, 96); }
  HFONT FontOf(const ui::Font& font) { return backend.FontFor(font, dpi_); }
  int dpi_ = 96;

  // Where a control's window stands in its parent's client area.
  static RECT Placed(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  // The windows as they stand: each inside its parent's client area, and none on a sibling,
  // unless the design puts them so (in twips).
  void ExpectApartAndInside(ui::Form& form) {
    auto overlap = [](int l1, int t1, int r1, int b1, int l2, int t2, int r2, int b2) {
      return l1 < r2 && l2 < r1 && t1 < b2 && t2 < b1;
    };
    // Controls get their windows once they can be seen.
    const bool shown = form.Visible();
    if (!shown) form.Show();
    const auto& all = form.AllControls();
    for (std::size_t i = 0; i < all.size(); ++i) {
      ui::Control& c = *all[i];
      HWND window = win32_testing::H(c);
      if (!window || !c.Visible() || !c.InView() || c.Kind() == ui::ControlKind::StatusBar) continue;
      RECT at = Placed(window), room;
      GetClientRect(GetParent(window), &room);
      // A combo box's window holds its dropped-down list too.
      if (c.Kind() == ui::ControlKind::ComboBox) at.bottom = at.top + Pixels(c.Height());
      const bool designedInside = c.Left() >= 0 && c.Top() >= 0 && c.Left() + c.Width() <= c.Parent()->ClientWidth() &&
                                  c.Top() + c.Height() <= c.Parent()->ClientHeight();
      if (designedInside) {
        EXPECT_TRUE(at.left >= 0 && at.top >= 0 && at.right <= room.right && at.bottom <= room.bottom)
            << form.Name() << "." << c.Name() << " leaves its container at " << dpi_ << " DPI";
      }
      for (std::size_t j = i + 1; j < all.size(); ++j) {
        ui::Control& d = *all[j];
        HWND other = win32_testing::H(d);
        if (!other || d.Parent() != c.Parent() || !d.Visible() || !d.InView() || d.Kind() == ui::ControlKind::StatusBar ||
            overlap(c.Left(), c.Top(), c.Left() + c.Width(), c.Top() + c.Height(), d.Left(), d.Top(),
                    d.Left() + d.Width(), d.Top() + d.Height()))
          continue;
        RECT there = Placed(other);
        if (d.Kind() == ui::ControlKind::ComboBox) there.bottom = there.top + Pixels(d.Height());
        EXPECT_FALSE(overlap(at.left, at.top, at.right, at.bottom, there.left, there.top, there.right, there.bottom))
            << form.Name() << "." << c.Name() << " lies on " << d.Name() << " at " << dpi_ << " DPI";
      }
    }
    if (!shown) form.Hide();
  }

  // Each captioned control of the form whose text does not fit, with the room it has.
  void ExpectWhole(ui::Form& form) {
    dpi_ = form.Dpi();
    ExpectApartAndInside(form);
    for (ui::Control* control : form.AllControls()) {
      std::string text;
      int room = Pixels(control->Width());  // less what the control draws beside its text
      switch (control->Kind()) {
        case ui::ControlKind::Label: {
          auto& label = static_cast<ui::Label&>(*control);
          text = label.Caption();
          if (label.AutoSize()) continue;  // sized to its text
          SIZE size = Measure(text, FontOf(label.GetFont()), label.UseMnemonic());
          EXPECT_LE(size.cy, Pixels(control->Height())) << form.Name() << "." << control->Name() << " \"" << text
                                                         << "\" is cut at the bottom";
          break;
        }
        case ui::ControlKind::CheckBox:
          text = static_cast<ui::CheckBox&>(*control).Caption();
          room -= Scaled(18);  // the box and the gap after it
          break;
        case ui::ControlKind::OptionButton:
          text = static_cast<ui::OptionButton&>(*control).Caption();
          room -= Scaled(18);
          break;
        case ui::ControlKind::CommandButton:
          text = static_cast<ui::CommandButton&>(*control).Caption();
          room -= Scaled(8);  // the edges
          break;
        case ui::ControlKind::Frame:
          text = static_cast<ui::Frame&>(*control).Caption();
          room -= Scaled(16);  // the caption starts 8 pixels in, and its line needs as much after it
          break;
        default:
          continue;
      }
      if (text.empty()) continue;
      EXPECT_LE(Measure(text, FontOf(control->GetFont())).cx + kSpare, room)
          << form.Name() << "." << control->Name() << " \"" << text << "\" is cut";
    }
    // The title, beside the window's icon and its caption's buttons.
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = CreateFontIndirectA(&metrics.lfCaptionFont);
    int buttons = form.MinButton || form.MaxButton ? 3 : 1;
    int title = Measure(form.Caption(), font, false).cx + GetSystemMetrics(SM_CXSMICON) + Scaled(8) +
                buttons * GetSystemMetrics(SM_CXSIZE);
    DeleteObject(font);
    EXPECT_LE(title, Pixels(form.Width())) << form.Name() << "'s title \"" << form.Caption() << "\" is cut";
  }
};

TEST_F(Captions, EveryWindowShowsItsTextsWhole) {
  app::frmMain main(runtime, state);
  main.Initialize();
  main.Load();
  ExpectWhole(main);

  schedule::Schedule longest;  // the longest name a countdown shows
  longest.action = schedule::Action::Hibernate;
  longest.trigger = schedule::Trigger::At(base::MakeLocalTime({2100, 1, 1, 0, 0, 0}));
  std::string refusal;
  ASSERT_TRUE(state.Control.Activate(longest, refusal));
  state.Control.Cancel();
  countdown::frmAction warning(runtime, state);
  warning.lblMessage.SetCaption(warning.Sentence(99));
  ExpectWhole(warning);
  countdown::frmOptions options(runtime, state);
  ExpectWhole(options);
  options.cmdPlay.SetCaption("Sto&p");
  ExpectWhole(options);
  app::alarm::frmAlarm alarm(runtime, state);
  alarm.SetCaption(":: Quenlar 1.3 - Alarm ::");
  ExpectWhole(alarm);
  about::frmAbout box(runtime);
  box.lblTitle.SetCaption("Quenlar");
  box.lblVersion.SetCaption("Version : 1.3");
  ExpectWhole(box);

  when::frmWhen conditions(runtime, state);
  ExpectWhole(conditions);
  when::frmPrograms picker(runtime, {"explorer.exe"});
  ExpectWhole(picker);
  repeat::frmRepeat days(runtime, state);
  ExpectWhole(days);
  repeat::frmNotify notice(runtime, state);
  ExpectWhole(notice);

  // The target panel with the widest condition of each kind: every line within its width.
  const std::string longName = "averyveryverylongprogramname.exe";
  fake.kernel32.programs = {{4294967295u, longName}};
  for (const schedule::Trigger& trigger :
       {schedule::Trigger::WhenEnds(longName), schedule::Trigger::WhenProcessEnds(4294967295u),
        schedule::Trigger::WhenIdle(999), schedule::Trigger::WhenProcessorBelow(99, 999),
        schedule::Trigger::WhenNetworkBelow(999999, 999), schedule::Trigger::WhenEnds("ffmpeg.exe")}) {
    schedule::Schedule s;
    s.trigger = trigger;
    fake.kernel32.programs[1] = "ffmpeg.exe";
    std::string refused;
    ASSERT_TRUE(state.Control.Activate(s, refused)) << refused;
    const ui::Label& panel = main.lblActionTime;
    SIZE size = Measure(panel.Caption(), FontOf(panel.GetFont()), false);
    EXPECT_LE(size.cx + kSpare, Pixels(panel.Width())) << "\"" << panel.Caption() << "\" is cut";
    EXPECT_LE(size.cy, Pixels(panel.Height())) << "\"" << panel.Caption() << "\" is cut at the bottom";
    main.cmdActivate_Click();
  }
  EXPECT_EQ(main.lblActionTime.Caption(), "ffmpeg.exe\rends");
  EXPECT_EQ(main.lblActionTime.GetFont().size, 14.25) << "a short condition in the clock's font";

  main.mnu_confirm.SetChecked(true);
  main.Unload();
}

}  // namespace
