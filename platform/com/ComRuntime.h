#pragma once

// The host's side of the object model: classes registered in the process, and the creation of
// objects from them or from the component libraries the registry names.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/com/Com.h"

namespace xel::com {

// A class whose factory lives in this process, creatable for as long as this object lives.
// Objects already created stay when it goes.
class ClassObjectRegistration {
 public:
  ClassObjectRegistration(ClassObjectRegistration&& other) noexcept;
  ClassObjectRegistration& operator=(ClassObjectRegistration&&) = delete;
  ~ClassObjectRegistration();

 private:
  friend ClassObjectRegistration RegisterClassObject(std::string, std::string,
                                                     std::shared_ptr<ClassFactory>);
  explicit ClassObjectRegistration(unsigned long cookie) : cookie_(cookie) {}
  unsigned long cookie_;
};

// Makes a class of the host creatable in the process under its class identifier and its
// programmatic identifier; it is found before the registry, and the latest registration of a
// name wins.
[[nodiscard]] ClassObjectRegistration RegisterClassObject(std::string clsid, std::string progId,
                                                          std::shared_ptr<ClassFactory> factory);

// A component library, loaded once and kept for the life of the process. Only a library named by
// an absolute path, which neither it nor its folder lets anyone but root or the user change, is
// loaded; any other, or one that cannot be loaded, is the run time's error 429 with the reason.
void* LoadComponentLibrary(const std::filesystem::path& library);

// The factory of a class: one registered in the process, otherwise the one of the library the
// user's registry, or else the machine's, names for it. The library is loaded once and stays
// loaded. A class that cannot be found or served is the run time's error 429.
std::shared_ptr<ClassFactory> GetClassObject(std::string_view progIdOrClsid);

// A new object of the class. Errors of the class's own start-up reach the caller as they are.
std::shared_ptr<Unknown> CreateObject(std::string_view progIdOrClsid);

// The same, through the interface iid.
template <class T>
std::shared_ptr<T> CreateObject(std::string_view progIdOrClsid, std::string_view iid) {
  return Query<T>(CreateObject(progIdOrClsid), iid);
}

}  // namespace xel::com
