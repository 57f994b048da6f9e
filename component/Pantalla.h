#pragma once

// The component as hosts see it: its fixed identity, the default interface of its public class
// Pantalla, and the host classes its start-up creates.

#include <memory>
#include <string_view>

#include "component/Ventana.h"
#include "platform/com/Com.h"

namespace xel {

class UiBackend;

// Identifiers published with the component; they never change.
namespace ids {
inline constexpr std::string_view LIBID_XEL02 = "{7D80B908-08C3-42FA-A347-4D87DD2A3633}";
inline constexpr std::string_view TypeLibName = "XEL02";
inline constexpr std::string_view TypeLibVersion = "2.0";
inline constexpr std::string_view CLSID_Pantalla = "{093361B9-C2D2-4194-9971-D9190ED6142E}";
inline constexpr std::string_view IID__Pantalla = "{B79CB8EF-B339-479E-8134-0396870495E2}";
inline constexpr std::string_view ProgID_Pantalla = "XEL02.Pantalla";

// The host's two service classes, which it registers itself, and the interfaces of the host's
// contract the component uses them through.
inline constexpr std::string_view ProgID_SessionService = "Velmora.SessionService";
inline constexpr std::string_view ProgID_UtilityService = "Velmora.UtilityService";
inline constexpr std::string_view IID_SessionService = "{675726F4-5162-4EA4-B21A-0B97C1242A46}";
inline constexpr std::string_view IID_UtilityService = "{A4967B61-026F-4B66-B918-0534FEDC0657}";
}  // namespace ids

// The default interface of the public class Pantalla.
class _Pantalla : public com::Unknown {
 public:
  // The component's one editor window, created on the first read; an empty reference when it
  // cannot be created. The window is neither loaded nor shown by this.
  virtual std::shared_ptr<_frmXEL02> GetPantalla() = 0;
  // The screen the component's windows are shown on, to be handed over before the window is
  // shown and kept alive while they are. Until then the windows show nothing and errors that
  // escape their handlers are written to the standard error stream.
  virtual void SetUi(UiBackend& ui) = 0;

 protected:
  ~_Pantalla() = default;
};

}  // namespace xel
