// The native backend in a test: real windows on Wine's display, the fake operating system and
// the program state behind the program, message boxes answered from a script unless a test
// wants real ones.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "app/ProgramState.h"
#include "os/fake/FakeServices.h"
#include "ui/Runtime.h"
#include "ui/win32/Backend.h"

namespace win32_testing {

inline std::string TextOf(std::uintptr_t window) {
  char buffer[512] = {};
  GetWindowTextA(reinterpret_cast<HWND>(window), buffer, sizeof buffer);
  return buffer;
}

inline HWND H(const ui::Control& control) { return reinterpret_cast<HWND>(control.hWnd()); }

class Win32Test : public ::testing::Test {
 protected:
  Win32Test() {
    backend.PostQuitOnEnd = false;
    backend.Attach(runtime);
    runtime.UseScriptedMessageBoxes(&boxes);
    boxes.OnUnanswered = [](const ui::ScriptedMessageBoxes::Shown& shown) {
      ADD_FAILURE() << "message box nobody answered: \"" << shown.text << "\"";
    };
  }
  void TearDown() override { EXPECT_EQ(boxes.Pending(), 0u) << "message-box answers left over"; }

  // Delivers what Windows has queued, for about `ms` milliseconds.
  void Pump(int ms = 0) {
    DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    do {
      backend.PumpPending();
      if (ms > 0) Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
  }
  // Sends a key through the message loop's path, as if typed with the focus in `window`.
  void Key(HWND window, WPARAM key, bool ctrl = false) {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(state);
    MSG msg{window, WM_KEYDOWN, key, 1, GetTickCount(), {0, 0}};
    backend.ProcessMessage(msg);
    state[VK_CONTROL] = 0;
    SetKeyboardState(state);
    Pump();
  }

  ui::win32::Backend backend{GetModuleHandleA(nullptr)};
  ui::Runtime runtime{backend};
  ui::ScriptedMessageBoxes boxes;
  os::fake::VirtualClock clock;
  os::fake::FakeServices fake{clock};
  app::ProgramState state{fake.Services()};
};

}  // namespace win32_testing
