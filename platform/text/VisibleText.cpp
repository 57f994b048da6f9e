#include "platform/text/VisibleText.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "platform/text/AsciiCase.h"

namespace xel {

namespace {

std::string Hex(const char* format, unsigned value) {
  std::array<char, 8> text{};
  std::snprintf(text.data(), text.size(), format, value);
  return text.data();
}

// The length of the well-formed UTF-8 sequence at the start of the text, or 0 when its first
// byte starts none (a stray continuation byte, an overlong form, a surrogate, a cut sequence).
size_t SequenceLength(std::string_view text) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(0);
  size_t length = lead < 0x80                    ? 1
                  : lead >= 0xC2 && lead <= 0xDF ? 2
                  : lead >= 0xE0 && lead <= 0xEF ? 3
                  : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                 : 0;
  if (length == 0 || length > text.size()) {
    return 0;
  }
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) {
      return 0;
    }
  }
  bool overlongOrOutside = (lead == 0xE0 && byte(1) < 0xA0) || (lead == 0xED && byte(1) >= 0xA0) ||
                           (lead == 0xF0 && byte(1) < 0x90) || (lead == 0xF4 && byte(1) >= 0x90);
  return overlongOrOutside ? 0 : length;
}

unsigned CodePoint(std::string_view sequence) {
  static constexpr std::array<unsigned, 5> kLeadBits{0, 0x7F, 0x1F, 0x0F, 0x07};
  unsigned point = static_cast<unsigned char>(sequence[0]) & kLeadBits[sequence.size()];
  for (size_t i = 1; i < sequence.size(); ++i) {
    point = (point << 6) | (static_cast<unsigned char>(sequence[i]) & 0x3F);
  }
  return point;
}

// Characters that are no control byte yet act on a terminal or on the order text is read in.
bool IsInvisibleControl(unsigned point) {
  return (point >= 0x80 && point <= 0x9F) || (point >= 0x2028 && point <= 0x202E) ||
         (point >= 0x2066 && point <= 0x2069);
}

std::string ControlByte(char c, LineBreaks lineBreaks) {
  switch (c) {
    case '\t':
      return "\\t";
    case '\n':
      return lineBreaks == LineBreaks::Kept ? "\n" : "\\n";
    case '\r':
      return "\\r";
    case '\\':
      return "\\\\";
    default:
      return Hex("\\x%02x", static_cast<unsigned char>(c));
  }
}

bool IsControlByte(char c) {
  auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F || c == '\\';
}

bool IsSecret(std::string_view key) {
  size_t first = key.find_first_not_of(' ');
  size_t last = key.find_last_not_of(' ');
  key = first == std::string_view::npos ? "" : key.substr(first, last - first + 1);
  return SameIgnoringCase(key, "pwd") || SameIgnoringCase(key, "password");
}

// Where an attribute's value that starts at `from` ends: at the next ";" outside braces, or at
// the end. A value in braces may hold ";", and "}}" in it stands for "}".
size_t EndOfValue(std::string_view attributes, size_t from) {
  size_t at = attributes.find_first_not_of(' ', from);
  if (at != std::string_view::npos && attributes[at] == '{') {
    for (++at; at < attributes.size(); ++at) {
      if (attributes[at] == '}' && !attributes.substr(at).starts_with("}}")) {
        break;
      }
      at += attributes.substr(at).starts_with("}}") ? 1 : 0;
    }
  }
  return std::min(attributes.find(';', std::min(at, attributes.size())), attributes.size());
}

}  // namespace

std::string VisibleText(std::string_view text, LineBreaks lineBreaks) {
  std::string visible;
  visible.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    std::string_view rest = text.substr(at);
    size_t length = SequenceLength(rest);
    if (length == 0) {
      visible += Hex("\\x%02x", static_cast<unsigned char>(rest[0]));
      length = 1;
    } else if (lineBreaks == LineBreaks::Kept && rest.starts_with("\r\n")) {
      visible += "\r\n";
      length = 2;
    } else if (length == 1 && IsControlByte(rest[0])) {
      visible += ControlByte(rest[0], lineBreaks);
    } else if (unsigned point = CodePoint(rest.substr(0, length)); IsInvisibleControl(point)) {
      visible += Hex("\\u%04x", point);
    } else {
      visible += rest.substr(0, length);
    }
    at += length;
  }
  return visible;
}

std::string WithoutSecrets(std::string_view connectionString) {
  constexpr std::string_view kOdbc = "odbc:";
  if (connectionString.starts_with("sqlite:")) {
    return std::string(connectionString);  // a path, never a secret
  }
  std::string_view rest = connectionString;
  std::string shown;
  if (rest.starts_with(kOdbc)) {
    shown = kOdbc;
    rest.remove_prefix(kOdbc.size());
  }
  for (size_t at = 0; at < rest.size();) {
    size_t equals = rest.find('=', at);
    size_t semicolon = rest.find(';', at);
    if (equals == std::string_view::npos || semicolon < equals) {
      size_t end = semicolon == std::string_view::npos ? rest.size() : semicolon + 1;
      shown += rest.substr(at, end - at);
      at = end;
      continue;
    }
    size_t end = EndOfValue(rest, equals + 1);
    shown += rest.substr(at, equals + 1 - at);
    shown +=
        IsSecret(rest.substr(at, equals - at)) ? "***" : rest.substr(equals + 1, end - equals - 1);
    at = end;
  }
  return shown;
}

}  // namespace xel
