/* The end-to-end suite's proof that it notices a crash: a window like a program's, then, a
   moment after it shows, a write through a null pointer. */
#include <windows.h>

static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    KillTimer(window, 1);
    *(volatile int*)0 = 1;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  WNDCLASSA cls = {0};
  MSG msg;
  HWND window;
  (void)previous;
  (void)commandLine;
  cls.lpfnWndProc = WindowProc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursor(NULL, IDC_ARROW);
  cls.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
  cls.lpszClassName = "Crasher";
  RegisterClassA(&cls);
  window = CreateWindowExA(0, "Crasher", ":: Crasher ::", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 100, 100, 300,
                           200, NULL, NULL, instance, NULL);
  ShowWindow(window, show);
  SetTimer(window, 1, 1000, NULL);
  while (GetMessageA(&msg, NULL, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
