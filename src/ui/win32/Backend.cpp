#include "ui/win32/Backend.h"

#include "base/Utf8.h"
#include "os/win32/Text.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/Error.h"
#include "ui/win32/Peers.h"
#include "ui/win32/WindowText.h"

namespace ui::win32 {
namespace {

Backend* theBackend = nullptr;

// Frames and picture boxes: plain containers. Their children's notifications go on to the
// children's peers; what is left (a frame's painting) goes to the container's own peer.
LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (WindowPeer::DecodeChildMessage(message, wParam, lParam, result)) return result;
  if (WindowPeer* peer = WindowPeer::FromWindow(hwnd))
    if (peer->OnMessage(message, wParam, lParam, result)) return result;
  return DefaultProc(hwnd, message, wParam, lParam);
}

int ShiftState() {
  return (GetKeyState(VK_SHIFT) < 0 ? vbShiftMask : 0) | (GetKeyState(VK_CONTROL) < 0 ? vbCtrlMask : 0) |
         (GetKeyState(VK_MENU) < 0 ? vbAltMask : 0);
}

}  // namespace

// A system timer's tick, for each timer that runs on it. The timers are the thread's own, not
// a window's, so that none has to be made at start-up; the message comes with the procedure, so
// that any message loop (a message box's, a menu's) delivers it.
void CALLBACK Backend::TimerProc(HWND, UINT, UINT_PTR systemId, DWORD) {
  if (!theBackend) return;
  auto found = theBackend->systemTimers_.find(systemId);
  if (found == theBackend->systemTimers_.end()) return;
  unsigned tick = ++found->second.ticks;
  std::vector<UINT> members = found->second.members;  // a handler may stop or restart timers
  for (UINT id : members) {
    auto it = theBackend->timers_.find(id);
    // Gone, restarted on another system timer, or already given a later tick (by a loop that
    // ran inside an earlier timer's handler): a timer never has two ticks waiting.
    if (it == theBackend->timers_.end() || it->second.systemId != systemId || it->second.tick >= tick) continue;
    it->second.tick = tick;
    Timer* timer = it->second.timer;
    theBackend->Deliver([timer] { timer->Fire(); });
  }
}

Backend::Backend(HINSTANCE instance) : instance_(instance) {
  theBackend = this;
  RegisterWindowClass(instance, kFormClass, &FormPeer::WindowProc, CS_DBLCLKS);
  RegisterWindowClass(instance, kPanelClass, &PanelProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  if (dpi > 0) systemDpi_ = dpi;
}

namespace {

// What only Windows 10 1607 and later have, looked up once.
template <typename Function>
Function User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

}  // namespace

namespace {

int CALLBACK FoundFace(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

}  // namespace

// A bitmap font whose letters (its height less the room above them) are a tenth or more
// below the height asked for.
static TEXTMETRICA MetricsOf(HFONT font) {
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, font);
  TEXTMETRICA metrics{};
  GetTextMetricsA(screen, &metrics);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  return metrics;
}

bool Backend::IsOutlineFont(HFONT font) { return (MetricsOf(font).tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE)) != 0; }

static bool BitmapTooSmall(HFONT font, int asked) {
  if (Backend::IsOutlineFont(font)) return false;
  TEXTMETRICA metrics = MetricsOf(font);
  return (metrics.tmHeight - metrics.tmInternalLeading) * 10 < asked * 9;
}

bool Backend::FaceInstalled(const char* face) {
  static std::map<std::string, bool> known;
  auto it = known.find(face);
  if (it != known.end()) return it->second;
  LOGFONTA wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(wanted.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExA(screen, &wanted, FoundFace, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return known[face] = found;
}

int Backend::WindowDpi(HWND hwnd) const {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
  UINT dpi = getDpiForWindow && hwnd ? getDpiForWindow(hwnd) : 0;
  return dpi > 0 ? static_cast<int>(dpi) : systemDpi_;
}

int Backend::MetricForDpi(int index, int dpi) const {
  using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
  static const auto forDpi = User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
  if (forDpi && dpi > 0) return forDpi(index, static_cast<UINT>(dpi));
  return GetSystemMetrics(index);
}

// Made when a form first needs it, not at start-up: each top-level window costs Wine an X
// window of its own.
HWND Backend::HiddenWindow() {
  if (!hiddenWindow_) {
    RegisterWindowClass(instance_, kHiddenClass, &Backend::HiddenProc, 0);
    hiddenWindow_ = MakeWindow(0, kHiddenClass, "", WS_POPUP, RECT{0, 0, 0, 0}, nullptr, nullptr, instance_);
  }
  return hiddenWindow_;
}

// Events posted to run after the one now running: a message of the hidden window's each, so
// that any message loop (a message box's, a menu's) runs them in their turn.
constexpr UINT kPostedEvent = WM_APP + 1;

LRESULT CALLBACK Backend::HiddenProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kPostedEvent || !theBackend) return DefaultProc(hwnd, message, wParam, lParam);
  if (theBackend->posted_.empty()) return 0;
  auto event = std::move(theBackend->posted_.front());
  theBackend->posted_.erase(theBackend->posted_.begin());
  if (!theBackend->ended_) event();
  return 0;
}

void Backend::Post(std::function<void()> event) {
  posted_.push_back(std::move(event));
  PostMessageA(HiddenWindow(), kPostedEvent, 0, 0);
}

const char* Backend::FormClass(const std::string& name) {
  if (name.empty()) return kFormClass;
  for (const std::string& known : formClasses_)
    if (known == name) return known.c_str();
  formClasses_.push_back(name);
  RegisterWindowClass(instance_, formClasses_.back().c_str(), &FormPeer::WindowProc, CS_DBLCLKS);
  return formClasses_.back().c_str();
}

Backend::~Backend() {
  for (auto& [id, system] : systemTimers_) KillTimer(nullptr, id);
  if (hiddenWindow_) DestroyWindow(hiddenWindow_);
  for (auto& [key, font] : fonts_) DeleteObject(font);
  for (auto& [key, brush] : brushes_) DeleteObject(brush);
  if (theBackend == this) theBackend = nullptr;
}

std::unique_ptr<Peer> Backend::CreatePeer(Control& control) { return MakeControlPeer(*this, control); }

std::unique_ptr<Peer> Backend::CreateMenuPeer(Menu& menu) { return std::make_unique<MenuPeer>(*this, menu); }

void Backend::Deliver(const std::function<void()>& event) {
  if (runtime_ && !ended_) runtime_->Dispatch(event);
}

// ---- the window table

void Backend::AddWindow(HWND hwnd, WindowPeer* peer, WNDPROC original) { windows_[hwnd] = {peer, original}; }

void Backend::DetachPeer(HWND hwnd) {
  auto it = windows_.find(hwnd);
  if (it == windows_.end()) return;
  if (it->second.original)
    it->second.peer = nullptr;
  else
    windows_.erase(it);
}

void Backend::ForgetWindow(HWND hwnd) {
  if (theBackend) theBackend->windows_.erase(hwnd);
}

WindowPeer* Backend::PeerOf(HWND hwnd) {
  if (!theBackend) return nullptr;
  auto it = theBackend->windows_.find(hwnd);
  return it == theBackend->windows_.end() ? nullptr : it->second.peer;
}

WNDPROC Backend::OriginalProcOf(HWND hwnd) {
  if (theBackend) {
    auto it = theBackend->windows_.find(hwnd);
    if (it != theBackend->windows_.end() && it->second.original) return it->second.original;
  }
  return ClassProc(hwnd);
}

// ---- timers

UINT Backend::StartTimer(Timer& timer) {
  UINT id = nextTimerId_++;
  timers_[id] = {&timer, 0, 0};
  RestartTimer(id, timer);
  return id;
}

void Backend::StopTimer(UINT id) {
  auto it = timers_.find(id);
  if (it == timers_.end()) return;
  LeaveSystemTimer(id, it->second);
  timers_.erase(it);
}

void Backend::LeaveSystemTimer(UINT id, TimerEntry& entry) {
  auto system = systemTimers_.find(entry.systemId);
  entry.systemId = 0;
  if (system == systemTimers_.end()) return;
  auto& members = system->second.members;
  members.erase(std::remove(members.begin(), members.end(), id), members.end());
  if (!members.empty()) return;  // the others keep their period
  KillTimer(nullptr, system->first);
  systemTimers_.erase(system);
}

// Enabling, or a new interval, starts the period afresh: a new system timer.
void Backend::RestartTimer(UINT id, const Timer& timer) {
  auto it = timers_.find(id);
  if (it == timers_.end()) return;
  TimerEntry& entry = it->second;
  LeaveSystemTimer(id, entry);
  if (!timer.Enabled() || timer.Interval() <= 0) return;
  auto interval = static_cast<UINT>(timer.Interval());
  LARGE_INTEGER now, perSecond;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&perSecond);
  // Timers started together on one interval (within a millisecond, as when one event handler
  // enables both) run on one system timer, and so tick in one wake-up, not two.
  for (auto& [systemId, system] : systemTimers_) {
    if (system.interval == interval && (now.QuadPart - system.started) * 1000 < perSecond.QuadPart) {
      system.members.push_back(id);
      entry.systemId = systemId;
      entry.tick = system.ticks;
      return;
    }
  }
  UINT_PTR systemId = SetTimer(nullptr, 0, interval, &Backend::TimerProc);
  if (!systemId) return;
  systemTimers_[systemId] = {interval, now.QuadPart, 0, {id}};
  entry.systemId = systemId;
  entry.tick = 0;
}

// ---- the message loop

int Backend::Run() {
  MSG msg;
  while (!ended_ && GetMsg(msg) > 0) ProcessMessage(msg);
  return 0;
}

void Backend::ProcessMessage(MSG& msg) {
  FormPeer* form = msg.hwnd ? FormPeer::FromTopWindow(msg.hwnd) : nullptr;
  if (form && (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN)) {
    ui::Form& model = form->FormModel();
    int key = static_cast<int>(msg.wParam);
    int shift = ShiftState();
    bool used = false;
    Deliver([&] { used = model.UserKeyDown(key, shift); });
    if (used || ended_) return;
    form = FormPeer::FromTopWindow(msg.hwnd);  // a handler may have closed the form
    if (!form) return;
    // Enter and Esc that the model did not use reach the control alone: the dialog manager
    // would turn them into a click of the focused check box or option button.
    if (shift == 0 && (key == VK_RETURN || key == VK_ESCAPE)) {
      TranslateMessage(&msg);
      Dispatch(msg);
      return;
    }
    const bool editKey = (shift & ~vbShiftMask) == vbCtrlMask && key >= 'A' && key <= 'Z' &&
                         form->FormModel().FocusTakesShortcut(Shortcut::Ctrl(static_cast<char>(key)));
    if (!editKey && form->Accelerators() && TranslateKeys(form->Window(), form->Accelerators(), msg))
      return;
  }
  if (form && DialogMessage(form->Window(), msg)) return;
  TranslateMessage(&msg);
  Dispatch(msg);
}

bool Backend::PumpPending() {
  MSG msg;
  while (!ended_ && PeekMsg(msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    ProcessMessage(msg);
  }
  return !ended_;
}

// ---- modal forms

// While a modal form is up, every other window of the program's forms takes no input. The
// loop ends when the form is no longer shown; the form gives input back (EndModal) before its
// window hides or goes, so that Windows hands the activation back to its owner.
void Backend::RunModal(Form& form) {
  ModalFrame frame{&form, {}};
  for (Form* other : runtime_->Forms()) {
    HWND window = reinterpret_cast<HWND>(other->hWnd());
    if (other != &form && window && IsWindowEnabled(window)) {
      EnableWindow(window, FALSE);
      frame.disabled.push_back(window);
    }
  }
  modal_.push_back(frame);
  MSG msg;
  while (!ended_ && form.IsLoaded() && form.Visible()) {
    int got = GetMsg(msg);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
      break;
    }
    ProcessMessage(msg);
  }
  EndModal(form);
}

void Backend::EndModal(Form& form) {
  auto it = std::find_if(modal_.begin(), modal_.end(), [&](const ModalFrame& f) { return f.form == &form; });
  if (it == modal_.end()) return;
  for (HWND window : it->disabled)
    if (IsWindow(window)) EnableWindow(window, TRUE);
  modal_.erase(it);
}

// ---- drawing helpers

bool Backend::BeyondCodePage(const std::string& text) {
  if (base::IsAscii(text)) return false;
  bool exact = true;
  boundary::ToCodePage(text, &exact);
  return !exact;
}

HFONT Backend::FontFor(const Font& font, int dpi, bool anyText) {
  if (dpi <= 0) dpi = systemDpi_;
  std::string key = font.name + "|" + std::to_string(font.size) + (font.bold ? "|b" : "") + "|" + std::to_string(dpi) +
                    (anyText ? "|u" : "");
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second;
  int height = -MulDiv(static_cast<int>(font.size * 100), dpi, 7200);
  const int weight = font.bold ? FW_BOLD : FW_NORMAL;
  HFONT handle = MakeFont(height, weight, font.name);
  // MS Sans Serif is a bitmap face, drawn in a few sizes and the code page's characters: where
  // none comes near the size asked (at 200 %, say), or the text holds others, the outline face
  // of the same design is taken, Microsoft Sans Serif (Windows 2000 and later, with the faces
  // linked to it for other scripts), else an outline of the face's own name.
  if (handle && ((dpi != kDefaultDpi && BitmapTooSmall(handle, -height)) || (anyText && !IsOutlineFont(handle)))) {
    std::string face = font.name;
    if (face == "MS Sans Serif" && FaceInstalled("Microsoft Sans Serif")) face = "Microsoft Sans Serif";
    if (HFONT outline = MakeFont(height, weight, face, true)) {
      DeleteObject(handle);
      handle = outline;
    }
  }
  fonts_[key] = handle;
  return handle;
}

COLORREF Backend::ColorRef(Color color) const {
  if (color & 0x80000000) return GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color);
}

// A system colour's brush is the system's own, which follows the colour when the user
// changes it.
HBRUSH Backend::BrushFor(Color color) {
  if (color & 0x80000000) return GetSysColorBrush(static_cast<int>(color & 0xFF));
  auto it = brushes_.find(color);
  if (it != brushes_.end()) return it->second;
  HBRUSH brush = CreateSolidBrush(ColorRef(color));
  brushes_[color] = brush;
  return brush;
}

int Backend::ShowMessageBox(const std::string& text, int style, const std::string& title, Form* owner) {
  HWND window = owner ? reinterpret_cast<HWND>(owner->hWnd()) : nullptr;
  UINT flags = static_cast<UINT>(style) | (window ? 0 : MB_TASKMODAL) | MB_SETFOREGROUND;
  return ShowBox(window, text, title, flags);
}

// The menu runs its own loop until the user chooses or leaves it. The choice is posted to the
// form as a menu command, so that it arrives as an event of its own, after this call.
void Backend::ShowPopupMenu(Form& form, Menu& menu) {
  auto* peer = dynamic_cast<FormPeer*>(form.GetPeer());
  HMENU popup = peer ? peer->PopupFor(menu) : nullptr;
  if (!popup) return;
  HWND window = peer->Window();
  POINT at;
  GetCursorPos(&at);
  UINT chosen = static_cast<UINT>(
      TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, window, nullptr));
  if (chosen != 0 && IsWindow(window)) PostMessageA(window, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
  else PostMessageA(window, WM_NULL, 0, 0);
}

Size Backend::MeasureText(const std::string& text, const Font& font, bool mnemonic, int dpi) {
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, FontFor(font, dpi, BeyondCodePage(text)));
  std::string shown = DisplayText(text);
  RECT r{0, 0, 0, 0};
  DrawUtf8(screen, shown.empty() ? " " : shown, r, DT_CALCRECT | DT_NOCLIP | (mnemonic ? 0 : DT_NOPREFIX));
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  return Size{PixelsToTwipsUp(r.right - r.left, dpi), PixelsToTwipsUp(r.bottom - r.top, dpi)};
}

Size Backend::NonClientSize(const Form& form) {
  WindowStyles styles = FormStyles(form);
  RECT r{0, 0, 0, 0};
  bool menuBar = std::any_of(form.Menus().begin(), form.Menus().end(), [](Menu* m) { return m->Visible(); });
  using AdjustForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = User32Function<AdjustForDpiFunction>("AdjustWindowRectExForDpi");
  int dpi = form.Dpi();
  if (!adjustForDpi || !adjustForDpi(&r, styles.style, menuBar, styles.exStyle, static_cast<UINT>(dpi))) {
    AdjustWindowRectEx(&r, styles.style, menuBar, styles.exStyle);  // in the system's DPI
    dpi = systemDpi_;
  }
  return Size{ToTwips(r.right - r.left, dpi), ToTwips(r.bottom - r.top, dpi)};
}

namespace {

// A dialog of the program still open when it ends (a message box asking a question, say) is
// answered as declined: No where it has that button, else Cancel, else OK. Its own loop then
// returns, and the code that asked runs on to its end; no event reaches the program any more.
BOOL CALLBACK DeclineDialog(HWND window, LPARAM) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) != "#32770" || !IsWindowVisible(window)) return TRUE;
  for (int id : {IDNO, IDCANCEL, IDOK}) {
    if (HWND button = GetDlgItem(window, id)) {
      PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
      break;
    }
  }
  return TRUE;
}

}  // namespace

void Backend::End() {
  ended_ = true;
  EnumThreadWindows(GetCurrentThreadId(), DeclineDialog, 0);
  if (PostQuitOnEnd) PostQuitMessage(0);
}

}  // namespace ui::win32
