// Figures for the moment of the action: the program with its real windows, clock, timers,
// tone and waits under Wine, and the power requests only recorded (so that Wine's session goes
// on). One measurement per run, chosen by the first argument; each prints "name value" lines.
//
//   firing_bench.exe delay             ms from the start of the target second to the countdown
//                                      window on screen (a 1-second countdown, then the action)
//   firing_bench.exe countdown beep|mute
//                                      s from the countdown window on screen to the action,
//                                      for a 30-second countdown, with or without beeps
//   firing_bench.exe schedule N        processor ms over N s of an active schedule
//   firing_bench.exe wait N            processor ms over a WaitSeconds of N s
//   firing_bench.exe busy              processor ms over 500 ms of busy work (a check of the
//                                      processor-time reading)
//
// The processor times are those Windows reports (GetProcessTimes); the measured span is also
// marked by the lines "measure_start" and "measure_end", so that the caller can read the time
// the host counts for the process over the same span.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "app/frmMain.h"
#include "os/win32/RealServices.h"
#include "platform/modWaitable.h"
#include "ui/Runtime.h"
#include "ui/win32/Backend.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Counter() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now;
}

// The local wall clock in milliseconds, on the same scale for "now" and for a civil time.
std::int64_t WallMs(const SYSTEMTIME& time) {
  FILETIME file;
  SystemTimeToFileTime(&time, &file);
  return ((static_cast<std::int64_t>(file.dwHighDateTime) << 32) | file.dwLowDateTime) / 10000;
}

std::int64_t NowWallMs() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return WallMs(now);
}

double ProcessorMs() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto ms = [](const FILETIME& f) { return ((static_cast<std::int64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 1e4; };
  return ms(kernel) + ms(user);
}

// The requests that would end the session, recorded with the moment they came.
struct RecordingUser32 : os::win32::User32 {
  LARGE_INTEGER at{};
  int requests = 0;
  std::int32_t ExitWindowsEx(std::uint32_t, std::uint32_t) override {
    at = Counter();
    ++requests;
    return 1;
  }
  std::int32_t LockWorkStation() override { return ExitWindowsEx(0, 0); }
};
struct RecordingPowrprof : os::win32::Powrprof {
  std::uint8_t SetSuspendState(std::uint8_t, std::uint8_t, std::uint8_t) override { return 1; }
};
struct CountingKernel32 : os::win32::Kernel32 {
  int beeps = 0;
  std::int32_t Beep(std::uint32_t frequency, std::uint32_t duration) override {
    ++beeps;
    return os::win32::Kernel32::Beep(frequency, duration);
  }
};

// Watches, from a thread of its own, for the countdown window to appear on screen.
class WarningWatch {
 public:
  WarningWatch()
      : thread_([this] {
          while (!stop_) {
            HWND window = FindWindowA(ui::win32::kFormClass, " Warning!");
            if (window && IsWindowVisible(window)) {
              shownWallMs_ = NowWallMs();
              shownAt_ = Counter();
              return;
            }
            Sleep(1);
          }
        }) {}
  ~WarningWatch() {
    stop_ = true;
    thread_.join();
  }
  std::int64_t ShownWallMs() const { return shownWallMs_; }
  LARGE_INTEGER ShownAt() const { return shownAt_; }

 private:
  std::atomic<bool> stop_{false};
  std::int64_t shownWallMs_ = 0;
  LARGE_INTEGER shownAt_{};
  std::thread thread_;
};

struct Program {
  Program() {
    backend.Attach(runtime);
    main.Initialize();
    main.Show();
    backend.PumpPending();
  }
  void ActivateInSeconds(int seconds, const std::string& countdown) {
    main.txtTimeout.SetText(countdown);
    SendMessageA(reinterpret_cast<HWND>(main.cboTimeUnit.hWnd()), CB_SETCURSEL, 2, 0);
    main.cboTimeUnit.SetListIndex(2);
    main.txtPeriod.SetText(std::to_string(seconds));
    SendMessageA(reinterpret_cast<HWND>(main.cmdActivate.hWnd()), BM_CLICK, 0, 0);
  }
  // Ends the program as it ends after an action, from inside its own loop.
  void End() {
    state.Control.End();
    if (main.ScheduleActive()) main.cmdActivate_Click();  // deactivated: the close asks nothing
    main.Unload();
  }

  os::win32::RealServices real;
  CountingKernel32 kernel32;
  RecordingUser32 user32;
  RecordingPowrprof powrprof;
  session::ProgramState state{os::ServicesOf(real, {.kernel32 = &kernel32, .user32 = &user32, .powrprof = &powrprof})};
  ui::win32::Backend backend{GetModuleHandleA(nullptr)};
  ui::Runtime runtime{backend};
  app::frmMain main{runtime, state};
};

Program* current = nullptr;
void CALLBACK EndProgram(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  std::printf("measure_end\n");
  current->End();
}

int Delay() {
  Program program;
  WarningWatch watch;
  program.ActivateInSeconds(5, "1");
  base::CivilTime target = base::ToCivil(program.state.TargetTime());
  program.backend.Run();
  SYSTEMTIME start{static_cast<WORD>(target.year), static_cast<WORD>(target.month), 0,
                   static_cast<WORD>(target.day), static_cast<WORD>(target.hour), static_cast<WORD>(target.minute),
                   static_cast<WORD>(target.second), 0};
  std::printf("delay_ms %lld\n", static_cast<long long>(watch.ShownWallMs() - WallMs(start)));
  std::printf("actions %d\n", program.user32.requests);
  return watch.ShownWallMs() > 0 && program.user32.requests == 1 ? 0 : 1;
}

int Countdown(bool beep) {
  Program program;
  program.main.mnu_beep.SetChecked(beep);
  WarningWatch watch;
  program.ActivateInSeconds(5, "30");
  program.backend.Run();
  std::printf("countdown_s %.3f\n", Seconds(watch.ShownAt(), program.user32.at));
  std::printf("beeps %d\n", program.kernel32.beeps);
  std::printf("actions %d\n", program.user32.requests);
  return watch.ShownWallMs() > 0 && program.user32.requests == 1 ? 0 : 1;
}

int Schedule(int seconds) {
  Program program;
  current = &program;
  program.main.cboTimeUnit.SetListIndex(0);
  SendMessageA(reinterpret_cast<HWND>(program.main.cmdActivate.hWnd()), BM_CLICK, 0, 0);  // in one hour
  double before = ProcessorMs();
  LARGE_INTEGER start = Counter();
  SetTimer(nullptr, 0, static_cast<UINT>(seconds * 1000), EndProgram);
  std::printf("measure_start\n");
  program.backend.Run();
  std::printf("schedule_wall_s %.3f\n", Seconds(start, Counter()));
  std::printf("schedule_cpu_ms %.1f\n", ProcessorMs() - before);
  return 0;
}

int Wait(int seconds) {
  Program program;
  double before = ProcessorMs();
  LARGE_INTEGER start = Counter();
  std::printf("measure_start\n");
  platform::WaitSeconds(program.state.os, program.runtime, seconds);
  std::printf("measure_end\n");
  std::printf("wait_wall_s %.3f\n", Seconds(start, Counter()));
  std::printf("wait_cpu_ms %.1f\n", ProcessorMs() - before);
  program.End();
  return 0;
}

int Busy() {
  double before = ProcessorMs();
  LARGE_INTEGER start = Counter();
  volatile std::uint64_t sum = 0;
  std::printf("measure_start\n");
  while (Seconds(start, Counter()) < 0.5) sum = sum + 1;
  std::printf("measure_end\n");
  std::printf("busy_cpu_ms %.1f\n", ProcessorMs() - before);
  Sleep(300);  // time for the caller to read the host's count before the process goes
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  std::string what = argc > 1 ? argv[1] : "";
  int n = argc > 2 ? std::atoi(argv[2]) : 60;
  if (what == "delay") return Delay();
  if (what == "countdown") return Countdown(argc > 2 && std::strcmp(argv[2], "beep") == 0);
  if (what == "schedule") return Schedule(n);
  if (what == "wait") return Wait(n);
  if (what == "busy") return Busy();
  std::fprintf(stderr, "usage: firing_bench delay | countdown beep|mute | schedule N | wait N | busy\n");
  return 2;
}
