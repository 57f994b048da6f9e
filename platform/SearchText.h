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

// The same folding on a server that lower-cases and decomposes texts itself (PostgreSQL's lower()
// and normalize(..., NFD), which follow the same Unicode tables): what remains to be done after
// those two steps.
struct ServerFolding {
  // Characters that a lower-cased, decomposed text may still hold and that case folding turns
  // into others, each with its folded, unmarked form (UTF-32): "ß" into "ss", final "ς" into "σ",
  // the iota subscript into "ι", the Cherokee small letters into their capitals.
  std::vector<std::pair<std::u32string, std::u32string>> remainingFolds;
  // The nonspacing marks, as ranges of code points, first and last included.
  std::vector<std::pair<char32_t, char32_t>> nonspacingMarks;
};
const ServerFolding& FoldingForServers();

}  // namespace xel
