// Shared by the real services: handles between the program's type and Windows', and functions
// looked up at run time in a system library, for those some supported Windows versions lack.
#pragma once

#include <windows.h>

#include <string>

#include "base/RuntimeError.h"
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

}  // namespace os::win32
