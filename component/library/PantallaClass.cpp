#include "component/library/PantallaClass.h"

namespace xel {

namespace hr = com::hr;

Pantalla::Pantalla(ServerModule& module) : module_(module) {
  module_.ObjectCreated();
}

Pantalla::~Pantalla() {
  module_.ObjectReleased();
}

com::HResult Pantalla::QueryInterface(std::string_view iid, void** object) {
  if (!object) {
    return hr::Pointer;
  }
  *object = nullptr;
  if (!com::SameId(iid, com::IID_IUnknown) && !com::SameId(iid, ids::IID__Pantalla)) {
    return hr::NoInterface;
  }
  *object = static_cast<_Pantalla*>(this);
  AddRef();
  return hr::Ok;
}

com::HResult PantallaFactory::QueryInterface(std::string_view iid, void** object) {
  if (!object) {
    return hr::Pointer;
  }
  *object = nullptr;
  if (!com::SameId(iid, com::IID_IUnknown) && !com::SameId(iid, com::IID_IClassFactory)) {
    return hr::NoInterface;
  }
  *object = static_cast<com::ClassFactory*>(this);
  AddRef();
  return hr::Ok;
}

unsigned long PantallaFactory::AddRef() {
  module_.ObjectCreated();
  return ++references_;
}

unsigned long PantallaFactory::Release() {
  module_.ObjectReleased();
  return --references_;
}

com::HResult PantallaFactory::CreateInstance(com::Unknown* outer, std::string_view iid,
                                             void** object) {
  if (!object) {
    return hr::Pointer;
  }
  *object = nullptr;
  if (outer) {
    return hr::NoAggregation;
  }
  module_.StartUp();
  auto created = com::Adopt<_Pantalla>(new Pantalla(module_));
  return created->QueryInterface(iid, object);
}

com::HResult PantallaFactory::LockServer(bool lock) {
  module_.Lock(lock);
  return hr::Ok;
}

}  // namespace xel
