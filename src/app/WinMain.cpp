// The program's entry point on Windows: the real services, the native backend, the main window.
// Built with QUENLAR_JOURNAL (quenlar-journal.exe, for the end-to-end runs), the power requests
// and the shell's program start go to a journal file instead (os/win32/Journal.h).
#include <windows.h>

#include "app/Commands.h"
#include "app/frmMain.h"
#ifdef QUENLAR_JOURNAL
#include "os/win32/Journal.h"
#else
#include "os/win32/RealServices.h"
#endif
#include "ui/Runtime.h"
#include "ui/win32/Backend.h"

// The command line WinMain is given is in the code page; the program reads its own in UTF-8
// from kernel32 (GetCommandLineW on the NT family), and hands it so to a running copy.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
#ifdef QUENLAR_JOURNAL
  os::win32::JournalServices services;
#else
  os::win32::RealServices services;
#endif
  session::ProgramState state(services.Services());
  // A copy that hands its switches to the running one, or refuses them, ends here: it makes
  // no window of its own.
  app::Start start = app::Begin(state);
  if (start.exitCode) return *start.exitCode;
  ui::win32::Backend backend(instance);
  ui::Runtime runtime(backend);
  backend.Attach(runtime);
  app::frmMain main(runtime, state);
  runtime.Dispatch([&main, &runtime, &start, &state] {
    main.Initialize();
    main.ShowAtStart();
    if (start.request && !runtime.Ended()) app::CarryOutAtStart(state, runtime, *start.request);
    if (!runtime.Ended()) main.RearmRemembered();
  });
  // A main window that could not be made (the error has been shown) leaves nothing to use:
  // end rather than linger unseen, holding the single-copy lock. One started quietly waits in
  // the tray.
  if (!runtime.Ended() && !main.Visible() && !state.TrayRecord.shown) runtime.End();
  if (!runtime.Ended()) backend.Run();
  return 0;
}
