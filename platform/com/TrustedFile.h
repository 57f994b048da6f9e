#pragma once

// Files the process takes code from, or the names of its code: component libraries and the
// registries that name them. Only root and the user running the program may be able to change
// them, for whoever can change them decides what the program runs.

#include <sys/stat.h>

#include <filesystem>
#include <string>

namespace xel::com {

// Why a file or folder with that status cannot be trusted: owned by someone other than root or
// the user running the program, or writable by its group or by every user. Empty when it can.
std::string Distrust(const struct stat& status);

// The same for the folder at that path (links followed); a folder that cannot be examined is
// distrusted too, the reason saying why.
std::string FolderDistrust(const std::filesystem::path& folder);

// The real file of a component library, once its path is absolute and neither the file nor its
// folder can be changed by anyone but root or the user; otherwise the run time's error 429, naming
// the file and the reason.
std::filesystem::path TrustedLibrary(const std::filesystem::path& library);

}  // namespace xel::com
