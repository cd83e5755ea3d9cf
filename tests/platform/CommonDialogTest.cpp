#include "platform/KRUEM_CommonDialog.h"

#include <gtest/gtest.h>

#include "base/RuntimeError.h"
#include "os/fake/Comdlg32.h"
#include "support/Harness.h"

namespace {

using namespace std::string_literals;

class CommonDialogTest : public ::testing::Test {
 protected:
  os::fake::CallLog log;
  os::fake::Comdlg32 comdlg32{log};
  platform::CommonDialog dialog{comdlg32};
  std::vector<os::OpenFileName> Dialogs() { return testing_support::DialogsShown(log); }
};

TEST_F(CommonDialogTest, ASingleChoiceGivesTheFolderAndTheName) {
  comdlg32.dialogAnswers.push_back({"C:\\Media\\", "ring.wav"});
  platform::SelectedFile chosen = dialog.ShowOpen(0x1234, true);
  EXPECT_FALSE(chosen.Cancelled);
  EXPECT_EQ(chosen.FileCount, 1);
  EXPECT_EQ(chosen.FolderPath, "C:\\Media\\");
  EXPECT_EQ(chosen.FileNames, (std::vector<std::string>{"ring.wav"}));
  EXPECT_EQ(Dialogs()[0].hwndOwner, 0x1234u);
}

TEST_F(CommonDialogTest, AFileAtADriveRootHasOneBackslash) {
  comdlg32.dialogAnswers.push_back({"C:\\", "ring.wav"});
  EXPECT_EQ(dialog.ShowOpen(0, true).FolderPath, "C:\\");
}

TEST_F(CommonDialogTest, CancellingGivesNothing) {
  platform::SelectedFile chosen = dialog.ShowOpen(0, true);
  EXPECT_TRUE(chosen.Cancelled);
  EXPECT_EQ(chosen.FileCount, 0);
  EXPECT_TRUE(chosen.FolderPath.empty());
}

TEST_F(CommonDialogTest, TheNextDialogStartsWithTheLastNameAndRoomForALongAnswer) {
  comdlg32.dialogAnswers.push_back({"C:\\Media\\", "ring.wav"});
  dialog.ShowOpen(0, true);
  dialog.ShowOpen(0, true);
  ASSERT_EQ(Dialogs().size(), 2u);
  EXPECT_EQ(Dialogs()[0].lpstrFile, "");
  EXPECT_EQ(Dialogs()[1].lpstrFile, "C:\\Media\\ring.wav");
  EXPECT_GE(Dialogs()[1].nMaxFile, Dialogs()[1].lpstrFile.size() + 2047);
}

TEST_F(CommonDialogTest, SeveralNamesAreSplitAfterTheFolder) {
  struct Several : os::Comdlg32 {
    std::string answer;
    std::int32_t GetOpenFileNameA(os::OpenFileName& ofn) override {
      ofn.lpstrFile = answer;
      ofn.lpstrFileTitle = "";
      return 1;
    }
  } several;
  several.answer = "C:\\Media\0one.wav\0two.mp3\0\0"s;
  platform::CommonDialog dialog(several);
  platform::SelectedFile chosen = dialog.ShowOpen(0, true);
  EXPECT_EQ(chosen.FolderPath, "C:\\Media\\");
  EXPECT_EQ(chosen.FileNames, (std::vector<std::string>{"one.wav", "two.mp3"}));
  EXPECT_EQ(chosen.FileCount, 2);

  several.answer = "C:\\Media"s + '\0';
  for (int i = 0; i < 201; ++i) several.answer += "f" + std::to_string(i) + '\0';
  EXPECT_THROW(dialog.ShowOpen(0, true), base::RuntimeError);
}

}  // namespace
