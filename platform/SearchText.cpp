#include "platform/SearchText.h"

#include <array>
#include <string>

namespace xel {
namespace {

// The accented letters, upper and lower case, and at the same character position the plain
// lower-case letter each one folds to. Every accented letter is one of U+00C0 to U+00FF.
constexpr std::string_view kAccentedLetters = "ÁÀÂÄÃÉÈÊËÍÌÎÏÓÒÔÖÕÚÙÛÜÑÇáàâäãéèêëíìîïóòôöõúùûüñç";
constexpr std::string_view kPlainLetters = "aaaaaeeeeiiiiooooouuuuncaaaaaeeeeiiiiooooouuuunc";

// U+00C0 to U+00FF are written 0xC3 followed by 0x80 to 0xBF.
constexpr unsigned char kLatin1Lead = 0xC3;
constexpr unsigned char kFirstTrail = 0x80;
constexpr unsigned char kLastTrail = 0xBF;

// The plain letter of each character U+00C0 to U+00FF, by its second byte; 0 for one kept as is.
const std::array<char, 64>& PlainLetterByTrail() {
  static const std::array<char, 64> table = [] {
    std::array<char, 64> plain{};
    for (size_t byte = 1, letter = 0; byte < kAccentedLetters.size(); byte += 2, ++letter) {
      plain[static_cast<unsigned char>(kAccentedLetters[byte]) - kFirstTrail] =
          kPlainLetters[letter];
    }
    return plain;
  }();
  return table;
}

// The plain letter of the two bytes at `at`, or 0 when they are no accented letter.
char PlainLetterAt(std::string_view text, size_t at) {
  if (static_cast<unsigned char>(text[at]) != kLatin1Lead || at + 1 >= text.size()) {
    return 0;
  }
  auto trail = static_cast<unsigned char>(text[at + 1]);
  return trail >= kFirstTrail && trail <= kLastTrail ? PlainLetterByTrail()[trail - kFirstTrail]
                                                     : 0;
}

// ASCII letters in lower case, the accented letters as their plain letter, every other character
// as it is.
std::string FoldForSearch(std::string_view text) {
  std::string folded;
  folded.reserve(text.size());
  for (size_t at = 0; at < text.size(); ++at) {
    if (char plain = PlainLetterAt(text, at)) {
      folded += plain;
      ++at;
      continue;
    }
    char c = text[at];
    folded += c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
  }
  return folded;
}

}  // namespace

bool ContainsFolded(std::string_view text, std::string_view wanted) {
  return FoldForSearch(text).find(FoldForSearch(wanted)) != std::string::npos;
}

}  // namespace xel
