// What the update check reads and compares (the version number in the fetched text and the
// program's own), and opening the site's pages.
#pragma once

#include <string>
#include <string_view>

#include "os/Shell32.h"

namespace update {

// The leading number of the version file's text: blanks, tabs and line feeds are skipped (also
// inside the number), then an optional sign, digits and at most one full stop. A text that does
// not begin with a number, the empty one included, reads as 0. "1.4.2" reads 1.4.
double ReadVersion(std::string_view text);

// This program's version as a number (1.3); versions compare as decimal numbers, so 1.10 is
// lower than 1.3.
double OwnVersion();

// Opens a web address in the user's browser, maximised. Whether it opened is not reported: a
// page that cannot be shown (no browser, no network) is the browser's to tell.
void OpenWebPage(os::Shell32& shell32, const std::string& address);

}  // namespace update
