#include "platform/com/Registry.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "platform/com/Com.h"

namespace xel::com {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kClass = "class";
constexpr std::string_view kTypeLib = "typelib";
constexpr size_t kClassFields = 4;    // class, clsid, progid, library
constexpr size_t kTypeLibFields = 5;  // typelib, libid, name, version, library
constexpr long kFileAccessError = 75;

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

fs::path HomeFolder() {
  std::string home = Environment("HOME");
  if (!home.empty()) {
    return home;
  }
  if (const passwd* user = getpwuid(getuid()); user && user->pw_dir) {
    return user->pw_dir;
  }
  throw RuntimeError(kFileAccessError, "Path/File access error: the user has no home folder");
}

// Only an absolute $XDG_CONFIG_HOME counts; anything else means the default.
fs::path ConfigurationFolder() {
  fs::path configured = Environment("XDG_CONFIG_HOME");
  if (configured.is_absolute()) {
    return configured;
  }
  return HomeFolder() / ".config";
}

[[noreturn]] void FileAccessFailed(const fs::path& file, int error) {
  throw RuntimeError(kFileAccessError,
                     "Path/File access error: " + file.string() + ": " + std::strerror(error));
}

// A field that could split or end its line would corrupt the entries after it.
void RequireSafeFields(const std::vector<std::string>& line) {
  for (const std::string& field : line) {
    if (field.empty() || field.find_first_of("\t\r\n") != std::string::npos) {
      throw RuntimeError(xel::err::InvalidProcedureCall,
                         "Invalid procedure call or argument: a registry field is empty or holds "
                         "a tab or a line break");
    }
  }
}

std::vector<std::string> SplitAtTabs(const std::string& text) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t tab = text.find('\t'); tab != std::string::npos; tab = text.find('\t', start)) {
    fields.push_back(text.substr(start, tab - start));
    start = tab + 1;
  }
  fields.push_back(text.substr(start));
  return fields;
}

bool IsClass(const std::vector<std::string>& line) {
  return line.size() == kClassFields && line[0] == kClass;
}

bool IsTypeLib(const std::vector<std::string>& line) {
  return line.size() == kTypeLibFields && line[0] == kTypeLib;
}

std::string JoinLines(const std::vector<std::vector<std::string>>& lines) {
  std::string text;
  for (const auto& line : lines) {
    for (size_t i = 0; i < line.size(); ++i) {
      text += (i == 0 ? "" : "\t") + line[i];
    }
    text += '\n';
  }
  return text;
}

// Where the file really is, its folder created: a registry kept elsewhere behind a link stays
// there.
fs::path RealLocation(const fs::path& file) {
  std::error_code error;
  fs::path target = fs::absolute(file, error);
  if (!error && fs::symlink_status(target, error).type() == fs::file_type::symlink) {
    target = fs::canonical(target, error);
  } else if (error == std::errc::no_such_file_or_directory) {
    error.clear();
  }
  if (error) {
    FileAccessFailed(file, error.value());
  }
  fs::create_directories(target.parent_path(), error);
  if (error) {
    FileAccessFailed(target.parent_path(), error.value());
  }
  return target;
}

void WriteAll(int descriptor, const std::string& text, const fs::path& file) {
  size_t written = 0;
  while (written < text.size()) {
    ssize_t result = write(descriptor, text.data() + written, text.size() - written);
    if (result < 0 && errno == EINTR) {
      continue;
    }
    if (result < 0) {
      FileAccessFailed(file, errno);
    }
    written += static_cast<size_t>(result);
  }
}

// The whole text on the disk before the call returns, so that the rename that follows never
// publishes a file whose contents are still on their way.
void WriteDurably(const fs::path& file, const std::string& text) {
  int descriptor = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (descriptor < 0) {
    FileAccessFailed(file, errno);
  }
  try {
    WriteAll(descriptor, text, file);
    if (fsync(descriptor) != 0) {
      FileAccessFailed(file, errno);
    }
  } catch (const RuntimeError&) {
    close(descriptor);
    throw;
  }
  if (close(descriptor) != 0) {
    FileAccessFailed(file, errno);
  }
}

void SyncFolder(const fs::path& folder) {
  int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor >= 0) {
    fsync(descriptor);
    close(descriptor);
  }
}

}  // namespace

fs::path Registry::Location() {
  std::string chosen = Environment("XEL02_REGISTRY");
  if (!chosen.empty()) {
    return chosen;
  }
  return ConfigurationFolder() / "xel02" / "registry";
}

fs::path Registry::SystemLocation() {
  std::string chosen = Environment("XEL02_SYSTEM_REGISTRY");
  return chosen.empty() ? fs::path("/var/lib/xel02/registry") : fs::path(chosen);
}

std::optional<ClassEntry> Registry::LookUpClass(std::string_view progIdOrClsid) {
  if (auto own = Load(Location()).FindClass(progIdOrClsid)) {
    return own;
  }
  if (!Environment("XEL02_REGISTRY").empty()) {
    return std::nullopt;
  }
  return Load(SystemLocation()).FindClass(progIdOrClsid);
}

Registry Registry::Load(const fs::path& file) {
  Registry registry;
  std::error_code error;
  bool present = fs::exists(file, error);
  if (error) {
    FileAccessFailed(file, error.value());
  }
  if (!present) {
    return registry;
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    FileAccessFailed(file, errno);
  }
  for (std::string text; std::getline(in, text);) {
    registry.lines_.push_back(SplitAtTabs(text));
  }
  if (in.bad()) {
    FileAccessFailed(file, errno);
  }
  return registry;
}

void Registry::Save(const fs::path& file) const {
  const fs::path target = RealLocation(file);
  fs::path temporary = target;
  temporary += ".tmp" + std::to_string(getpid());
  std::error_code ignored;
  try {
    WriteDurably(temporary, JoinLines(lines_));
  } catch (const RuntimeError&) {
    fs::remove(temporary, ignored);
    throw;
  }
  if (std::rename(temporary.c_str(), target.c_str()) != 0) {
    int renameError = errno;
    fs::remove(temporary, ignored);
    FileAccessFailed(target, renameError);
  }
  SyncFolder(target.parent_path());
}

std::optional<ClassEntry> Registry::FindClass(std::string_view progIdOrClsid) const {
  for (const Line& line : lines_) {
    if (IsClass(line) &&
        (SameId(line[1], progIdOrClsid) || SameIgnoringCase(line[2], progIdOrClsid))) {
      return ClassEntry{line[1], line[2], line[3]};
    }
  }
  return std::nullopt;
}

std::optional<TypeLibEntry> Registry::FindTypeLib(std::string_view libid) const {
  for (const Line& line : lines_) {
    if (IsTypeLib(line) && SameId(line[1], libid)) {
      return TypeLibEntry{line[1], line[2], line[3], line[4]};
    }
  }
  return std::nullopt;
}

void Registry::Register(const ClassEntry& entry) {
  Line line{std::string(kClass), entry.clsid, entry.progId, entry.library.string()};
  RequireSafeFields(line);
  RemoveIf([&](const Line& old) {
    return IsClass(old) && (SameId(old[1], entry.clsid) || SameIgnoringCase(old[2], entry.progId));
  });
  lines_.push_back(std::move(line));
}

void Registry::Register(const TypeLibEntry& entry) {
  Line line{std::string(kTypeLib), entry.libid, entry.name, entry.version, entry.library.string()};
  RequireSafeFields(line);
  RemoveIf([&](const Line& old) { return IsTypeLib(old) && SameId(old[1], entry.libid); });
  lines_.push_back(std::move(line));
}

bool Registry::UnregisterClass(std::string_view clsid) {
  return RemoveIf([&](const Line& line) { return IsClass(line) && SameId(line[1], clsid); });
}

bool Registry::UnregisterTypeLib(std::string_view libid) {
  return RemoveIf([&](const Line& line) { return IsTypeLib(line) && SameId(line[1], libid); });
}

bool Registry::RemoveIf(const std::function<bool(const Line&)>& matches) {
  return std::erase_if(lines_, matches) > 0;
}

}  // namespace xel::com
