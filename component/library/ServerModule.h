#pragma once

#include <atomic>
#include <memory>

#include "component/HostServices.h"
#include "component/Ventana.h"
#include "component/library/HeadlessUi.h"
#include "platform/forms/Forms.h"

namespace xel {

class frmXEL02;

// What the component keeps while its library is loaded: the module Publico (the host's services
// and the statement buffer), the forms run time of its windows, the one editor window, and the
// count of objects and locks that must keep the library loaded.
class ServerModule {
 public:
  ServerModule();
  ~ServerModule();
  ServerModule(const ServerModule&) = delete;
  ServerModule& operator=(const ServerModule&) = delete;

  // Every reference the component hands out (objects, the factory, the window) counts until it
  // is given back; so do the host's locks.
  void ObjectCreated() { ++objects_; }
  void ObjectReleased() { --objects_; }
  void Lock(bool lock);
  bool CanUnload() const { return objects_ == 0 && locks_ == 0; }

  // The start-up, run before the first object is created: the host's session service and then
  // its utility service, kept for the life of the library. It completes only when both exist; a
  // failure goes to the caller and the next creation tries again from the start.
  void StartUp();

  // A counted reference to the one editor window, created on the first call; an empty reference
  // when it cannot be created.
  std::shared_ptr<_frmXEL02> Window();

  void SetUi(UiBackend& ui) { runtime_.SetUi(ui); }

 private:
  std::atomic<long> objects_{0};
  std::atomic<long> locks_{0};
  HeadlessUi headless_;
  FormsRuntime runtime_{headless_};
  Publico publico_;
  std::shared_ptr<frmXEL02> window_;  // last: it uses the run time and Publico
};

}  // namespace xel
