#pragma once

#include <algorithm>
#include <vector>

#include "platform/Forms.h"

namespace xel::testing {

// Writes down what a control told its views, as a view would receive it.
class ChangeLog {
 public:
  explicit ChangeLog(Control& control) {
    control.Changed.Connect([this](Property what) { told_.push_back(what); });
  }
  long Count(Property what) const { return std::count(told_.begin(), told_.end(), what); }
  size_t Total() const { return told_.size(); }

 private:
  std::vector<Property> told_;
};

}  // namespace xel::testing
