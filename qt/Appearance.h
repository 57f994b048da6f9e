#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

#include "platform/forms/Forms.h"

namespace xel {

// The designer measures in twips; the screen has 15 twips to the pixel.
inline constexpr float kTwipsPerPixel = 15.0f;

int TwipsToPixels(float twips);
float PixelsToTwips(int pixels);
// A control's designed rectangle on its container, in pixels.
QRect ToPixels(const Bounds& bounds);

// A designed colour, &HBBGGRR, or from &H80000000 up one of the system colours (menu bar,
// window, window text, button text) taken from the application's palette. An invalid colour when
// the system colour is one this screen does not know.
QColor ToQColor(Color color);

// The designed font, or the nearest one this computer has when it lacks the designed family.
QFont ToQFont(const Font& font);
// The family used for a designed family name.
QString AvailableFamily(const std::string& family);

}  // namespace xel
