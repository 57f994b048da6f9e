// The history window: its design, the list of changes with its filter, and the restore.

#include "editor/frmHistorial.h"

#include <exception>

#include "component/Avisos.h"
#include "dialog/DisenoModal.h"
#include "dialog/RegistroGuardado.h"
#include "platform/SearchText.h"

namespace xel {

namespace {
constexpr Color kFondo = 0xF5F5F5;
const Font kCalibri{"Calibri", 8.25f, false};

// One change as the list shows it.
std::string Linea(const EntradaDeHistorial& e) {
  const char* que = e.entidad == Entidad::Clase      ? "clase"
                    : e.entidad == Entidad::Variable ? "variable"
                                                     : "historial";
  std::string usuario = e.usuario.empty() ? "(" + e.usuarioBd + ")" : e.usuario;
  return "#" + std::to_string(e.id) + "  " + e.fecha.substr(0, 19) + "  " + usuario + "  " + que +
         " " + e.clave + ": " + DescribeEntrada(e);
}
}  // namespace

frmHistorial::frmHistorial(FormsRuntime& runtime, Publico& publico)
    : Form(runtime, "frmHistorial"), publico_(publico) {
  txtFiltro.KeyDown.Connect([this](int& keyCode, int shift) { txtFiltro_KeyDown(keyCode, shift); });
  tvCambios.KeyDown.Connect([this](int& keyCode, int shift) { tvCambios_KeyDown(keyCode, shift); });
  cmdRestaurar.Click.Connect([this] { cmdRestaurar_Click(); });
  cmdCerrar.Click.Connect([this] { Hide(); });
  Controles.Exit.Connect([this] { Hide(); });
}

void frmHistorial::InitializeComponent() {
  SetCaption("Historial de cambios");
  SetDesignSize(9255, 6045);
  DisenaBarraModal(Controles, 9255, "Historial de cambios");
  lblFiltro.Move(120, 1080, 1095, 255);
  lblFiltro.SetCaption("Filtrar:");
  lblFiltro.SetAlignment(LabelAlignment::Right);
  lblFiltro.SetFont(kCalibri);
  lblFiltro.SetBackColor(kFondo);
  txtFiltro.Move(1320, 1080, 7695, 300);
  txtFiltro.SetTabIndex(0);
  tvCambios.Move(120, 1500, 8895, 3495);
  tvCambios.SetFont({"Franklin Gothic Medium", 8.25f, false});
  tvCambios.SetTabIndex(1);
  DisenaBoton(cmdRestaurar, 5520, "Restaurar", 2);
  DisenaBoton(cmdCerrar, 7320, "Cerrar", 3);
}

void frmHistorial::Form_Load() {
  colorZUL.ApplyToForm();
  Restaurado = false;
}

// Closing from the control box hides the window: the editor still reads Restaurado.
void frmHistorial::Form_QueryUnload(int& cancel, UnloadMode mode) {
  if (mode == UnloadMode::FormControlMenu) {
    cancel = 1;
    Hide();
  }
}

void frmHistorial::Muestra(const std::string& clave, bool esClase) {
  Connection& conexion = publico_.Session().Conexion();
  if (!TieneHistorial(conexion)) {
    Avisa(publico_, *this, avisos::kSinHistorial);
    return;
  }
  clave_ = clave;
  esClase_ = esClase;
  Load();
  txtFiltro.SetText("");
  Lee();
  Show(true);
}

// The entries of the window's subject, newest first.
void frmHistorial::Lee() {
  Connection& conexion = publico_.Session().Conexion();
  ConsultaDeHistorial consulta;
  if (!clave_.empty() && esClase_) {
    consulta.clases = ClasesDelSubarbol(conexion, clave_);
  } else if (!clave_.empty()) {
    consulta.variable = clave_;
  }
  entradas_ = LeeHistorial(conexion, consulta);
  Muestra();
}

// The entries whose line holds the filter's text, letter case and accents aside; the first one
// selected.
void frmHistorial::Muestra() {
  TreeNodes& nodos = tvCambios.Nodes();
  nodos.Clear();
  for (const EntradaDeHistorial& e : entradas_) {
    const std::string linea = Linea(e);
    if (ContainsFolded(linea, txtFiltro.Text())) {
      nodos.Add({}, tvw::Last, "H" + std::to_string(e.id), linea);
    }
  }
  if (nodos.Count() > 0) {
    tvCambios.SetSelectedItem(nodos.Item(1L));
  }
  cmdRestaurar.SetEnabled(nodos.Count() > 0);
}

void frmHistorial::txtFiltro_KeyDown(int& keyCode, int shift) {
  if (keyCode == KeyCode::Enter && shift == 0) {
    Muestra();
    keyCode = 0;
  }
}

// Enter on a change restores it, as the button does.
void frmHistorial::tvCambios_KeyDown(int& keyCode, int shift) {
  if (keyCode == KeyCode::Enter && shift == 0) {
    cmdRestaurar_Click();
    keyCode = 0;
  }
}

void frmHistorial::cmdRestaurar_Click() {
  const Node seleccionado = tvCambios.SelectedItem();
  if (!seleccionado) {
    return;
  }
  const long long id = std::stoll(seleccionado.Key().substr(1));
  Historial historial = HistorialDeSesion(publico_);
  try {
    const std::string plan = Revierte(historial, id, true);
    if (Avisa(publico_, *this, avisos::kConfirmaRestauracion, {std::to_string(id), plan}) !=
        MsgCode::Ok) {
      return;
    }
    Revierte(historial, id, false);
    Restaurado = true;
    Lee();
  } catch (const std::exception& e) {
    Avisa(publico_, *this, avisos::kRestauracionFallida, {e.what()});
  }
}

}  // namespace xel
