#pragma once

#include <QString>

#include "qt/QtUiBackend.h"

namespace xel {

// Saves a picture of a shown form's window as a PNG file; false when the form has no window or
// the file cannot be written.
bool SaveScreenshot(const QtUiBackend& ui, const Form& form, const QString& file);

}  // namespace xel
