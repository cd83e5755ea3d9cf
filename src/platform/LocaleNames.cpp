#include "platform/LocaleNames.h"

namespace platform {

base::LocaleNames ReadLocaleNames(os::Kernel32& kernel32) {
  base::LocaleNames names;
  for (std::uint32_t i = 0; i < 12; ++i) {
    std::string month = kernel32.GetLocaleInfoA(os::kLocaleUserDefault, os::kLocaleSAbbrevMonthName1 + i);
    if (!month.empty()) names.monthAbbreviations[i] = month;
  }
  // Languages that write the day in 24 hours have no designators; the 12-hour clock then
  // still needs to tell morning from evening.
  std::string am = kernel32.GetLocaleInfoA(os::kLocaleUserDefault, os::kLocaleS1159);
  std::string pm = kernel32.GetLocaleInfoA(os::kLocaleUserDefault, os::kLocaleS2359);
  if (!am.empty() && !pm.empty()) {
    names.am = am;
    names.pm = pm;
  }
  return names;
}


}  // namespace platform
