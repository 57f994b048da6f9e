#include "platform/com/TrustedFile.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/com/Com.h"

namespace xel::com {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void LibraryRefused(const fs::path& library, const std::string& reason) {
  throw RuntimeError(err::CannotCreateObject, "ActiveX component can't create object: " +
                                                  library.string() + " is refused: " + reason);
}

}  // namespace

std::string Distrust(const struct stat& status) {
  if (status.st_uid != 0 && status.st_uid != geteuid()) {
    return "it is owned by user " + std::to_string(status.st_uid) +
           ", neither root nor the user running the program";
  }
  if ((status.st_mode & S_IWOTH) != 0) {
    return "every user can write to it";
  }
  if ((status.st_mode & S_IWGRP) != 0) {
    return "its group can write to it";
  }
  return {};
}

std::string FolderDistrust(const fs::path& folder) {
  struct stat status {};
  if (stat(folder.c_str(), &status) != 0) {
    return "its folder " + folder.string() + " cannot be examined: " + std::strerror(errno);
  }
  std::string reason = Distrust(status);
  return reason.empty() ? reason : "its folder " + folder.string() + ": " + reason;
}

fs::path TrustedLibrary(const fs::path& library) {
  if (!library.is_absolute()) {
    LibraryRefused(library, "the path is not absolute");
  }
  std::error_code error;
  const fs::path real = fs::canonical(library, error);
  struct stat status {};
  if (error || stat(real.c_str(), &status) != 0) {
    LibraryRefused(library, error ? error.message() : std::strerror(errno));
  }
  if (!S_ISREG(status.st_mode)) {
    LibraryRefused(real, "it is not a regular file");
  }
  for (const std::string& reason : {Distrust(status), FolderDistrust(real.parent_path())}) {
    if (!reason.empty()) {
      LibraryRefused(real, reason);
    }
  }
  return real;
}

}  // namespace xel::com
