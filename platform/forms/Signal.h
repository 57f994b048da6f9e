#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace xel {

// A list of observers told about a change, the way a model tells its views. Observers are called
// in the order they connected; one that disconnects while being told is skipped from then on.
template <class... Args>
class Signal {
 public:
  using Slot = std::function<void(Args...)>;
  using Id = unsigned;

  Id Connect(Slot slot) {
    slots_.push_back({++lastId_, std::move(slot)});
    return lastId_;
  }

  void Disconnect(Id id) {
    for (auto& entry : slots_) {
      if (entry.id == id) {
        entry.slot = nullptr;
      }
    }
  }

  bool Empty() const {
    for (const auto& entry : slots_) {
      if (entry.slot) {
        return false;
      }
    }
    return true;
  }

  void Emit(Args... args) const {
    for (size_t i = 0; i < slots_.size(); ++i) {
      if (auto slot = slots_[i].slot) {
        slot(args...);
      }
    }
  }

 private:
  struct Entry {
    Id id;
    Slot slot;
  };
  std::vector<Entry> slots_;
  Id lastId_ = 0;
};

}  // namespace xel
