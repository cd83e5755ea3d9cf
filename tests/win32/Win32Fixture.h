// The native backend in a test: real windows on Wine's display, the fake operating system and
// the program state behind the program, message boxes answered from a script unless a test
// wants real ones.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "os/fake/FakeServices.h"
#include "session/ProgramState.h"
#include "ui/Runtime.h"
#include "ui/win32/Backend.h"

namespace win32_testing {

inline std::string TextOf(std::uintptr_t window) {
  char buffer[512] = {};
  GetWindowTextA(reinterpret_cast<HWND>(window), buffer, sizeof buffer);
  return buffer;
}

inline HWND H(const ui::Control& control) { return reinterpret_cast<HWND>(control.hWnd()); }

// The top-level windows of this thread whose class name holds the text given ("#32770" for
// dialogs, "#32768" for menus, "tooltips_class32").
inline BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}
inline std::vector<HWND> ThreadWindows(const std::string& windowClass) {
  std::vector<HWND> all, matching;
  EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&all));
  for (HWND window : all) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name).find(windowClass) != std::string::npos) matching.push_back(window);
  }
  return matching;
}
// The first of them that is visible, or nullptr.
inline HWND ThreadWindow(const std::string& windowClass) {
  for (HWND window : ThreadWindows(windowClass))
    if (IsWindowVisible(window)) return window;
  return nullptr;
}

// The tip some tooltip window of this thread holds for a tool (a window and an id), or "".
inline std::string ToolTipOf(HWND window, UINT_PTR id) {
  for (HWND tip : ThreadWindows("tooltips_class32")) {
    char text[512] = {};
    TOOLINFOA info{};
    info.cbSize = sizeof info;
    info.hwnd = window;
    info.uId = id;
    info.lpszText = text;
    if (!SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info))) continue;
    SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
    return text;
  }
  return {};
}

// Runs `work` once a loop of the program's own (a modal dialog's, a pop-up menu's) runs and
// `ready` holds, checked every 50 ms by a thread timer; gives up after about five seconds.
struct InLoopWork {
  std::function<bool()> ready;
  std::function<void()> work;
  int tries = 0;
};
inline InLoopWork pendingInLoop;
inline void CALLBACK RunPendingInLoop(HWND, UINT, UINT_PTR id, DWORD) {
  if (!pendingInLoop.ready() && ++pendingInLoop.tries < 100) return;
  KillTimer(nullptr, id);
  InLoopWork taken = std::move(pendingInLoop);
  pendingInLoop = {};
  if (taken.tries < 100) taken.work();
}
inline void InLoopWhen(std::function<bool()> ready, std::function<void()> work) {
  pendingInLoop = {std::move(ready), std::move(work), 0};
  SetTimer(nullptr, 0, 50, RunPendingInLoop);
}

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
  session::ProgramState state{fake.Services()};
};

}  // namespace win32_testing
