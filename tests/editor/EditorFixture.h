#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/frmXEL02.h"
#include "host/StoreLookup.h"
#include "store/Sql.h"
#include "tests/support/RecordingConnection.h"
#include "tests/support/ScriptedHost.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TempStore.h"

namespace xel::testing {

// A temporary store with a few helpers to fill it.
struct StoreFixture : ::testing::Test {
  TempStore store;

  void AddClass(const std::string& code, const std::string& id, const std::string& parent,
                const std::string& description) {
    store.Db().Execute(
        "INSERT INTO XEL_Clase_Variable (Cv_Cve_Clase_Variable, Cv_Id, Cv_Padre, Cv_Descripcion, "
        "Fecha_Ult_Modif) VALUES ('" +
        Quote(code) + "', '" + Quote(id) + "', '" + Quote(parent) + "', '" + Quote(description) +
        "', getdate())");
  }
  void AddVariable(const std::string& clase, const std::string& key, const std::string& value,
                   const std::string& type = "T", const std::string& description = "") {
    store.Db().Execute(
        "INSERT INTO XEL_Configuracion (Cv_Cve_Clase_Variable, Cf_Variable, Cf_Valor, "
        "Cf_Descripcion, Cf_Tipo, Fecha_Ult_Modif) VALUES ('" +
        Quote(clase) + "', '" + Quote(key) + "', '" + Quote(value) + "', '" + Quote(description) +
        "', '" + Quote(type) + "', getdate())");
  }
  // A → A1 (with variable v1), v; B; C: a small store in the shape of a real one.
  void AddSmallStore() {
    AddClass("0001", "0001", "0000", "Ventas");
    AddClass("0002", "0002", "0001", "Descuentos");
    AddClass("0003", "0003", "0000", "Compras");
    AddClass("0004", "0004", "0000", "Almacen");
    AddVariable("0001", "MONEDA", "MXN");
    AddVariable("0001", "IVA", "16", "N");
    AddVariable("0002", "DESC_MAX", "15", "N");
  }
};

// The editor window on that store, with the scripted host and screen; nothing shown yet.
struct EditorFixture : StoreFixture {
  ScriptedUi ui;
  FormsRuntime runtime{ui};
  RecordingConnection db{store.Db()};
  std::shared_ptr<ScriptedSession> session = std::make_shared<ScriptedSession>(db);
  // Look-ups answered by the host's real look-up on the store, as the host would.
  std::shared_ptr<ScriptedUtility> utility =
      std::make_shared<ScriptedUtility>([this](const Lookup& l) {
        return BuscarCampoEnStore(store.Db(), l.table, l.searchColumn, l.searchValue,
                                  l.resultColumn);
      });
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
  // "key text" per node, in index order, with its parent's key.
  std::vector<std::string> Outline() {
    std::vector<std::string> lines;
    for (long i = 1; i <= Nodes().Count(); ++i) {
      Node node = Nodes().Item(i);
      lines.push_back((node.Parent() ? node.Parent().Key() : "-") + " > " + node.Key() + " " +
                      node.Text());
    }
    return lines;
  }
};

}  // namespace xel::testing
