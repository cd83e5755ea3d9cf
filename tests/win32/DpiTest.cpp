// A real window told it is now on a monitor of another DPI (WM_DPICHANGED, as Windows sends it
// when the window is dragged there) lays itself out again in that DPI's pixels and fonts and
// takes the rectangle Windows suggests.
#include "Win32Fixture.h"
#include "app/frmMain.h"

namespace {

class DpiChange : public win32_testing::Win32Test {};

int FontHeight(HWND window) {
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font.lfHeight;
}

TEST_F(DpiChange, TheMainWindowTakesTheSuggestedRectangleAndLaysItselfOutInTheNewPixelsAndFonts) {
  app::frmMain main(runtime, state);
  main.Initialize();
  main.Show();
  HWND window = win32_testing::H(main);
  const int from = main.Dpi();
  const int to = from >= 144 ? 96 : from * 2;  // the window still fits the screen there
  const int fontBefore = FontHeight(win32_testing::H(main.cmdActivate));
  RECT suggested{40, 30, 40 + MulDiv(main.Width(), to, 1440), 30 + MulDiv(main.Height(), to, 1440)};
  SendMessageA(window, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
  backend.PumpPending();

  EXPECT_EQ(main.Dpi(), to);
  RECT now;
  GetWindowRect(window, &now);
  EXPECT_TRUE(EqualRect(&now, &suggested)) << now.left << "," << now.top << "," << now.right << "," << now.bottom;
  // Each control where its twips fall in the new pixels, edge by edge.
  for (ui::Control* control : {static_cast<ui::Control*>(&main.cmdActivate), static_cast<ui::Control*>(&main.txtPeriod)}) {
    RECT at;
    HWND w = win32_testing::H(*control);
    GetWindowRect(w, &at);
    MapWindowPoints(HWND_DESKTOP, GetParent(w), reinterpret_cast<POINT*>(&at), 2);
    EXPECT_EQ(at.left, MulDiv(control->Left(), to, 1440)) << control->Name();
    EXPECT_EQ(at.bottom, MulDiv(control->Top() + control->Height(), to, 1440)) << control->Name();
  }
  EXPECT_NEAR(FontHeight(win32_testing::H(main.cmdActivate)), MulDiv(fontBefore, to, from), 1) << "made at the new DPI";

  SendMessageA(window, 0x02E0, MAKEWPARAM(from, from), reinterpret_cast<LPARAM>(&suggested));
  backend.PumpPending();
  EXPECT_EQ(main.Dpi(), from);
  EXPECT_EQ(FontHeight(win32_testing::H(main.cmdActivate)), fontBefore);
  main.mnu_confirm.SetChecked(true);
  main.Unload();
}

}  // namespace

namespace {

bool Outline(HFONT font) { return ui::win32::Backend::IsOutlineFont(font); }

// MS Sans Serif holds the code page's characters only: a text with others is shown in the
// outline face, which Windows completes from the faces linked to it; the code page's texts keep
// the bitmap face they always had.
TEST_F(DpiChange, ATextBeyondTheCodePageIsShownInTheOutlineFace) {
  const ui::Font font;  // MS Sans Serif 8.25
  EXPECT_FALSE(Outline(backend.FontFor(font, 96))) << "the windows look as they always have";
  EXPECT_TRUE(Outline(backend.FontFor(font, 96, true)));
  app::frmMain main(runtime, state);
  main.Initialize();
  main.Show();
  HWND box = win32_testing::H(main.txtExecF);
  auto shown = [box] { return reinterpret_cast<HFONT>(SendMessageA(box, WM_GETFONT, 0, 0)); };
  main.txtExecF.SetText("C:\\Media\\wake.wav");
  EXPECT_EQ(shown(), backend.FontFor(font, main.Dpi())) << "the face of its DPI";
  main.txtExecF.SetText("C:\\\xD0\x9C\xD1\x83\xD0\xB7\xD1\x8B\xD0\xBA\xD0\xB0\\wake.wav");
  EXPECT_EQ(shown(), backend.FontFor(font, main.Dpi(), true));
  EXPECT_TRUE(Outline(shown()));
  main.mnu_confirm.SetChecked(true);
  main.Unload();
}

}  // namespace
