// Shared by the real services: handles between the program's type and Windows', and functions
// looked up at run time in a system library, for those some supported Windows versions lack.
// The services' texts are UTF-8. On the NT family they go to the W functions in UTF-16; on
// Windows 95, 98 and Me to the A functions in the ANSI code page (os/win32/Text.h). The W
// functions are looked up when called (WIDE below): some of them are missing from those
// systems' libraries altogether, and a missing import would keep the program from starting.
#pragma once

#include <windows.h>

#include <string>

#include "base/RuntimeError.h"
#include "base/Utf8.h"
#include "os/win32/Text.h"
#include "os/Types.h"

namespace os::win32 {

inline HANDLE ToHandle(Handle h) { return reinterpret_cast<HANDLE>(h); }
inline Handle FromHandle(HANDLE h) { return reinterpret_cast<Handle>(h); }

// The system folder; empty when Windows cannot say.
std::string SystemFolder();

// Loads a system library from the system folder only (never one that lies beside the
// program), once; nullptr when it cannot be loaded.
HMODULE SystemLibrary(const char* library);

// The function `name` of a system library; a missing one is a run-time error.
template <typename Function>
Function Resolve(const char* library, const char* name) {
  HMODULE module = SystemLibrary(library);
  FARPROC address = module ? GetProcAddress(module, name) : nullptr;
  if (!address)
    throw base::RuntimeError(base::kFunctionNotAvailable,
                             std::string("Can't find DLL entry point ") + name + " in " + library);
  return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

// A W function of a system library, looked up when called: WIDE("kernel32.dll", CreateFileW).
#define WIDE(library, function) ::os::win32::Resolve<decltype(&::function)>(library, #function)

// A text for a W function, and one that came back from it, up to its first NUL.
inline std::wstring Wide(std::string_view utf8) { return base::Utf16(utf8); }
inline std::string FromWide(const wchar_t* text) { return base::Utf8(text ? text : L""); }

// A text for an A function, in the ANSI code page.
inline std::string Ansi(std::string_view utf8) { return boundary::ToCodePage(utf8); }

}  // namespace os::win32
