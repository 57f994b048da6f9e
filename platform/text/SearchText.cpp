#include "platform/text/SearchText.h"

#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/uniset.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <array>

#include "platform/text/RuntimeError.h"

namespace xel {
namespace {

// ICU's tables come with the library; a failure to read them is a broken installation.
void RequireUnicodeTables(UErrorCode status) {
  if (U_FAILURE(status)) {
    throw RuntimeError(err::InvalidProcedureCall,
                       std::string("The Unicode tables cannot be loaded: ") + u_errorName(status));
  }
}

const icu::Normalizer2& Decomposition() {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
  RequireUnicodeTables(status);
  return *nfd;
}

bool IsNonspacingMark(UChar32 c) {
  return u_charType(c) == U_NON_SPACING_MARK;
}

// Decomposed, without its nonspacing marks.
icu::UnicodeString Unmarked(const icu::UnicodeString& text) {
  UErrorCode status = U_ZERO_ERROR;
  icu::UnicodeString decomposed = Decomposition().normalize(text, status);
  icu::UnicodeString unmarked;
  for (int32_t at = 0; at < decomposed.length(); at = decomposed.moveIndex32(at, 1)) {
    if (UChar32 c = decomposed.char32At(at); !IsNonspacingMark(c)) {
      unmarked.append(c);
    }
  }
  return unmarked;
}

icu::UnicodeString Folded(icu::UnicodeString text) {
  return Unmarked(text.foldCase(U_FOLD_CASE_DEFAULT));
}

std::u32string Utf32(const icu::UnicodeString& text) {
  std::u32string utf32;
  for (int32_t at = 0; at < text.length(); at = text.moveIndex32(at, 1)) {
    utf32 += static_cast<char32_t>(text.char32At(at));
  }
  return utf32;
}

// The code points of a set of Unicode properties, range by range.
template <class Each>
void ForEachRange(const char16_t* properties, Each&& each) {
  UErrorCode status = U_ZERO_ERROR;
  icu::UnicodeSet set(properties, status);
  RequireUnicodeTables(status);
  for (int32_t range = 0; range < set.getRangeCount(); ++range) {
    each(set.getRangeStart(range), set.getRangeEnd(range));
  }
}

bool Decomposes(UChar32 c) {
  icu::UnicodeString decomposition;
  return Decomposition().getDecomposition(c, decomposition);
}

icu::UnicodeString UpperCase(icu::UnicodeString text) {
  return text.toUpper(icu::Locale::getRoot());
}

// A text as the server's own steps leave it: upper-cased, decomposed, without nonspacing marks.
// The server compares its texts with one another only, so its letters may stand in another case
// than the folding's: what matters is that it tells apart the same letters.
icu::UnicodeString OnServer(const icu::UnicodeString& text) {
  return Unmarked(UpperCase(text));
}

// The code points that no text holds (noncharacters), which stand on the server for the letters
// whose upper case is another letter's.
constexpr UChar32 kFirstNoncharacter = 0xFDD0;
constexpr UChar32 kLastNoncharacter = 0xFDEF;

std::u32string Noncharacter(UChar32& next) {
  if (next > kLastNoncharacter) {
    throw RuntimeError(err::InvalidProcedureCall,
                       "These Unicode tables upper-case more letters alike than the search can "
                       "tell apart on a server.");
  }
  return std::u32string(1, static_cast<char32_t>(next++));
}

ServerFolding MakeServerFolding() {
  ServerFolding folding;
  UChar32 stand = kFirstNoncharacter;
  ForEachRange(u"[[:Changes_When_Casemapped:][:Changes_When_Casefolded:]]",
               [&](UChar32 first, UChar32 last) {
                 for (UChar32 c = first; c <= last; ++c) {
                   icu::UnicodeString letter(c);
                   icu::UnicodeString folded = Folded(letter);
                   if (Decomposes(c)) {
                     continue;
                   }
                   if (folded == letter && Folded(UpperCase(letter)) != letter) {
                     // The dotless ı, whose upper case I is the i's.
                     folding.beforeCasing.emplace_back(Utf32(letter), Noncharacter(stand));
                   } else if (OnServer(letter) != OnServer(folded)) {
                     // The capital ẞ, whose upper case is itself rather than "SS".
                     folding.beforeCasing.emplace_back(Utf32(letter), Utf32(folded));
                   }
                 }
               });
  ForEachRange(u"[:Mn:]", [&](UChar32 first, UChar32 last) {
    folding.nonspacingMarks.emplace_back(first, last);
  });
  return folding;
}

// The Latin letters most texts are made of: U+0000 to U+024F. None of them combines with another,
// so a text made only of them folds letter by letter, each as a whole text of its own would.
constexpr UChar32 kLatinas = 0x250;

const std::array<std::string, kLatinas>& LatinasPlegadas() {
  static const std::array<std::string, kLatinas> plegadas = [] {
    std::array<std::string, kLatinas> tabla;
    for (UChar32 c = 0; c < kLatinas; ++c) {
      Folded(icu::UnicodeString(c)).toUTF8String(tabla[c]);
    }
    return tabla;
  }();
  return plegadas;
}

// Folds the text into `folded`, letter by letter from the table while it can, by ICU otherwise.
void Fold(std::string_view text, std::string& folded) {
  folded.clear();
  const auto& latinas = LatinasPlegadas();
  const auto length = static_cast<int32_t>(text.size());
  for (int32_t at = 0; at < length;) {
    UChar32 c = 0;
    U8_NEXT(text.data(), at, length, c);
    if (c < 0 || c >= kLatinas) {
      folded.clear();
      Folded(icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), length)))
          .toUTF8String(folded);
      return;
    }
    folded += latinas[c];
  }
}

}  // namespace

std::string FoldedForSearch(std::string_view text) {
  std::string folded;
  Fold(text, folded);
  return folded;
}

bool HoldsFolded(std::string_view text, std::string_view foldedWanted) {
  // One buffer per thread, so that searching row after row allocates nothing.
  thread_local std::string folded;
  Fold(text, folded);
  return folded.find(foldedWanted) != std::string::npos;
}

bool ContainsFolded(std::string_view text, std::string_view wanted) {
  return HoldsFolded(text, FoldedForSearch(wanted));
}

const ServerFolding& FoldingForServers() {
  static const ServerFolding folding = MakeServerFolding();
  return folding;
}

}  // namespace xel
