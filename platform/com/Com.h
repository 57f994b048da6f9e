#pragma once

// The object model shared by hosts and the components they load: reference-counted objects that
// hand out their interfaces by identifier, class factories, result codes. It keeps the shape hosts
// know from in-process servers on the other desktop system, with only what the component needs.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/text/AsciiCase.h"
#include "platform/text/RuntimeError.h"

namespace xel::com {

// The result of a call across the object model: negative is a failure.
using HResult = std::int32_t;

namespace hr {
inline constexpr HResult Ok = 0;
inline constexpr HResult False = 1;
inline constexpr HResult NoInterface = static_cast<HResult>(0x80004002u);
inline constexpr HResult Pointer = static_cast<HResult>(0x80004003u);
inline constexpr HResult Fail = static_cast<HResult>(0x80004005u);
inline constexpr HResult NoAggregation = static_cast<HResult>(0x80040110u);
inline constexpr HResult ClassNotAvailable = static_cast<HResult>(0x80040111u);
inline constexpr HResult TypeLibRegistration = static_cast<HResult>(0x80040200u);
inline constexpr HResult ClassRegistration = static_cast<HResult>(0x80040201u);
}  // namespace hr

inline bool Succeeded(HResult result) {
  return result >= 0;
}

// Run-time errors of object creation, numbered as administrators know them.
namespace err {
inline constexpr long CannotCreateObject = 429;
inline constexpr long InterfaceNotSupported = 430;
}  // namespace err

// Class, interface and type library identifiers are UUIDs in text form; case does not matter.
inline bool SameId(std::string_view a, std::string_view b) {
  return SameIgnoringCase(a, b);
}

inline constexpr std::string_view IID_IUnknown = "{00000000-0000-0000-C000-000000000046}";
inline constexpr std::string_view IID_IClassFactory = "{00000001-0000-0000-C000-000000000046}";

// The base of every object handed across a library boundary. QueryInterface hands out the
// interface with the given identifier and counts one more reference to the object; Release gives
// one back, and the object goes with its last reference.
class Unknown {
 public:
  virtual HResult QueryInterface(std::string_view iid, void** object) = 0;
  virtual unsigned long AddRef() = 0;
  virtual unsigned long Release() = 0;

 protected:
  ~Unknown() = default;
};

// Creates the objects of one class. A failure of the class's own start-up is thrown as the run
// time's error, so that the host receives its number and description.
class ClassFactory : public Unknown {
 public:
  virtual HResult CreateInstance(Unknown* outer, std::string_view iid, void** object) = 0;
  // Keeps the factory's library loaded while locked, even with no object alive.
  virtual HResult LockServer(bool lock) = 0;

 protected:
  ~ClassFactory() = default;
};

// Reference counting for objects on the heap: the creator holds the first reference.
template <class Interface>
class CountedObject : public Interface {
 public:
  unsigned long AddRef() override { return ++references_; }
  unsigned long Release() override {
    unsigned long left = --references_;
    if (left == 0) {
      delete this;
    }
    return left;
  }

 protected:
  CountedObject() = default;
  virtual ~CountedObject() = default;

 private:
  std::atomic<unsigned long> references_{1};
};

// Takes over one counted reference: the last copy of the shared owner gives it back.
template <class T>
std::shared_ptr<T> Adopt(T* counted) {
  return std::shared_ptr<T>(counted, [](T* object) { object->Release(); });
}

// The object's interface with that identifier, holding a reference to the object for as long as
// the interface is held. An object without it is the run time's error 430.
template <class T>
std::shared_ptr<T> Query(const std::shared_ptr<Unknown>& object, std::string_view iid) {
  void* found = nullptr;
  if (!object || !Succeeded(object->QueryInterface(iid, &found)) || !found) {
    throw RuntimeError(err::InterfaceNotSupported,
                       "Class does not support Automation or does not support expected interface");
  }
  Unknown* referenced = object.get();
  return std::shared_ptr<T>(static_cast<T*>(found), [referenced](T*) { referenced->Release(); });
}

// A host's own object behind one of its C++ interfaces (a service of the host's contract), handed
// out through the object model. It keeps the host's object alive while referenced.
template <class T>
class SharedObject final : public CountedObject<Unknown> {
 public:
  SharedObject(std::shared_ptr<T> object, std::string iid)
      : object_(std::move(object)), iid_(std::move(iid)) {}

  HResult QueryInterface(std::string_view iid, void** object) override {
    if (!object) {
      return hr::Pointer;
    }
    *object = nullptr;
    if (SameId(iid, IID_IUnknown)) {
      *object = static_cast<Unknown*>(this);
    } else if (SameId(iid, iid_) && object_) {
      *object = object_.get();
    } else {
      return hr::NoInterface;
    }
    AddRef();
    return hr::Ok;
  }

 private:
  std::shared_ptr<T> object_;
  std::string iid_;
};

// The class factory of a class that lives in the host itself: every creation calls make, and a
// failure of make is the failure of the creation.
template <class T>
class SharedClassFactory final : public CountedObject<ClassFactory> {
 public:
  SharedClassFactory(std::string iid, std::function<std::shared_ptr<T>()> make)
      : iid_(std::move(iid)), make_(std::move(make)) {}

  HResult QueryInterface(std::string_view iid, void** object) override {
    if (!object) {
      return hr::Pointer;
    }
    *object = nullptr;
    if (!SameId(iid, IID_IUnknown) && !SameId(iid, IID_IClassFactory)) {
      return hr::NoInterface;
    }
    *object = static_cast<ClassFactory*>(this);
    AddRef();
    return hr::Ok;
  }

  HResult CreateInstance(Unknown* outer, std::string_view iid, void** object) override {
    if (!object) {
      return hr::Pointer;
    }
    *object = nullptr;
    if (outer) {
      return hr::NoAggregation;
    }
    auto created = Adopt<Unknown>(new SharedObject<T>(make_(), iid_));
    return created->QueryInterface(iid, object);
  }

  // The host's own code never unloads.
  HResult LockServer(bool) override { return hr::Ok; }

 private:
  std::string iid_;
  std::function<std::shared_ptr<T>()> make_;
};

template <class T>
std::shared_ptr<ClassFactory> MakeClassFactory(std::string iid,
                                               std::function<std::shared_ptr<T>()> make) {
  return Adopt<ClassFactory>(new SharedClassFactory<T>(std::move(iid), std::move(make)));
}

}  // namespace xel::com
