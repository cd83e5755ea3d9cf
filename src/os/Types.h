// The plain types every operating-system service shares. Texts are UTF-8 (the backends turn
// them into what Windows takes); handles are opaque numbers.
#pragma once

#include <cstdint>

namespace os {

using Handle = std::uintptr_t;
using HWnd = std::uintptr_t;

constexpr std::uint32_t kInfinite = 0xFFFFFFFF;  // a wait without a time limit
// What a wait gives: the (first) object signalled, the time run out, or a failure.
constexpr std::uint32_t kWaitObject0 = 0;
constexpr std::uint32_t kWaitTimeout = 258;
constexpr std::uint32_t kWaitFailed = 0xFFFFFFFF;

}  // namespace os
