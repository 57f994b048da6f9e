#include "host/app/Registration.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "component/Pantalla.h"
#include "platform/com/ComRuntime.h"
#include "platform/com/InProcServer.h"
#include "platform/com/Registry.h"
#include "platform/text/RuntimeError.h"
#include "platform/text/VisibleText.h"

namespace xel::app {

namespace fs = std::filesystem;

namespace {

// One of the library's server entry points. The library stays loaded, as the object model keeps
// the libraries it uses.
template <class Entry>
Entry EntryPoint(const fs::path& library, const char* name) {
  auto entry = reinterpret_cast<Entry>(dlsym(com::LoadComponentLibrary(library), name));
  if (!entry) {
    throw RuntimeError(com::err::CannotCreateObject, library.string() + " is no component library");
  }
  return entry;
}

// The library writes the registry that Registry::Location() names, the user's unless the caller
// chose another.
void Register(const fs::path& library) {
  if (!com::Succeeded(EntryPoint<com::RegisterServerEntry>(library, "DllRegisterServer")())) {
    throw RuntimeError(com::err::CannotCreateObject, "The component " + library.string() +
                                                         " could not register itself in " +
                                                         com::Registry::Location().string() + ".");
  }
}

void Unregister(const fs::path& library) {
  if (!com::Succeeded(EntryPoint<com::UnregisterServerEntry>(library, "DllUnregisterServer")())) {
    throw RuntimeError(com::err::CannotCreateObject, "The component " + library.string() +
                                                         " could not remove its entries from " +
                                                         com::Registry::Location().string() + ".");
  }
}

// The component library to register: the one $XEL02_LIBRARY names, for the user's registry only;
// otherwise the one installed beside the program (the build tree holds it at the same place). No
// other is ever taken, so that the machine's registry only names an installed library and an
// installed program never a build tree's.
fs::path ComponentLibrary(bool forTheMachine) {
  if (const char* library = std::getenv("XEL02_LIBRARY"); library && *library && !forTheMachine) {
    return library;
  }
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  if (error) {
    throw RuntimeError(com::err::CannotCreateObject,
                       "The program cannot find its own file: " + error.message());
  }
  const fs::path installed = (program.parent_path() / XEL02_INSTALLED_LIBRARY).lexically_normal();
  if (!fs::exists(installed, error)) {
    throw RuntimeError(com::err::CannotCreateObject,
                       "The component library is not installed beside the program: " +
                           installed.string() + " is missing.");
  }
  return installed;
}

}  // namespace

void EnsureComponentRegistered() {
  auto entry = com::Registry::LookUpClass(ids::ProgID_Pantalla);
  std::error_code error;
  if (entry && fs::exists(entry->library, error)) {
    return;
  }
  Register(ComponentLibrary(false));
}

int RunRegistrationCommand(const Options& options) {
  bool registering = options.command == Options::Command::Register;
  try {
    if (options.system) {
      setenv("XEL02_REGISTRY", com::Registry::SystemLocation().c_str(), 1);
    }
    const fs::path library = ComponentLibrary(options.system);
    if (registering) {
      Register(library);
      std::cout << "Registered " << library.string() << " in " << com::Registry::Location().string()
                << ".\n";
    } else {
      Unregister(library);
      std::cout << "The component has no entries left in " << com::Registry::Location().string()
                << ".\n";
    }
    return 0;
  } catch (const RuntimeError& e) {
    std::cerr << "xel02 " << (registering ? "register" : "unregister") << ": "
              << VisibleText(e.Description()) << " (" << e.Number() << ")\n";
    return 1;
  }
}

}  // namespace xel::app
