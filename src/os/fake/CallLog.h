// The one ordered log of the calls the program made to the fake operating system, shared by
// the fakes of every library. Tests compare calls as values:
//
//   EXPECT_EQ(fake.log.Only<user32::SetForegroundWindow, shell32::Shell_NotifyIconA>(),
//             (Calls{user32::SetForegroundWindow{window}, shell32::Shell_NotifyIconA{2, record}}));
//   EXPECT_EQ(fake.log.Count<kernel32::CreateProcessA>(), 1u);
#pragma once

#include <memory>
#include <ostream>
#include <string_view>
#include <typeindex>
#include <utility>
#include <vector>

#include "os/fake/Record.h"

namespace os::fake {

// One recorded call of any kind: equal to another when both are the same kind of call with
// equal arguments.
class Call {
 public:
  // Implicit, so that a list of records reads as a list of calls.
  template <Record R>
  Call(R record) : record_(std::make_shared<const Holder<R>>(std::move(record))) {}

  std::string_view Name() const { return record_->Name(); }
  template <Record R>
  bool Is() const {
    return record_->Type() == typeid(R);
  }
  // The record; the call must be of this kind.
  template <Record R>
  const R& As() const {
    return static_cast<const Holder<R>&>(*record_).record;
  }

  friend bool operator==(const Call& a, const Call& b) {
    return a.record_->Type() == b.record_->Type() && a.record_->Equals(*b.record_);
  }
  friend std::ostream& operator<<(std::ostream& out, const Call& call) {
    call.record_->Print(out);
    return out;
  }

 private:
  struct Base {
    virtual ~Base() = default;
    virtual std::type_index Type() const = 0;
    virtual std::string_view Name() const = 0;
    virtual bool Equals(const Base& other) const = 0;  // of the same type
    virtual void Print(std::ostream& out) const = 0;
  };
  template <Record R>
  struct Holder final : Base {
    explicit Holder(R r) : record(std::move(r)) {}
    std::type_index Type() const override { return typeid(R); }
    std::string_view Name() const override { return R::kName; }
    bool Equals(const Base& other) const override { return record == static_cast<const Holder&>(other).record; }
    void Print(std::ostream& out) const override { out << record; }
    R record;
  };

  std::shared_ptr<const Base> record_;
};

using Calls = std::vector<Call>;

class CallLog {
 public:
  template <Record R>
  void Append(R record) {
    calls_.emplace_back(std::move(record));
  }
  void Clear() { calls_.clear(); }

  // Every call, in the order made.
  const Calls& All() const { return calls_; }

  // The calls of the kinds named, in the order made.
  template <Record... Rs>
  Calls Only() const {
    Calls chosen;
    for (const Call& call : calls_)
      if ((call.Is<Rs>() || ...)) chosen.push_back(call);
    return chosen;
  }

  // The records of one kind, in the order made.
  template <Record R>
  std::vector<R> Of() const {
    std::vector<R> records;
    for (const Call& call : calls_)
      if (call.Is<R>()) records.push_back(call.As<R>());
    return records;
  }

  template <Record R>
  std::size_t Count() const {
    std::size_t n = 0;
    for (const Call& call : calls_) n += call.Is<R>() ? 1 : 0;
    return n;
  }

 private:
  Calls calls_;
};

}  // namespace os::fake
