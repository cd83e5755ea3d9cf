// The native backend: one real window or control per model object, on the Win32 API. The
// backend is the only global of this layer: the window procedures find it, and through it the
// peers and the timers.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Menu.h"
#include "ui/Runtime.h"

namespace ui::win32 {

class WindowPeer;

class Backend : public ui::Backend {
 public:
  explicit Backend(HINSTANCE instance);
  ~Backend() override;

  void Attach(Runtime& runtime) { runtime_ = &runtime; }
  Runtime& GetRuntime() { return *runtime_; }
  HINSTANCE Instance() const { return instance_; }

  // Runs the message loop until the program ends; returns the exit code.
  int Run();
  // Handles one message as the loop does: the keys the model gives a meaning (KeyPreview,
  // Enter, Esc, arrows in an option group), menu shortcuts, dialog navigation, then dispatch.
  void ProcessMessage(MSG& msg);
  // Delivers every pending message; returns false once the program has ended.
  bool PumpPending();

  // An event that arrives from Windows. It goes through the run-time's dispatcher; an
  // exception never crosses a window procedure.
  void Deliver(const std::function<void()>& event);

  // The font at a DPI (0: the system's); made once for each. For a text the code page cannot
  // hold (`anyText`), a bitmap face gives way to its outline face, which Windows completes from
  // the faces linked to it (Japanese, Chinese, symbols...).
  HFONT FontFor(const Font& font, int dpi = 0, bool anyText = false);
  // Whether a font is drawn from outlines (TrueType or vector), not from bitmaps.
  static bool IsOutlineFont(HFONT font);
  // Whether a text needs such a font.
  static bool BeyondCodePage(const std::string& text);
  HBRUSH BrushFor(Color color);
  COLORREF ColorRef(Color color) const;
  // At a DPI (0: the system's, which a window has until it says otherwise).
  int ToPixels(int twips, int dpi = 0) const { return TwipsToPixels(twips, dpi ? dpi : systemDpi_); }
  int ToTwips(int pixels, int dpi = 0) const { return PixelsToTwips(pixels, dpi ? dpi : systemDpi_); }
  // The DPI of the monitor a window is on (Windows 10 1607 and later tell it for each window;
  // before, every window has the system's).
  int WindowDpi(HWND hwnd) const;
  // Whether a font face of this name is installed (asked once for each).
  static bool FaceInstalled(const char* face);
  // A system metric at a DPI (Windows 10 1607 and later; before, the system's own).
  int MetricForDpi(int index, int dpi) const;
  UINT NextControlId() { return nextControlId_++; }
  UINT NextMenuId() { return nextMenuId_++; }
  // A hidden window of the program: it owns the forms that stay out of the taskbar.
  HWND HiddenWindow();

  // The program's windows, each with its peer and, for a control of Windows' own, that
  // control's own window procedure. Finding a window here stays inside the process: a window
  // property would be a round trip to Wine's server on every message.
  void AddWindow(HWND hwnd, WindowPeer* peer, WNDPROC original);
  // The peer has gone; the window may still get messages on its way out.
  void DetachPeer(HWND hwnd);
  // The window has gone (WM_NCDESTROY).
  static void ForgetWindow(HWND hwnd);
  static WindowPeer* PeerOf(HWND hwnd);
  // The control's own procedure; for a window no longer listed, its class's procedure.
  static WNDPROC OriginalProcOf(HWND hwnd);

  // Each enabled timer runs on a system timer of the thread, made anew whenever the timer is
  // (re)started, and shared by the timers started together on one interval; the id is the
  // backend's own and stays.
  UINT StartTimer(Timer& timer);
  void StopTimer(UINT id);
  void RestartTimer(UINT id, const Timer& timer);

  // ---- ui::Backend
  std::unique_ptr<Peer> CreatePeer(Control& control) override;
  std::unique_ptr<Peer> CreateMenuPeer(Menu& menu) override;
  int ShowMessageBox(const std::string& text, int style, const std::string& title, Form* owner) override;
  void DoEvents() override { PumpPending(); }
  void Post(std::function<void()> event) override;
  // The class of a form's window: the backend's own, or one of the form's own name,
  // registered on first use with the same window procedure.
  const char* FormClass(const std::string& name);
  void ShowPopupMenu(Form& form, Menu& menu) override;
  Size MeasureText(const std::string& text, const Font& font, bool mnemonic = true, int dpi = kDefaultDpi) override;
  Size NonClientSize(const Form& form) override;
  void RunModal(Form& form) override;
  void EndModal(Form& form) override;
  void Beep() override { MessageBeep(0); }
  int TwipsPerPixel() const override { return kTwipsPerInch / systemDpi_; }
  int SystemDpi() const override { return systemDpi_; }
  void End() override;

  // Whether End has been called (the loop then stops).
  bool Ended() const { return ended_; }
  // When false, End stops the loop but posts no quit message (tests run many programs).
  bool PostQuitOnEnd = true;

 private:
  static void CALLBACK TimerProc(HWND hwnd, UINT message, UINT_PTR systemId, DWORD time);
  static LRESULT CALLBACK HiddenProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  std::vector<std::function<void()>> posted_;
  std::vector<std::string> formClasses_;

  HINSTANCE instance_;
  Runtime* runtime_ = nullptr;
  HWND hiddenWindow_ = nullptr;
  int systemDpi_ = kDefaultDpi;
  bool ended_ = false;
  UINT nextControlId_ = 100;
  UINT nextMenuId_ = 1000;
  UINT nextTimerId_ = 1;
  std::map<std::string, HFONT> fonts_;
  std::map<Color, HBRUSH> brushes_;
  struct TimerEntry {
    Timer* timer;
    UINT_PTR systemId;
    unsigned tick;  // the system timer's last tick given to this timer
  };
  std::map<UINT, TimerEntry> timers_;
  struct SystemTimer {
    UINT interval;
    LONGLONG started;  // performance counter
    unsigned ticks;
    std::vector<UINT> members;
  };
  std::map<UINT_PTR, SystemTimer> systemTimers_;
  void LeaveSystemTimer(UINT id, TimerEntry& entry);
  struct WindowEntry {
    WindowPeer* peer;
    WNDPROC original;
  };
  std::unordered_map<HWND, WindowEntry> windows_;
  // Each modal form up, with the windows it disabled.
  struct ModalFrame {
    Form* form;
    std::vector<HWND> disabled;
  };
  std::vector<ModalFrame> modal_;
};

// Window classes registered by the backend.
constexpr const char* kFormClass = "QuenlarForm";
constexpr const char* kPanelClass = "QuenlarPanel";
constexpr const char* kHiddenClass = "QuenlarHidden";

}  // namespace ui::win32
