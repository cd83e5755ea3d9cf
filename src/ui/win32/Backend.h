// The native backend: one real window or control per model object, on the Win32 API.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Menu.h"
#include "ui/Runtime.h"

namespace ui::win32 {

class Backend : public ui::Backend {
 public:
  explicit Backend(HINSTANCE instance);
  ~Backend() override;

  void Attach(Runtime& runtime) { runtime_ = &runtime; }
  Runtime& GetRuntime() { return *runtime_; }
  HINSTANCE Instance() const { return instance_; }

  // Runs the message loop until the program ends; returns the exit code.
  int Run();
  // Handles one message as the loop does: menu shortcuts, dialog navigation, then dispatch.
  void ProcessMessage(MSG& msg);
  // Delivers every pending message; returns false once the program has ended.
  bool PumpPending();

  // An event that arrives from Windows. At the outermost level it goes through the run-time's
  // dispatcher; an exception never crosses a window procedure.
  void Deliver(const std::function<void()>& event);

  HFONT FontFor(const Font& font);
  HBRUSH BrushFor(Color color);
  COLORREF ColorRef(Color color) const;
  int ToPixels(int twips) const { return MulDiv(twips, 1, twipsPerPixel_); }
  int ToTwips(int pixels) const { return pixels * twipsPerPixel_; }
  UINT NextControlId() { return nextControlId_++; }
  UINT NextMenuId() { return nextMenuId_++; }
  HWND TimerWindow() const { return timerWindow_; }

  // ---- ui::Backend
  std::unique_ptr<Peer> CreatePeer(Control& control) override;
  std::unique_ptr<Peer> CreateMenuPeer(Menu& menu) override;
  int ShowMessageBox(const std::string& text, int style, const std::string& title, Form* owner) override;
  void DoEvents() override { PumpPending(); }
  void ShowPopupMenu(Form& form, Menu& menu) override;
  Size MeasureText(const std::string& text, const Font& font) override;
  void Beep() override { MessageBeep(0); }
  int TwipsPerPixel() const override { return twipsPerPixel_; }
  void End() override;

  // Whether End has been called (the loop then stops).
  bool Ended() const { return ended_; }
  // When false, End stops the loop but posts no quit message (tests run many programs).
  bool PostQuitOnEnd = true;

 private:
  HINSTANCE instance_;
  Runtime* runtime_ = nullptr;
  HWND timerWindow_ = nullptr;
  int twipsPerPixel_ = kTwipsPerPixel;
  int depth_ = 0;
  bool ended_ = false;
  UINT nextControlId_ = 100;
  UINT nextMenuId_ = 1000;
  std::map<std::string, HFONT> fonts_;
  std::map<Color, HBRUSH> brushes_;
};

// Window classes registered by the backend.
constexpr const char* kFormClass = "QuenlarForm";
constexpr const char* kPanelClass = "QuenlarPanel";
constexpr const char* kTimerClass = "QuenlarTimers";

}  // namespace ui::win32
