// The conformance driver of the native backend under Wine: real windows, input as window
// messages through the backend's own message loop, real time.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>

#include "Win32Fixture.h"
#include "base/Utf8.h"
#include "conformance/Driver.h"
#include "ui/win32/Backend.h"

namespace conformance {
namespace {

HWND H(const ui::Control& control) { return reinterpret_cast<HWND>(control.hWnd()); }

// Refuses the activation of one window, as Windows does for a window that a background program
// shows while the user works in another.
HWND refusedWindow = nullptr;
HHOOK refusingHook = nullptr;
LRESULT CALLBACK RefuseActivation(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && reinterpret_cast<HWND>(wParam) == refusedWindow) return 1;
  return CallNextHookEx(refusingHook, code, wParam, lParam);
}

class Win32Driver : public Driver {
 public:
  Win32Driver() {
    backend_.PostQuitOnEnd = false;
    backend_.Attach(runtime_);
    runtime_.UseScriptedMessageBoxes(&boxes_);
    boxes_.OnUnanswered = [](const ui::ScriptedMessageBoxes::Shown& shown) {
      ADD_FAILURE() << "message box nobody answered: \"" << shown.text << "\"";
    };
  }
  ~Win32Driver() override {
    if (other_) DestroyWindow(other_);
    Pump();
  }

  ui::Runtime& Runtime() override { return runtime_; }
  ui::ScriptedMessageBoxes& Boxes() override { return boxes_; }

  // A mouse click reaches a window that takes input; BM_CLICK presses and releases the button
  // as the mouse would, focus included.
  void Click(ui::Control& control) override {
    for (HWND w = H(control); w; w = GetParent(w))
      if (!IsWindowEnabled(w) || !IsWindowVisible(w)) return;
    SendMessageA(H(control), BM_CLICK, 0, 0);
    Pump();
  }
  void Type(ui::TextBox& box, const std::string& characters) override {
    SetFocus(H(box));
    Pump();
    for (wchar_t unit : base::Utf16(characters)) {
      PostMessageW(H(box), WM_CHAR, static_cast<WPARAM>(static_cast<std::uint16_t>(unit)), 1);
      Pump();
    }
  }
  // The key goes through the backend's loop as if typed, to the window with the focus.
  void Key(ui::Form& form, int keyCode, int shift) override {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_SHIFT] = shift & ui::vbShiftMask ? 0x80 : 0;
    state[VK_CONTROL] = shift & ui::vbCtrlMask ? 0x80 : 0;
    state[VK_MENU] = shift & ui::vbAltMask ? 0x80 : 0;
    SetKeyboardState(state);
    HWND target = GetFocus();
    if (!target || GetAncestor(target, GA_ROOT) != H(form)) target = H(form);
    bool alt = shift & ui::vbAltMask;
    MSG msg{target, static_cast<UINT>(alt ? WM_SYSKEYDOWN : WM_KEYDOWN), static_cast<WPARAM>(keyCode),
            static_cast<LPARAM>(1 | (alt ? 1 << 29 : 0)), GetTickCount(), {0, 0}};
    backend_.ProcessMessage(msg);
    Pump();
    state[VK_SHIFT] = state[VK_CONTROL] = state[VK_MENU] = 0;
    SetKeyboardState(state);
  }
  void CloseBox(ui::Form& form) override {
    SendMessageA(H(form), WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
  }
  // Once the menu is up, the arrow keys walk to the item (separators are skipped) and Enter
  // chooses it.
  void ChooseInNextPopup(ui::Menu& item) override {
    int downs = 1;
    for (ui::Menu* sibling : item.Parent()->Items()) {
      if (sibling == &item) break;
      if (sibling->Visible() && !sibling->IsSeparator()) ++downs;
    }
    auto menu = [] { return FindWindowA("#32768", nullptr); };
    win32_testing::InLoopWhen([menu] { return menu() && IsWindowVisible(menu()); },
                              [menu, downs] {
                                for (int i = 0; i < downs; ++i) PostMessageA(menu(), WM_KEYDOWN, VK_DOWN, 0);
                                PostMessageA(menu(), WM_KEYDOWN, VK_RETURN, 0);
                              });
  }
  void WhileModal(std::function<void(ui::Form&)> steps) override {
    win32_testing::InLoopWhen([this] { return runtime_.ModalForm() != nullptr; },
                              [this, steps] { steps(*runtime_.ModalForm()); });
  }
  void SwitchToAnotherProgram() override {
    if (!other_) {
      WNDCLASSA cls{};
      cls.lpfnWndProc = DefWindowProcA;
      cls.hInstance = GetModuleHandleA(nullptr);
      cls.lpszClassName = "ConformanceOtherProgram";
      RegisterClassA(&cls);
      other_ = CreateWindowExA(0, cls.lpszClassName, "Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                               200, 100, nullptr, nullptr, cls.hInstance, nullptr);
    }
    SetForegroundWindow(other_);
    Pump();
  }
  void ClickWindow(ui::Form& form) override {
    SetForegroundWindow(H(form));
    Pump();
  }
  void ShowBehindAnotherProgram(ui::Form& form) override {
    form.Load();
    refusedWindow = H(form);
    refusingHook = SetWindowsHookExA(WH_CBT, RefuseActivation, nullptr, GetCurrentThreadId());
    form.Show();
    Pump();
    UnhookWindowsHookEx(refusingHook);
    EXPECT_NE(GetActiveWindow(), refusedWindow) << "the driver could not keep the window inactive";
    refusedWindow = nullptr;
  }
  void MouseMove(ui::Form& form, int x, int y) override {
    PostMessageA(H(form), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    Pump();
  }
  void Broadcast(const std::string& name) override {
    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA(name.c_str()), 0, 0);
    Wait(50);
  }
  void Wait(int milliseconds) override {
    DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
      Pump();
      if (milliseconds > 0) MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (static_cast<int>(end - GetTickCount()) > 0);
    Pump();
  }

  bool LooksEnabled(ui::Control& control) override { return IsWindowEnabled(H(control)); }
  bool TakesInput(ui::Form& form) override { return IsWindowEnabled(H(form)); }
  bool IsOnScreen(ui::Form& form) override { return IsWindowVisible(H(form)); }
  std::string ShownText(ui::TextBox& box) override { return win32_testing::TextOf(box.hWnd()); }

 private:
  void Pump() { backend_.PumpPending(); }

  ui::win32::Backend backend_{GetModuleHandleA(nullptr)};
  ui::Runtime runtime_{backend_};
  ui::ScriptedMessageBoxes boxes_;
  HWND other_ = nullptr;
};

}  // namespace

std::unique_ptr<Driver> MakeDriver() { return std::make_unique<Win32Driver>(); }

}  // namespace conformance
