// The toolbar's add, edit and delete commands.

#include "editor/frmXEL02.h"

namespace xel {

void frmXEL02::Controles_Add() {}
void frmXEL02::AgregaNodo(const std::string&, const std::string&, int16_t, const std::string&) {}
void frmXEL02::Controles_Edit() {}
std::string frmXEL02::IndiceTipo(const std::string&) const {
  return "";
}
void frmXEL02::Controles_Delete() {}

}  // namespace xel
