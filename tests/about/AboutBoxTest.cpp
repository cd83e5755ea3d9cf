// The about box, opened from the main window.
#include "about/frmAbout.h"
#include "support/Harness.h"

namespace {

using testing_support::MainWindowTest;

class AboutBox : public MainWindowTest {
 protected:
  void SetUp() override { Start(); }
};

TEST_F(AboutBox, F1OpensItOverTheMainWindowWithTheVersionAndEscapeInTheTextBoxClosesIt) {
  bool ran = false;
  backend.WhileModal([&](ui::Form& form) {
    ran = true;
    auto& box = dynamic_cast<about::frmAbout&>(form);
    EXPECT_EQ(box.Caption(), "About");
    EXPECT_EQ(box.Owner(), &M());
    EXPECT_FALSE(runtime.TakesInput(M()));
    EXPECT_EQ(box.lblVersion.Caption(), "Version : 1.3");
    EXPECT_TRUE(box.Text1.MultiLine);
    EXPECT_TRUE(box.Text1.Locked());
    ASSERT_TRUE(backend.Focus(box.Text1));
    for (int key : {ui::vbKeyReturn, ui::vbKeyTab, int{'A'}, ui::vbKeyF4})
      backend.KeyDown(box, key);
    EXPECT_TRUE(box.IsLoaded()) << "only Escape closes the box";
    EXPECT_EQ(box.ActiveControl(), &box.Text1);
    ASSERT_TRUE(backend.KeyDown(box, ui::vbKeyEscape));
    EXPECT_FALSE(box.IsLoaded());
  });
  ASSERT_TRUE(backend.Press(M(), ui::Shortcut::F(1)));
  EXPECT_TRUE(ran);
  EXPECT_TRUE(runtime.TakesInput(M()));
  EXPECT_EQ(runtime.ActiveForm(), &M());
}

}  // namespace
