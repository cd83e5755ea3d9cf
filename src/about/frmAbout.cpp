#include "about/frmAbout.h"

#include "session/Version.h"

namespace about {

frmAbout::frmAbout(ui::Runtime& runtime) : ui::Form(runtime, "frmAbout") {
  SetCaption("About");
  SetIcon("IDI_MAIN");
  BorderStyle = ui::BorderStyle::FixedDialog;
  MinButton = MaxButton = false;
  ShowInTaskbar = false;
  StartUpPosition = ui::StartUpPosition::CenterOwner;
  KeyPreview = true;  // Escape closes the box whichever control has the focus
  SetClientSize(4245, 1995);

  Image1.SetPicture("IDI_MAIN");
  Image1.Move(150, 150, 480, 480);
  lblTitle.SetFont(ui::Font{"MS Sans Serif", 8.25, true});
  lblTitle.Move(750, 150, 2895, 195);
  lblVersion.SetCaption("Version : ");
  lblVersion.Move(750, 375, 2355, 195);
  lbll.SetCaption("Made by the Quenlar developers.");
  lbll.Move(150, 700, 4335, 195);
  Text1.MultiLine = true;
  Text1.SetLocked(true);
  Text1.SetText(" \r\n\r\n\r\n\r\n");
  Text1.Move(135, 980, 3975, 885);

  LoadEvent = [this] { Form_Load(); };
  KeyDown = [this](int& keyCode, int shift) { Form_KeyDown(keyCode, shift); };
}

void frmAbout::Form_Load() { lblVersion.SetCaption("Version : " + session::VersionText()); }

void frmAbout::Form_KeyDown(int& keyCode, int /*shift*/) {
  if (keyCode != ui::vbKeyEscape) return;
  Unload();
  keyCode = 0;  // used up: the box has gone
}

}  // namespace about
