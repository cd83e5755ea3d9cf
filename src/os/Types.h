// The plain types every operating-system service shares. Texts are in the ANSI code page;
// handles are opaque numbers.
#pragma once

#include <cstdint>

namespace os {

using Handle = std::uintptr_t;
using HWnd = std::uintptr_t;

constexpr std::uint32_t kInfinite = 0xFFFFFFFF;  // a wait without a time limit

}  // namespace os
