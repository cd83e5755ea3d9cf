#include "ui/win32/Backend.h"

#include <commctrl.h>

#include "ui/Error.h"
#include "ui/win32/Peers.h"

namespace ui::win32 {

Timer* TimerById(UINT_PTR id);

namespace {

Backend* theBackend = nullptr;

// Frames and picture boxes: plain containers that pass their children's notifications on to
// the children's peers. A frame draws an etched border with its caption set into the top edge.
LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (WindowPeer::DecodeChildMessage(message, wParam, lParam, result)) return result;
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    WindowPeer* peer = WindowPeer::FromWindow(hwnd);
    if (peer && peer->Model().Kind() == ControlKind::Frame && theBackend) {
      auto& frame = static_cast<Frame&>(peer->Model());
      RECT client;
      GetClientRect(hwnd, &client);
      HGDIOBJ oldFont = SelectObject(dc, theBackend->FontFor(frame.GetFont()));
      TEXTMETRICA metrics;
      GetTextMetricsA(dc, &metrics);
      RECT border = client;
      border.top = metrics.tmHeight / 2;
      DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);
      if (!frame.Caption().empty()) {
        RECT text{8, 0, client.right - 8, metrics.tmHeight};
        DrawTextA(dc, frame.Caption().c_str(), -1, &text, DT_SINGLELINE | DT_CALCRECT);
        RECT back{text.left - 2, 0, text.right + 2, metrics.tmHeight};
        FillRect(dc, &back, GetSysColorBrush(COLOR_BTNFACE));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(frame.EffectivelyEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        DrawTextA(dc, frame.Caption().c_str(), -1, &text, DT_SINGLELINE);
      }
      SelectObject(dc, oldFont);
    }
    EndPaint(hwnd, &paint);
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK TimerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && theBackend) {
    if (Timer* timer = TimerById(wParam)) theBackend->Deliver([timer] { timer->Fire(); });
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

void Register(HINSTANCE instance, const char* name, WNDPROC proc, UINT style) {
  WNDCLASSEXA cls{};
  cls.cbSize = sizeof cls;
  cls.style = style;
  cls.lpfnWndProc = proc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.lpszClassName = name;
  RegisterClassExA(&cls);
}

}  // namespace

Backend::Backend(HINSTANCE instance) : instance_(instance) {
  theBackend = this;
  Register(instance, kFormClass, &FormPeer::WindowProc, CS_DBLCLKS);
  Register(instance, kPanelClass, &PanelProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
  Register(instance, kTimerClass, &TimerProc, 0);
  // A hidden pop-up rather than a message-only window: under Wine a process whose first window
  // is message-only never gets its windows onto the X display.
  timerWindow_ = CreateWindowExA(0, kTimerClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  if (dpi > 0) twipsPerPixel_ = 1440 / dpi;
}

Backend::~Backend() {
  if (timerWindow_) DestroyWindow(timerWindow_);
  for (auto& [key, font] : fonts_) DeleteObject(font);
  for (auto& [key, brush] : brushes_) DeleteObject(brush);
  if (theBackend == this) theBackend = nullptr;
}

std::unique_ptr<Peer> Backend::CreatePeer(Control& control) { return MakeControlPeer(*this, control); }

std::unique_ptr<Peer> Backend::CreateMenuPeer(Menu& menu) { return std::make_unique<MenuPeer>(*this, menu); }

void Backend::Deliver(const std::function<void()>& event) {
  if (runtime_ && !ended_) runtime_->Dispatch(event);
}

int Backend::Run() {
  MSG msg;
  while (!ended_ && GetMessageA(&msg, nullptr, 0, 0) > 0) ProcessMessage(msg);
  return 0;
}

void Backend::ProcessMessage(MSG& msg) {
  FormPeer* form = msg.hwnd ? FormPeer::FromTopWindow(msg.hwnd) : nullptr;
  if (form && (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN)) {
    ui::Form& model = form->FormModel();
    if (model.KeyPreview) {
      bool keep = true;
      int key = static_cast<int>(msg.wParam);
      int shift = (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
                  (GetKeyState(VK_MENU) < 0 ? 4 : 0);
      Deliver([&] { keep = model.PreviewKeyDown(key, shift); });
      if (!keep || ended_) return;
      form = FormPeer::FromTopWindow(msg.hwnd);  // the handler may have closed the form
      if (!form) return;
    }
    if (form->Accelerators() && TranslateAcceleratorA(form->Window(), form->Accelerators(), &msg)) return;
  }
  if (form && IsDialogMessageA(form->Window(), &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

bool Backend::PumpPending() {
  MSG msg;
  while (!ended_ && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    ProcessMessage(msg);
  }
  return !ended_;
}

HFONT Backend::FontFor(const Font& font) {
  std::string key = font.name + "|" + std::to_string(font.size) + (font.bold ? "|b" : "");
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second;
  HDC screen = GetDC(nullptr);
  int height = -MulDiv(static_cast<int>(font.size * 100), GetDeviceCaps(screen, LOGPIXELSY), 7200);
  ReleaseDC(nullptr, screen);
  HFONT handle = CreateFontA(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                             font.name.c_str());
  fonts_[key] = handle;
  return handle;
}

COLORREF Backend::ColorRef(Color color) const {
  if (color & 0x80000000) return GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color);
}

HBRUSH Backend::BrushFor(Color color) {
  auto it = brushes_.find(color);
  if (it != brushes_.end()) return it->second;
  HBRUSH brush = CreateSolidBrush(ColorRef(color));
  brushes_[color] = brush;
  return brush;
}

int Backend::ShowMessageBox(const std::string& text, int style, const std::string& title, Form* owner) {
  HWND window = owner ? reinterpret_cast<HWND>(owner->hWnd()) : nullptr;
  UINT flags = static_cast<UINT>(style) | (window ? 0 : MB_TASKMODAL) | MB_SETFOREGROUND;
  return MessageBoxA(window, text.c_str(), title.c_str(), flags);
}

void Backend::ShowPopupMenu(Form& form, Menu& menu) {
  auto* peer = dynamic_cast<FormPeer*>(form.GetPeer());
  HMENU popup = peer ? peer->PopupFor(menu) : nullptr;
  if (!popup) return;
  HWND window = peer->Window();
  POINT at;
  GetCursorPos(&at);
  UINT chosen = static_cast<UINT>(
      TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, window, nullptr));
  PostMessageA(window, WM_NULL, 0, 0);
  // While the menu was open, other events ran: the form may have been unloaded meanwhile.
  if (form.GetPeer() != peer) return;
  if (Menu* item = chosen ? peer->MenuById(chosen) : nullptr)
    if (item->Enabled()) item->UserChoose();
}

Size Backend::MeasureText(const std::string& text, const Font& font) {
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, FontFor(font));
  std::string shown;
  for (std::size_t i = 0; i < text.size(); ++i) {
    shown += text[i];
    if (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')) shown += '\n';
  }
  RECT r{0, 0, 0, 0};
  DrawTextA(screen, shown.empty() ? " " : shown.c_str(), -1, &r, DT_CALCRECT | DT_NOCLIP);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  return Size{ToTwips(r.right - r.left), ToTwips(r.bottom - r.top)};
}

void Backend::End() {
  ended_ = true;
  if (PostQuitOnEnd) PostQuitMessage(0);
}

}  // namespace ui::win32
