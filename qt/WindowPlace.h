#pragma once

#include <QRect>
#include <QString>

class QSettings;
class QWidget;

namespace xel {

// A window's saved place brought onto the screen area: no larger than the area, and moved just far
// enough to lie wholly inside it.
QRect WithinScreen(const QRect& saved, const QRect& screen);

// Where a main window was left, kept per user under the window's name: its place and whether it
// was maximised. Restoring puts it back within the screen it was on, or the primary screen when
// that screen is gone; a window never placed before keeps its designed size.
void RestoreWindowPlace(QWidget& window, QSettings& settings, const QString& name);
void SaveWindowPlace(const QWidget& window, QSettings& settings, const QString& name);

}  // namespace xel
