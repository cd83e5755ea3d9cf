// The fake quartz: filter graph managers that "play" the files a test names, each one keeping
// how far it got and how many of its interfaces the program still holds.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "os/Quartz.h"
#include "os/fake/Library.h"

namespace os::fake {

namespace quartz {
using fake::operator<<;

// The graphs are numbered from 1, in the order made.
struct CreateFilgraphManager {
  static constexpr std::string_view kName = "CreateFilgraphManager";
  bool operator==(const CreateFilgraphManager&) const = default;
};
struct RenderFile {
  static constexpr std::string_view kName = "IMediaControl::RenderFile";
  int graph;
  std::string fileName;
  bool operator==(const RenderFile&) const = default;
};
struct Run {
  static constexpr std::string_view kName = "IMediaControl::Run";
  int graph;
  bool operator==(const Run&) const = default;
};
struct Stop {
  static constexpr std::string_view kName = "IMediaControl::Stop";
  int graph;
  bool operator==(const Stop&) const = default;
};
struct put_CurrentPosition {
  static constexpr std::string_view kName = "IMediaPosition::put_CurrentPosition";
  int graph;
  double seconds;
  bool operator==(const put_CurrentPosition&) const = default;
};

}  // namespace quartz

class Quartz : public os::Quartz, public Library {
 public:
  explicit Quartz(CallLog& log) : Library(log) {}

  // The files that can be played; any other path cannot be rendered.
  std::set<std::string> playableFiles;

  struct Graph {
    std::string rendered;  // the file its chain was built for
    bool running = false;
    double position = 0;
    int references = 0;    // interfaces the program still holds: 0 once released
  };
  // Every graph made, in order.
  const std::vector<std::shared_ptr<Graph>>& Graphs() const { return graphs_; }

  FilgraphManager CreateFilgraphManager() override;

 private:
  class Control;
  class Position;
  class Audio;
  std::vector<std::shared_ptr<Graph>> graphs_;
};

}  // namespace os::fake
