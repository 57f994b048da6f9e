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

namespace xel::testing {

// One administrator's editor window on a store, through a connection of its own, with the scripted
// host and screen; nothing shown yet. Its statements are recorded; its look-ups are answered by the
// host's real look-up on the same connection, as the host would.
struct VentanaEditor {
  using Usuario = std::function<void(frmZULAddVariables&)>;

  explicit VentanaEditor(Connection& conexion)
      : db(conexion), utility(std::make_shared<ScriptedUtility>([&conexion](const Lookup& l) {
          return BuscarCampoEnStore(conexion, l.table, l.searchColumn, l.searchValue,
                                    l.resultColumn);
        })) {}

  ScriptedUi ui;
  FormsRuntime runtime{ui};
  RecordingConnection db;
  std::shared_ptr<ScriptedSession> session = std::make_shared<ScriptedSession>(db);
  std::shared_ptr<ScriptedUtility> utility;
  Publico publico{session, utility, ""};
  frmXEL02 editor{runtime, publico};

  TreeNodes& Nodes() { return editor.tvVariables.Nodes(); }
  Node NodeOf(const std::string& key) { return Nodes().Item(key); }

  // Shows the window as the host does: the first activation loads the tree.
  void Open() {
    editor.Show();
    db.Clear();
  }
  void PressF5() {
    editor.tvVariables.UserKeyDown(KeyCode::F5, 0);
    editor.tvVariables.UserKeyUp(KeyCode::F5, 0);
  }
  // What a person's click on a node does: the node is selected, then the button goes down.
  void Click(const std::string& key) {
    Node node = NodeOf(key);
    editor.tvVariables.UserClick(node);
    editor.tvVariables.UserMouseDown(MouseButton::Left, 0, 0, 0);
  }
  // A person's drag of a node until it hangs over a target (none: empty space), not yet dropped.
  void DragOver(const std::string& key, Node target) {
    Click(key);
    editor.tvVariables.UserStartDrag(NodeOf(key));
    editor.tvVariables.SetHitTester([target](float, float) { return target; });
    editor.tvVariables.UserDragOver(0, 0);
  }
  void Drag(const std::string& key, const std::string& targetKey) {
    DragOver(key, NodeOf(targetKey));
    editor.tvVariables.UserDrop(0, 0);
  }
  // The keys as the expanded tree shows them, each indented by its depth.
  std::vector<std::string> Shape() {
    std::vector<std::string> lines;
    for (Node top = Nodes().FirstRoot(); top; top = top.Next()) {
      AddShape(top, "", lines);
    }
    return lines;
  }
  void AddShape(const Node& node, const std::string& indent, std::vector<std::string>& lines) {
    lines.push_back(indent + node.Key());
    for (Node child = node.Child(); child; child = child.Next()) {
      AddShape(child, indent + " ", lines);
    }
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
    editor.Controles.ClickAdd();
  }
  void Edita(const std::string& key, Usuario usuario) {
    Click(key);
    AlMostrarse(std::move(usuario));
    editor.Controles.ClickEdit();
  }
  void Borra(const std::string& key) {
    Click(key);
    editor.Controles.ClickDelete();
  }
};

}  // namespace xel::testing
