#include "host/TracingConnection.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ext/stdio_filebuf.h>

#include "platform/text/FileDescriptor.h"
#include "platform/text/VisibleText.h"

namespace xel {

namespace {

// An output stream over a file descriptor it owns.
class DescriptorStream : public std::ostream {
 public:
  explicit DescriptorStream(int descriptor)
      : std::ostream(nullptr), buffer_(descriptor, std::ios::out | std::ios::app) {
    rdbuf(&buffer_);
  }

 private:
  __gnu_cxx::stdio_filebuf<char> buffer_;
};

// Why a trace file just opened may not be written to; empty when it may. One that others could
// read is made private first.
std::string Refusal(int descriptor) {
  unsigned mode = 0;
  std::string refusal = NotOwnPlainFile(descriptor, mode);
  if (refusal.empty() && (mode & 077) != 0 && fchmod(descriptor, 0600) != 0) {
    refusal =
        std::string("others could read it and it cannot be made private: ") + std::strerror(errno);
  }
  return refusal;
}

}  // namespace

void TracingConnection::Before(Call call, const std::string& text, const Parameters& parameters) {
  if (call != Call::Execute) {
    trace_ << NameOf(call) << std::endl;  // the end of a transaction is on disk at once
    return;
  }
  trace_ << VisibleText(text);
  for (const std::string& value : parameters) {
    trace_ << " -- ? = '" << VisibleText(value) << "'";
  }
  trace_ << '\n';
}

void TracingConnection::AfterFailure(const RuntimeError& failure) {
  trace_ << "-- failed: " << VisibleText(failure.Description()) << std::endl;
}

std::unique_ptr<std::ostream> OpenTraceFile(const std::string& path) {
  FileDescriptor file(
      open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600));
  std::string refusal = file.IsOpen()    ? Refusal(file.Get())
                        : errno == ELOOP ? "it is a symbolic link"
                                         : std::strerror(errno);
  if (!refusal.empty()) {
    throw RuntimeError(err::PathFileAccessError,
                       "The trace file " + path + " cannot be written: " + refusal + ".");
  }
  return std::make_unique<DescriptorStream>(file.Release());
}

}  // namespace xel
