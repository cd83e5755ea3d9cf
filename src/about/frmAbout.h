// The about box: the program's name, its version and the terms under which it may be passed
// on. Escape anywhere in it closes it.
#pragma once

#include "ui/Controls.h"
#include "ui/Form.h"

namespace about {

class frmAbout : public ui::Form {
 public:
  explicit frmAbout(ui::Runtime& runtime);

  ui::Image Image1{*this, "Image1"};
  ui::Label lblTitle{*this, "lblTitle"};
  ui::Label lblVersion{*this, "lblVersion"};
  ui::Label lbll{*this, "lbll"};
  ui::TextBox Text1{*this, "Text1"};

  void Form_Load();
  void Form_KeyDown(int& keyCode, int shift);
};

}  // namespace about
