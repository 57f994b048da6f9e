#include "tests/qt/QtFixture.h"

#include <QDropEvent>
#include <QMimeData>

namespace xel::testing {

FormWindow& WindowOf(const QtUiBackend& ui, const Form& form) {
  FormWindow* window = ui.WindowOf(form);
  if (!window) {
    FailScript(form.Name() + " has no window");
  }
  return *window;
}

bool DragNodeTo(QWidget& viewport, const QPoint& at, bool drop) {
  static QMimeData node;
  node.setData("application/x-xel02-node", "1");
  QDragEnterEvent enter(at, Qt::MoveAction, &node, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&viewport, &enter);
  QDragMoveEvent move(at, Qt::MoveAction, &node, Qt::LeftButton, Qt::NoModifier);
  QDropEvent dropped(at, Qt::MoveAction, &node, Qt::LeftButton, Qt::NoModifier);
  QDropEvent& next = drop ? dropped : move;
  QApplication::sendEvent(&viewport, &next);
  return enter.isAccepted() && next.isAccepted();
}

MessageBoxWatcher::MessageBoxWatcher(Qt::Key answer) {
  QObject::connect(&timer, &QTimer::timeout, [this, answer] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      timer.stop();
      text = box->text();
      icon = box->icon();
      format = box->textFormat();
      QTest::keyClick(box, answer);
    }
  });
  timer.start(5);
}

QPoint QtEditorFixture::RowCentre(const std::string& key) const {
  NodeOf(key).EnsureVisible();
  Tree().scrollTo(IndexOf(key));
  return Tree().visualRect(IndexOf(key)).center();
}

}  // namespace xel::testing
