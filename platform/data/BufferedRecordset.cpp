#include "platform/data/BufferedRecordset.h"

#include <utility>

#include "platform/text/AsciiCase.h"

namespace xel {

BufferedRecordset::BufferedRecordset(std::vector<std::string> columns, std::vector<Row> rows)
    : columns_(std::move(columns)), rows_(std::move(rows)) {}

bool BufferedRecordset::Eof() const {
  RequireOpen();
  return current_ >= rows_.size();
}

void BufferedRecordset::MoveNext() {
  RequireCurrentRow();
  ++current_;
}

void BufferedRecordset::Close() {
  closed_ = true;
  rows_.clear();
}

FieldValue BufferedRecordset::Field(std::string_view name) const {
  RequireOpen();
  size_t column = ColumnIndex(name);
  RequireCurrentRow();
  return rows_[current_][column];
}

void BufferedRecordset::RequireOpen() const {
  if (closed_) {
    throw RuntimeError(err::ObjectClosed, "Operation is not allowed when the object is closed.");
  }
}

void BufferedRecordset::RequireCurrentRow() const {
  if (Eof()) {
    throw RuntimeError(err::NoCurrentRecord,
                       "Either BOF or EOF is True, or the current record has been deleted. "
                       "Requested operation requires a current record.");
  }
}

size_t BufferedRecordset::ColumnIndex(std::string_view name) const {
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (SameIgnoringCase(columns_[i], name)) {
      return i;
    }
  }
  // The administrator reads this in a message box: name the column the store lacks.
  throw RuntimeError(err::ItemNotFound,
                     "Item cannot be found in the collection corresponding to the requested name "
                     "or ordinal: " +
                         std::string(name));
}

}  // namespace xel
