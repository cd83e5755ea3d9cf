#include "alarm/frmAlarm.h"

#include <algorithm>

#include "base/Convert.h"
#include "platform/TopMost.h"
#include "session/Version.h"
#include "tray/modNewIcon.h"
#include "ui/Error.h"

namespace app::alarm {
namespace {

constexpr const char* kNotLoaded = "Media File Not Loaded";
const ui::Font kMessageFont{"Arial", 9.75, true};
constexpr int kWidthBesideMessage = 1300;

// What an object variable refers to (an interface the playback object may lack, the main
// window); using an empty one is the error of an object not set.
template <typename Pointer>
auto& Held(const Pointer& held) {
  if (!held) throw ui::RuntimeError(base::kObjectNotSet, "Object variable or With block variable not set");
  return *held;
}

}  // namespace

std::string GetFilePart(const std::string& path, std::int32_t part) {
  std::size_t slash = path.rfind('\\');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  switch (part) {
    case 0: {
      std::size_t dot = path.rfind('.');
      return dot == std::string::npos ? std::string() : path.substr(dot + 1);
    }
    case 1:
      return name.substr(0, name.find('.'));
    case 2:
      return name;
    case 3: {
      if (name.empty()) return path;
      std::string rest;
      for (std::size_t at = 0;;) {
        std::size_t found = path.find(name, at);
        rest += path.substr(at, found == std::string::npos ? std::string::npos : found - at);
        if (found == std::string::npos) return rest;
        at = found + name.size();
      }
    }
    default:
      return {};
  }
}

frmAlarm::frmAlarm(ui::Runtime& runtime, session::ProgramState& state) : ui::Form(runtime, "frmAlarm"), state_(state) {
  SetCaption("Alarm Message");
  SetIcon("IDI_MAIN");
  BackColor = ui::Rgb(224, 224, 224);
  BorderStyle = ui::BorderStyle::FixedDialog;
  MinButton = MaxButton = false;
  StartUpPosition = ui::StartUpPosition::CenterScreen;
  SetClientSize(2835, 1605);

  img.Move(225, 248, 510, 510);
  img.SetPicture("IDI_INFO");
  lblAlarmM.SetFont(kMessageFont);
  lblAlarmM.Move(945, 375, 1635, 240);
  lblAlarmM.SetCaption("Alarm Message...");
  lblAlarmM.SetUseMnemonic(false);  // the user's message, every "&" as typed
  lblAlarmM.SetAutoSize(true);
  cmdOk.SetCaption("Close");
  cmdOk.Move((2835 - 1245) / 2, 800, 1245, 375);
  stsBar.Move(0, 1305, 2835, 300);
  designWidth_ = Width();

  LoadEvent = [this] { Form_Load(); };
  Activate = [this] { Form_Activate(); };
  UnloadEvent = [this](int& cancel) { Form_Unload(cancel); };
  lblAlarmM.Change = [this] { lblAlarmM_Change(); };
  DpiChanged = [this](int) { LayOut(); };  // the message measured anew
  cmdOk.Click = [this] { cmdOk_Click(); };
}

session::MainWindow& frmAlarm::Main() { return Held(state_.main); }

// Everything happens before the window first shows. Playback problems pass in silence; any
// other failure leaves the note that nothing plays, and the window goes at once.
void frmAlarm::Form_Load() {
  try {
    SetCaption(":: Quenlar " + session::VersionText() + " - Alarm ::");
    Main();  // the window goes with the main one: without it, there is no alarm to show
    const schedule::Schedule& alarm = state_.Control.Schedule();
    if (alarm.playSound) {
      const std::string& path = alarm.soundFile;
      PlayMedia(path);
      stsBar.SetPanelText(1, "File to Play : " + GetFilePart(path, 2));
      stsBar.SetPanelToolTipText(1, "File Path = " + path);
    } else {
      stsBar.SetPanelText(1, kNotLoaded);
      stsBar.SetPanelToolTipText(1, "");
    }
    ui::EachStatement({[&] { tray::DeleteIcon(state_.os.shell32, state_.TrayRecord); }});
    lblAlarmM.SetCaption(alarm.message);
    LayOut();  // also for a message that is the label's own text already
  } catch (const std::exception&) {
    ui::EachStatement({
        [&] { stsBar.SetPanelText(1, kNotLoaded); },
        [&] { stsBar.SetPanelToolTipText(1, ""); },
        [&] { Unload(); },
    });
  }
}

void frmAlarm::Form_Activate() { platform::SetTopMost(state_.os.user32, *this, true); }

void frmAlarm::PlayMedia(const std::string& path) {
  ui::EachStatement({
      [&] { media_ = state_.os.quartz.CreateFilgraphManager(); },
      [&] { Held(media_.control).RenderFile(path); },
      [&] { Held(media_.control).Run(); },
      [&] { Held(media_.position).put_CurrentPosition(0); },
  });
}

void frmAlarm::lblAlarmM_Change() { LayOut(); }

// The window is as wide as the message needs, never narrower than designed (its title and the
// status bar's text need that room), the Close button in its middle.
void frmAlarm::LayOut() {
  SetWidth(std::max(designWidth_, lblAlarmM.Width() + kWidthBesideMessage));
  float left = static_cast<float>(Width()) / 2.0f - static_cast<float>(cmdOk.Width()) / 2.0f;
  cmdOk.SetLeft(base::CLng(left));
}

void frmAlarm::cmdOk_Click() {
  Main().SaveSett(state_.SettingsPath());
  Unload();
}

void frmAlarm::Form_Unload(int& /*cancel*/) {
  ui::EachStatement({
      [&] { Held(media_.control).Stop(); },
      [&] { platform::SetTopMost(state_.os.user32, *this, false); },
      [&] { state_.Control.Done(); },
      [&] { Main().Unload(); },
      [&] { media_ = {}; },
  });
}

}  // namespace app::alarm
