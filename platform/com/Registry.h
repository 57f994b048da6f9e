#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xel::com {

// Where a class's objects come from: its identifier, its programmatic identifier (component and
// class name joined by a dot) and the library that serves it.
struct ClassEntry {
  std::string clsid;
  std::string progId;
  std::filesystem::path library;
  bool operator==(const ClassEntry&) const = default;
};

struct TypeLibEntry {
  std::string libid;
  std::string name;
  std::string version;
  std::filesystem::path library;
  bool operator==(const TypeLibEntry&) const = default;
};

// A registry of components: a text file, one entry a line, fields separated by tabs. Lines it
// does not know (other kinds, comments) are kept as they are when it is written back. Each user has
// one, and the machine has one that the installer keeps for every user.
class Registry {
 public:
  // The user's registry: $XEL02_REGISTRY when set, otherwise xel02/registry in the user's
  // configuration folder ($XDG_CONFIG_HOME, or ~/.config).
  static std::filesystem::path Location();
  // The machine's registry: $XEL02_SYSTEM_REGISTRY when set, otherwise /var/lib/xel02/registry.
  static std::filesystem::path SystemLocation();

  // The class as the user's registry names it, otherwise as the machine's: the user's own entry
  // wins. A user registry named by $XEL02_REGISTRY stands alone, so that a session given a
  // registry of its own (a trial, a test) never reaches the machine's.
  static std::optional<ClassEntry> LookUpClass(std::string_view progIdOrClsid);

  // The file's entries; an empty registry when the file does not exist yet. A registry that is a
  // link, or that anyone but root or the user running the program owns or can write to, or whose
  // folder they can, is refused (error 75, naming the file and the reason).
  static Registry Load(const std::filesystem::path& file);
  // Writes a new temporary file beside the old one and renames it over it, so that a reader, or the
  // file left by a crash, is always the old registry or the new one, never a part of either. The
  // file is made 0644 and missing folders 0755, whatever the umask; a registry that is a link is
  // refused rather than written through.
  void Save(const std::filesystem::path& file) const;

  // The class with that programmatic identifier or class identifier.
  std::optional<ClassEntry> FindClass(std::string_view progIdOrClsid) const;
  std::optional<TypeLibEntry> FindTypeLib(std::string_view libid) const;

  // Adds the entry, replacing one with the same identifier (for a class, also one with the same
  // programmatic identifier). Fields holding tabs or line breaks, and a library not named by an
  // absolute path, are refused.
  void Register(const ClassEntry& entry);
  void Register(const TypeLibEntry& entry);
  // Whether there was anything to remove.
  bool UnregisterClass(std::string_view clsid);
  bool UnregisterTypeLib(std::string_view libid);

 private:
  using Line = std::vector<std::string>;
  bool RemoveIf(const std::function<bool(const Line&)>& matches);

  std::vector<Line> lines_;
};

}  // namespace xel::com
