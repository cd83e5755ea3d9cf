#include "ui/win32/WindowText.h"

#include <algorithm>

#include "base/Utf8.h"
#include "os/win32/Text.h"

namespace ui::win32 {

using boundary::WideApi;

NativeText::NativeText(const std::string& utf8) {
  if (WideApi())
    wide_ = base::Utf16(utf8);
  else
    ansi_ = boundary::ToCodePage(utf8);
}

const void* NativeText::Pointer() const { return WideApi() ? static_cast<const void*>(wide_.c_str()) : ansi_.c_str(); }

std::size_t NativeText::Length() const { return WideApi() ? wide_.size() : ansi_.size(); }

std::string FromNative(const void* text) {
  if (!text) return {};
  if (WideApi()) return base::Utf8(static_cast<const wchar_t*>(text));
  return boundary::FromCodePage(static_cast<const char*>(text));
}

std::size_t Utf8Offset(const std::string& utf8, std::size_t units) {
  if (base::IsAscii(utf8)) return std::min(units, utf8.size());
  if (WideApi()) return base::Utf8(std::wstring_view(base::Utf16(utf8)).substr(0, units)).size();
  return boundary::FromCodePage(std::string_view(boundary::ToCodePage(utf8)).substr(0, units)).size();
}

std::size_t NativeOffset(const std::string& utf8, std::size_t bytes) {
  std::string_view before = std::string_view(utf8).substr(0, bytes);
  if (base::IsAscii(before)) return before.size();
  return WideApi() ? base::Utf16(before).size() : boundary::ToCodePage(before).size();
}

namespace {

template <typename Unit>
std::size_t CopyEnded(std::basic_string_view<Unit> text, Unit* buffer, std::size_t size) {
  if (!buffer || size == 0) return 0;
  std::size_t copied = std::min(text.size(), size - 1);
  if (copied < text.size() && copied > 0 && sizeof(Unit) == 2 && text[copied - 1] >= 0xD800 && text[copied - 1] <= 0xDBFF)
    --copied;  // the first half of a surrogate pair
  std::copy_n(text.begin(), copied, buffer);
  buffer[copied] = Unit{};
  return copied;
}

}  // namespace

LRESULT AnswerGetText(const std::string& utf8, WPARAM size, LPARAM buffer) {
  std::size_t copied = WideApi() ? CopyEnded<wchar_t>(base::Utf16(utf8), reinterpret_cast<wchar_t*>(buffer), size)
                                 : CopyEnded<char>(boundary::ToCodePage(utf8), reinterpret_cast<char*>(buffer), size);
  return static_cast<LRESULT>(copied);
}

std::string WindowText(HWND window) {
  if (WideApi()) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(std::max(GetWindowTextW(window, text.data(), length + 1), 0)));
    return base::Utf8(text);
  }
  int length = GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  text.resize(static_cast<std::size_t>(std::max(GetWindowTextA(window, text.data(), length + 1), 0)));
  return boundary::FromCodePage(text);
}

void SetText(HWND window, const std::string& text) {
  NativeText native(text);
  if (WideApi())
    SetWindowTextW(window, static_cast<const wchar_t*>(native.Pointer()));
  else
    SetWindowTextA(window, static_cast<const char*>(native.Pointer()));
}

HWND MakeWindow(DWORD exStyle, const char* windowClass, const std::string& text, DWORD style, const RECT& at,
                HWND parent, HMENU menu, HINSTANCE instance) {
  // An empty text is no text: the window then has none to store, one round trip fewer.
  NativeText native(text);
  const void* caption = text.empty() ? nullptr : native.Pointer();
  int width = at.right - at.left, height = at.bottom - at.top;
  if (WideApi())
    return CreateWindowExW(exStyle, base::Utf16(windowClass).c_str(), static_cast<const wchar_t*>(caption), style,
                           at.left, at.top, width, height, parent, menu, instance, nullptr);
  return CreateWindowExA(exStyle, windowClass, static_cast<const char*>(caption), style, at.left, at.top, width, height,
                         parent, menu, instance, nullptr);
}

void RegisterWindowClass(HINSTANCE instance, const char* name, WNDPROC proc, UINT style) {
  auto fill = [&](auto& cls) {
    cls.cbSize = sizeof cls;
    cls.style = style;
    cls.lpfnWndProc = proc;
    cls.hInstance = instance;
    cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  };
  if (WideApi()) {
    std::wstring wide = base::Utf16(name);
    WNDCLASSEXW cls{};
    fill(cls);
    cls.lpszClassName = wide.c_str();
    RegisterClassExW(&cls);
  } else {
    WNDCLASSEXA cls{};
    fill(cls);
    cls.lpszClassName = name;
    RegisterClassExA(&cls);
  }
}

LRESULT SendText(HWND window, UINT ansiMessage, UINT wideMessage, WPARAM wParam, const std::string& text) {
  NativeText native(text);
  return WideApi() ? SendMessageW(window, wideMessage, wParam, native.Param())
                   : SendMessageA(window, ansiMessage, wParam, native.Param());
}

int DrawUtf8(HDC dc, const std::string& text, RECT& area, UINT format) {
  NativeText native(text);
  int length = static_cast<int>(native.Length());
  if (WideApi()) return DrawTextW(dc, static_cast<const wchar_t*>(native.Pointer()), length, &area, format);
  return DrawTextA(dc, static_cast<const char*>(native.Pointer()), length, &area, format);
}

int ShowBox(HWND owner, const std::string& text, const std::string& title, UINT flags) {
  NativeText body(text), caption(title);
  if (WideApi())
    return MessageBoxW(owner, static_cast<const wchar_t*>(body.Pointer()), static_cast<const wchar_t*>(caption.Pointer()),
                       flags);
  return MessageBoxA(owner, static_cast<const char*>(body.Pointer()), static_cast<const char*>(caption.Pointer()), flags);
}

BOOL AppendItem(HMENU menu, UINT flags, UINT_PTR id, const std::string& text) {
  NativeText native(text);
  if (WideApi()) return AppendMenuW(menu, flags, id, static_cast<const wchar_t*>(native.Pointer()));
  return AppendMenuA(menu, flags, id, static_cast<const char*>(native.Pointer()));
}

// CreateFontIndirectW is looked up, not imported: a program that names it might not load where
// gdi32 lacks it.
HFONT MakeFont(int height, int weight, const std::string& face, bool outline) {
  auto fill = [&](auto& font) {
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = outline ? OUT_TT_PRECIS : OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  };
  using CreateWide = HFONT(WINAPI*)(const LOGFONTW*);
  static const auto createWide = WideApi() ? reinterpret_cast<CreateWide>(reinterpret_cast<void*>(
                                                 GetProcAddress(GetModuleHandleA("gdi32.dll"), "CreateFontIndirectW")))
                                           : nullptr;
  if (createWide) {
    LOGFONTW font{};
    fill(font);
    std::wstring name = base::Utf16(face).substr(0, LF_FACESIZE - 1);
    std::copy(name.begin(), name.end(), font.lfFaceName);
    return createWide(&font);
  }
  LOGFONTA font{};
  fill(font);
  std::string name = boundary::ToCodePage(face).substr(0, LF_FACESIZE - 1);
  std::copy(name.begin(), name.end(), font.lfFaceName);
  return CreateFontIndirectA(&font);
}

LRESULT DefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return WideApi() ? DefWindowProcW(window, message, wParam, lParam) : DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CallProc(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return WideApi() ? CallWindowProcW(proc, window, message, wParam, lParam)
                   : CallWindowProcA(proc, window, message, wParam, lParam);
}

WNDPROC Subclass(HWND window, WNDPROC proc) {
  auto value = reinterpret_cast<LONG_PTR>(proc);
  return reinterpret_cast<WNDPROC>(WideApi() ? SetWindowLongPtrW(window, GWLP_WNDPROC, value)
                                             : SetWindowLongPtrA(window, GWLP_WNDPROC, value));
}

WNDPROC ClassProc(HWND window) {
  return reinterpret_cast<WNDPROC>(WideApi() ? GetClassLongPtrW(window, GCLP_WNDPROC)
                                             : GetClassLongPtrA(window, GCLP_WNDPROC));
}

BOOL GetMsg(MSG& msg) { return WideApi() ? GetMessageW(&msg, nullptr, 0, 0) : GetMessageA(&msg, nullptr, 0, 0); }

BOOL PeekMsg(MSG& msg, HWND window, UINT first, UINT last, UINT remove) {
  return WideApi() ? PeekMessageW(&msg, window, first, last, remove) : PeekMessageA(&msg, window, first, last, remove);
}

void Dispatch(const MSG& msg) {
  if (WideApi())
    DispatchMessageW(&msg);
  else
    DispatchMessageA(&msg);
}

BOOL DialogMessage(HWND window, MSG& msg) {
  return WideApi() ? IsDialogMessageW(window, &msg) : IsDialogMessageA(window, &msg);
}

BOOL TranslateKeys(HWND window, HACCEL keys, MSG& msg) {
  return WideApi() ? TranslateAcceleratorW(window, keys, &msg) : TranslateAcceleratorA(window, keys, &msg);
}

}  // namespace ui::win32
