// The names the system's language gives the months and the halves of the day, for the
// program's date and time texts.
#pragma once

#include "base/DateTime.h"
#include "os/Kernel32.h"

namespace platform {

// The user's language's abbreviated month names and AM/PM designators; where the language
// has no designators (it writes the day in 24 hours), the English ones stand.
base::LocaleNames ReadLocaleNames(os::Kernel32& kernel32);

}  // namespace platform
