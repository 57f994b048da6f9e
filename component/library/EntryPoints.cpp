// The library's four exports: registration of the type library and of Pantalla, the class factory,
// and whether the library may be unloaded.

#include <dlfcn.h>

#include <exception>
#include <filesystem>

#include "component/Pantalla.h"
#include "component/library/PantallaClass.h"
#include "component/library/ServerModule.h"
#include "platform/com/InProcServer.h"
#include "platform/com/Registry.h"

namespace {

namespace com = xel::com;
namespace ids = xel::ids;

xel::ServerModule serverModule;
xel::PantallaFactory pantallaFactory{serverModule};

// The library's own file, as the process loaded it; the registry sends later hosts there.
std::filesystem::path ThisLibrary() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&DllRegisterServer), &info) == 0 || !info.dli_fname) {
    throw xel::RuntimeError(xel::err::InvalidProcedureCall,
                            "the component library cannot find its own file");
  }
  return std::filesystem::absolute(info.dli_fname).lexically_normal();
}

// Reads the registry, lets change alter it and writes it back in one piece.
template <class Change>
com::HResult UpdateRegistry(Change change) {
  try {
    const std::filesystem::path file = com::Registry::Location();
    com::Registry registry = com::Registry::Load(file);
    if (change(registry)) {
      registry.Save(file);
    }
    return com::hr::Ok;
  } catch (const std::exception&) {
    return com::hr::ClassRegistration;
  }
}

}  // namespace

extern "C" com::HResult DllRegisterServer() {
  return UpdateRegistry([](com::Registry& registry) {
    const std::filesystem::path library = ThisLibrary();
    registry.Register(com::TypeLibEntry{std::string(ids::LIBID_XEL02),
                                        std::string(ids::TypeLibName),
                                        std::string(ids::TypeLibVersion), library});
    registry.Register(com::ClassEntry{std::string(ids::CLSID_Pantalla),
                                      std::string(ids::ProgID_Pantalla), library});
    return true;
  });
}

extern "C" com::HResult DllUnregisterServer() {
  return UpdateRegistry([](com::Registry& registry) {
    bool removedClass = registry.UnregisterClass(ids::CLSID_Pantalla);
    bool removedTypeLib = registry.UnregisterTypeLib(ids::LIBID_XEL02);
    return removedClass || removedTypeLib;
  });
}

extern "C" com::HResult DllGetClassObject(const char* clsid, const char* iid, void** object) {
  if (!object) {
    return com::hr::Pointer;
  }
  *object = nullptr;
  if (!clsid || !iid) {
    return com::hr::Pointer;
  }
  if (!com::SameId(clsid, ids::CLSID_Pantalla)) {
    return com::hr::ClassNotAvailable;
  }
  return pantallaFactory.QueryInterface(iid, object);
}

extern "C" com::HResult DllCanUnloadNow() {
  return serverModule.CanUnload() ? com::hr::Ok : com::hr::False;
}
