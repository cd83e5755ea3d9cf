#include "platform/FileOpenDialog.h"

#include <gtest/gtest.h>

#include "base/RuntimeError.h"
#include "support/Harness.h"

namespace {

namespace user32 = os::fake::user32;
using os::fake::Calls;
using Answer = os::fake::Comdlg32::DialogAnswer;

class CommonDialogTest : public ::testing::Test, public testing_support::Harness {
 protected:
  static constexpr os::HWnd kOwner = 0x1234;
  static constexpr os::HWnd kDialog = os::fake::Comdlg32::kDialogWindow;
  platform::CommonDialog dialog{fake.Services()};
  std::vector<os::OpenFileName> Dialogs() { return testing_support::DialogsShown(fake.log); }
};

TEST_F(CommonDialogTest, ASingleChoiceGivesTheFolderAndTheName) {
  fake.comdlg32.dialogAnswers.push_back({"C:\\Media\\", "ring.wav"});
  platform::SelectedFile chosen = dialog.ShowOpen(kOwner, true);
  EXPECT_FALSE(chosen.Cancelled);
  EXPECT_EQ(chosen.FileCount, 1);
  EXPECT_EQ(chosen.FolderPath, "C:\\Media\\");
  EXPECT_EQ(chosen.FileNames, (std::vector<std::string>{"ring.wav"}));
  const os::OpenFileName shown = Dialogs()[0];
  EXPECT_EQ(shown.lStructSize, 76u);
  EXPECT_EQ(shown.hwndOwner, kOwner);
  EXPECT_EQ(shown.Flags, 0x4u | 0x1000u | 0x80000u | 0x200000u);
  EXPECT_EQ(shown.lpstrFileTitle, std::string(2048, ' '));
  EXPECT_EQ(shown.nMaxFileTitle, 2048u);

  fake.comdlg32.dialogAnswers.push_back({"C:\\", "ring.wav"});
  EXPECT_EQ(dialog.ShowOpen(kOwner, true).FolderPath, "C:\\") << "a drive's root keeps one backslash";
}

TEST_F(CommonDialogTest, CancellingGivesNothing) {
  platform::SelectedFile chosen = dialog.ShowOpen(kOwner, true);
  EXPECT_TRUE(chosen.Cancelled);
  EXPECT_EQ(chosen.FileCount, 0);
  EXPECT_TRUE(chosen.FileNames.empty());
  EXPECT_TRUE(chosen.FolderPath.empty());
}

TEST_F(CommonDialogTest, TheNextDialogStartsWithTheLastNameAndRoomForALongAnswer) {
  fake.comdlg32.dialogAnswers.push_back({"C:\\Media\\", "ring.wav"});
  dialog.ShowOpen(kOwner, true);
  dialog.ShowOpen(kOwner, true);  // cancelled: the name stays
  dialog.ShowOpen(kOwner, true);
  ASSERT_EQ(Dialogs().size(), 3u);
  EXPECT_EQ(Dialogs()[0].lpstrFile, "");
  EXPECT_EQ(Dialogs()[1].lpstrFile, "C:\\Media\\ring.wav");
  EXPECT_EQ(Dialogs()[2].lpstrFile, "C:\\Media\\ring.wav");
  EXPECT_GE(Dialogs()[1].nMaxFile, Dialogs()[1].lpstrFile.size() + 2047);
}

TEST_F(CommonDialogTest, SeveralNamesAreSplitAfterTheFolderUpToTwoHundred) {
  fake.comdlg32.dialogAnswers.push_back({"C:\\Media\\", "one.wav", {"two.mp3"}});
  platform::SelectedFile chosen = dialog.ShowOpen(kOwner, true);
  EXPECT_EQ(chosen.FolderPath, "C:\\Media\\");
  EXPECT_EQ(chosen.FileNames, (std::vector<std::string>{"one.wav", "two.mp3"}));
  EXPECT_EQ(chosen.FileCount, 2);
  EXPECT_FALSE(chosen.Cancelled);

  fake.comdlg32.dialogAnswers.push_back({"C:\\", "a.wav", {"b.wav"}});
  EXPECT_EQ(dialog.ShowOpen(kOwner, true).FolderPath, "C:\\");

  std::vector<std::string> more;
  for (int i = 2; i <= 200; ++i) more.push_back("f" + std::to_string(i) + ".wav");
  fake.comdlg32.dialogAnswers.push_back({"C:\\Media\\", "f1.wav", more});
  EXPECT_EQ(dialog.ShowOpen(kOwner, true).FileCount, 200);
  more.push_back("f201.wav");
  fake.comdlg32.dialogAnswers.push_back({"C:\\Media\\", "f1.wav", more});
  EXPECT_THROW(dialog.ShowOpen(kOwner, true), base::RuntimeError);
}

TEST_F(CommonDialogTest, TheCentreIsTakenToTheNearestPixelAHalfToTheEvenOne) {
  auto left = [](std::int32_t areaLeft, std::int32_t areaWidth, std::int32_t width) {
    return platform::CenterOver({areaLeft, 0, areaLeft + areaWidth, 10}, {0, 0, width, 10}).left;
  };
  EXPECT_EQ(left(100, 800, 400), 300);
  EXPECT_EQ(left(0, 801, 400), 200);   // 200.5
  EXPECT_EQ(left(1, 801, 400), 202);   // 201.5
  EXPECT_EQ(left(0, 800, 401), 200);   // 199.5
  EXPECT_EQ(left(-300, 200, 3), -202);  // -201.5
  EXPECT_EQ(left(-3, 2, 5), -4);       // -4.5
  EXPECT_EQ(left(0, 300, 500), -100);  // a dialog wider than its owner
  EXPECT_EQ(platform::CenterOver({0, 50, 10, 651}, {7, 7, 9, 308}), (os::Rect{4, 200, 6, 501}));
}

TEST_F(CommonDialogTest, TheDialogIsCentredOverItsOwnerOnceByAHookForThisThread) {
  fake.user32.windowRects[kOwner] = {100, 40, 900, 640};
  fake.comdlg32.dialogWidth = 400;
  fake.comdlg32.dialogHeight = 301;
  dialog.ShowOpen(kOwner, true);
  EXPECT_EQ(fake.log.Of<user32::SetWindowsHookExA>(),
            (std::vector{user32::SetWindowsHookExA{5, fake.user32.windowInstance, fake.kernel32.threadId}}));
  EXPECT_EQ(fake.log.Of<user32::GetWindowLongA>(), (std::vector{user32::GetWindowLongA{kOwner, -6}}));
  EXPECT_EQ(fake.log.Only<user32::SetWindowPos>(), (Calls{user32::SetWindowPos{kDialog, 0, 300, 190, 0, 0, 0x15}}));
  EXPECT_EQ(fake.comdlg32.lastDialogRect, (os::Rect{300, 190, 700, 491})) << "340 - 150.5 is 189.5";
  EXPECT_EQ(fake.log.Count<user32::UnhookWindowsHookEx>(), 1u);
  EXPECT_EQ(fake.user32.InstalledHooks(), 0u);
  fake.user32.ActivateWindow(kDialog);
  EXPECT_EQ(fake.log.Count<user32::SetWindowPos>(), 1u) << "one-shot";
}

TEST_F(CommonDialogTest, OrOnTheScreen) {
  fake.user32.windowRects[kOwner] = {100, 40, 900, 640};
  dialog.ShowOpen(kOwner, false);
  EXPECT_EQ(fake.log.Only<user32::SetWindowPos>(), (Calls{user32::SetWindowPos{kDialog, 0, 425, 367, 0, 0, 0x15}}));
}

TEST_F(CommonDialogTest, AHookThatSawNoDialogWaitsForTheNextActivationAndPassesOtherEventsOn) {
  std::vector<std::int32_t> earlier;
  fake.user32.SetWindowsHookExA(
      5, [&](std::int32_t code, std::uintptr_t, std::intptr_t) { earlier.push_back(code); return 0; }, 0,
      fake.kernel32.threadId);
  fake.comdlg32.activatesDialog = false;
  fake.user32.windowRects[kOwner] = {0, 0, 100, 100};
  fake.user32.windowRects[0x99] = {0, 0, 50, 50};
  {
    platform::CommonDialog other{fake.Services()};
    other.ShowOpen(kOwner, true);
    ASSERT_EQ(fake.user32.InstalledHooks(), 2u);
    fake.user32.CbtEvent(3, 0x99);  // a window is made
    EXPECT_EQ(earlier, (std::vector<std::int32_t>{3}));
  }
  EXPECT_EQ(fake.user32.InstalledHooks(), 1u) << "the unused hook goes with its dialog object";

  dialog.ShowOpen(kOwner, true);
  fake.user32.ActivateWindow(0x99);
  EXPECT_EQ(fake.user32.windowRects[0x99], (os::Rect{25, 25, 75, 75}));
  EXPECT_EQ(fake.user32.InstalledHooks(), 1u);
  EXPECT_EQ(earlier.size(), 1u) << "the activation the hook used goes no further";
}

}  // namespace

namespace {

class Picker : public testing_support::MainWindowTest {};

TEST_F(Picker, AChoiceOfMoreThanTwoHundredNamesChangesNothing) {
  Start();
  fake.comdlg32.dialogAnswers.push_back({"C:\\Media\\", "ring.wav"});
  backend.Click(M().optExitOption[6]);
  backend.Click(M().chkAlarmF);
  ASSERT_EQ(M().txtAlarmF.Text(), "C:\\Media\\ring.wav");
  fake.comdlg32.dialogAnswers.push_back({"C:\\Other\\", "a.wav", std::vector<std::string>(200, "b.wav")});
  backend.Click(M().cmdAlarmF);
  EXPECT_EQ(fake.comdlg32.dialogAnswers.size(), 0u) << "the dialog was shown";
  EXPECT_EQ(M().txtAlarmF.Text(), "C:\\Media\\ring.wav");
  EXPECT_EQ(M().chkAlarmF.Value(), 1);
  EXPECT_TRUE(boxes().Log().empty());
}

}  // namespace
