#pragma once

#include <atomic>
#include <memory>

#include "component/Pantalla.h"
#include "component/library/ServerModule.h"

namespace xel {

// The public class: each object hands the host the component's one editor window.
class Pantalla final : public com::CountedObject<_Pantalla> {
 public:
  explicit Pantalla(ServerModule& module);
  ~Pantalla() override;

  com::HResult QueryInterface(std::string_view iid, void** object) override;
  std::shared_ptr<_frmXEL02> GetPantalla() override { return module_.Window(); }
  void SetUi(UiBackend& ui) override { module_.SetUi(ui); }

 private:
  ServerModule& module_;
};

// The class factory of Pantalla: one for the library, living as long as it. Every reference to it
// counts as an object of the library.
class PantallaFactory final : public com::ClassFactory {
 public:
  explicit PantallaFactory(ServerModule& module) : module_(module) {}

  com::HResult QueryInterface(std::string_view iid, void** object) override;
  unsigned long AddRef() override;
  unsigned long Release() override;
  // Runs the component's start-up before the first object; its failure is the creation's.
  com::HResult CreateInstance(com::Unknown* outer, std::string_view iid, void** object) override;
  com::HResult LockServer(bool lock) override;

 private:
  ServerModule& module_;
  std::atomic<unsigned long> references_{0};
};

}  // namespace xel
