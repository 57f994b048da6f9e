// The editor window's designed controls, and how it lays itself out when resized. Positions and
// sizes are in twips. The tab order follows the layout: the tree, the find bar under it, then the
// detail frame row by row.

#include "editor/frmXEL02.h"

namespace xel {

namespace {
constexpr char kTitulo[] = "Variables del sistema";
constexpr Color kFondo = 0xF5F5F5;
constexpr Color kBlanco = 16777215;
const Font kCalibri{"Calibri", 8.25f, false};
const Font kCalibriNegrita{"Calibri", 8.25f, true};

void DisenaEtiqueta(LabelZul& label, const std::string& caption, int alignment) {
  label.SetCaption(caption);
  label.SetAlignment(alignment);
  label.SetBackColor(kFondo);
  label.SetFont(kCalibri);
}

void DisenaCaja(TextBoxZul& box, int tabIndex) {
  box.SetLocked(true);
  box.SetTabIndex(tabIndex);
  box.SetFont(kCalibriNegrita);
  box.SetEnabledColor(kBlanco);
  box.SetText("");
}

// The find bar's height with the gap above it: the room it takes from the tree while it is open.
constexpr float kAltoBarra = 360;
constexpr float kSeparacionBarra = 60;

// The find bar in one row from the tree's left edge: caption, text, then the status text.
void ColocaBarra(LabelZul& etiqueta, TextBox& texto, LabelZul& estado, float left, float top) {
  etiqueta.Move(left, top + 30, 615, 255);
  texto.Move(left + 720, top, 3135, 300);
  estado.Move(left + 3960, top + 30, 3015, 255);
}
}  // namespace

// The caption, then the open store's name, so that an administrator with a test and a production
// store tells their windows apart. The name comes from outside: it is shown without control
// characters.
std::string frmXEL02::TituloConAlmacen() const {
  std::string almacen;
  for (char c : Conexion().StoreName()) {
    if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) {
      almacen += c;
    }
  }
  return almacen.empty() ? kTitulo : kTitulo + std::string(" — ") + almacen;
}

void frmXEL02::InitializeComponent() {
  SetCaption(kTitulo);
  SetDesignSize(9255, 6045);

  Controles.Move(0, 0, 9255, 960);
  Controles.SetCaption(kTitulo);
  Controles.SetEasyAccessEnabled(false);
  Controles.SetShowMenuPopup(false);
  Controles.SetShowWindowsList(true);
  Controles.SetShowExitButton(true);
  Controles.SetTabIndex(0);

  tvVariables.Move(120, 1080, 6975, 2895);
  tvVariables.SetFont({"Franklin Gothic Medium", 8.25f, false});
  tvVariables.SetCheckboxes(true);
  tvVariables.SetTabIndex(1);

  frFrame.Move(120, 4080, 7335, 1575);
  frFrame.SetCaption("Frame1");
  frFrame.SetBackColor(kFondo);
  frFrame.SetForeColor(0x80000008);
  frFrame.SetFont(kCalibri);
  frFrame.SetTabIndex(3);

  Label3.Move(120, 120, 615, 255);
  DisenaEtiqueta(Label3, "Id:", LabelAlignment::Right);
  txtID.Move(840, 120, 1695, 300);
  DisenaCaja(txtID, 4);

  cmdGrabar.Move(5040, 120, 1935, 375);
  cmdGrabar.SetCaption("Grabar");
  cmdGrabar.SetBackColor(9065216);
  cmdGrabar.SetBorderColor(9065216);
  cmdGrabar.SetForeColor(kBlanco);
  cmdGrabar.SetFocusColor(7711999);
  cmdGrabar.SetFont(kCalibri);
  cmdGrabar.SetIconSize(2);
  cmdGrabar.SetTabIndex(5);

  cmdHistorial.Move(5040, 525, 1935, 300);
  cmdHistorial.SetCaption("Historial");
  cmdHistorial.SetBackColor(9065216);
  cmdHistorial.SetBorderColor(9065216);
  cmdHistorial.SetForeColor(kBlanco);
  cmdHistorial.SetFocusColor(7711999);
  cmdHistorial.SetFont(kCalibri);
  cmdHistorial.SetIconSize(2);
  cmdHistorial.SetTabIndex(7);  // under Grabar, beside Clave: after it

  Label1.Move(120, 480, 615, 255);
  DisenaEtiqueta(Label1, "Clave:", LabelAlignment::Right);
  txtClave.Move(840, 480, 3135, 300);
  DisenaCaja(txtClave, 6);

  // Wider than the others, so its right edge lines up with theirs.
  Label2.Move(-840, 840, 1575, 255);
  DisenaEtiqueta(Label2, "Valor:", LabelAlignment::Right);
  txtDescripcion.Move(840, 840, 6135, 300);
  DisenaCaja(txtDescripcion, 8);

  // Below the frame's designed height: kept, but not seen, so the keyboard does not stop there.
  Label4.Move(120, 1920, 615, 255);
  DisenaEtiqueta(Label4, "URL:", LabelAlignment::Left);
  txtURL.Move(840, 1920, 5295, 300);
  DisenaCaja(txtURL, 8);
  txtURL.SetTabStop(false);

  // Closed until the user asks to find something; it keeps its text between searches.
  ColocaBarra(lblBuscar, txtBuscar, lblResultado, 120, 1080 + 2895 + kSeparacionBarra);
  DisenaEtiqueta(lblBuscar, "Buscar:", LabelAlignment::Right);
  DisenaEtiqueta(lblResultado, "", LabelAlignment::Left);
  txtBuscar.SetTabIndex(2);
  lblBuscar.SetVisible(false);
  txtBuscar.SetVisible(false);
  lblResultado.SetVisible(false);
}

// The tree takes the width and the height left above the detail frame, which follows the tree and,
// while it is open, the find bar under the tree. Each step is tried by itself: a size the window
// cannot take skips that step alone.
void frmXEL02::Form_Resize() {
  const Bounds tree = tvVariables.GetBounds();
  const Bounds frame = frFrame.GetBounds();
  const float barra = txtBuscar.Visible() ? kAltoBarra : 0;
  float height = Height() - tree.top - frame.height - 600 - barra;
  float treeHeight = height >= 0 ? height : tree.height;
  float width = Width() - 350;
  tvVariables.Move(tree.left, tree.top, width >= 0 ? width : tree.width, treeHeight);
  ColocaBarra(lblBuscar, txtBuscar, lblResultado, tree.left,
              tree.top + treeHeight + kSeparacionBarra);
  frFrame.Move(frame.left, tree.top + treeHeight + barra + 150, frame.width, frame.height);
}

}  // namespace xel
