#pragma once

#include <string>

#include "platform/forms/MakerControls.h"

namespace xel {

// The design the modal windows share: the title strip across the top with only its exit button,
// and the blue buttons along the bottom.
void DisenaBarraModal(ToolbarZul& barra, float ancho, const std::string& titulo);
void DisenaBoton(FlatButton& boton, float izquierda, const std::string& texto, int tabIndex);

}  // namespace xel
