#include "host/app/StoreConnection.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/text/FileDescriptor.h"
#include "platform/text/RuntimeError.h"
#include "platform/text/VisibleText.h"

namespace xel::app {

namespace {

constexpr uint64_t kLongestConnectionFile = 64 * 1024;

// Why a connection file just opened is not to be trusted with a password; empty when it is.
std::string Refusal(int descriptor) {
  unsigned mode = 0;
  if (std::string refusal = NotOwnPlainFile(descriptor, mode); !refusal.empty()) {
    return refusal;
  }
  if ((mode & 077) == 0) {
    return "";
  }
  std::array<char, 16> octal{};
  std::snprintf(octal.data(), octal.size(), "%04o", mode);
  return std::string("others may read or change it (mode ") + octal.data() +
         "); make it yours alone with chmod 600";
}

// The connection string a file holds: its one line, without the blanks and line break around it.
bool ReadConnectionFile(const std::string& path, std::string& connection, std::string& error) {
  FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
  std::string refusal = file.IsOpen() ? Refusal(file.Get()) : std::strerror(errno);
  std::string text;
  try {
    if (refusal.empty() && !ReadAtMost(file.Get(), kLongestConnectionFile, text)) {
      refusal = "it is too long for a connection string";
    }
  } catch (const RuntimeError& e) {
    refusal = e.Description();
  }
  if (refusal.empty()) {
    size_t first = text.find_first_not_of(" \t\r\n");
    size_t last = text.find_last_not_of(" \t\r\n");
    connection = first == std::string::npos ? "" : text.substr(first, last - first + 1);
    bool oneLine = std::ranges::none_of(
        connection, [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; });
    refusal = connection.empty() ? "it is empty"
              : oneLine          ? ""
                                 : "it must hold the connection string on one line";
  }
  if (!refusal.empty()) {
    error = "--db-file " + path + ": " + refusal;
  }
  return refusal.empty();
}

}  // namespace

bool TakeStoreConnection(Options& options, const Environment& environment, std::string& error) {
  if (!options.dbFile.empty()) {
    if (!options.db.empty()) {
      error = "give the store once: --db or --db-file, not both";
      return false;
    }
    return ReadConnectionFile(options.dbFile, options.db, error);
  }
  if (std::optional<std::string> db = environment("XEL02_DB");
      options.db.empty() && db && !db->empty()) {
    options.db = *db;
    options.dbFromEnvironment = true;
  }
  return true;
}

std::string StoreArguments(const Options& options) {
  if (!options.dbFile.empty()) {
    return " --db-file \"" + options.dbFile + "\"";
  }
  return options.dbFromEnvironment ? "" : " --db \"" + WithoutSecrets(options.db) + "\"";
}

}  // namespace xel::app
