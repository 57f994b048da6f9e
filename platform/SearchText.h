#pragma once

#include <string_view>

namespace xel {

// How the editor's search compares texts: without regard to letter case, nor to the accents of
// the Latin letters Spanish and Portuguese use (áàâäã éèêë íìîï óòôöõ úùûü ñ ç, in either case), so
// that "facturacion" finds "Facturación".

// The store's function that answers 1 when its first argument holds its second, both folded, and 0
// otherwise (also for NULL): the SQLite connection registers it, the schema makes it on a server.
inline constexpr char kSearchFunction[] = "xel_contiene";

// Whether the text (UTF-8) holds the wanted one, both folded; every text holds the empty one.
bool ContainsFolded(std::string_view text, std::string_view wanted);

}  // namespace xel
