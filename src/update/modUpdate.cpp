#include "update/modUpdate.h"

#include "base/Convert.h"
#include "session/Version.h"
#include "update/Site.h"

namespace update {

double ReadVersion(std::string_view text) { return base::DecimalVal(text); }

double OwnVersion() { return ReadVersion(session::VersionText()); }

void OpenWebPage(os::Shell32& shell32, const std::string& address) {
  shell32.ShellExecuteA(0, "Open", address, "", "", os::kSwShowMaximized);
}

}  // namespace update
