#pragma once

#include <string>
#include <variant>
#include <vector>

#include "platform/text/RuntimeError.h"

namespace xel {

// An image given as the controls take it: by its 1-based number in the image list, by its key,
// or none.
using ImageRef = std::variant<std::monostate, int, std::string>;

// The image list of a tree control: keyed images in order. Only the keys live here; the screen
// draws the picture that belongs to each key.
class ImageList {
 public:
  ImageList() = default;
  ImageList(std::initializer_list<std::string> keys) : keys_(keys) {}

  void Add(std::string key) { keys_.push_back(std::move(key)); }
  int Count() const { return static_cast<int>(keys_.size()); }

  // The 1-based number of the image with this key.
  int IndexOf(const std::string& key) const {
    for (size_t i = 0; i < keys_.size(); ++i) {
      if (keys_[i] == key) {
        return static_cast<int>(i) + 1;
      }
    }
    throw RuntimeError(err::ElementNotFound, "Element not found");
  }

  const std::string& Key(int index) const {
    if (index < 1 || index > Count()) {
      throw RuntimeError(err::IndexOutOfBounds, "Index out of bounds");
    }
    return keys_[index - 1];
  }

 private:
  std::vector<std::string> keys_;
};

}  // namespace xel
