// The alarm window: the user's message in bold type, the chosen media file playing once, the
// file's name in the status bar. It stays above every other window, takes the tray icon away,
// and closing it saves the settings and ends the program.
//
// The subsystem's namespace lies inside app's: a namespace called alarm beside the C library's
// alarm() function cannot be declared where <unistd.h> is seen.
#pragma once

#include <cstdint>
#include <string>

#include "os/Quartz.h"
#include "session/ProgramState.h"
#include "ui/Controls.h"
#include "ui/Form.h"

namespace app::alarm {

// One part of a file path: 0 the text after the path's last "." (empty without one); 1 the
// file name up to its first "."; 2 the file name, after the last "\" (the whole path without
// one); 3 the path with every occurrence of the file name taken out, which for an ordinary
// path is its folder with the "\"; any other part, nothing.
std::string GetFilePart(const std::string& path, std::int32_t part);

class frmAlarm : public ui::Form {
 public:
  // Reads the message and the media file from the schedule when it loads.
  frmAlarm(ui::Runtime& runtime, session::ProgramState& state);

  // Starts playing the file from its beginning; each step that fails is left out silently.
  void PlayMedia(const std::string& path);

  ui::Image img{*this, "img"};
  ui::Label lblAlarmM{*this, "lblAlarmM"};
  ui::CommandButton cmdOk{*this, "cmdOk"};
  ui::StatusBar stsBar{*this, "stsBar", 1};

  void Form_Load();
  void Form_Activate();
  void Form_Unload(int& cancel);
  void lblAlarmM_Change();
  void cmdOk_Click();

 private:
  session::MainWindow& Main();
  void LayOut();

  session::ProgramState& state_;
  int designWidth_ = 0;  // the window's outer width as designed, in twips
  // The playback object, through its three interfaces, from PlayMedia until the window unloads
  // (or the object goes, whichever comes first).
  os::FilgraphManager media_;
};

}  // namespace app::alarm
