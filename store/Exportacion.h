#pragma once

#include <string>
#include <string_view>

#include "store/ContenidoDelStore.h"

namespace xel {

// The two forms of a file of classes and variables. JSON: one object with the lists "classes"
// (code, parent, position, description) and "variables" (class, key, value, type, description),
// one record per line. CSV: a header line, then one record per line whose first column says
// "class" or "variable"; a record leaves the other kind's columns empty.
enum class FormatoDeArchivo { Json, Csv };

// The rows as a file of that form, in their order; every value as text, byte for byte.
std::string Exporta(const Contenido& contenido, FormatoDeArchivo formato);

// The form of a file: by the ending of its name (.json, .csv, in any letter case); otherwise JSON
// when its first character other than a blank is '{', CSV when not.
FormatoDeArchivo FormatoDe(const std::string& nombre, std::string_view texto);

// The rows of a file of either form, each with the line its record starts on. Only the form is
// checked here (every record whole, no unknown field); a malformed file is a run-time error whose
// text is "NAME:LINE: what is wrong".
Contenido LeeExportacion(std::string_view texto, const std::string& nombre);

}  // namespace xel
