#include "qt/Screenshot.h"

#include <QPixmap>

namespace xel {

bool SaveScreenshot(const QtUiBackend& ui, const Form& form, const QString& file) {
  FormWindow* window = ui.WindowOf(form);
  return window && window->grab().save(file, "PNG");
}

}  // namespace xel
