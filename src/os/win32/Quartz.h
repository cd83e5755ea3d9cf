// The real quartz, through COM: the library is started on the program's thread at the first
// playback object, and stopped with the service.
#pragma once

#include "os/Quartz.h"

namespace os::win32 {

class Quartz : public os::Quartz {
 public:
  Quartz() = default;
  ~Quartz() override;
  Quartz(const Quartz&) = delete;
  Quartz& operator=(const Quartz&) = delete;

  FilgraphManager CreateFilgraphManager() override;

 private:
  bool comStarted_ = false;
};

}  // namespace os::win32
