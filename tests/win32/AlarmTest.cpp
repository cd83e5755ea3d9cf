// The alarm window on the native backend, playing a real WAV file through DirectShow on the
// prefix's silent sound device.
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>

#include "Win32Fixture.h"
#include "alarm/frmAlarm.h"
#include "app/frmMain.h"
#include "os/win32/Quartz.h"
#include "os/win32/User32.h"

namespace {

using win32_testing::H;
using win32_testing::TextOf;

// Half a second of a 440 Hz square wave, 8000 samples a second, 8 bits, mono.
std::string MakeWav(const std::string& folder) {
  const std::uint32_t rate = 8000, samples = rate / 2;
  std::string data;
  for (std::uint32_t i = 0; i < samples; ++i) data += static_cast<char>((i * 440 * 2 / rate) % 2 ? 0xC0 : 0x40);
  auto number = [](std::uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
  };
  std::string wav = "RIFF" + number(36 + samples, 4) + "WAVE" + "fmt " + number(16, 4) + number(1, 2) + number(1, 2) +
                    number(rate, 4) + number(rate, 4) + number(1, 2) + number(8, 2) + "data" + number(samples, 4) + data;
  std::string path = folder + "quenlar-alarm-tune.wav";
  std::ofstream(path, std::ios::binary) << wav;
  return path;
}

std::string TempFolder() {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  return folder;
}

// The real quartz, noting what each call answered and how many interfaces the program holds.
class WatchedQuartz : public os::Quartz {
 public:
  std::map<std::string, std::int32_t> answers;
  int held = 0;

  os::FilgraphManager CreateFilgraphManager() override {
    os::FilgraphManager real = real_.CreateFilgraphManager();
    os::FilgraphManager watched;
    if (real.control) watched.control = std::make_unique<Control>(*this, std::move(real.control));
    if (real.audio) watched.audio = std::make_unique<Audio>(*this, std::move(real.audio));
    if (real.position) watched.position = std::make_unique<Position>(*this, std::move(real.position));
    return watched;
  }

 private:
  template <typename Interface>
  struct Watched : Interface {
    Watched(WatchedQuartz& quartz, std::unique_ptr<Interface> real) : quartz(quartz), real(std::move(real)) {
      ++quartz.held;
    }
    ~Watched() override { --quartz.held; }
    std::int32_t Note(const std::string& call, std::int32_t answer) { return quartz.answers[call] = answer; }
    WatchedQuartz& quartz;
    std::unique_ptr<Interface> real;
  };
  struct Control : Watched<os::IMediaControl> {
    using Watched::Watched;
    std::int32_t RenderFile(const std::string& name) override { return Note("RenderFile", real->RenderFile(name)); }
    std::int32_t Run() override { return Note("Run", real->Run()); }
    std::int32_t Stop() override { return Note("Stop", real->Stop()); }
  };
  struct Position : Watched<os::IMediaPosition> {
    using Watched::Watched;
    std::int32_t put_CurrentPosition(double s) override { return Note("put_CurrentPosition", real->put_CurrentPosition(s)); }
  };
  struct Audio : Watched<os::IBasicAudio> {
    using Watched::Watched;
  };
  os::win32::Quartz real_;
};

class NativeAlarm : public win32_testing::Win32Test {
 protected:
  // As long as the message box takes: 65 characters.
  static constexpr const char* kLongMessage = "Leave for the airport now: the taxi waits at the front door at 6!";
  NativeAlarm() {
    main.Initialize();
    main.Show();
    Pump();
  }
  ~NativeAlarm() override {
    if (!runtime.Ended()) {
      shared.Control.End();
      if (alarm.IsLoaded()) alarm.Unload();
      main.Unload();
    }
    if (!tune.empty()) DeleteFileA(tune.c_str());
  }
  // The trigger's part: the message and the file set and activated, the main window hidden,
  // the alarm shown.
  void Fire(const std::string& message, const std::string& file) {
    main.txtMessage.SetText(message);
    if (!file.empty()) {
      main.txtAlarmF.SetText(file);
      main.chkAlarmF.SetValue(1);
    }
    std::string refusal;
    shared.Control.Activate(main.ScheduleFromWindow(fake.kernel32.GetLocalTime()), refusal);
    main.Hide();
    shared.Control.End();
    alarm.Show();
    Pump(100);
  }
  // Keeps the window up while QUENLAR_SHOWCASE_MS asks for it, so that a picture can be taken.
  void Showcase() {
    if (const char* ms = std::getenv("QUENLAR_SHOWCASE_MS")) Pump(std::atoi(ms));
  }
  std::string StatusText() {
    char text[512] = {};
    SendMessageA(H(alarm.stsBar), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return text;
  }
  std::string StatusTip() { return win32_testing::ToolTipOf(H(alarm.stsBar), 1); }

  WatchedQuartz quartz;
  os::win32::User32 user32;
  session::ProgramState shared{os::ServicesOf(fake, {.user32 = &user32, .quartz = &quartz})};
  app::frmMain main{runtime, shared};
  app::alarm::frmAlarm alarm{runtime, shared};
  std::string tune;
};

TEST_F(NativeAlarm, PlaysTheFileOnTopAndCloseStopsReleasesAndEnds) {
  tune = MakeWav(TempFolder());
  Fire(kLongMessage, tune);
  EXPECT_EQ(TextOf(alarm.hWnd()), ":: Quenlar 1.3 - Alarm ::");
  EXPECT_EQ(TextOf(alarm.lblAlarmM.hWnd()), kLongMessage);
  EXPECT_EQ(StatusText(), "File to Play : quenlar-alarm-tune.wav");
  EXPECT_EQ(StatusTip(), "File Path = " + tune);
  EXPECT_EQ(quartz.answers["RenderFile"], 0) << "the silent device plays the WAV";
  EXPECT_GE(quartz.answers["Run"], 0);
  EXPECT_EQ(quartz.answers["put_CurrentPosition"], 0);
  EXPECT_EQ(quartz.held, 3);
  EXPECT_TRUE(GetWindowLongA(H(alarm), GWL_EXSTYLE) & WS_EX_TOPMOST);

  // As wide as the message needs, centred on the screen; the button's left edge half the
  // window's width from the client area's, less half its own.
  RECT window, button;
  GetWindowRect(H(alarm), &window);
  GetWindowRect(H(alarm.cmdOk), &button);
  POINT client{0, 0};
  ClientToScreen(H(alarm), &client);
  const int width = window.right - window.left;
  EXPECT_EQ(width, std::lround((alarm.lblAlarmM.Width() + 1300) / 15.0));
  EXPECT_NEAR(window.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2.0, 1);
  EXPECT_NEAR((button.left + button.right) / 2.0, client.x + width / 2.0, 1);
  Showcase();

  SendMessageA(H(alarm.cmdOk), BM_CLICK, 0, 0);
  EXPECT_EQ(quartz.answers["Stop"], 0);
  EXPECT_EQ(quartz.held, 0) << "the playback object is released";
  EXPECT_EQ(fake.log.Count<os::fake::files::ReplaceFileContents>(), 2u) << "the alarm's save and the unload's";
  EXPECT_TRUE(runtime.Ended());
}

TEST_F(NativeAlarm, WithoutAFileItSaysSoAndTheCloseBoxEndsAllTheSame) {
  Fire("Wake up", "");
  EXPECT_EQ(StatusText(), "Media File Not Loaded");
  EXPECT_EQ(StatusTip(), "");
  EXPECT_TRUE(quartz.answers.empty());
  Showcase();
  SendMessageA(H(alarm), WM_CLOSE, 0, 0);
  EXPECT_TRUE(runtime.Ended());
}

}  // namespace
