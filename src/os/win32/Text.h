// The texts the backends hand to Windows and take back. Above the backends every text is UTF-8
// (base/Utf8.h); Windows NT and its successors take UTF-16 through the W functions. Windows
// 95, 98 and Me have only stubs of most W functions: there the backends call the A functions
// with texts in the ANSI code page, and what the code page cannot hold is lost at that edge.
#pragma once

#include <string>
#include <string_view>

namespace boundary {

// True where the W functions work (the NT family); asked once.
bool WideApi();

// The text in the ANSI code page, each character the code page lacks as its best fit (an
// accent dropped) or "?". `exact` tells whether it reads back as the same text.
std::string ToCodePage(std::string_view utf8, bool* exact = nullptr);

// A text in the ANSI code page as UTF-8.
std::string FromCodePage(std::string_view ansi);

}  // namespace boundary
