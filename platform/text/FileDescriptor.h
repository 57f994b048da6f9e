#pragma once

#include <cstdint>
#include <string>

namespace xel {

// A file descriptor of the operating system, closed when it goes.
class FileDescriptor {
 public:
  explicit FileDescriptor(int descriptor) : descriptor_(descriptor) {}
  ~FileDescriptor();
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  bool IsOpen() const { return descriptor_ >= 0; }
  int Get() const { return descriptor_; }
  // Hands the descriptor over to a new owner.
  int Release();

 private:
  int descriptor_;
};

// Why an open file is not one the running user may trust with a secret: it cannot be looked at,
// it is no plain file, or another user owns it; empty when it is the user's own plain file, whose
// permission bits are then in `mode`.
std::string NotOwnPlainFile(int descriptor, unsigned& mode);

// What is left to read from a descriptor, up to `limit` bytes. False when there is more than that
// (a file grown since it was measured, a pipe, a device without end); `text` then holds what was
// read. A failure of the reading itself is a run-time error.
bool ReadAtMost(int descriptor, uint64_t limit, std::string& text);

}  // namespace xel
