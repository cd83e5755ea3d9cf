// The texts of the program's windows. On the NT family every window is made through the W
// functions, so that a control holds any text the model gives it, and the messages are taken
// and handed on as Unicode; on Windows 95, 98 and Me the A functions take the texts in the ANSI
// code page. boundary::WideApi() chooses, at run time. Above this, every text is UTF-8.
#pragma once

#include <windows.h>

#include <string>

namespace ui::win32 {

// A text as a message's pointer carries it to one of the program's windows: UTF-16 units
// where the windows are Unicode, else the code page's bytes.
class NativeText {
 public:
  explicit NativeText(const std::string& utf8);
  const void* Pointer() const;
  LPARAM Param() const { return reinterpret_cast<LPARAM>(Pointer()); }
  // The length in the window's own units (UTF-16 units, or bytes).
  std::size_t Length() const;

 private:
  std::wstring wide_;
  std::string ansi_;
};

// A NUL-ended text that came with a message to one of the program's windows (WM_SETTEXT's).
std::string FromNative(const void* text);
// The first `units` units of a text in the window's own units, as UTF-8: an offset into the
// native control's text becomes one into the model's.
std::size_t Utf8Offset(const std::string& utf8, std::size_t units);
// The other way: an offset into the model's text becomes one into the native control's.
std::size_t NativeOffset(const std::string& utf8, std::size_t bytes);

// Answers WM_GETTEXT for a window that keeps its own text: as much as the buffer of `size`
// units holds, ended, never half of a character; returns the units copied.
LRESULT AnswerGetText(const std::string& utf8, WPARAM size, LPARAM buffer);

std::string WindowText(HWND window);
void SetText(HWND window, const std::string& text);
// A window of a class named in ASCII, made with its text (none when empty).
HWND MakeWindow(DWORD exStyle, const char* windowClass, const std::string& text, DWORD style, const RECT& at,
                HWND parent, HMENU menu, HINSTANCE instance);
void RegisterWindowClass(HINSTANCE instance, const char* name, WNDPROC proc, UINT style);
// Sends a message that carries a text: the A or the W message of the pair (one number for
// messages such as CB_ADDSTRING, whose text the window's kind decides).
LRESULT SendText(HWND window, UINT ansiMessage, UINT wideMessage, WPARAM wParam, const std::string& text);
inline LRESULT SendText(HWND window, UINT message, WPARAM wParam, const std::string& text) {
  return SendText(window, message, message, wParam, text);
}
int DrawUtf8(HDC dc, const std::string& text, RECT& area, UINT format);
int ShowBox(HWND owner, const std::string& text, const std::string& title, UINT flags);
BOOL AppendItem(HMENU menu, UINT flags, UINT_PTR id, const std::string& text);
// With `outline`, a TrueType face is preferred to a bitmap face of the same name.
HFONT MakeFont(int height, int weight, const std::string& face, bool outline = false);

// The procedures and the message loop of Unicode windows, or of ANSI ones.
LRESULT DefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallProc(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Puts the procedure in the window's place; returns the window's own.
WNDPROC Subclass(HWND window, WNDPROC proc);
WNDPROC ClassProc(HWND window);
BOOL GetMsg(MSG& msg);
BOOL PeekMsg(MSG& msg, HWND window, UINT first, UINT last, UINT remove);
void Dispatch(const MSG& msg);
BOOL DialogMessage(HWND window, MSG& msg);
BOOL TranslateKeys(HWND window, HACCEL keys, MSG& msg);

}  // namespace ui::win32
