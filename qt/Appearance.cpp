#include "qt/Appearance.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPalette>
#include <cmath>
#include <map>
#include <vector>

namespace xel {

namespace {

constexpr Color kSystemColor = 0x80000000;

// The system colours the windows' designs use, by their number.
QColor SystemColor(Color number) {
  QPalette palette = QApplication::palette();
  switch (number) {
    case 0x04:  // menu bar
      return palette.color(QPalette::Window);
    case 0x05:  // window background
      return palette.color(QPalette::Base);
    case 0x08:  // window text
      return palette.color(QPalette::Text);
    case 0x12:  // button text
      return palette.color(QPalette::ButtonText);
    default:
      return {};
  }
}

// The families that stand in for the designed ones, nearest first.
const std::map<std::string, std::vector<QString>>& Substitutes() {
  static const std::map<std::string, std::vector<QString>> substitutes{
      {"Calibri", {"Carlito", "DejaVu Sans"}},
      {"Franklin Gothic Medium", {"Libre Franklin", "DejaVu Sans"}},
      {"Fixedsys", {"DejaVu Sans Mono", "Monospace"}},
  };
  return substitutes;
}

}  // namespace

int TwipsToPixels(float twips) {
  return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

float PixelsToTwips(int pixels) {
  return static_cast<float>(pixels) * kTwipsPerPixel;
}

QRect ToPixels(const Bounds& bounds) {
  return {TwipsToPixels(bounds.left), TwipsToPixels(bounds.top), TwipsToPixels(bounds.width),
          TwipsToPixels(bounds.height)};
}

QColor ToQColor(Color color) {
  if (color >= kSystemColor) {
    return SystemColor(color - kSystemColor);
  }
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

QString AvailableFamily(const std::string& family) {
  QString designed = QString::fromStdString(family);
  if (family.empty() || QFontDatabase::hasFamily(designed)) {
    return designed;
  }
  auto found = Substitutes().find(family);
  if (found == Substitutes().end()) {
    return designed;
  }
  for (const QString& substitute : found->second) {
    if (QFontDatabase::hasFamily(substitute)) {
      return substitute;
    }
  }
  return designed;
}

QFont ToQFont(const Font& font) {
  QFont result = QApplication::font();
  if (!font.name.empty()) {
    result.setFamily(AvailableFamily(font.name));
  }
  if (font.size > 0) {
    result.setPointSizeF(font.size);
  }
  result.setBold(font.bold);
  return result;
}

}  // namespace xel
