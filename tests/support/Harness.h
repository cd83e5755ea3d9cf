// A headless program for tests: the in-memory backend, the run-time, the fake operating system,
// the program state and the main window, started the way the real program starts it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/frmMain.h"
#include "os/fake/FakeServices.h"
#include "session/ProgramState.h"
#include "tray/modNewIcon.h"
#include "ui/Runtime.h"
#include "ui/headless/Backend.h"

namespace testing_support {

// The file-open dialogs shown, each with the record as the program passed it.
inline std::vector<os::OpenFileName> DialogsShown(const os::fake::CallLog& log) {
  std::vector<os::OpenFileName> shown;
  for (const auto& call : log.Of<os::fake::comdlg32::GetOpenFileNameA>()) shown.push_back(call.ofn);
  return shown;
}

class Harness {
 public:
  Harness() {
    backend.Attach(runtime);
    backend.MessageBoxes().OnUnanswered = [](const ui::ScriptedMessageBoxes::Shown& shown) {
      ADD_FAILURE() << "message box nobody answered: \"" << shown.text << "\"";
    };
    backend.OnUnscriptedModal = [](ui::Form& form) {
      ADD_FAILURE() << form.Name() << " was shown modally with nothing given to do in it (backend.WhileModal)";
    };
    backend.OnModalLeftOpen = [](ui::Form& form) { ADD_FAILURE() << form.Name() << " is still up after its steps"; };
  }
  os::fake::VirtualClock clock;
  ui::headless::Backend backend{clock};
  ui::Runtime runtime{backend};
  os::fake::FakeServices fake{clock};
  session::ProgramState state{fake.Services()};

  ui::ScriptedMessageBoxes& boxes() { return backend.MessageBoxes(); }
  // The text of the last message box shown, or "" when none was.
  std::string LastBox() { return boxes().Log().empty() ? std::string() : boxes().Log().back().text; }
};

class MainWindowTest : public ::testing::Test, public Harness {
 protected:
  // Creates the main window and starts it as the program does: initialise, load, show (or, at
  // logon, go to the tray).
  app::frmMain& Start() {
    main = std::make_unique<app::frmMain>(runtime, state);
    main->Initialize();
    main->ShowAtStart();
    return *main;
  }
  app::frmMain& M() { return *main; }
  void TearDown() override {
    EXPECT_EQ(boxes().Pending(), 0u) << "message-box answers left over";
  }
  std::unique_ptr<app::frmMain> main;
};

}  // namespace testing_support
