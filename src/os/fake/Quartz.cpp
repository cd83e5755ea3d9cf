#include "os/fake/Quartz.h"

namespace os::fake {

namespace {

// One interface of a graph: it counts as a reference for as long as the program holds it.
class Reference {
 public:
  explicit Reference(std::shared_ptr<Quartz::Graph> graph) : graph_(std::move(graph)) { ++graph_->references; }
  ~Reference() { --graph_->references; }
  Reference(const Reference&) = delete;
  Reference& operator=(const Reference&) = delete;

 protected:
  std::shared_ptr<Quartz::Graph> graph_;
};

}  // namespace

class Quartz::Control : public os::IMediaControl, Reference {
 public:
  Control(Quartz& quartz, std::shared_ptr<Graph> graph, int number)
      : Reference(std::move(graph)), quartz_(quartz), number_(number) {}
  std::int32_t RenderFile(const std::string& fileName) override {
    quartz_.Log(quartz::RenderFile{number_, fileName});
    if (!quartz_.playableFiles.count(fileName)) return kVfwENotFound;
    graph_->rendered = fileName;
    return kSOk;
  }
  // As DirectShow's: a graph with a chain reports that it is on its way to running.
  std::int32_t Run() override {
    quartz_.Log(quartz::Run{number_});
    if (graph_->rendered.empty()) return kSOk;
    graph_->running = true;
    return kSFalse;
  }
  std::int32_t Stop() override {
    quartz_.Log(quartz::Stop{number_});
    graph_->running = false;
    return kSOk;
  }

 private:
  Quartz& quartz_;
  int number_;
};

class Quartz::Position : public os::IMediaPosition, Reference {
 public:
  Position(Quartz& quartz, std::shared_ptr<Graph> graph, int number)
      : Reference(std::move(graph)), quartz_(quartz), number_(number) {}
  std::int32_t put_CurrentPosition(double seconds) override {
    quartz_.Log(quartz::put_CurrentPosition{number_, seconds});
    graph_->position = seconds;
    return kSOk;
  }

 private:
  Quartz& quartz_;
  int number_;
};

class Quartz::Audio : public os::IBasicAudio, Reference {
 public:
  using Reference::Reference;
};

FilgraphManager Quartz::CreateFilgraphManager() {
  Log(quartz::CreateFilgraphManager{});
  auto graph = std::make_shared<Graph>();
  graphs_.push_back(graph);
  int number = static_cast<int>(graphs_.size());
  FilgraphManager manager;
  manager.control = std::make_unique<Control>(*this, graph, number);
  manager.audio = std::make_unique<Audio>(graph);
  manager.position = std::make_unique<Position>(*this, graph, number);
  return manager;
}

}  // namespace os::fake
