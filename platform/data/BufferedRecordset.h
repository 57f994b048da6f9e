#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/data/Database.h"

namespace xel {

// A result read whole when the statement ran, so that the statement is finished before the caller
// runs the next one: callers nest queries while reading an outer result, which not every backend
// allows on one connection.
class BufferedRecordset : public Recordset {
 public:
  using Row = std::vector<FieldValue>;

  // The result of a statement that is not a query: no columns, no rows.
  BufferedRecordset() = default;
  // Each row holds one value per column, in the columns' order.
  BufferedRecordset(std::vector<std::string> columns, std::vector<Row> rows);

  bool Eof() const override;
  void MoveNext() override;
  // Releases the rows; closing again does nothing.
  void Close() override;
  FieldValue Field(std::string_view name) const override;

 private:
  void RequireOpen() const;
  void RequireCurrentRow() const;
  size_t ColumnIndex(std::string_view name) const;

  std::vector<std::string> columns_;
  std::vector<Row> rows_;
  size_t current_ = 0;
  bool closed_ = false;
};

}  // namespace xel
