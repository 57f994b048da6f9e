#pragma once

#include <QAbstractItemModel>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/frmXEL02.h"
#include "host/StoreLookup.h"
#include "qt/QtUiBackend.h"
#include "qt/TreeControlView.h"
#include "tests/editor/EditorFixture.h"

namespace xel::testing {

// The outline of a tree as "parent > text" lines, depth first: of the control's nodes, and of an
// item model showing them.
std::vector<std::string> OutlineOf(const TreeNodes& nodes);
std::vector<std::string> OutlineOf(const QAbstractItemModel& model);

// A drag of a node from this program's trees comes over a tree's viewport to a point, as the
// screen reports it: it enters, then moves. Returns whether the tree accepts it there.
bool DragOver(QWidget& viewport, const QPoint& at);
// ... and is dropped there.
void DropAt(QWidget& viewport, const QPoint& at);

// The user of the next message box: notes what it shows and closes it with the key given.
class MessageBoxWatcher {
 public:
  explicit MessageBoxWatcher(Qt::Key answer);
  const QString& Text() const { return text_; }
  QMessageBox::Icon Icon() const { return icon_; }
  bool Seen() const { return seen_; }

 private:
  QTimer timer_;
  QString text_;
  QMessageBox::Icon icon_ = QMessageBox::NoIcon;
  bool seen_ = false;
};

// The editor window on the Qt screen, over a temporary store, with the scripted host services.
struct QtEditorFixture : StoreFixture {
  QtUiBackend ui;
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
  void Open();
  FormWindow& Window() const;
  NodeTreeWidget& Tree() const;
  QWidget& WidgetOf(const std::string& controlName) const;
  QString Shown(const std::string& boxName) const;
  Node NodeOf(const std::string& key) const;
  QModelIndex IndexOf(const std::string& key) const;
  // Where a node's row is on the viewport, once it has been brought into sight.
  QPoint RowCentre(const std::string& key) const;
  void ClickNode(const std::string& key) const;
};

}  // namespace xel::testing
