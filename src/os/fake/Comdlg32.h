// The fake comdlg32: the file-open dialog answers from a script. Its window is activated as it
// opens, so the thread's hooks see it.
#pragma once

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "os/Comdlg32.h"
#include "os/fake/Library.h"
#include "os/fake/User32.h"

namespace os::fake {

namespace comdlg32 {
using fake::operator<<;

// The record as the program passed it in.
struct GetOpenFileNameA {
  static constexpr std::string_view kName = "GetOpenFileNameA";
  OpenFileName ofn;
  bool operator==(const GetOpenFileNameA&) const = default;
};

}  // namespace comdlg32

class Comdlg32 : public os::Comdlg32, public Library {
 public:
  Comdlg32(CallLog& log, User32& user32) : Library(log), user32_(user32) {}

  // The next answers, in order; an empty queue cancels.
  struct DialogAnswer {
    // Further names chosen at once make the answer come in the form of a multiple choice.
    DialogAnswer(std::string folder, std::string file, std::vector<std::string> moreFiles = {})
        : folder(std::move(folder)), file(std::move(file)), moreFiles(std::move(moreFiles)) {}
    std::string folder;  // with its trailing "\"
    std::string file;
    std::vector<std::string> moreFiles;
  };
  std::deque<DialogAnswer> dialogAnswers;

  // The dialog's window, and its place when it opens: at its owner's top-left corner, as
  // Windows puts it, or at the screen's.
  static constexpr HWnd kDialogWindow = 0xD1A0;
  std::int32_t dialogWidth = 430, dialogHeight = 290;
  // False: the dialog comes and goes without ever being activated.
  bool activatesDialog = true;
  // Where the dialog stood when it closed.
  Rect lastDialogRect;

  std::int32_t GetOpenFileNameA(OpenFileName& ofn) override;

 private:
  User32& user32_;
};

}  // namespace os::fake
