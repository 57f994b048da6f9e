#include "platform/text/FileDescriptor.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "platform/text/RuntimeError.h"

namespace xel {

FileDescriptor::~FileDescriptor() {
  if (descriptor_ >= 0) {
    close(descriptor_);
  }
}

int FileDescriptor::Release() {
  int descriptor = descriptor_;
  descriptor_ = -1;
  return descriptor;
}

std::string NotOwnPlainFile(int descriptor, unsigned& mode) {
  struct stat file {};
  if (fstat(descriptor, &file) != 0) {
    return std::strerror(errno);
  }
  if (!S_ISREG(file.st_mode)) {
    return "it is not a plain file";
  }
  if (file.st_uid != geteuid()) {
    return "it belongs to another user";
  }
  mode = file.st_mode & 07777;
  return "";
}

bool ReadAtMost(int descriptor, uint64_t limit, std::string& text) {
  std::array<char, 1 << 16> block{};
  while (true) {
    ssize_t count = read(descriptor, block.data(), block.size());
    if (count == 0) {
      return true;
    }
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count < 0) {
      throw RuntimeError(err::PathFileAccessError, std::strerror(errno));
    }
    if (text.size() + static_cast<uint64_t>(count) > limit) {
      return false;
    }
    text.append(block.data(), static_cast<size_t>(count));
  }
}

}  // namespace xel
