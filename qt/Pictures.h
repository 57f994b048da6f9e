#pragma once

#include <QIcon>
#include <string>

#include "platform/forms/MakerControls.h"

namespace xel {

// The pictures of the tree's image list, drawn here by key: "General" a closed folder, "SEGURIDAD"
// an open folder, "Variable" a sheet with lines, "STOP" a stop sign. A key without a picture
// gets an empty icon.
QIcon NodeIcon(const std::string& key);

// The pictures of the toolbar strip's buttons: a plus, a pencil, a cross and an open door.
QIcon CommandIcon(ToolbarZul::Command command);

}  // namespace xel
