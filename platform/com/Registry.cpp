#include "platform/com/Registry.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/com/Com.h"
#include "platform/com/TrustedFile.h"

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

[[noreturn]] void RegistryRefused(const fs::path& file, const std::string& reason) {
  throw RuntimeError(kFileAccessError, "Path/File access error: the registry " + file.string() +
                                           " is refused: " + reason);
}

// Closes a file descriptor when it goes.
class Descriptor {
 public:
  explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
  ~Descriptor() {
    if (descriptor_ >= 0) {
      close(descriptor_);
    }
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return descriptor_; }
  // Closes it now, so that a failure to close is seen.
  int Close() { return close(std::exchange(descriptor_, -1)); }

 private:
  int descriptor_;
};

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

// A relative library path would be read from whatever folder a later host runs in.
void RequireAbsolute(const fs::path& library) {
  if (!library.is_absolute()) {
    throw RuntimeError(xel::err::InvalidProcedureCall,
                       "Invalid procedure call or argument: the library " + library.string() +
                           " is not named by an absolute path");
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

// The registry's path as written to: absolute, and not a link, which could send the write to a file
// of someone else's choosing.
fs::path WritableLocation(const fs::path& file) {
  std::error_code error;
  fs::path target = fs::absolute(file, error);
  if (error) {
    FileAccessFailed(file, error.value());
  }
  if (fs::is_symlink(fs::symlink_status(target, error))) {
    RegistryRefused(target, "it is a symbolic link; name the registry's own file instead");
  }
  return target;
}

// Makes the folders missing on the way to folder, each readable by all and writable by its owner
// only, whatever the process's umask.
void MakeFolders(const fs::path& folder) {
  fs::path made;
  for (const fs::path& part : folder) {
    made /= part;
    if (mkdir(made.c_str(), 0755) == 0) {
      chmod(made.c_str(), 0755);
    } else if (errno != EEXIST) {
      FileAccessFailed(made, errno);
    }
  }
}

void RequireTrustedFolder(const fs::path& file) {
  if (std::string reason = FolderDistrust(file.parent_path()); !reason.empty()) {
    RegistryRefused(file, reason);
  }
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

// Writes the text to a new file beside target, made for this write alone (never a file or link
// already there), readable by all and writable by its owner whatever the umask, and on the disk
// before the call returns, so that the rename that follows never publishes a file whose contents
// are still on their way. Returns the new file's path.
fs::path WriteTemporary(const fs::path& target, const std::string& text) {
  std::string name = target.string() + ".XXXXXX";
  Descriptor descriptor(mkostemp(name.data(), O_CLOEXEC));
  if (descriptor.Get() < 0) {
    FileAccessFailed(target, errno);
  }
  try {
    if (fchmod(descriptor.Get(), 0644) != 0) {
      FileAccessFailed(name, errno);
    }
    WriteAll(descriptor.Get(), text, name);
    if (fsync(descriptor.Get()) != 0 || descriptor.Close() != 0) {
      FileAccessFailed(name, errno);
    }
  } catch (const RuntimeError&) {
    std::error_code ignored;
    fs::remove(name, ignored);
    throw;
  }
  return name;
}

std::string ReadAll(int descriptor, const fs::path& file) {
  std::string text;
  char buffer[8192];
  for (;;) {
    ssize_t count = read(descriptor, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count < 0) {
      FileAccessFailed(file, errno);
    }
    if (count == 0) {
      return text;
    }
    text.append(buffer, static_cast<size_t>(count));
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

// A registry decides which libraries the program runs: one that anybody but root or the user could
// have written, or that is a link, is refused as a whole.
Registry Registry::Load(const fs::path& file) {
  Descriptor descriptor(open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (descriptor.Get() < 0 && errno == ENOENT) {
    return Registry();
  }
  if (descriptor.Get() < 0 && errno == ELOOP) {
    RegistryRefused(file, "it is a symbolic link");
  }
  struct stat status {};
  if (descriptor.Get() < 0 || fstat(descriptor.Get(), &status) != 0) {
    FileAccessFailed(file, errno);
  }
  if (!S_ISREG(status.st_mode)) {
    RegistryRefused(file, "it is not a regular file");
  }
  if (std::string reason = Distrust(status); !reason.empty()) {
    RegistryRefused(file, reason);
  }
  RequireTrustedFolder(fs::absolute(file));
  Registry registry;
  const std::string text = ReadAll(descriptor.Get(), file);
  for (size_t start = 0; start < text.size();) {
    size_t end = std::min(text.find('\n', start), text.size());
    registry.lines_.push_back(SplitAtTabs(text.substr(start, end - start)));
    start = end + 1;
  }
  return registry;
}

void Registry::Save(const fs::path& file) const {
  const fs::path target = WritableLocation(file);
  MakeFolders(target.parent_path());
  RequireTrustedFolder(target);
  const fs::path temporary = WriteTemporary(target, JoinLines(lines_));
  if (std::rename(temporary.c_str(), target.c_str()) != 0) {
    int renameError = errno;
    std::error_code ignored;
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
  RequireAbsolute(entry.library);
  RemoveIf([&](const Line& old) {
    return IsClass(old) && (SameId(old[1], entry.clsid) || SameIgnoringCase(old[2], entry.progId));
  });
  lines_.push_back(std::move(line));
}

void Registry::Register(const TypeLibEntry& entry) {
  Line line{std::string(kTypeLib), entry.libid, entry.name, entry.version, entry.library.string()};
  RequireSafeFields(line);
  RequireAbsolute(entry.library);
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
