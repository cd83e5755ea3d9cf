/* The floor for the performance benchmark: the least a Windows program with a window can be.
   One window of the main window's size, a 500 ms timer (the main window's clock), the message
   loop; nothing else. */
#include <windows.h>

static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
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
  cls.lpszClassName = "Floor";
  RegisterClassA(&cls);
  window = CreateWindowExA(0, "Floor", ":: Floor ::", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                           CW_USEDEFAULT, CW_USEDEFAULT, 323, 334, NULL, NULL, instance, NULL);
  SetTimer(window, 1, 500, NULL);
  ShowWindow(window, show);
  while (GetMessageA(&msg, NULL, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
