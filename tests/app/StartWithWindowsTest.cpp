// The Settings menu's "Start with Windows" and the quiet start at logon.
#include "platform/StartWithWindows.h"
#include "support/Harness.h"

namespace {

namespace user32 = os::fake::user32;
using testing_support::MainWindowTest;

const std::string kCommand = "\"C:\\Program Files\\Quenlar\\quenlar.exe\" /startup";

class StartWithWindowsMenu : public MainWindowTest {
 protected:
  bool EntryThere() { return platform::StartsWithWindows(state.os); }
  void StoreEntry(const std::string& command) {
    fake.advapi32.registry[platform::kRunKey]["Quenlar"] = {os::kRegSz, command + '\0'};
  }
};

TEST_F(StartWithWindowsMenu, TheTickFollowsTheRegistryAndClickingWritesAndRemovesTheEntry) {
  StoreEntry(kCommand);
  Start();
  const auto& items = M().mnu_settings.Items();
  auto at = std::find(items.begin(), items.end(), &M().mnu_startwin);
  ASSERT_NE(at, items.end());
  EXPECT_EQ(at[-1], &M().mnu_keepawake);
  EXPECT_EQ(at[1], &M().mnu_notify);
  EXPECT_TRUE(M().mnu_startwin.Checked()) << "read when the window loads";

  ASSERT_TRUE(backend.Choose(M().mnu_startwin));
  EXPECT_FALSE(M().mnu_startwin.Checked());
  EXPECT_FALSE(EntryThere());
  ASSERT_TRUE(backend.Choose(M().mnu_startwin));
  EXPECT_TRUE(M().mnu_startwin.Checked());
  EXPECT_TRUE(EntryThere());
  EXPECT_TRUE(boxes().Log().empty());
}

TEST_F(StartWithWindowsMenu, AnEntryOfAMovedProgramIsUntickedAndTickingMendsIt) {
  StoreEntry("\"D:\\Old\\quenlar.exe\" /startup");
  Start();
  EXPECT_FALSE(M().mnu_startwin.Checked());
  ASSERT_TRUE(backend.Choose(M().mnu_startwin));
  EXPECT_TRUE(M().mnu_startwin.Checked());
  EXPECT_TRUE(EntryThere());
}

TEST_F(StartWithWindowsMenu, AFailureIsToldAndTheTickStaysAsTheRegistryHasIt) {
  Start();
  fake.advapi32.registryWriteError = os::kErrorRegAccessDenied;
  boxes().Answer(ui::vbOK);
  ASSERT_TRUE(backend.Choose(M().mnu_startwin));
  EXPECT_FALSE(M().mnu_startwin.Checked());
  EXPECT_EQ(LastBox(), "Quenlar could not add itself to the programs Windows starts at logon.\r\n\r\nAccess is denied.");
  EXPECT_EQ(boxes().Log().back().style, ui::mb::kExclamation);

  StoreEntry(kCommand);  // written meanwhile by another copy of the program
  boxes().Answer(ui::vbOK);
  ASSERT_TRUE(backend.Choose(M().mnu_startwin));
  EXPECT_TRUE(M().mnu_startwin.Checked()) << "the refused attempt found the entry there after all";
  boxes().Answer(ui::vbOK);
  ASSERT_TRUE(backend.Choose(M().mnu_startwin));
  EXPECT_EQ(LastBox().substr(0, 50), "Quenlar could not take itself off the programs Win");
  EXPECT_TRUE(M().mnu_startwin.Checked());
  EXPECT_TRUE(EntryThere());
}

TEST_F(StartWithWindowsMenu, EnsuringTicksOnlyOnceAndReportsAFailure) {
  Start();
  EXPECT_TRUE(M().EnsureStartsWithWindows());
  EXPECT_TRUE(M().mnu_startwin.Checked());
  EXPECT_TRUE(EntryThere());
  EXPECT_FALSE(M().EnsureStartsWithWindows()) << "already ticked";

  ASSERT_TRUE(backend.Choose(M().mnu_startwin));
  fake.advapi32.registryWriteError = os::kErrorRegAccessDenied;
  boxes().Answer(ui::vbOK);
  EXPECT_FALSE(M().EnsureStartsWithWindows());
  EXPECT_FALSE(M().mnu_startwin.Checked());
  EXPECT_EQ(boxes().Log().size(), 1u);
}

// The quiet start: the loaded window's icon goes to the tray, the window stays hidden, nothing
// asks and nothing takes the focus; the icon brings the window back as from the tray button.
TEST_F(StartWithWindowsMenu, StartingQuietlyPutsTheIconInTheTrayAndNothingElse) {
  main = std::make_unique<app::frmMain>(runtime, state);
  M().Initialize();
  M().Load();
  M().StartQuietly();
  EXPECT_FALSE(M().Visible());
  ASSERT_EQ(fake.shell32.trayIcons.size(), 1u);
  EXPECT_EQ(fake.shell32.trayIcons.begin()->second.hWnd, M().hWnd());
  EXPECT_EQ(fake.log.Count<user32::SetForegroundWindow>(), 0u);
  EXPECT_TRUE(boxes().Log().empty());

  ASSERT_TRUE(backend.MouseMove(M(), 513, 0));  // the left button on the icon
  EXPECT_TRUE(M().Visible());
  EXPECT_TRUE(fake.shell32.trayIcons.empty());
}

}  // namespace
