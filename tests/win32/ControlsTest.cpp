// Per control kind: a model change reaches the native control, and native input reaches the
// model exactly once.
#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "Win32Fixture.h"
#include "ui/Controls.h"
#include "ui/Error.h"
#include "ui/Form.h"
#include "ui/Menu.h"

namespace {

using win32_testing::H;
using win32_testing::TextOf;

// The tip the form holds for one of its controls, or "".
std::string ToolTipOf(HWND form, HWND control) {
  return win32_testing::ToolTipOf(form, reinterpret_cast<UINT_PTR>(control));
}

// Once a pop-up menu is up, chooses its first item with the keyboard.
void CALLBACK ChooseFirstMenuItem(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (HWND menu = FindWindowA("#32768", nullptr)) {
    PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  }
}

HHOOK answerHook = nullptr;
LRESULT CALLBACK AnswerYes(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    char cls[16] = {};
    GetClassNameA(reinterpret_cast<HWND>(wParam), cls, sizeof cls);
    if (std::string(cls) == "#32770") PostMessageA(reinterpret_cast<HWND>(wParam), WM_COMMAND, IDYES, 0);
  }
  return CallNextHookEx(answerHook, code, wParam, lParam);
}

// Answers the first message box after it has been up for 300 ms.
HWND boxToAnswer = nullptr;
void CALLBACK AnswerTheBox(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  PostMessageA(boxToAnswer, WM_COMMAND, IDYES, 0);
}
LRESULT CALLBACK AnswerYesLater(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && !boxToAnswer) {
    char cls[16] = {};
    GetClassNameA(reinterpret_cast<HWND>(wParam), cls, sizeof cls);
    if (std::string(cls) == "#32770") {
      boxToAnswer = reinterpret_cast<HWND>(wParam);
      SetTimer(nullptr, 0, 300, AnswerTheBox);
    }
  }
  return CallNextHookEx(answerHook, code, wParam, lParam);
}

struct KindsForm : ui::Form {
  explicit KindsForm(ui::Runtime& runtime) : ui::Form(runtime, "frmKinds") {
    SetCaption("Kinds");
    SetIcon("IDI_MAIN");
    Move(0, 0, 6000, 6000);
    frame.SetCaption("Frame :");
    frame.Move(120, 120, 3000, 2400);
    text.Move(120, 300, 1500, 300);
    text.SetToolTipText("a tip");
    options[0].SetCaption("&One");
    options[0].Move(120, 700, 1200, 255);
    options[1].SetCaption("&Two");
    options[1].Move(120, 1000, 1200, 255);
    panel.Move(3300, 120, 2400, 2400);
    check.SetCaption("&Check");
    check.Move(0, 0, 1500, 255);
    button.SetCaption("&Button");
    button.Move(0, 400, 1500, 375);
    list.Move(0, 900, 1500, 315);
    for (const char* item : {"Hours", "Minutes", "Seconds"}) list.AddItem(item);
    spin.Move(1700, 900, 255, 315);
    spin.SetRange(99, -1);
    spin.SetValue(30);
    picker.Move(0, 1400, 1800, 330);
    progress.Move(120, 2700, 3000, 300);
    label.Move(120, 3100, 3000, 600);
    image.Move(120, 3800, 480, 480);
    image.SetPicture("IDI_MAIN");
    timer.SetEnabled(false);
  }
  ui::Frame frame{*this, "frame"};
  ui::TextBox text{frame, "text"};
  ui::ControlArray<ui::OptionButton> options{frame, "options", {0, 1}};
  ui::PictureBox panel{*this, "panel"};
  ui::CheckBox check{panel, "check"};
  ui::CommandButton button{panel, "button"};
  ui::ComboBox list{panel, "list"};
  ui::ScrollBar spin{panel, "spin"};
  ui::DTPicker picker{panel, "picker"};
  ui::ProgressBar progress{*this, "progress"};
  ui::Label label{*this, "label"};
  ui::Image image{*this, "image"};
  ui::StatusBar status{*this, "status", 2};
  ui::Timer timer{*this, "timer"};
  ui::Menu file{*this, "file", "&File"};
  ui::Menu open{file, "open", "&Open", ui::Shortcut::Ctrl('O')};
  ui::Menu separator{file, "separator", "-"};
  ui::Menu quiet{file, "quiet", "&Quiet"};
  ui::Menu help{*this, "help", "&Help"};
  ui::Menu about{help, "about", "&About", ui::Shortcut::F(1)};
  ui::Menu popup{*this, "popup", "Popup"};
  ui::Menu show{popup, "show", "&Show"};
};

// A form whose middle control and one panel start hidden.
struct LaterForm : ui::Form {
  explicit LaterForm(ui::Runtime& runtime) : ui::Form(runtime, "frmLater") {
    Move(0, 0, 4000, 3000);
    first.Move(120, 120, 1200, 375);
    middle.Move(120, 600, 1200, 300);
    middle.SetVisible(false);
    last.Move(120, 1000, 1200, 375);
    panel.Move(1500, 120, 2000, 2000);
    panel.SetVisible(false);
    inner.Move(0, 0, 1500, 300);
    image.Move(0, 500, 480, 480);
    image.SetPicture("IDI_MAIN");
    below.SetCaption("Below");
    below.Move(120, 5000, 1200, 255);
  }
  ui::CommandButton first{*this, "first"};
  ui::TextBox middle{*this, "middle"};
  ui::CommandButton last{*this, "last"};
  ui::PictureBox panel{*this, "panel"};
  ui::TextBox inner{panel, "inner"};
  ui::Image image{panel, "image"};
  ui::Label below{*this, "below"};  // beyond the form's area
};

struct TwoTimers : ui::Form {
  explicit TwoTimers(ui::Runtime& runtime) : ui::Form(runtime, "frmTimers") {
    for (ui::Timer* t : {&a, &b}) {
      t->SetEnabled(false);
      t->SetInterval(100);
    }
  }
  ui::Timer a{*this, "a"};
  ui::Timer b{*this, "b"};
};

// Timer messages taken from the queue.
int timerMessages = 0;
HHOOK countHook = nullptr;
LRESULT CALLBACK CountTimerMessages(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE && reinterpret_cast<MSG*>(lParam)->message == WM_TIMER) ++timerMessages;
  return CallNextHookEx(countHook, code, wParam, lParam);
}

double Milliseconds() {
  LARGE_INTEGER now, perSecond;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&perSecond);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(perSecond.QuadPart);
}

class Controls : public win32_testing::Win32Test {
 protected:
  Controls() {
    form.text.KeyPress = [this](int& key) {
      ++count["KeyPress"];
      if (key == 'x') key = 0;
    };
    form.text.Change = [this] { ++count["Change"]; };
    form.text.GotFocus = [this] { ++count["GotFocus"]; };
    form.text.LostFocus = [this] { ++count["LostFocus"]; };
    form.text.DblClick = [this] { ++count["DblClick"]; };
    form.check.Click = [this] { ++count["check"]; };
    form.options[1].Click = [this](int index) { clicked.push_back(index); };
    form.button.Click = [this] { ++count["button"]; };
    form.list.Click = [this] { ++count["list"]; };
    form.spin.Change = [this] { ++count["spin"]; };
    form.picker.Change = [this] { ++count["picker"]; };
    form.timer.TimerEvent = [this] { ++count["timer"]; };
    form.open.Click = [this] { ++count["open"]; };
    form.about.Click = [this] { ++count["about"]; };
    form.show.Click = [this] { ++count["show"]; };
    form.QueryUnload = [this](int& cancel, int mode) {
      modes.push_back(mode);
      cancel = refuseClose ? 1 : 0;
    };
    form.popup.SetVisible(false);
    form.Show();
    Pump();
  }
  ~Controls() override { form.RequestClose(ui::vbFormCode); }

  KindsForm form{runtime};
  std::map<std::string, int> count;
  std::vector<int> clicked;
  std::vector<int> modes;
  bool refuseClose = false;
};

TEST_F(Controls, TheFormIsARealWindowWithCaptionIconAndSize) {
  HWND window = H(form);
  ASSERT_TRUE(IsWindow(window));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(TextOf(form.hWnd()), "Kinds");
  form.SetCaption("Renamed");
  EXPECT_EQ(TextOf(form.hWnd()), "Renamed");
  EXPECT_NE(SendMessageA(window, WM_GETICON, ICON_SMALL, 0), 0);
  EXPECT_NE(form.PictureHandle(), 0u);
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(r.right - r.left, 400);
  EXPECT_EQ(r.bottom - r.top, 400);
}

TEST_F(Controls, TextBoxModelChangesReachTheEditWithoutAnEcho) {
  HWND edit = H(form.text);
  form.text.SetMaxLength(5);
  form.text.SetText("hello world");
  EXPECT_EQ(TextOf(form.text.hWnd()), "hello");
  EXPECT_EQ(count["Change"], 1) << "the edit control's own change notice is not a second Change";
  EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 5);
  form.text.SetSelStart(1);
  form.text.SetSelLength(3);
  DWORD start = 0, end = 0;
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 1u);
  EXPECT_EQ(end, 4u);
  SendMessageA(edit, EM_SETSEL, 2, 5);  // the user selects natively
  EXPECT_EQ(form.text.SelStart(), 2);
  EXPECT_EQ(form.text.SelLength(), 3);
  form.text.SetLocked(true);
  EXPECT_TRUE(GetWindowLongA(edit, GWL_STYLE) & ES_READONLY);
  form.text.SetBackColor(ui::Rgb(255, 128, 128));
  HDC dc = GetDC(edit);
  auto brush = reinterpret_cast<HBRUSH>(SendMessageA(GetParent(edit), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit)));
  ReleaseDC(edit, dc);
  LOGBRUSH info{};
  GetObjectA(brush, sizeof info, &info);
  EXPECT_EQ(info.lbColor, RGB(255, 128, 128));
}

TEST_F(Controls, APasteAndADoubleClickReachTheModelOnce) {
  HWND edit = H(form.text);
  SetWindowTextA(edit, "");  // a native change, as a cut would make it
  ASSERT_TRUE(OpenClipboard(H(form)));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 6);
  std::memcpy(GlobalLock(memory), "12345", 6);
  GlobalUnlock(memory);
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();
  int before = count["Change"];
  SendMessageA(edit, WM_PASTE, 0, 0);
  EXPECT_EQ(form.text.Text(), "12345");
  EXPECT_EQ(count["Change"], before + 1);
  EXPECT_EQ(count["KeyPress"], 0) << "a paste is not typing";
  SendMessageA(edit, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(edit, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(count["DblClick"], 1);
}

TEST_F(Controls, FocusMovesReportLostThenGotFocus) {
  SetFocus(H(form.text));
  Pump();
  SetFocus(H(form.button));
  Pump();
  EXPECT_EQ(count["GotFocus"], 1);
  EXPECT_EQ(count["LostFocus"], 1);
  EXPECT_EQ(form.ActiveControl(), &form.button);
  form.text.SetFocus();
  EXPECT_EQ(GetFocus(), H(form.text));
  EXPECT_EQ(count["GotFocus"], 2);
}

TEST_F(Controls, ToolTipsAreRegisteredForTheirControls) {
  EXPECT_EQ(ToolTipOf(H(form), H(form.text)), "a tip");
  form.text.SetToolTipText("another tip");
  EXPECT_EQ(ToolTipOf(H(form), H(form.text)), "another tip");
  form.text.SetToolTipText("");
  EXPECT_EQ(ToolTipOf(H(form), H(form.text)), "");
}

TEST_F(Controls, TipsSetBeforeAFormFirstShowsAreRegisteredWhenItShows) {
  KindsForm later{runtime};
  later.Load();
  later.text.SetToolTipText("changed before");
  later.button.SetToolTipText("dropped before");
  later.button.SetToolTipText("");
  EXPECT_EQ(ToolTipOf(H(later), H(later.text)), "") << "no tooltip window while it has never shown";
  later.Show();
  Pump();
  EXPECT_EQ(ToolTipOf(H(later), H(later.text)), "changed before");
  EXPECT_EQ(ToolTipOf(H(later), H(later.button)), "");
  later.RequestClose(ui::vbFormCode);
}

TEST_F(Controls, CheckBoxAndOptionButtonsFollowTheModelAndClicksArriveOnce) {
  form.check.SetValue(1);
  EXPECT_EQ(SendMessageA(H(form.check), BM_GETCHECK, 0, 0), BST_CHECKED);
  form.check.SetValue(2);
  EXPECT_EQ(SendMessageA(H(form.check), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  int before = count["check"];
  SendMessageA(H(form.check), BM_CLICK, 0, 0);
  EXPECT_EQ(count["check"], before + 1);
  EXPECT_EQ(form.check.Value(), 1);
  EXPECT_EQ(SendMessageA(H(form.check), BM_GETCHECK, 0, 0), BST_CHECKED);

  form.options[0].SetValue(true);
  EXPECT_EQ(SendMessageA(H(form.options[0]), BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageA(H(form.options[1]), BM_CLICK, 0, 0);
  EXPECT_EQ(clicked, (std::vector<int>{1}));
  EXPECT_EQ(SendMessageA(H(form.options[0]), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageA(H(form.options[1]), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(GetWindowLongA(H(form.options[0]), GWL_STYLE) & WS_GROUP);
}

TEST_F(Controls, ACommandButtonClickArrivesOnceAndItsCaptionFollows) {
  SendMessageA(H(form.button), BM_CLICK, 0, 0);
  EXPECT_EQ(count["button"], 1);
  form.button.SetCaption("&Pressed");
  EXPECT_EQ(TextOf(form.button.hWnd()), "&Pressed");
  form.button.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(H(form.button)));
}

TEST_F(Controls, ContainersMoveHideAndDisableTheirChildren) {
  form.panel.Move(3000, 150, 2400, 2400);
  RECT r;
  GetWindowRect(H(form.panel), &r);
  POINT p{r.left, r.top};
  ScreenToClient(H(form), &p);
  EXPECT_EQ(p.x, 200);
  EXPECT_EQ(p.y, 10);
  form.panel.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(H(form.button)));
  EXPECT_TRUE(form.button.Visible());
  form.frame.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(H(form.frame)));
  EXPECT_FALSE(IsWindowEnabled(H(form.text))) << "drawn disabled with its frame";
  EXPECT_TRUE(form.text.Enabled()) << "the child keeps its own state";
  EXPECT_THROW(form.text.SetFocus(), ui::RuntimeError);
  form.frame.SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(H(form.text)));
}

TEST_F(Controls, TheDropDownListFollowsTheModelAndReportsAChoiceOnce) {
  HWND combo = H(form.list);
  EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 3);
  form.list.SetListIndex(1);
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(count["list"], 1);
  SendMessageA(combo, CB_SETCURSEL, 2, 0);
  SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  EXPECT_EQ(form.list.ListIndex(), 2);
  EXPECT_EQ(form.list.Text(), "Seconds");
  EXPECT_EQ(count["list"], 2);
  EXPECT_TRUE(GetWindowLongA(combo, GWL_STYLE) & CBS_DROPDOWNLIST);
}

TEST_F(Controls, TheSpinnersUpArrowRaisesItsValue) {
  HWND bar = H(form.spin);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 99 - 30);
  SendMessageA(GetParent(bar), WM_VSCROLL, SB_LINEUP, reinterpret_cast<LPARAM>(bar));
  EXPECT_EQ(form.spin.Value(), 31);
  EXPECT_EQ(count["spin"], 1);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 99 - 31);
  SendMessageA(GetParent(bar), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(bar));
  EXPECT_EQ(form.spin.Value(), 30);
  form.spin.SetValue(-1);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 100);
}

TEST_F(Controls, ThePickerShowsTheModelTimeAndReportsAUserChangeOnce) {
  HWND picker = H(form.picker);
  form.picker.SetValue(base::MakeLocalTime({2026, 12, 7, 21, 10, 3}));
  SYSTEMTIME shown{};
  ASSERT_EQ(SendMessageA(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)), GDT_VALID);
  EXPECT_EQ(shown.wHour, 21);
  EXPECT_EQ(shown.wMinute, 10);
  EXPECT_EQ(shown.wSecond, 3);
  int before = count["picker"];
  NMDATETIMECHANGE change{};
  change.nmhdr.hwndFrom = picker;
  change.nmhdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(picker));
  change.nmhdr.code = DTN_DATETIMECHANGE;
  change.dwFlags = GDT_VALID;
  change.st = shown;
  change.st.wHour = 7;
  SendMessageA(GetParent(picker), WM_NOTIFY, change.nmhdr.idFrom, reinterpret_cast<LPARAM>(&change));
  EXPECT_EQ(count["picker"], before + 1);
  EXPECT_EQ(base::ToCivil(form.picker.Value()).hour, 7);
}

TEST_F(Controls, ProgressStatusLabelAndImageShowTheirModel) {
  form.progress.SetMax(30);
  form.progress.SetValue(12);
  EXPECT_EQ(SendMessageA(H(form.progress), PBM_GETPOS, 0, 0), 12);
  EXPECT_EQ(SendMessageA(H(form.progress), PBM_GETRANGE, FALSE, 0), 30);

  form.status.SetPanelText(1, "File to Play : ring.wav");
  form.status.SetPanelToolTipText(1, "File Path = C:\\ring.wav");
  char text[128] = {};
  SendMessageA(H(form.status), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "File to Play : ring.wav");
  EXPECT_EQ(win32_testing::ToolTipOf(H(form.status), 1), "File Path = C:\\ring.wav") << "on the first panel";
  form.status.SetPanelToolTipText(1, "");
  EXPECT_EQ(win32_testing::ToolTipOf(H(form.status), 1), "") << "an empty tip is none";

  form.label.SetCaption("06 DEC 2026\r09:05:03 PM");
  EXPECT_EQ(TextOf(form.label.hWnd()), "06 DEC 2026\r\n09:05:03 PM") << "a lone CR shows as a line break";
  form.label.SetAutoSize(true);
  int twoLines = form.label.Height();
  form.label.SetCaption("one line, rather longer than the others");
  EXPECT_LT(form.label.Height(), twoLines);
  RECT r;
  GetClientRect(H(form.label), &r);
  EXPECT_EQ(r.right * 15, form.label.Width()) << "the native label took the measured size";

  EXPECT_NE(SendMessageA(H(form.image), STM_GETICON, 0, 0), 0);
  EXPECT_EQ(form.image.PictureHandle(), static_cast<std::uintptr_t>(SendMessageA(H(form.image), STM_GETICON, 0, 0)));
}

// How many pixels of the label, as it draws itself, have each colour given.
std::map<COLORREF, int> LabelPixels(HWND label, const std::vector<COLORREF>& colours) {
  RECT r;
  GetClientRect(label, &r);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), r.right, -r.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SendMessageA(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  GdiFlush();
  std::map<COLORREF, int> count;
  const auto* pixel = static_cast<const DWORD*>(bits);
  for (int i = 0; i < r.right * r.bottom; ++i) {
    COLORREF c = RGB((pixel[i] >> 16) & 0xFF, (pixel[i] >> 8) & 0xFF, pixel[i] & 0xFF);
    for (COLORREF wanted : colours)
      if (c == wanted) ++count[wanted];
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return count;
}

TEST_F(Controls, ALabelDrawsItsTextInItsColourOnItsContainersAndGreyWhileDisabled) {
  const COLORREF red = RGB(255, 0, 0), face = GetSysColor(COLOR_BTNFACE), grey = GetSysColor(COLOR_GRAYTEXT);
  form.label.SetForeColor(ui::Rgb(255, 0, 0));
  form.label.SetCaption("WWW");
  auto three = LabelPixels(H(form.label), {red, face, grey});
  EXPECT_GT(three[red], 0);
  EXPECT_GT(three[face], three[red]) << "the rest is the form's colour";
  EXPECT_EQ(three[grey], 0);

  form.label.SetCaption("WWWWWW");
  EXPECT_GT(LabelPixels(H(form.label), {red})[red], three[red] * 3 / 2) << "a new caption is drawn";

  form.label.SetEnabled(false);
  auto disabled = LabelPixels(H(form.label), {red, grey});
  EXPECT_EQ(disabled[red], 0);
  EXPECT_GT(disabled[grey], 0);
}

TEST_F(Controls, ALabelAnswersForItsTextByMessageAndDrawsATextSentToIt) {
  HWND label = H(form.label);
  form.label.SetForeColor(ui::Rgb(255, 0, 0));
  form.label.SetCaption("Twelve");
  EXPECT_EQ(SendMessageA(label, WM_GETTEXTLENGTH, 0, 0), 6);
  char small[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(SendMessageA(label, WM_GETTEXT, sizeof small, reinterpret_cast<LPARAM>(small)), 3);
  EXPECT_STREQ(small, "Twe") << "cut to the buffer, ended";
  EXPECT_EQ(SendMessageA(label, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(small)), 0);
  wchar_t wide[16] = {};
  SendMessageW(label, WM_GETTEXT, 16, reinterpret_cast<LPARAM>(wide));
  EXPECT_STREQ(wide, L"Twelve") << "a Unicode reader gets it converted";

  const COLORREF red = RGB(255, 0, 0);
  form.label.SetCaption("W");
  int one = LabelPixels(label, {red})[red];
  EXPECT_TRUE(SendMessageA(label, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("WWWW")));
  EXPECT_GT(LabelPixels(label, {red})[red], one * 3) << "a text set from outside is drawn";
  EXPECT_EQ(TextOf(form.label.hWnd()), "WWWW");
}

// A user's own text shows each "&" it holds; the program's captions mark access keys with it.
TEST_F(Controls, ALabelShowsEveryAmpersandOfAUsersText) {
  const COLORREF red = RGB(255, 0, 0);
  form.label.SetForeColor(ui::Rgb(255, 0, 0));
  form.label.SetCaption("&&&&&&");
  int marked = LabelPixels(H(form.label), {red})[red];
  form.label.SetUseMnemonic(false);
  int typed = LabelPixels(H(form.label), {red})[red];
  EXPECT_GT(typed, marked * 3 / 2) << "six ampersands drawn, not three";
  form.label.SetAutoSize(true);
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, reinterpret_cast<HGDIOBJ>(SendMessageA(H(form.label), WM_GETFONT, 0, 0)));
  RECT six{0, 0, 0, 0};
  DrawTextA(screen, "&&&&&&", -1, &six, DT_CALCRECT | DT_NOPREFIX);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(form.label.Width(), six.right * backend.TwipsPerPixel()) << "measured as shown";
}

// A box that takes digits only still takes the clipboard's keys, before the menu's shortcuts.
TEST_F(Controls, TheClipboardKeysReachADigitsBoxBeforeTheMenuShortcuts) {
  struct DigitsForm : ui::Form {
    explicit DigitsForm(ui::Runtime& runtime) : ui::Form(runtime, "frmDigits") {
      Move(0, 0, 3000, 2000);
      digits.Move(120, 120, 1500, 300);
      digits.KeyPress = [](int& key) { ui::KeepDigits(key); };
      exit.Click = [this] { ++exits; };
    }
    ui::TextBox digits{*this, "digits"};
    ui::Menu menu{*this, "menu", "&Menu"};
    ui::Menu exit{menu, "exit", "E&xit", ui::Shortcut::Ctrl('X')};
    int exits = 0;
  } own{runtime};
  own.Show();
  Pump();
  HWND edit = H(own.digits);
  SetFocus(edit);
  Pump();
  own.digits.SetText("4711");
  SendMessageA(edit, WM_CHAR, 'z', 1);
  EXPECT_EQ(own.digits.Text(), "4711") << "still digits only";
  Key(edit, 'A', true);
  EXPECT_EQ(own.digits.SelLength(), 4) << "Ctrl+A selects it all";
  Key(edit, 'X', true);
  EXPECT_EQ(own.exits, 0) << "Ctrl+X cuts, rather than choosing the menu's item";
  EXPECT_EQ(own.digits.Text(), "");
  Key(edit, 'V', true);
  Key(edit, 'V', true);
  EXPECT_EQ(own.digits.Text(), "47114711") << "pasted twice, and the model heard of it";
  SetFocus(H(form.button));
  own.RequestClose(ui::vbFormCode);
}

TEST_F(Controls, ATimerTicksOnWhileAMessageBoxIsUpAndOnceAPeriodWhenRestarted) {
  runtime.UseScriptedMessageBoxes(nullptr);
  form.timer.SetInterval(50);
  form.timer.SetEnabled(true);
  boxToAnswer = nullptr;
  answerHook = SetWindowsHookExA(WH_CBT, AnswerYesLater, nullptr, GetCurrentThreadId());
  EXPECT_EQ(runtime.MsgBox("Wait", ui::mb::kYesNo, "Timer"), ui::vbYes);
  UnhookWindowsHookEx(answerHook);
  EXPECT_GE(count["timer"], 3) << "the message box's own loop delivers the ticks";
  // Restarting many times leaves one timer running, on the last interval.
  for (int i = 0; i < 5; ++i) {
    form.timer.SetEnabled(false);
    form.timer.SetEnabled(true);
  }
  form.timer.SetInterval(100);
  count["timer"] = 0;
  Pump(450);
  EXPECT_GE(count["timer"], 2);
  EXPECT_LE(count["timer"], 5);
}

TEST_F(Controls, AControlOutOfSightIsMadeWhenItComesIntoSightInItsStateAndPlace) {
  LaterForm later(runtime);
  later.Show();
  Pump();
  EXPECT_EQ(later.middle.hWnd(), 0u);
  EXPECT_EQ(later.inner.hWnd(), 0u) << "in a hidden panel";
  EXPECT_NE(later.image.PictureHandle(), 0u) << "an image's picture is loaded all the same";
  later.middle.SetText("changed while hidden");
  later.middle.SetEnabled(false);
  later.middle.SetVisible(true);
  HWND middle = H(later.middle);
  ASSERT_TRUE(IsWindow(middle));
  EXPECT_TRUE(IsWindowVisible(middle));
  EXPECT_EQ(TextOf(later.middle.hWnd()), "changed while hidden");
  EXPECT_FALSE(IsWindowEnabled(middle));
  EXPECT_EQ(GetWindow(H(later.first), GW_HWNDNEXT), middle) << "between its siblings, as in the tab order";
  EXPECT_EQ(GetWindow(middle, GW_HWNDNEXT), H(later.last));

  later.inner.SetText("inner");
  later.panel.SetVisible(true);
  ASSERT_TRUE(IsWindow(H(later.inner)));
  EXPECT_TRUE(IsWindowVisible(H(later.inner)));
  EXPECT_EQ(GetParent(H(later.inner)), H(later.panel));
  EXPECT_EQ(TextOf(later.inner.hWnd()), "inner");
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(H(later.image), STM_GETICON, 0, 0)),
            reinterpret_cast<HICON>(later.image.PictureHandle()));

  EXPECT_EQ(later.below.hWnd(), 0u) << "out of view";
  later.below.SetTop(1500);
  ASSERT_TRUE(IsWindowVisible(H(later.below)));
  EXPECT_EQ(TextOf(later.below.hWnd()), "Below");

  later.middle.SetVisible(false);
  later.middle.SetVisible(true);
  EXPECT_EQ(H(later.middle), middle) << "made once";
  later.Unload();
}

TEST_F(Controls, TimersStartedTogetherTickInOneWakeUpYetEachKeepsItsOwnPeriod) {
  TwoTimers timers(runtime);
  timers.Load();
  int a = 0, b = 0;
  double aFirst = 0;
  timers.a.TimerEvent = [&] {
    if (++a == 1) aFirst = Milliseconds();
  };
  timers.b.TimerEvent = [&] { ++b; };
  timerMessages = 0;
  countHook = SetWindowsHookExA(WH_GETMESSAGE, CountTimerMessages, nullptr, GetCurrentThreadId());
  timers.a.SetEnabled(true);
  timers.b.SetEnabled(true);
  Pump(550);
  EXPECT_GE(a, 4);
  EXPECT_EQ(b, a);
  EXPECT_LE(timerMessages, a + 1) << "one message a period for the two";

  // One stopped, the other ticks on, on its own period.
  timers.a.SetEnabled(false);
  int aStopped = a, bBefore = b;
  Pump(350);
  EXPECT_EQ(a, aStopped);
  EXPECT_GE(b - bBefore, 2);

  // Enabled again in the middle of the other's period: its own period starts then, so that its
  // first tick comes a whole interval later, not with the other's next one.
  Pump(50);
  a = 0;
  double enabled = Milliseconds();
  timers.a.SetEnabled(true);
  Pump(250);
  UnhookWindowsHookEx(countHook);
  ASSERT_GE(a, 1);
  EXPECT_GE(aFirst - enabled, 90.0);
  timers.Unload();
}

TEST_F(Controls, TheMenuBarShowsVisibleMenusWithShortcutsAndChecks) {
  HMENU bar = GetMenu(H(form));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(GetMenuItemCount(bar), 2) << "the hidden pop-up menu is not in the bar";
  HMENU file = GetSubMenu(bar, 0);
  char text[64] = {};
  GetMenuStringA(file, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "&Open\tCtrl+O");
  EXPECT_EQ(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
  form.quiet.SetChecked(true);
  file = GetSubMenu(GetMenu(H(form)), 0);
  EXPECT_TRUE(GetMenuState(file, 2, MF_BYPOSITION) & MF_CHECKED);
  form.quiet.SetEnabled(false);
  EXPECT_TRUE(GetMenuState(GetSubMenu(GetMenu(H(form)), 0), 2, MF_BYPOSITION) & MF_GRAYED);
}

TEST_F(Controls, AMenuCommandAndItsShortcutArriveOnce) {
  HMENU file = GetSubMenu(GetMenu(H(form)), 0);
  UINT id = GetMenuItemID(file, 0);
  SendMessageA(H(form), WM_COMMAND, MAKEWPARAM(id, 0), 0);
  EXPECT_EQ(count["open"], 1);
  Key(H(form.button), 'O', true);
  EXPECT_EQ(count["open"], 2);
  Key(H(form.button), VK_F1);
  EXPECT_EQ(count["about"], 1);
  form.open.SetEnabled(false);
  Key(H(form.button), 'O', true);
  EXPECT_EQ(count["open"], 2) << "a disabled item's shortcut does nothing";
}

TEST_F(Controls, MenusChangedWhileTheFormIsHiddenAreUpToDateWhenItShowsAgain) {
  form.Hide();
  form.open.SetCaption("&Load");
  form.quiet.SetChecked(true);
  form.Show();
  Pump();
  HMENU file = GetSubMenu(GetMenu(H(form)), 0);
  char text[64] = {};
  GetMenuStringA(file, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "&Load\tCtrl+O");
  EXPECT_TRUE(GetMenuState(file, 2, MF_BYPOSITION) & MF_CHECKED);
  Key(H(form.button), 'O', true);
  EXPECT_EQ(count["open"], 1) << "and its shortcut works";
}

TEST_F(Controls, APopUpMenuOpensAtThePointerAndItsChoiceArrives) {
  SetTimer(nullptr, 0, 150, ChooseFirstMenuItem);
  SetForegroundWindow(H(form));
  form.PopupMenu(form.popup);
  EXPECT_EQ(count["show"], 0) << "the choice is an event of its own, after the call";
  Pump();
  EXPECT_EQ(count["show"], 1);
}

TEST_F(Controls, TheCloseBoxAndTheEndOfTheSessionAskOnceEach) {
  refuseClose = true;
  SendMessageA(H(form), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(modes, (std::vector<int>{0}));
  EXPECT_TRUE(form.IsLoaded());
  EXPECT_EQ(SendMessageA(H(form), WM_QUERYENDSESSION, 0, 0), FALSE);
  EXPECT_EQ(modes, (std::vector<int>{0, 2}));
  refuseClose = false;
  SendMessageA(H(form), WM_CLOSE, 0, 0);
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_EQ(form.hWnd(), 0u);
}

TEST_F(Controls, KeyPreviewSeesKeysBeforeTheControl) {
  std::vector<int> keys;
  form.KeyPreview = true;
  form.KeyDown = [&](int& key, int) { keys.push_back(key); };
  Key(H(form.text), VK_ESCAPE);
  EXPECT_EQ(keys, (std::vector<int>{VK_ESCAPE}));
}

TEST_F(Controls, AnErrorInAClickHandlerIsReportedAndTheWindowLivesOn) {
  form.button.Click = [] { throw ui::RuntimeError(13, "Type mismatch"); };
  boxes.Answer(ui::vbOK);
  SendMessageA(H(form.button), BM_CLICK, 0, 0);
  ASSERT_EQ(boxes.Log().size(), 1u);
  EXPECT_EQ(boxes.Log()[0].text, "Run-time error '13':\r\n\r\nType mismatch");
  EXPECT_TRUE(IsWindow(H(form)));
}

TEST_F(Controls, RealMessageBoxesCanBeAnswered) {
  runtime.UseScriptedMessageBoxes(nullptr);
  answerHook = SetWindowsHookExA(WH_CBT, AnswerYes, nullptr, GetCurrentThreadId());
  EXPECT_EQ(runtime.MsgBox("Are you sure, you want to Exit?    ", ui::mb::kYesNo | ui::mb::kQuestion, "Exit Confirmation"),
            ui::vbYes);
  UnhookWindowsHookEx(answerHook);
}

// Cyrillic, Japanese and a character beyond the first plane (two UTF-16 units).
const std::string kWorld = "Привет, 日本語 😀";
const std::wstring kWideWorld = L"Привет, 日本語 😀";

std::wstring WideTextOf(HWND window) {
  wchar_t text[128] = {};
  GetWindowTextW(window, text, 128);
  return text;
}

// The message box's title and texts, read once it has been up a moment; then it is answered.
std::vector<std::wstring> boxTexts;
void CALLBACK ReadAndAnswerTheBox(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  boxTexts.push_back(WideTextOf(boxToAnswer));
  for (HWND child = GetWindow(boxToAnswer, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    boxTexts.push_back(WideTextOf(child));
  PostMessageA(boxToAnswer, WM_COMMAND, IDOK, 0);
}
LRESULT CALLBACK ReadTheBoxLater(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && !boxToAnswer) {
    boxToAnswer = reinterpret_cast<HWND>(wParam);
    SetTimer(nullptr, 0, 300, ReadAndAnswerTheBox);
  }
  return CallNextHookEx(answerHook, code, wParam, lParam);
}

TEST_F(Controls, TextsBeyondTheCodePageShowWholeInEveryKindOfWindow) {
  form.SetCaption(kWorld);
  EXPECT_EQ(WideTextOf(H(form)), kWideWorld) << "the title";
  form.text.SetText(kWorld);
  EXPECT_EQ(WideTextOf(H(form.text)), kWideWorld) << "a text box";
  form.button.SetCaption(kWorld);
  EXPECT_EQ(WideTextOf(H(form.button)), kWideWorld) << "a button";

  form.label.SetCaption(kWorld);
  HWND label = H(form.label);
  EXPECT_EQ(SendMessageW(label, WM_GETTEXTLENGTH, 0, 0), static_cast<LRESULT>(kWideWorld.size()));
  EXPECT_EQ(WideTextOf(label), kWideWorld) << "a label answers for its own text";
  wchar_t cut[14] = {};  // room for 13 units: the last would be half of the emoji
  EXPECT_EQ(SendMessageW(label, WM_GETTEXT, 14, reinterpret_cast<LPARAM>(cut)), 12);
  EXPECT_EQ(std::wstring(cut), kWideWorld.substr(0, 12)) << "never half a character";
  EXPECT_TRUE(SendMessageW(label, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"日本")));
  EXPECT_EQ(WideTextOf(label), L"日本") << "a text set from outside";

  form.list.AddItem(kWorld);
  HWND list = H(form.list);
  wchar_t item[64] = {};
  ASSERT_EQ(SendMessageW(list, CB_GETLBTEXTLEN, 3, 0), static_cast<LRESULT>(kWideWorld.size()));
  SendMessageW(list, CB_GETLBTEXT, 3, reinterpret_cast<LPARAM>(item));
  EXPECT_EQ(std::wstring(item), kWideWorld) << "a list's item";

  form.quiet.SetCaption(kWorld);
  wchar_t menu[64] = {};
  GetMenuStringW(GetSubMenu(GetMenu(H(form)), 0), 2, menu, 64, MF_BYPOSITION);
  EXPECT_EQ(std::wstring(menu), kWideWorld) << "a menu's item";

  form.status.SetPanelText(1, kWorld);
  wchar_t panel[64] = {};
  SendMessageW(H(form.status), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(panel));
  EXPECT_EQ(std::wstring(panel), kWideWorld) << "a status bar's panel";

  form.text.SetToolTipText(kWorld);
  std::wstring tip;
  for (HWND tooltip : win32_testing::ThreadWindows("tooltips_class32")) {
    wchar_t text[64] = {};
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = H(form);
    info.uId = reinterpret_cast<UINT_PTR>(H(form.text));
    info.lpszText = text;
    if (SendMessageW(tooltip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info))) {
      SendMessageW(tooltip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&info));
      tip = text;
    }
  }
  EXPECT_EQ(tip, kWideWorld) << "a tooltip";

  runtime.UseScriptedMessageBoxes(nullptr);
  boxToAnswer = nullptr;
  boxTexts.clear();
  answerHook = SetWindowsHookExA(WH_CBT, ReadTheBoxLater, nullptr, GetCurrentThreadId());
  runtime.MsgBox(kWorld, ui::mb::kOkOnly, "Заголовок 😀");
  UnhookWindowsHookEx(answerHook);
  ASSERT_FALSE(boxTexts.empty());
  EXPECT_EQ(boxTexts[0], L"Заголовок 😀") << "a message box's title";
  EXPECT_NE(std::find(boxTexts.begin(), boxTexts.end(), kWideWorld), boxTexts.end()) << "and its text";
}

TEST_F(Controls, TypedAndPastedTextsBeyondTheCodePageReachTheModelWhole) {
  HWND edit = H(form.text);
  SetFocus(edit);
  Pump();
  form.text.SetText("");
  for (wchar_t unit : {wchar_t(0xD83D), wchar_t(0xDE00), wchar_t(L'я')}) PostMessageW(edit, WM_CHAR, unit, 1);
  Pump();
  EXPECT_EQ(form.text.Text(), "😀я") << "the two halves of a surrogate pair are one character";
  EXPECT_EQ(count["KeyPress"], 2);
  EXPECT_EQ(WideTextOf(edit), L"😀я");
  PostMessageW(edit, WM_CHAR, 8, 1);
  Pump();
  EXPECT_EQ(form.text.Text(), "😀");
  PostMessageW(edit, WM_CHAR, 8, 1);
  Pump();
  EXPECT_EQ(form.text.Text(), "") << "Backspace takes the whole character";

  form.text.SetText("Привет");
  SendMessageW(edit, EM_SETSEL, 1, 3);  // "ри", selected natively
  EXPECT_EQ(form.text.SelStart(), 2) << "the model counts the bytes of its UTF-8";
  EXPECT_EQ(form.text.SelLength(), 4);
  form.text.SetSelStart(4);
  DWORD start = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  EXPECT_EQ(start, 2u);

  ASSERT_TRUE(OpenClipboard(H(form)));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (kWideWorld.size() + 1) * sizeof(wchar_t));
  std::memcpy(GlobalLock(memory), kWideWorld.c_str(), (kWideWorld.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
  form.text.SetText("");
  SendMessageW(edit, WM_PASTE, 0, 0);
  EXPECT_EQ(form.text.Text(), kWorld) << "pasted";
  form.text.SetText("");
  form.text.SetMaxLength(8);  // bytes; the control takes 8 of its units, 15 bytes here
  SendMessageW(edit, WM_PASTE, 0, 0);
  EXPECT_EQ(form.text.Text(), "Прив");
  EXPECT_EQ(WideTextOf(edit), L"Прив") << "the control shows what the model kept";
}

}  // namespace
