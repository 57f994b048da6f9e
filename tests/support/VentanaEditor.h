#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/frmXEL02.h"
#include "host/StoreLookup.h"
#include "tests/support/RecordingConnection.h"
#include "tests/support/ScriptedHost.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TreeAndStore.h"

namespace xel::testing {

// One administrator's editor window on a store, through a connection of its own, with the scripted
// host and screen; nothing shown yet. Its statements are recorded; its look-ups are answered by the
// host's real look-up on the same connection, as the host would.
struct VentanaEditor {
  using Usuario = std::function<void(frmZULAddVariables&)>;

  explicit VentanaEditor(Connection& conexion)
      : db(conexion), utility(std::make_shared<ScriptedUtility>(BuscaEn(conexion))) {}

  // The host's real look-up, on a connection.
  static ScriptedUtility::Finder BuscaEn(Connection& conexion) {
    return [&conexion](const Lookup& l) {
      return BuscarCampoEnStore(conexion, l.table, l.searchColumn, l.searchValue, l.resultColumn);
    };
  }

  ScriptedUi ui;
  FormsRuntime runtime{ui};
  RecordingConnection db;
  std::shared_ptr<ScriptedSession> session = std::make_shared<ScriptedSession>(db);
  std::shared_ptr<ScriptedUtility> utility;
  Publico publico{session, utility, ""};
  frmXEL02 editor{runtime, publico};

  // The window's controls, as the screen reaches them: by name.
  template <class C = TextBoxZul>
  C& Ctl(const std::string& name) {
    return ControlOf<C>(editor, name);
  }
  TreeView& Arbol() { return Ctl<TreeView>("tvVariables"); }
  ToolbarZul& Barra() { return Ctl<ToolbarZul>("Controles"); }
  void Graba() { Ctl<FlatButton>("cmdGrabar").PerformClick(); }
  // The number of a named picture in the tree's images.
  int Imagen(const std::string& nombre) { return Arbol().ImageListUsed()->IndexOf(nombre); }
  // Whether a drag goes on: a pointer over a node highlights it only then.
  bool Arrastrando() {
    Arbol().SetHitTester([this](float, float) { return NodeOf("K0"); });
    Arbol().UserDragOver(0, 0);
    return static_cast<bool>(Arbol().DropHighlight());
  }

  TreeNodes& Nodes() { return Arbol().Nodes(); }
  Node NodeOf(const std::string& key) { return Nodes().Item(key); }

  // Shows the window as the host does: the first activation loads the tree.
  void Open() {
    editor.Show();
    db.Clear();
  }
  void PressF5() {
    Arbol().UserKeyDown(KeyCode::F5, 0);
    Arbol().UserKeyUp(KeyCode::F5, 0);
  }
  // What a person's click on a node does: the node is selected, then the button goes down.
  void Click(const std::string& key) {
    Arbol().UserClick(NodeOf(key));
    Arbol().UserMouseDown(MouseButton::Left, 0, 0, 0);
  }
  // A person's drag of a node until it hangs over a target (none: empty space), not yet dropped.
  void DragOver(const std::string& key, Node target) {
    Click(key);
    Arbol().UserStartDrag(NodeOf(key));
    Arbol().SetHitTester([target](float, float) { return target; });
    Arbol().UserDragOver(0, 0);
  }
  void Drag(const std::string& key, const std::string& targetKey) {
    DragOver(key, NodeOf(targetKey));
    Arbol().UserDrop(0, 0);
  }
  // The keys as the expanded tree shows them, each indented by its depth.
  std::vector<std::string> Shape() {
    return TreeLines(Nodes(), [](const Node& node) { return node.Key(); });
  }
  // The dialog, driven as a person does: a node is clicked, a toolbar button pressed, and the
  // scripted user fills the dialog when it shows.
  frmZULAddVariables& Dialogo() { return editor.Dialogo(); }
  // What the user does the next time the dialog shows.
  void AlMostrarse(Usuario usuario) {
    ui.WhenModal([this, usuario = std::move(usuario)](Form&) { usuario(Dialogo()); });
  }
  void Agrega(const std::string& key, Usuario usuario) {
    Click(key);
    AlMostrarse(std::move(usuario));
    Barra().ClickAdd();
  }
  void Edita(const std::string& key, Usuario usuario) {
    Click(key);
    AlMostrarse(std::move(usuario));
    Barra().ClickEdit();
  }
  void Borra(const std::string& key) {
    Click(key);
    Barra().ClickDelete();
  }
};

}  // namespace xel::testing
