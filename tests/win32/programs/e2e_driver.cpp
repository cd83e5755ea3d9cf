// The end-to-end suite's window driver: a console program run under the same Wine as the
// program under test, reading its windows from outside with window messages. Windows are named
// by their handle, in decimal, as `find` prints it.
//
//   driver find TITLE [CLASS] [MS]   waits up to MS (default 10000) for a visible top-level window
//                                    with this title and class ("*" for any); prints its handle
//   driver gone HANDLE [MS]          waits up to MS for the window to be hidden or destroyed
//   driver shown HANDLE [MS]         waits up to MS for the window to be visible
//   driver popup [MS]                waits for a visible pop-up menu; prints its handle
//   driver menubar HANDLE CAPTION... the centre "x y" in screen pixels of the last menu-bar item
//                                    given, the captions before it being the items to its left
//   driver dump HANDLE               the window and every window inside it, one a line:
//                                    class TAB text TAB state TAB left,top,width,height
//                                    (state: words among checked, disabled, hidden, focus,
//                                    pos=N for a progress bar; "-" for none; screen pixels)
//   driver click HANDLE TEXT         a click (BM_CLICK, posted) on the button captioned TEXT
//   driver focus HANDLE              makes the window the foreground window, which takes the
//                                    keyboard; waits until it is
//   driver hold PATH RELEASE         opens the file sharing nothing, prints "held", and keeps it
//                                    open until a file RELEASE exists (two minutes at most)
//   driver list                      the visible top-level windows: class TAB title
//   driver panels HANDLE             the text of each part of the status bar HANDLE, or of the
//                                    first one in window HANDLE, one a line
//   driver tips HANDLE               the texts of the tools of the tooltip windows the window
//                                    owns, one a line
//   driver traytips                  the tips of the notification-area icons, one a line
//   driver balloon [MS]              waits up to MS for a balloon over a notification-area icon;
//                                    prints its title, then its text (each on a line of its own)
//   driver measure TEXT FACE POINTS [bold]
//                                    the width in pixels TEXT takes in that font, every "&" shown
//                                    (as the program's windows make their fonts)
//
// Texts are UTF-8, those given on the command line and those printed; the windows are read in
// UTF-16.
//
// Every command but `list` first looks for a crashed program's window (see CrashShown) and, if
// one is on screen, prints what it says and ends with exit code 3. Otherwise exit code 0 on
// success, 1 when a wait runs out or a window or control is not there, 2 for a wrong command
// line.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "OtherProcess.h"

namespace {

using other_process::Balloon;
using other_process::ClassOf;
using other_process::RemoteBuffer;
using other_process::Tool;
using other_process::ToolTips;
using other_process::ToolsOf;
using other_process::Utf8;
using other_process::Wide;

std::string Text(HWND window) {
  // WM_GETTEXT crosses processes; GetWindowText would not read another program's controls.
  LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  LRESULT got = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
  return Utf8(text);
}

// Line ends inside a text become "\r" and "\n", so that each window keeps to one line.
std::string OneLine(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\t')
      out += "\\t";
    else
      out += c;
  }
  return out;
}

HWND ParseHandle(const char* text) {
  return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoull(text, nullptr, 10)));
}

void PrintHandle(HWND window) { std::printf("%llu\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window))); }

struct Search {
  std::string title, windowClass;
  HWND found = nullptr;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  if (!IsWindowVisible(window)) return TRUE;
  if (search->windowClass != "*" && ClassOf(window) != search->windowClass) return TRUE;
  if (search->title != "*" && Text(window) != search->title) return TRUE;
  search->found = window;
  return FALSE;
}

// Polls every 50 ms until `done` or the time is up.
template <typename Done>
bool WaitFor(DWORD milliseconds, Done done) {
  DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    if (GetTickCount() - start >= milliseconds) return false;
    Sleep(50);
  }
}

DWORD Milliseconds(int argc, char** argv, int index) {
  return argc > index ? static_cast<DWORD>(std::strtoul(argv[index], nullptr, 10)) : 10000;
}

// A named CALLBACK: a lambda does not convert to the 32-bit edition's stdcall WNDENUMPROC.
BOOL CALLBACK CollectChild(HWND child, LPARAM data) {
  reinterpret_cast<std::vector<HWND>*>(data)->push_back(child);
  return TRUE;
}

std::vector<HWND> Descendants(HWND window) {
  std::vector<HWND> all;
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&all));
  return all;
}

void DumpLine(HWND window, HWND focus) {
  const std::string windowClass = ClassOf(window);
  std::string state;
  auto add = [&state](const std::string& word) { state += (state.empty() ? "" : " ") + word; };
  LONG style = GetWindowLongA(window, GWL_STYLE);
  if (windowClass == "Button") {
    LONG kind = style & BS_TYPEMASK;
    if ((kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON ||
         kind == BS_3STATE || kind == BS_AUTO3STATE) &&
        SendMessageA(window, BM_GETCHECK, 0, 0) == BST_CHECKED)
      add("checked");
  }
  if (!IsWindowEnabled(window)) add("disabled");
  if (!IsWindowVisible(window)) add("hidden");
  if (window == focus) add("focus");
  if (windowClass == PROGRESS_CLASSA) add("pos=" + std::to_string(SendMessageA(window, PBM_GETPOS, 0, 0)));
  RECT r{};
  GetWindowRect(window, &r);
  std::printf("%s\t%s\t%s\t%ld,%ld,%ld,%ld\n", windowClass.c_str(), OneLine(Text(window)).c_str(),
              state.empty() ? "-" : state.c_str(), r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// The keyboard focus of the thread that owns the window.
HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

int Find(int argc, char** argv) {
  if (argc < 3) return 2;
  Search search{argv[2], argc > 3 ? argv[3] : "*"};
  if (!WaitFor(Milliseconds(argc, argv, 4), [&] {
        search.found = nullptr;
        EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      })) {
    std::fprintf(stderr, "no visible window \"%s\" of class %s\n", search.title.c_str(), search.windowClass.c_str());
    return 1;
  }
  PrintHandle(search.found);
  return 0;
}

int Gone(int argc, char** argv) {
  if (argc < 3) return 2;
  HWND window = ParseHandle(argv[2]);
  return WaitFor(Milliseconds(argc, argv, 3), [&] { return !IsWindow(window) || !IsWindowVisible(window); }) ? 0 : 1;
}

int Shown(int argc, char** argv) {
  if (argc < 3) return 2;
  HWND window = ParseHandle(argv[2]);
  return WaitFor(Milliseconds(argc, argv, 3), [&] { return IsWindowVisible(window) != FALSE; }) ? 0 : 1;
}

int Popup(int argc, char** argv) {
  HWND found = nullptr;
  bool shown = WaitFor(Milliseconds(argc, argv, 2), [&] {
    found = FindWindowA("#32768", nullptr);
    return found && IsWindowVisible(found);
  });
  if (!shown) return 1;
  PrintHandle(found);
  return 0;
}

// The menu belongs to the program's process (Wine keeps a menu where it was made): its items
// are placed as Windows lays a menu bar out, beneath the caption, above the client area, in the
// system's menu font, each as wide as its text and the bar's spacing.
int MenuBar(int argc, char** argv) {
  if (argc < 4) return 2;
  HWND window = ParseHandle(argv[2]);
  if (!IsWindow(window)) return 1;
  constexpr int kItemSpacing = 12;  // beside an item's text, as the bar lays it out
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HDC screen = GetDC(nullptr);
  HFONT font = CreateFontIndirectW(&metrics.lfMenuFont);
  HGDIOBJ old = SelectObject(screen, font);
  int left = 0, width = 0;
  for (int i = 3; i < argc; ++i) {
    RECT r{0, 0, 0, 0};
    DrawTextW(screen, Wide(argv[i]).c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    left += width;
    width = r.right - r.left + kItemSpacing;
  }
  SelectObject(screen, old);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  POINT client{0, 0};
  ClientToScreen(window, &client);
  std::printf("%ld %ld\n", client.x + left + width / 2, client.y - GetSystemMetrics(SM_CYMENU) / 2);
  return 0;
}

int Dump(int argc, char** argv) {
  if (argc < 3) return 2;
  HWND window = ParseHandle(argv[2]);
  if (!IsWindow(window)) {
    std::fprintf(stderr, "no window %s\n", argv[2]);
    return 1;
  }
  HWND focus = FocusOf(window);
  DumpLine(window, focus);
  for (HWND child : Descendants(window)) DumpLine(child, focus);
  return 0;
}

int Click(int argc, char** argv) {
  if (argc < 4) return 2;
  HWND window = ParseHandle(argv[2]);
  for (HWND child : Descendants(window)) {
    if (ClassOf(child) == "Button" && IsWindowVisible(child) && Text(child) == argv[3]) {
      PostMessageA(child, BM_CLICK, 0, 0);
      return 0;
    }
  }
  std::fprintf(stderr, "no visible button \"%s\"\n", argv[3]);
  return 1;
}

int Focus(int argc, char** argv) {
  if (argc < 3) return 2;
  HWND window = ParseHandle(argv[2]);
  SetForegroundWindow(window);
  if (WaitFor(2000, [&] { return GetForegroundWindow() == window; })) return 0;
  std::fprintf(stderr, "window %s did not come to the foreground\n", argv[2]);
  return 1;
}

int Hold(int argc, char** argv) {
  if (argc < 4) return 2;
  HANDLE file = CreateFileW(Wide(argv[2]).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "cannot open %s: error %lu\n", argv[2], GetLastError());
    return 1;
  }
  std::printf("held\n");
  std::fflush(stdout);
  const std::wstring release = Wide(argv[3]);
  bool released = WaitFor(120000, [&] { return GetFileAttributesW(release.c_str()) != INVALID_FILE_ATTRIBUTES; });
  CloseHandle(file);
  return released ? 0 : 1;
}

int Panels(int argc, char** argv) {
  if (argc < 3) return 2;
  HWND bar = ParseHandle(argv[2]);
  if (ClassOf(bar) != STATUSCLASSNAMEA) {
    std::vector<HWND> inside = Descendants(bar);
    auto found =
        std::find_if(inside.begin(), inside.end(), [](HWND child) { return ClassOf(child) == STATUSCLASSNAMEA; });
    if (found == inside.end()) {
      std::fprintf(stderr, "no status bar %s, nor one inside it\n", argv[2]);
      return 1;
    }
    bar = *found;
  }
  auto parts = static_cast<int>(SendMessageA(bar, SB_GETPARTS, 0, 0));
  for (int i = 0; i < parts; ++i) {
    std::size_t length = LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, i, 0));
    RemoteBuffer remote(bar, (length + 1) * sizeof(wchar_t));
    if (!remote.Ready()) {
      std::fprintf(stderr, "no memory in the status bar's process: error %lu\n", GetLastError());
      return 1;
    }
    SendMessageW(bar, SB_GETTEXTW, i, remote.Param());
    std::printf("%s\n", OneLine(remote.Text(0)).c_str());
  }
  return 0;
}

int Tips(int argc, char** argv) {
  if (argc < 3) return 2;
  HWND owner = ParseHandle(argv[2]);
  if (!IsWindow(owner)) {
    std::fprintf(stderr, "no window %s\n", argv[2]);
    return 1;
  }
  for (HWND tooltip : ToolTips()) {
    if (GetWindow(tooltip, GW_OWNER) != owner) continue;
    for (const Tool& tool : ToolsOf(tooltip))
      if (!tool.text.empty()) std::printf("%s\n", OneLine(tool.text).c_str());
  }
  return 0;
}

// Under Wine without a desktop's tray, each icon is a "__winex11_tray_icon" window in explorer's
// "Wine System Tray" window, and its tip a tool on that window of a tooltip explorer.exe owns.
int TrayTips() {
  for (HWND tooltip : ToolTips())
    for (const Tool& tool : ToolsOf(tooltip))
      if (ClassOf(tool.window) == "__winex11_tray_icon") std::printf("%s\n", OneLine(tool.text).c_str());
  return 0;
}

// The balloon shown over a tray icon, waited for: its title on one line, its text on the next.
int BalloonCommand(int argc, char** argv) {
  std::vector<Balloon> shown;
  if (!WaitFor(Milliseconds(argc, argv, 2), [&] { return !(shown = other_process::BalloonsShown()).empty(); })) {
    std::fprintf(stderr, "no balloon shown\n");
    return 1;
  }
  for (const Balloon& balloon : shown)
    std::printf("%s\n%s\n", OneLine(balloon.title).c_str(), OneLine(balloon.text).c_str());
  return 0;
}

// A crashed program's window. Wine starts winedbg, which shows "Program Error" (class #32770),
// its text naming the program ("The program crasher.exe has encountered a serious problem and
// needs to close. ..."), beside a "Wine Debugger" console (class WineConsoleClass), and the
// program stays stopped until the dialog is closed. The suite's prefix turns the dialog off
// (ShowCrashDialog 0, tools/wine/env.sh): then the console alone shows, for under a second,
// while winedbg writes its report, and the program ends. FindWindowA sends no message, so a
// stopped program cannot hold this up.
std::string CrashShown() {
  HWND dialog = FindWindowA("#32770", "Program Error");
  if (dialog && IsWindowVisible(dialog)) {
    for (HWND child : Descendants(dialog)) {
      std::string text = Text(child);
      if (text.rfind("The program ", 0) == 0) return OneLine(text);
    }
    return "a \"Program Error\" window is open";
  }
  HWND console = FindWindowA("WineConsoleClass", "Wine Debugger");
  if (console && IsWindowVisible(console)) return "winedbg's console \"Wine Debugger\" is open";
  return "";
}

BOOL CALLBACK ListTopLevel(HWND window, LPARAM) {
  if (IsWindowVisible(window)) std::printf("%s\t%s\n", ClassOf(window).c_str(), OneLine(Text(window)).c_str());
  return TRUE;
}

int List() {
  EnumWindows(ListTopLevel, 0);
  return 0;
}

int Measure(int argc, char** argv) {
  if (argc < 5) return 2;
  HDC screen = GetDC(nullptr);
  int height = -MulDiv(static_cast<int>(std::atof(argv[4]) * 100), GetDeviceCaps(screen, LOGPIXELSY), 7200);
  bool bold = argc > 5 && std::string(argv[5]) == "bold";
  HFONT font = CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                           Wide(argv[3]).c_str());
  HGDIOBJ old = SelectObject(screen, font);
  RECT r{0, 0, 0, 0};
  DrawTextW(screen, Wide(argv[2]).c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
  SelectObject(screen, old);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  std::printf("%ld\n", r.right - r.left);
  return 0;
}

// The arguments as UTF-8, whatever the ANSI code page.
std::vector<std::string> Arguments() {
  std::vector<std::string> arguments;
  int count = 0;
  if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 0; i < count; ++i) arguments.push_back(Utf8(wide[i]));
    LocalFree(wide);
  }
  return arguments;
}

}  // namespace

int main() {
  std::vector<std::string> arguments = Arguments();
  std::vector<char*> pointers;
  for (std::string& argument : arguments) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  int argc = static_cast<int>(arguments.size());
  char** argv = pointers.data();
  std::string command = argc > 1 ? argv[1] : "";
  if (command != "list") {
    std::string crash = CrashShown();
    if (!crash.empty()) {
      std::printf("%s\n", crash.c_str());
      std::fflush(stdout);
      return 3;
    }
  }
  int status = command == "find"       ? Find(argc, argv)
               : command == "gone"     ? Gone(argc, argv)
               : command == "shown"    ? Shown(argc, argv)
               : command == "popup"    ? Popup(argc, argv)
               : command == "dump"     ? Dump(argc, argv)
               : command == "menubar"  ? MenuBar(argc, argv)
               : command == "click"    ? Click(argc, argv)
               : command == "focus"    ? Focus(argc, argv)
               : command == "hold"     ? Hold(argc, argv)
               : command == "list"     ? List()
               : command == "panels"   ? Panels(argc, argv)
               : command == "tips"     ? Tips(argc, argv)
               : command == "traytips" ? TrayTips()
               : command == "balloon"  ? BalloonCommand(argc, argv)
               : command == "measure"  ? Measure(argc, argv)
                                       : 2;
  if (status == 2) std::fprintf(stderr, "usage: see the head of tests/win32/programs/e2e_driver.cpp\n");
  std::fflush(stdout);
  return status;
}
