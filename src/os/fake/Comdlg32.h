// The fake comdlg32: the file-open dialog answers from a script.
#pragma once

#include <deque>
#include <string>

#include "os/Comdlg32.h"
#include "os/fake/Library.h"

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
  explicit Comdlg32(CallLog& log) : Library(log) {}

  // The next answers, in order; an empty queue cancels.
  struct DialogAnswer {
    std::string folder;  // with its trailing "\"
    std::string file;
  };
  std::deque<DialogAnswer> dialogAnswers;

  std::int32_t GetOpenFileNameA(OpenFileName& ofn) override;
};

}  // namespace os::fake
