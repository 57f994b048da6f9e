#include "tests/qt/QtFixture.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

namespace xel::testing {

namespace {

void Outline(const TreeNodes& nodes, const Node& parent, std::vector<std::string>& lines) {
  for (Node child = parent ? parent.Child() : nodes.FirstRoot(); child; child = child.Next()) {
    lines.push_back((parent ? parent.Text() : "-") + " > " + child.Text());
    Outline(nodes, child, lines);
  }
}

void Outline(const QAbstractItemModel& model, const QModelIndex& parent,
             std::vector<std::string>& lines) {
  for (int row = 0; row < model.rowCount(parent); ++row) {
    QModelIndex child = model.index(row, 0, parent);
    std::string parentText = parent.isValid() ? parent.data().toString().toStdString() : "-";
    lines.push_back(parentText + " > " + child.data().toString().toStdString());
    Outline(model, child, lines);
  }
}

}  // namespace

std::vector<std::string> OutlineOf(const TreeNodes& nodes) {
  std::vector<std::string> lines;
  Outline(nodes, Node(), lines);
  return lines;
}

std::vector<std::string> OutlineOf(const QAbstractItemModel& model) {
  std::vector<std::string> lines;
  Outline(model, QModelIndex(), lines);
  return lines;
}

namespace {
QMimeData& NodeDrag() {
  static QMimeData data;
  data.setData("application/x-xel02-node", "1");
  return data;
}
}  // namespace

bool DragOver(QWidget& viewport, const QPoint& at) {
  QDragEnterEvent enter(at, Qt::MoveAction, &NodeDrag(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&viewport, &enter);
  QDragMoveEvent move(at, Qt::MoveAction, &NodeDrag(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&viewport, &move);
  return enter.isAccepted() && move.isAccepted();
}

void DropAt(QWidget& viewport, const QPoint& at) {
  QDragEnterEvent enter(at, Qt::MoveAction, &NodeDrag(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&viewport, &enter);
  QDropEvent drop(at, Qt::MoveAction, &NodeDrag(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&viewport, &drop);
}

MessageBoxWatcher::MessageBoxWatcher(Qt::Key answer) {
  QObject::connect(&timer_, &QTimer::timeout, [this, answer] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
      return;
    }
    timer_.stop();
    seen_ = true;
    text_ = box->text();
    icon_ = box->icon();
    QTest::keyClick(box, answer);
  });
  timer_.start(5);
}

void QtEditorFixture::Open() {
  editor.Show();
  QApplication::processEvents();
}

FormWindow& QtEditorFixture::Window() const {
  FormWindow* window = ui.WindowOf(editor);
  if (!window) {
    FailScript("the editor has no window");
  }
  return *window;
}

NodeTreeWidget& QtEditorFixture::Tree() const {
  return dynamic_cast<NodeTreeWidget&>(WidgetOf("tvVariables"));
}

QWidget& QtEditorFixture::WidgetOf(const std::string& controlName) const {
  QWidget* widget = Window().WidgetOf(controlName);
  if (!widget) {
    FailScript("no widget shows " + controlName);
  }
  return *widget;
}

QString QtEditorFixture::Shown(const std::string& boxName) const {
  return dynamic_cast<QLineEdit&>(WidgetOf(boxName)).text();
}

Node QtEditorFixture::NodeOf(const std::string& key) const {
  return editor.tvVariables.Nodes().Item(key);
}

QModelIndex QtEditorFixture::IndexOf(const std::string& key) const {
  return Tree().Items().IndexOf(NodeOf(key));
}

QPoint QtEditorFixture::RowCentre(const std::string& key) const {
  NodeOf(key).EnsureVisible();
  Tree().scrollTo(IndexOf(key));
  return Tree().visualRect(IndexOf(key)).center();
}

void QtEditorFixture::ClickNode(const std::string& key) const {
  QTest::mouseClick(Tree().viewport(), Qt::LeftButton, {}, RowCentre(key));
}

}  // namespace xel::testing
