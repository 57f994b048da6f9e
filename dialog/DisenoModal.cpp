#include "dialog/DisenoModal.h"

namespace xel {

namespace {
constexpr Color kBlanco = 0xFFFFFF;
constexpr Color kAzulBoton = 9065216;
constexpr Color kFocoBoton = 7711999;
}  // namespace

void DisenaBarraModal(ToolbarZul& barra, float ancho, const std::string& titulo) {
  barra.Move(0, 0, ancho, 960);
  barra.SetCaption(titulo);
  barra.SetTabWidth(0);
  barra.SetEasyAccessEnabled(false);
  barra.SetShowMenuPopup(false);
  barra.SetShowWindowsList(false);
  barra.SetShowExitButton(true);
}

void DisenaBoton(FlatButton& boton, float izquierda, const std::string& texto, int tabIndex) {
  boton.Move(izquierda, 5160, 1695, 375);
  boton.SetCaption(texto);
  boton.SetBackColor(kAzulBoton);
  boton.SetBorderColor(kAzulBoton);
  boton.SetForeColor(kBlanco);
  boton.SetFocusColor(kFocoBoton);
  boton.SetFont({"Calibri", 9.0f, false});
  boton.SetTabIndex(tabIndex);
}

}  // namespace xel
