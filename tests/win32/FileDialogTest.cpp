// The system's file-open dialog under Wine, centred by the program's one-shot hook.
#include <map>
#include <vector>

#include "Win32Fixture.h"
#include "app/frmMain.h"
#include "os/win32/Comdlg32.h"
#include "os/win32/User32.h"

namespace {

using win32_testing::H;
using win32_testing::TextOf;

// The real user32, noting the places it read and the moves it made.
class WatchedUser32 : public os::win32::User32 {
 public:
  std::map<os::HWnd, os::Rect> read;
  struct Move {
    os::HWnd window;
    std::int32_t x, y;
    std::uint32_t flags;
  };
  std::vector<Move> moves;
  std::int32_t GetWindowRect(os::HWnd window, os::Rect& rect) override {
    std::int32_t ok = os::win32::User32::GetWindowRect(window, rect);
    if (ok) read[window] = rect;
    return ok;
  }
  std::int32_t SetWindowPos(os::HWnd window, os::HWnd after, std::int32_t x, std::int32_t y, std::int32_t cx,
                            std::int32_t cy, std::uint32_t flags) override {
    moves.push_back({window, x, y, flags});
    return os::win32::User32::SetWindowPos(window, after, x, y, cx, cy, flags);
  }
};

class NativeFileDialog : public win32_testing::Win32Test {
 protected:
  NativeFileDialog() {
    fake.kernel32.threadId = GetCurrentThreadId();
    main.Initialize();
    main.Show();
    SetWindowPos(H(main), nullptr, 250, 180, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Pump();
  }
  ~NativeFileDialog() override {
    if (!runtime.Ended()) {
      shared.Control.End();
      main.Unload();
    }
  }
  // The next dialog's place and title as it shows; then it is cancelled.
  void CancelNextDialog() {
    win32_testing::InLoopWhen([] { return win32_testing::ThreadWindow("#32770") != nullptr; }, [this] {
      dialog = win32_testing::ThreadWindow("#32770");
      GetWindowRect(dialog, &shown);
      title = TextOf(reinterpret_cast<std::uintptr_t>(dialog));
      PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
  }
  // The hook moved the dialog once, as it was activated, to the middle of the area as the
  // dialog then measured; its top-left corner stands there still. (Under Wine the dialog
  // changes its size by a few pixels afterwards.)
  void ExpectCentredOnce(const os::Rect& area) {
    ASSERT_EQ(user32.moves.size(), 1u);
    const WatchedUser32::Move& move = user32.moves[0];
    EXPECT_EQ(reinterpret_cast<HWND>(move.window), dialog);
    EXPECT_EQ(move.flags, static_cast<std::uint32_t>(SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    os::Rect expected = platform::CenterOver(area, user32.read[move.window]);
    EXPECT_EQ(move.x, expected.left);
    EXPECT_EQ(move.y, expected.top);
    EXPECT_EQ(shown.left, move.x);
    EXPECT_EQ(shown.top, move.y);
  }

  WatchedUser32 user32;
  os::win32::Comdlg32 comdlg32;
  session::ProgramState shared{os::ServicesOf(fake, {.user32 = &user32, .comdlg32 = &comdlg32})};
  app::frmMain main{runtime, shared};
  HWND dialog = nullptr;
  RECT shown{};
  std::string title;
};

TEST_F(NativeFileDialog, OpensCentredOverTheMainWindowAndCancelLeavesNoFile) {
  CancelNextDialog();
  SendMessageA(H(main.chkExecFile), BM_CLICK, 0, 0);  // ticked with no file: the picker opens
  EXPECT_EQ(title, "Select File to be Executed");
  ASSERT_EQ(user32.read.count(main.hWnd()), 1u) << "the owner's place was read";
  ExpectCentredOnce(user32.read[main.hWnd()]);
  RECT owner;
  GetWindowRect(H(main), &owner);
  EXPECT_EQ(user32.read[main.hWnd()], (os::Rect{owner.left, owner.top, owner.right, owner.bottom}));
  EXPECT_EQ(main.chkExecFile.Value(), 0);
  EXPECT_EQ(main.txtExecF.Text(), "Select File...");
}

TEST_F(NativeFileDialog, OrOnTheScreen) {
  CancelNextDialog();
  platform::SelectedFile chosen = main.CommonDialog.ShowOpen(main.hWnd(), false);
  EXPECT_TRUE(chosen.Cancelled);
  ExpectCentredOnce({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

}  // namespace
