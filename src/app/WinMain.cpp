// The program's entry point on Windows: the real services, the native backend, the main window.
#include <windows.h>

#include "app/frmMain.h"
#include "os/win32/RealServices.h"
#include "ui/Runtime.h"
#include "ui/win32/Backend.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  os::win32::RealServices services;
  app::ProgramState state(services.Services());
  ui::win32::Backend backend(instance);
  ui::Runtime runtime(backend);
  backend.Attach(runtime);
  app::frmMain main(runtime, state);
  runtime.Dispatch([&main] {
    main.Initialize();
    main.Show();
  });
  // A main window that could not be made (the error has been shown) leaves nothing to use:
  // end rather than linger unseen, holding the single-copy lock.
  if (!runtime.Ended() && !main.Visible()) runtime.End();
  if (!runtime.Ended()) backend.Run();
  return 0;
}
