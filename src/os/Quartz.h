// quartz: DirectShow's filter graph manager, which plays a media file. The program makes one
// and holds three of its interfaces; the object goes when the last of them is let go.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace os {

// Results of the interfaces' methods, as Windows gives them (negative: failed).
constexpr std::int32_t kSOk = 0;
constexpr std::int32_t kSFalse = 1;  // Run: the graph is still on its way to running
constexpr std::int32_t kVfwENotFound = static_cast<std::int32_t>(0x80040216);
constexpr std::int32_t kVfwECannotRender = static_cast<std::int32_t>(0x80040218);

// Builds the playback chain for a file, runs it and stops it. Letting go of the object
// releases the interface.
class IMediaControl {
 public:
  virtual ~IMediaControl() = default;
  // The file's path in UTF-8.
  virtual std::int32_t RenderFile(const std::string& fileName) = 0;
  virtual std::int32_t Run() = 0;
  virtual std::int32_t Stop() = 0;
};

// The playback position.
class IMediaPosition {
 public:
  virtual ~IMediaPosition() = default;
  virtual std::int32_t put_CurrentPosition(double seconds) = 0;
};

// The volume and balance; the program only holds it.
class IBasicAudio {
 public:
  virtual ~IBasicAudio() = default;
};

// The interfaces of one filter graph manager ({E436EBB3-524F-11CE-9F53-0020AF0BA770}). One the
// object does not offer is empty.
struct FilgraphManager {
  std::unique_ptr<IMediaControl> control;
  std::unique_ptr<IBasicAudio> audio;
  std::unique_ptr<IMediaPosition> position;
};

class Quartz {
 public:
  virtual ~Quartz() = default;
  // A new filter graph manager. Where none can be made (no DirectShow), a run-time error.
  virtual FilgraphManager CreateFilgraphManager() = 0;
};

}  // namespace os
