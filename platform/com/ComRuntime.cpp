#include "platform/com/ComRuntime.h"

#include <dlfcn.h>

#include <cstdio>
#include <map>
#include <vector>

#include "platform/com/InProcServer.h"
#include "platform/com/Registry.h"
#include "platform/com/TrustedFile.h"

namespace xel::com {

namespace {

struct ClassObject {
  unsigned long cookie;
  std::string clsid;
  std::string progId;
  std::shared_ptr<ClassFactory> factory;
};

// The classes the process registered, latest last.
std::vector<ClassObject>& ClassObjects() {
  static std::vector<ClassObject> classes;
  return classes;
}

[[noreturn]] void CannotCreate(const std::string& detail) {
  throw RuntimeError(err::CannotCreateObject, "ActiveX component can't create object: " + detail);
}

std::string Hex(HResult result) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(result));
  return text;
}

std::shared_ptr<ClassFactory> FactoryInLibrary(const ClassEntry& entry) {
  void* handle = LoadComponentLibrary(entry.library);
  auto getClassObject = reinterpret_cast<GetClassObjectEntry>(dlsym(handle, "DllGetClassObject"));
  if (!getClassObject) {
    CannotCreate(entry.library.string() + " is no component library");
  }
  void* factory = nullptr;
  HResult result =
      getClassObject(entry.clsid.c_str(), std::string(IID_IClassFactory).c_str(), &factory);
  if (!Succeeded(result) || !factory) {
    CannotCreate(entry.progId + " is not served by " + entry.library.string() + " (" + Hex(result) +
                 ")");
  }
  return Adopt(static_cast<ClassFactory*>(factory));
}

}  // namespace

void* LoadComponentLibrary(const std::filesystem::path& library) {
  static std::map<std::filesystem::path, void*> loaded;
  if (auto found = loaded.find(library); found != loaded.end()) {
    return found->second;
  }
  // The file checked is the file loaded: its real path, not a link that could change in between.
  void* handle = dlopen(TrustedLibrary(library).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    CannotCreate(dlerror());
  }
  return loaded[library] = handle;
}

ClassObjectRegistration::ClassObjectRegistration(ClassObjectRegistration&& other) noexcept
    : cookie_(other.cookie_) {
  other.cookie_ = 0;
}

ClassObjectRegistration::~ClassObjectRegistration() {
  std::erase_if(ClassObjects(),
                [this](const ClassObject& entry) { return entry.cookie == cookie_; });
}

ClassObjectRegistration RegisterClassObject(std::string clsid, std::string progId,
                                            std::shared_ptr<ClassFactory> factory) {
  static unsigned long lastCookie = 0;
  ClassObjects().push_back({++lastCookie, std::move(clsid), std::move(progId), std::move(factory)});
  return ClassObjectRegistration(lastCookie);
}

std::shared_ptr<ClassFactory> GetClassObject(std::string_view progIdOrClsid) {
  const auto& classes = ClassObjects();
  for (auto entry = classes.rbegin(); entry != classes.rend(); ++entry) {
    if (SameId(entry->clsid, progIdOrClsid) || SameIgnoringCase(entry->progId, progIdOrClsid)) {
      return entry->factory;
    }
  }
  auto registered = Registry::LookUpClass(progIdOrClsid);
  if (!registered) {
    CannotCreate(std::string(progIdOrClsid) + " is not registered");
  }
  return FactoryInLibrary(*registered);
}

std::shared_ptr<Unknown> CreateObject(std::string_view progIdOrClsid) {
  auto factory = GetClassObject(progIdOrClsid);
  void* object = nullptr;
  HResult result = factory->CreateInstance(nullptr, IID_IUnknown, &object);
  if (!Succeeded(result) || !object) {
    CannotCreate(std::string(progIdOrClsid) + " refused to create an object (" + Hex(result) + ")");
  }
  return Adopt(static_cast<Unknown*>(object));
}

}  // namespace xel::com
