#pragma once

// The windows' messages, each with its identifier, code, title and text as the user sees them. In a
// text, %1, %2, ... stand for what one showing names (a key, a description, the failure's own
// description); a text of "%1" alone shows the failure's description as it is.

#include <initializer_list>
#include <string>
#include <string_view>

#include "component/HostServices.h"
#include "platform/Forms.h"

namespace xel {

struct Aviso {
  const char* id;
  long codigo;
  const char* titulo;
  const char* texto;
};

// The text with each %n replaced by the n-th datum, in one pass: a datum is never read again for
// placeholders. A % not followed by the number of a datum stays as it is.
std::string Redacta(std::string_view texto, std::initializer_list<std::string_view> datos);

// Shows the message in the host's message box, owned by the window, and returns the button pressed.
long Avisa(const Publico& publico, const Form& ventana, const Aviso& aviso,
           std::initializer_list<std::string_view> datos = {});

namespace avisos {
// Loading the tree.
inline constexpr Aviso kCargaFallida{"ERR-ID:7500001", MsgCode::Critical, "ERROR", "%1"};
inline constexpr Aviso kSubclasesFallidas{"ERR-ID:7500002", MsgCode::Critical, "ERROR", "%1"};

// The toolbar's commands and the moves.
inline constexpr Aviso kBorradoFallido{"ERR-ID:7500003", MsgCode::Critical, "ERROR",
                                       "No se eliminó %1: %2"};
inline constexpr Aviso kMovimientoFallido{"ERR-ID:7500004", MsgCode::Critical, "Velmora", "%1"};
inline constexpr Aviso kConfirmaBorrado{"ERR-ID:7500006", MsgCode::OkCancelQuestion, "Velmora",
                                        "Se eliminará: %1 y la sub-variables"};
inline constexpr Aviso kConfirmaMovimiento{"ERR-ID:7500007", MsgCode::OkCancelQuestion, "Velmora",
                                           "Pasar el menu: %1, como hijo de: %2"};
inline constexpr char kRepetidaEnArbol[] =
    "Se grabó la clave %1, pero el árbol ya muestra un elemento con esa clave. Pulse F5 para "
    "recargar el árbol.";
inline constexpr Aviso kVariableRepetidaEnArbol{"ERR-ID:7500014", MsgCode::Critical, "ERROR",
                                                kRepetidaEnArbol};
inline constexpr Aviso kClaseRepetidaEnArbol{"ERR-ID:7500015", MsgCode::Critical, "ERROR",
                                             kRepetidaEnArbol};

// Saving the order of the tree.
inline constexpr Aviso kGrabarSinNodos{"ERR-ID:7500005", MsgCode::Exclamation, "Imposible grabar",
                                       "Debe haber al menos una variable"};
inline constexpr Aviso kGrabarArbolIncompleto{
    "ERR-ID:7500005", MsgCode::Exclamation, "Imposible grabar",
    "El árbol no muestra todo el almacén porque su carga falló. Pulse F5 para cargarlo completo "
    "antes de grabar."};
inline constexpr Aviso kGrabacionFallida{"ERR-ID:7500005", MsgCode::Critical, "Imposible grabar",
                                         "%1"};
inline constexpr Aviso kAlmacenCambiado{
    "ERR-ID:7500022", MsgCode::OkCancelQuestion, "Velmora",
    "El almacén cambió desde que se cargó el árbol: otro usuario agregó, eliminó o movió clases. "
    "¿Desea grabar el orden del árbol de todos modos? Con Cancelar se vuelve a cargar el árbol sin "
    "grabar."};
inline constexpr Aviso kOrdenSinGrabar{
    "ERR-ID:7500050", MsgCode::YesNoCancelQuestion, "Velmora",
    "El nuevo orden de las clases no se ha grabado. ¿Desea grabarlo antes de %1? Sí lo graba, No "
    "lo descarta y Cancelar sigue en el editor."};

// The dialog's accept.
inline constexpr Aviso kSinTipo{"ERR-ID:7500008", MsgCode::Exclamation, "Advertencia",
                                "Debe escoger un tipo de variable"};
inline constexpr Aviso kSinClave{"ERR-ID:7500009", MsgCode::Exclamation, "Advertencia",
                                 "Debe escpecificar una clave para el menu"};
inline constexpr Aviso kSinPadre{"ERR-ID:7500010", MsgCode::Exclamation, "Advertencia",
                                 "La clave del padre es incorrecta"};
inline constexpr Aviso kClaveNumerica{"ERR-ID:7500011", MsgCode::Exclamation, "Advertencia",
                                      "La clave de la variable no puede ser númerica"};
inline constexpr Aviso kTipoVacio{"ERR-ID:7500012", MsgCode::Exclamation, "Advertencia",
                                  "Debe especificar un tipo de variable"};
inline constexpr Aviso kSinValor{"ERR-ID:7500013", MsgCode::Exclamation, "Advertencia",
                                 "Debe especificar un valor"};
inline constexpr Aviso kVariableExistente{"ERR-ID:7500014", MsgCode::Critical, "ERROR",
                                          "La clave especificada ya existe"};
inline constexpr Aviso kClaseExistente{"ERR-ID:7500015", MsgCode::Critical, "ERROR",
                                       "La clave especificada ya existe"};
inline constexpr Aviso kAceptacionFallida{"ERR-ID:7500016", MsgCode::Critical, "Cmd_Aceptar()",
                                          "%1"};
inline constexpr Aviso kSobrescribeVariable{"ERR-ID:7500020", MsgCode::OkCancelQuestion, "Velmora",
                                            "%1 ¿Desea sobrescribirlo?"};
inline constexpr Aviso kSobrescribeClase{"ERR-ID:7500021", MsgCode::OkCancelQuestion, "Velmora",
                                         "%1 ¿Desea sobrescribirlo?"};

// Finding.
inline constexpr Aviso kSinFuncionDeBusqueda{
    "ERR-ID:7500025", MsgCode::Critical, "ERROR",
    "El almacén no tiene la función de búsqueda %1: su esquema es anterior a la búsqueda. Aplique "
    "de nuevo el esquema del almacén (xel02 schema --db <almacén> --apply)."};
inline constexpr Aviso kBusquedaFallida{"ERR-ID:7500026", MsgCode::Critical, "ERROR", "%1"};

// The history window.
inline constexpr Aviso kSinHistorial{"ERR-ID:7500040", MsgCode::Exclamation, "Historial",
                                     "El almacén no guarda el historial de sus cambios. Para "
                                     "agregarlo: xel02 schema --db CONEXION --apply"};
inline constexpr Aviso kConfirmaRestauracion{"ERR-ID:7500041", MsgCode::OkCancelQuestion,
                                             "Restaurar",
                                             "¿Desea restaurar el cambio #%1? Se hará: %2"};
inline constexpr Aviso kRestauracionFallida{"ERR-ID:7500042", MsgCode::Critical, "Restaurar", "%1"};
}  // namespace avisos

}  // namespace xel
