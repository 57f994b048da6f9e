#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace xel {

// One record of a comma-separated file, with the line it starts on.
struct RegistroCsv {
  long linea = 1;
  std::vector<std::string> campos;
};

// Reads comma-separated records the usual way (RFC 4180): a field in double quotes may hold
// commas, line breaks and doubled quotes; records end at a line break (CR LF or LF) outside
// quotes. Empty lines are skipped and a UTF-8 byte-order mark at the start is ignored. A malformed
// file is a run-time error whose text is "NAME:LINE: what is wrong".
std::vector<RegistroCsv> LeeCsv(std::string_view texto, const std::string& nombre);

// One record as a line ending in CR LF; a field holding a comma, a quote, a line break or blanks
// at either end is put in quotes, so that reading it back gives the same bytes.
std::string LineaCsv(const std::vector<std::string>& campos);

}  // namespace xel
