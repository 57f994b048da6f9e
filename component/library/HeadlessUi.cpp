#include "component/library/HeadlessUi.h"

#include <iostream>

#include "platform/forms/Forms.h"

namespace xel {

void HeadlessUi::ShowModal(Form& form) {
  form.Hide();
}

void HeadlessUi::ReportUnhandledError(long number, const std::string& description) {
  std::cerr << "XEL02: error " << number << ": " << description << std::endl;
}

}  // namespace xel
