// The action options panel and the settings file on the native backend, with real files.
#include <fstream>
#include <sstream>

#include "Win32Fixture.h"
#include "app/frmMain.h"
#include "os/win32/Files.h"
#include "settings/modSettings.h"

namespace {

using win32_testing::H;
using win32_testing::TextOf;

POINT TopLeftIn(HWND window, HWND parent) {
  RECT r;
  GetWindowRect(window, &r);
  POINT p{r.left, r.top};
  ScreenToClient(parent, &p);
  return p;
}

// A fresh folder under the temporary folder, removed with what it holds.
class TempFolder {
 public:
  TempFolder() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    path_ = std::string(base) + "quenlar-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count_);
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~TempFolder() {
    for (const char* name : {"settings.qnl", "settings.qnl.new"}) {
      std::string file = path_ + "\\" + name;
      SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(file.c_str());
      RemoveDirectoryA(file.c_str());
    }
    RemoveDirectoryA(path_.c_str());
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  static inline int count_ = 0;
};

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class NativeOptions : public win32_testing::Win32Test {
 protected:
  NativeOptions() {
    fake.kernel32.moduleFileName = folder.Path() + "\\quenlar.exe";
    StartMain();
  }
  ~NativeOptions() override { EndMain(); }
  void StartMain() {
    main = std::make_unique<app::frmMain>(runtime, realFilesState);
    main->Initialize();
    main->Show();
    Pump();
  }
  void EndMain() {
    if (main && main->IsLoaded()) {
      realFilesState.ExitNow = true;
      main->Unload();
    }
    main.reset();
  }
  void Type(ui::Control& control, const std::string& text) {
    for (char c : text) SendMessageA(H(control), WM_CHAR, static_cast<unsigned char>(c), 1);
  }

  TempFolder folder;
  // The fakes, except for the real files service.
  os::win32::Files files;
  app::ProgramState realFilesState{os::ServicesOf(fake, {.files = &files})};
  std::unique_ptr<app::frmMain> main;
};

TEST_F(NativeOptions, AlarmAndMessageSwapsTheNativePanels) {
  app::frmMain& m = *main;
  SendMessageA(H(m.optExitOption[6]), BM_CLICK, 0, 0);
  EXPECT_EQ(realFilesState.ActionName, "Alarm && Message");
  EXPECT_EQ(TopLeftIn(H(m.picOptions(1)), H(m.frmeActOpt)).y, 200 / 15);
  EXPECT_EQ(TopLeftIn(H(m.picOptions(0)), H(m.frmeActOpt)).y, 2000 / 15);
  EXPECT_FALSE(IsWindowEnabled(H(m.picOptions(0))));
  EXPECT_TRUE(IsWindowEnabled(H(m.picOptions(1))));
  SendMessageA(H(m.optExitOption[1]), BM_CLICK, 0, 0);
  EXPECT_EQ(TopLeftIn(H(m.picOptions(0)), H(m.frmeActOpt)).y, 200 / 15);
  EXPECT_FALSE(IsWindowEnabled(H(m.picOptions(1))));
  EXPECT_EQ(SendMessageA(H(m.optExitOption[6]), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(NativeOptions, TheSpinnerAndTheTypedCountdownStayInStep) {
  app::frmMain& m = *main;
  HWND bar = H(m.scrSecond);
  SendMessageA(GetParent(bar), WM_VSCROLL, SB_LINEUP, reinterpret_cast<LPARAM>(bar));
  EXPECT_EQ(TextOf(m.txtTimeout.hWnd()), "31");
  SetFocus(H(m.txtTimeout));
  Pump();
  DWORD start = 9, end = 9;
  SendMessageA(H(m.txtTimeout), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 2u) << "entering the box selects it";
  Type(m.txtTimeout, "45");
  EXPECT_EQ(TextOf(m.txtTimeout.hWnd()), "45");
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 99 - 45);
  Type(m.txtTimeout, "7");
  EXPECT_EQ(TextOf(m.txtTimeout.hWnd()), "7");
  SendMessageA(H(m.txtTimeout), WM_CHAR, VK_BACK, 1);
  EXPECT_EQ(TextOf(m.txtTimeout.hWnd()), "0");
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 99);
  HDC dc = GetDC(H(m.txtTimeout));
  auto brush = reinterpret_cast<HBRUSH>(SendMessageA(GetParent(H(m.txtTimeout)), WM_CTLCOLOREDIT,
                                                     reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(H(m.txtTimeout))));
  ReleaseDC(H(m.txtTimeout), dc);
  LOGBRUSH info{};
  GetObjectA(brush, sizeof info, &info);
  EXPECT_EQ(info.lbColor, RGB(255, 128, 128)) << "the zero countdown shows the warning colour";
}

// Wine's edit control places the caret before it takes the focus, so here this shows the
// select-all reaching a box entered by the mouse; Windows' order, where the peer must select
// again after the click, cannot be reproduced under Wine.
TEST_F(NativeOptions, AClickIntoTheCountdownSelectsItLikeTab) {
  app::frmMain& m = *main;
  SetFocus(H(m.cmdActivate));
  Pump();
  SendMessageA(H(m.txtTimeout), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 5));  // between the digits
  SendMessageA(H(m.txtTimeout), WM_LBUTTONUP, 0, MAKELPARAM(3, 5));
  Pump();
  ASSERT_EQ(GetFocus(), H(m.txtTimeout));
  DWORD start = 9, end = 9;
  SendMessageA(H(m.txtTimeout), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 2u);
}

// Wine's edit control scrolls to the caret on every selection; Windows needs the peer's
// explicit scroll. Here it shows the caret reaching the end of the chosen path.
TEST_F(NativeOptions, AChosenLongPathShowsItsFileName) {
  app::frmMain& m = *main;
  std::string folderPath = "C:\\" + std::string(120, 'f') + "\\";
  fake.comdlg32.dialogAnswers.push_back({folderPath, "run.bat"});
  SendMessageA(H(m.chkExecFile), BM_CLICK, 0, 0);
  Pump();
  ASSERT_EQ(TextOf(m.txtExecF.hWnd()), folderPath + "run.bat");
  EXPECT_GT(SendMessageA(H(m.txtExecF), EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "scrolled";  // a character, on one line
  auto lastAt = SendMessageA(H(m.txtExecF), EM_POSFROMCHAR, TextOf(m.txtExecF.hWnd()).size() - 1, 0);
  RECT client;
  GetClientRect(H(m.txtExecF), &client);
  EXPECT_GE(static_cast<short>(LOWORD(lastAt)), 0);
  EXPECT_LT(static_cast<short>(LOWORD(lastAt)), client.right) << "the file name is in view";
}

TEST_F(NativeOptions, SettingsSurviveARealFileRoundTrip) {
  app::frmMain& m = *main;
  SendMessageA(H(m.optExitOption[2]), BM_CLICK, 0, 0);
  SendMessageA(H(m.chkForced), BM_CLICK, 0, 0);
  m.txtMessage.SetText("Time for tea");
  boxes.Answer(ui::vbOK);
  Key(H(m.cmdActivate), 'S', true);  // Ctrl+S
  EXPECT_EQ(boxes.Log().back().text, "Settings are saved successfully!     ");
  const std::string file = folder.Path() + "\\settings.qnl";
  std::string bytes = ReadBytes(file);
  EXPECT_EQ(bytes.substr(0, 26), "False\r\nFalse\r\nTrue\r\nFalse\r");
  EXPECT_EQ(bytes.substr(bytes.size() - 14), "Time for tea\r\n");
  EXPECT_EQ(GetFileAttributesA((file + ".new").c_str()), INVALID_FILE_ATTRIBUTES) << "nothing left beside it";
  EndMain();

  StartMain();  // the next run reads it back
  EXPECT_EQ(SendMessageA(H(main->optExitOption[2]), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(H(main->chkForced), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(TextOf(main->txtMessage.hWnd()), "Time for tea");
  EXPECT_EQ(realFilesState.ActionName, "Log Off");
}

TEST_F(NativeOptions, AReplacementThatCannotTakeThePlaceLeavesTheOldFileAndNoDebris) {
  const std::string file = folder.Path() + "\\settings.qnl";
  ASSERT_TRUE(main->SaveSett(file));
  const std::string before = ReadBytes(file);
  HANDLE held = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);  // locked
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  main->txtTimeout.SetText("9");
  EXPECT_FALSE(main->SaveSett(file));
  CloseHandle(held);
  EXPECT_EQ(ReadBytes(file), before);
  EXPECT_EQ(GetFileAttributesA((file + ".new").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(NativeOptions, ALeftoverFromAnInterruptedSaveDoesNotStopTheNextOne) {
  const std::string file = folder.Path() + "\\settings.qnl";
  std::ofstream(file + ".new", std::ios::binary) << "True\r\nFal";  // cut off mid-write
  main->txtTimeout.SetText("7");
  EXPECT_TRUE(main->SaveSett(file));
  EXPECT_EQ(settings::SplitLines(ReadBytes(file)).at(13), "7");
  EXPECT_EQ(GetFileAttributesA((file + ".new").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(NativeOptions, ASaveThatCannotWriteLeavesTheOldFileAsItWas) {
  app::frmMain& m = *main;
  const std::string file = folder.Path() + "\\settings.qnl";
  ASSERT_TRUE(m.SaveSett(file));
  const std::string before = ReadBytes(file);
  CreateDirectoryA((file + ".new").c_str(), nullptr);  // the new file cannot be made
  m.txtTimeout.SetText("9");
  EXPECT_FALSE(m.SaveSett(file));
  EXPECT_EQ(ReadBytes(file), before);
  boxes.Answer(ui::vbOK);
  Key(H(m.cmdActivate), 'S', true);
  EXPECT_EQ(boxes.Log().back().text, "Settings could not be saved to the file " + file + "     ");
  EXPECT_EQ(boxes.Log().back().style, ui::mb::kExclamation);
}

}  // namespace
