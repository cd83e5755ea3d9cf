// The main window's part in starting with Windows: the Settings menu's tick, the entry it
// writes, and the quiet start at logon.
#include "app/frmMain.h"
#include "platform/StartWithWindows.h"
#include "ui/Runtime.h"

namespace app {

void frmMain::ShowAtStart() {
  Load();
  if (!IsLoaded() || GetRuntime().Ended()) return;
  if (StartedWithWindows() && RepeatRemembered()) {
    StartQuietly();
  } else {
    Show();
  }
}

void frmMain::StartQuietly() { AddTrayIcon(); }

void frmMain::ShowStartWithWindows() { mnu_startwin.SetChecked(platform::StartsWithWindows(os_)); }

bool frmMain::SetStartWithWindows(bool on) {
  std::string reason;
  const bool done = platform::SetStartWithWindows(os_, on, reason);
  // The tick says what the registry holds now, whatever the outcome.
  ShowStartWithWindows();
  if (!done)
    GetRuntime().MsgBox(std::string(on ? "Quenlar could not add itself to the programs Windows starts at logon."
                                       : "Quenlar could not take itself off the programs Windows starts at logon.") +
                            "\r\n\r\n" + reason,
                        ui::mb::kExclamation);
  return done;
}

void frmMain::mnu_startwin_Click() { SetStartWithWindows(!mnu_startwin.Checked()); }

bool frmMain::EnsureStartsWithWindows() {
  ShowStartWithWindows();
  if (mnu_startwin.Checked()) return false;
  return SetStartWithWindows(true) && mnu_startwin.Checked();
}

}  // namespace app
