#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace xel {

// How the editor's search compares texts: without regard to letter case nor to accents, in every
// script, so that "facturacion" finds "Facturación", "da nang" "Đà Nẵng"'s "Nẵng" and "ωμεγα"
// "ΩΜΈΓΑ". A text is folded in three steps: full case folding (so "ß" is "ss"), canonical
// decomposition, and the nonspacing marks (accents, the Vietnamese tones, the Greek tonos)
// removed. Letters that carry a stroke rather than a mark ("Ł", "Đ", "ø") and the Turkish dotless
// "ı" stay letters of their own.

// The store's function that answers 1 when its first argument holds its second, both folded, and 0
// otherwise (also for NULL): the SQLite connection registers it, the schema makes it on a server.
inline constexpr char kSearchFunction[] = "xel_contiene";

// The text (UTF-8) folded; a byte that is not part of well-formed UTF-8 stands for U+FFFD.
std::string FoldedForSearch(std::string_view text);

// Whether the text (UTF-8) holds the wanted one, both folded; every text holds the empty one.
bool ContainsFolded(std::string_view text, std::string_view wanted);
// The same with the wanted text already folded, for a search that tries it on many texts.
bool HoldsFolded(std::string_view text, std::string_view foldedWanted);

// The same folding on a server that sets case aside by upper-casing texts and decomposes them
// itself (PostgreSQL's upper() and normalize(..., NFD), which follow the same Unicode tables): the
// server's texts are then in upper case rather than folded, but two texts hold one another there
// exactly when they do here. Only a few letters need help first.
struct ServerFolding {
  // Letters to replace before upper-casing (UTF-32), each with what stands for it: the capital
  // "ẞ", whose upper case is itself, by "ss"; the dotless "ı", whose upper case "I" is also the
  // i's, by a code point that no text holds.
  std::vector<std::pair<std::u32string, std::u32string>> beforeCasing;
  // The nonspacing marks, as ranges of code points, first and last included.
  std::vector<std::pair<char32_t, char32_t>> nonspacingMarks;
};
const ServerFolding& FoldingForServers();

}  // namespace xel
