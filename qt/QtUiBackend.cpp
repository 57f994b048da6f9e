#include "qt/QtUiBackend.h"

#include <QApplication>
#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>

#include "component/MsgCode.h"
#include "platform/forms/Forms.h"
#include "qt/HostScreen.h"
#include "qt/WindowPlace.h"

namespace xel {

QtUiBackend::~QtUiBackend() {
  for (auto& [form, window] : windows_) {
    if (window) {
      window->Abandon();
      delete window;
    }
  }
}

FormWindow* QtUiBackend::WindowOf(const Form& form) const {
  auto found = windows_.find(&form);
  return found == windows_.end() ? nullptr : found->second.data();
}

FormWindow& QtUiBackend::WindowFor(Form& form) {
  if (FormWindow* existing = WindowOf(form)) {
    return *existing;
  }
  auto* window = new FormWindow(form);
  windows_[&form] = window;
  return *window;
}

void QtUiBackend::ShowModeless(Form& form) {
  const bool placed = WindowOf(form) != nullptr;
  FormWindow& window = WindowFor(form);
  if (places_ && !placed) {
    RestoreWindowPlace(window, *places_, QString::fromStdString(form.Name()));
    placed_.insert(&form);
  }
  window.show();
  window.raise();
  window.activateWindow();
}

// A modal form opens over the window the user was working in.
void QtUiBackend::ShowModal(Form& form) {
  if (!form.Loaded() || !form.Visible()) {
    return;  // its activation already closed it
  }
  QWidget* owner = QApplication::activeWindow();
  FormWindow& window = WindowFor(form);
  window.setWindowFlag(Qt::Dialog);
  window.setWindowModality(Qt::ApplicationModal);
  if (owner && owner != &window) {
    window.move(owner->frameGeometry().center() - window.rect().center());
  }
  window.show();
  window.raise();
  window.activateWindow();
  QEventLoop loop;
  modalLoops_[&form] = &loop;
  loop.exec(QEventLoop::DialogExec);
  modalLoops_.erase(&form);
  if (FormWindow* hidden = WindowOf(form)) {
    hidden->setWindowModality(Qt::NonModal);
  }
}

void QtUiBackend::EndModalLoop(const Form& form) {
  auto loop = modalLoops_.find(&form);
  if (loop != modalLoops_.end()) {
    loop->second->quit();
  }
}

void QtUiBackend::Hide(Form& form) {
  if (FormWindow* window = WindowOf(form)) {
    window->hide();
  }
  EndModalLoop(form);
}

// The window may be in the middle of the event that unloaded its form: it lets go of the form at
// once and goes when the event is over.
void QtUiBackend::Unloaded(Form& form) {
  if (FormWindow* window = WindowOf(form); window && placed_.erase(&form) > 0) {
    SaveWindowPlace(*window, *places_, QString::fromStdString(form.Name()));
  }
  if (FormWindow* window = WindowOf(form)) {
    window->Release();
    window->hide();
    window->deleteLater();
  }
  windows_.erase(&form);
  EndModalLoop(form);
}

void QtUiBackend::DoEvents() {
  QCoreApplication::processEvents();
}

void QtUiBackend::SetMousePointer(int pointer) {
  if (pointer == MousePointer::Hourglass) {
    if (!QGuiApplication::overrideCursor()) {
      QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    return;
  }
  while (QGuiApplication::overrideCursor()) {
    QGuiApplication::restoreOverrideCursor();
  }
}

long QtUiBackend::Message(const std::string& prompt, long code, const std::string& title,
                          const std::string& errorId) {
  if (!unattended_) {
    return ShowMensaje(QApplication::activeWindow(), prompt, code, title);
  }
  ++unattendedAnswers_;
  return AnswerUnattended(prompt, code, title, errorId);
}

void QtUiBackend::ReportUnhandledError(long number, const std::string& description) {
  Message("Error " + std::to_string(number) + "\n\n" + description, MsgCode::Critical,
          QApplication::applicationName().toStdString(), "");
}

void QtUiBackend::CopyToClipboard(const std::string& text) {
  QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

}  // namespace xel
