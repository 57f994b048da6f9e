#include "qt/WindowPlace.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <algorithm>

namespace xel {

namespace {
QString PlaceKey(const QString& name) {
  return "ventanas/" + name + "/lugar";
}
QString MaximizedKey(const QString& name) {
  return "ventanas/" + name + "/maximizada";
}

// The screen area the place was on, or the primary screen's.
QRect ScreenAreaFor(const QRect& place) {
  QScreen* screen = QGuiApplication::screenAt(place.center());
  if (!screen) {
    screen = QGuiApplication::primaryScreen();
  }
  return screen ? screen->availableGeometry() : QRect();
}
}  // namespace

QRect WithinScreen(const QRect& saved, const QRect& screen) {
  const int width = std::min(saved.width(), screen.width());
  const int height = std::min(saved.height(), screen.height());
  const int left = std::clamp(saved.left(), screen.left(), screen.left() + screen.width() - width);
  const int top = std::clamp(saved.top(), screen.top(), screen.top() + screen.height() - height);
  return {left, top, width, height};
}

void RestoreWindowPlace(QWidget& window, QSettings& settings, const QString& name) {
  const QRect saved = settings.value(PlaceKey(name)).toRect();
  if (!saved.isValid()) {
    return;
  }
  const QRect screen = ScreenAreaFor(saved);
  const QRect place = screen.isValid() ? WithinScreen(saved, screen) : saved;
  window.resize(place.size());
  window.move(place.topLeft());
  if (settings.value(MaximizedKey(name)).toBool()) {
    window.setWindowState(window.windowState() | Qt::WindowMaximized);
  }
}

// A maximised window keeps the place it had before, so that it comes back there when restored.
void SaveWindowPlace(const QWidget& window, QSettings& settings, const QString& name) {
  const bool maximized = window.isMaximized();
  const QRect normal = window.normalGeometry();
  settings.setValue(PlaceKey(name),
                    maximized && normal.isValid() ? normal : QRect(window.pos(), window.size()));
  settings.setValue(MaximizedKey(name), maximized);
  settings.sync();
}

}  // namespace xel
