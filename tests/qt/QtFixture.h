#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <string>

#include "editor/frmXEL02.h"
#include "host/StoreLookup.h"
#include "qt/QtUiBackend.h"
#include "qt/TreeControlView.h"
#include "tests/support/EditorFixture.h"

namespace xel::testing {

// The window showing a form on the Qt screen, and the widget showing one of its controls; a
// missing one ends the test.
FormWindow& WindowOf(const QtUiBackend& ui, const Form& form);
template <class Widget = QWidget>
Widget& WidgetOf(const QtUiBackend& ui, const Form& form, const std::string& controlName) {
  QWidget* widget = WindowOf(ui, form).WidgetOf(controlName);
  if (!widget) {
    FailScript("no widget shows " + controlName);
  }
  return dynamic_cast<Widget&>(*widget);
}

// A drag of a node from this program's trees comes over a tree's viewport to a point, as the
// screen reports it: it enters, then moves there, or is dropped there. Returns whether the tree
// accepted it.
bool DragNodeTo(QWidget& viewport, const QPoint& at, bool drop = false);

// The user of the next message box: notes what it shows and closes it with the key given.
struct MessageBoxWatcher {
  explicit MessageBoxWatcher(Qt::Key answer);
  QTimer timer;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  Qt::TextFormat format = Qt::AutoText;
};

// The editor window open on the Qt screen, over a small temporary store, with the scripted host
// services. The screen remembers window places in a settings file of the test's own.
struct QtEditorFixture : StoreFixture {
  QtEditorFixture() {
    AddSmallStore();
    Open();
  }
  QTemporaryDir placesFolder;
  QSettings places{placesFolder.filePath("lugares.ini"), QSettings::IniFormat};
  QtUiBackend ui{&places};
  FormsRuntime runtime{ui};
  std::shared_ptr<ScriptedSession> session = std::make_shared<ScriptedSession>(store.Db());
  std::shared_ptr<ScriptedUtility> utility =
      std::make_shared<ScriptedUtility>([this](const Lookup& l) {
        return BuscarCampoEnStore(store.Db(), l.table, l.searchColumn, l.searchValue,
                                  l.resultColumn);
      });
  Publico publico{session, utility, ""};
  frmXEL02 editor{runtime, publico};

  // Shows the window as the host does; its first activation loads the tree.
  void Open() {
    editor.Show();
    QApplication::processEvents();
  }
  FormWindow& Window() const { return WindowOf(ui, editor); }
  TreeView& Arbol() const { return ControlOf<TreeView>(editor, "tvVariables"); }
  ToolbarZul& Barra() const { return ControlOf<ToolbarZul>(editor, "Controles"); }
  QWidget& WidgetOf(const std::string& name) const { return testing::WidgetOf(ui, editor, name); }
  NodeTreeWidget& Tree() const {
    return testing::WidgetOf<NodeTreeWidget>(ui, editor, "tvVariables");
  }
  QString Shown(const std::string& box) const {
    return testing::WidgetOf<QLineEdit>(ui, editor, box).text();
  }
  Node NodeOf(const std::string& key) const { return Arbol().Nodes().Item(key); }
  QModelIndex IndexOf(const std::string& key) const { return Tree().Items().IndexOf(NodeOf(key)); }
  // Where a node's row is on the viewport, once it has been brought into sight.
  QPoint RowCentre(const std::string& key) const;
  void ClickNode(const std::string& key) const {
    QTest::mouseClick(Tree().viewport(), Qt::LeftButton, {}, RowCentre(key));
  }
};

}  // namespace xel::testing
