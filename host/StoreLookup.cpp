#include "host/StoreLookup.h"

#include "store/Sql.h"

namespace xel {

std::string BuscarCampoEnStore(Connection& connection, const std::string& table,
                               const std::string& searchColumn, const std::string& searchValue,
                               const std::string& resultColumn) {
  const std::string text = "SELECT " + RequireIdentifier(resultColumn) + " FROM " +
                           RequireIdentifier(table) + " WHERE " + RequireIdentifier(searchColumn) +
                           " = ?";
  auto rows = connection.Execute(text, Connection::Parameters{searchValue});
  std::string result = rows->Eof() ? std::string() : rows->Field(resultColumn).Text();
  rows->Close();
  return result;
}

}  // namespace xel
