#pragma once

#include <string>
#include <string_view>

namespace xel {

// Whether a line break (LF or CR LF) stays a line break, as in a document shown line by line, or
// shows as \n (\r\n), as in one field, one line of a trace, one message.
enum class LineBreaks { Escaped, Kept };

// A text as it may safely reach a terminal or a line-oriented file: every character that could
// move the cursor, change the screen or the clipboard, or reorder what is read, is shown instead
// as an escape. Tab, line break and carriage return show as \t, \n and \r, other control bytes
// and bytes that are no UTF-8 as \xHH, C1 controls, line and paragraph separators and
// bidirectional overrides as \uHHHH; a backslash shows as \\, so the escapes stay unambiguous.
// Every other character is kept as it is.
std::string VisibleText(std::string_view text, LineBreaks lineBreaks = LineBreaks::Escaped);

// A connection string as it may be shown to a person or written to a file: the values of its
// Pwd and Password attributes (any letter case, braced values included) replaced by ***.
std::string WithoutSecrets(std::string_view connectionString);

}  // namespace xel
