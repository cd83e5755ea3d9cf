// What the fake of every library shares: it appends each call to the one log, and a kind of
// call can be made to fail with a run-time error, as a function missing from the system does.
#pragma once

#include <set>
#include <string>
#include <typeindex>

#include "base/RuntimeError.h"
#include "os/fake/CallLog.h"

namespace os::fake {

class Library {
 public:
  // From now on a call of this kind is logged and then raises the run-time error of a missing
  // entry point.
  template <Record R>
  void ThrowOn() {
    throwOn_.insert(typeid(R));
  }

 protected:
  explicit Library(CallLog& log) : log_(log) {}

  template <Record R>
  void Log(R record) {
    log_.Append(record);
    if (throwOn_.count(typeid(R)))
      throw base::RuntimeError(base::kFunctionNotAvailable, "Can't find DLL entry point " + std::string(R::kName));
  }

 private:
  CallLog& log_;
  std::set<std::type_index> throwOn_;
};

}  // namespace os::fake
