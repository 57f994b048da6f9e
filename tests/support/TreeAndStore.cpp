#include "tests/support/TreeAndStore.h"

#include <algorithm>
#include <map>
#include <set>

#include "store/ContenidoDelStore.h"
#include "store/Historial.h"
#include "store/Sql.h"

namespace xel::testing {
namespace {

struct Table {
  const char* name;
  std::vector<const char*> columns;
};

const Table kTables[] = {
    {sql::XEL_Clase_Variable,
     {sql::Cv_Cve_Clase_Variable, sql::Cv_Id, sql::Cv_Padre, sql::Cv_Descripcion,
      sql::Fecha_Ult_Modif}},
    {sql::XEL_Configuracion,
     {sql::Cf_Variable, sql::Cf_Valor, sql::Cf_Descripcion, sql::Cf_Tipo,
      sql::Cv_Cve_Clase_Variable, sql::Fecha_Ult_Modif}},
    {sql::XEL_Historial,
     {"Hi_Id", "Hi_Fecha", "Hi_Usuario", "Hi_Accion", "Hi_Entidad", "Hi_Clave", "Hi_Clase",
      "Hi_ClasePadre", "Hi_Valor_Antes", "Hi_Descripcion_Antes", "Hi_Tipo_Antes", "Hi_Padre_Antes",
      "Hi_Posicion_Antes", "Hi_Valor", "Hi_Descripcion", "Hi_Tipo", "Hi_Padre", "Hi_Posicion",
      "Hi_Revierte"}},
};

std::string ClassRow(const std::string& code, const EstadoDeFila& state) {
  return "class|" + ClaveComparable(code) + "|" + state.padre + "|" + state.posicion + "|" +
         state.descripcion;
}

std::string VariableRow(const std::string& key, const std::string& cls, const EstadoDeFila& state) {
  return "variable|" + ClaveComparable(key) + "|" + ClaveComparable(cls) + "|" + state.valor + "|" +
         state.tipo + "|" + state.descripcion;
}

// The key of a row line: its kind and key.
std::string RowKey(const std::string& line) {
  return line.substr(0, line.find('|', line.find('|') + 1));
}

std::string Column(const Recordset& row, const char* column) {
  try {
    FieldValue value = row.Field(column);
    return value.IsNull() ? "<NULL>" : value.Text();
  } catch (const RuntimeError&) {
    return "<missing>";
  }
}

void DumpTable(Connection& db, const Table& table, std::vector<std::string>& lines) {
  std::unique_ptr<Recordset> rows;
  try {
    rows = db.Execute(std::string("SELECT * FROM ") + table.name);
  } catch (const RuntimeError&) {
    lines.push_back(std::string(table.name) + " <missing>");
    return;
  }
  for (; !rows->Eof(); rows->MoveNext()) {
    std::string line = table.name;
    for (const char* column : table.columns) {
      line += std::string("|") + column + "=" + Column(*rows, column);
    }
    lines.push_back(std::move(line));
  }
}

// The classes under a parent, each followed by its sub-classes and then its variables, read level
// by level as the editor loads them. A class met again under its own sub-tree is skipped: the
// editor refuses its second node too.
void AddStoredClasses(Connection& db, const std::string& order, const std::string& parent,
                      const std::string& indent, std::set<std::string>& seen,
                      std::vector<std::string>& lines) {
  auto classes =
      db.Execute("SELECT * FROM XEL_Clase_Variable WHERE Cv_Padre = ? ORDER BY " + order, {parent});
  for (; !classes->Eof(); classes->MoveNext()) {
    const std::string code = classes->Field(sql::Cv_Cve_Clase_Variable).Text();
    if (!seen.insert(code).second) {
      continue;
    }
    lines.push_back(indent + "K" + code + "|" + classes->Field(sql::Cv_Descripcion).Text() + "|" +
                    code);
    AddStoredClasses(db, "Cv_Id", classes->Field(sql::Cv_Id).Text(), indent + " ", seen, lines);
    auto variables = db.Execute(
        "SELECT * FROM XEL_Configuracion WHERE Cv_Cve_Clase_Variable = ? ORDER BY Cf_Variable",
        {code});
    for (; !variables->Eof(); variables->MoveNext()) {
      const std::string key = variables->Field(sql::Cf_Variable).Text();
      lines.push_back(indent + " K" + key + "|" + key + "|" + key);
    }
  }
}

void AddShown(const Node& node, const std::string& indent, std::vector<std::string>& lines) {
  lines.push_back(indent + node.Key() + "|" + node.Text() + "|" + node.Tag());
  for (Node child = node.Child(); child; child = child.Next()) {
    AddShown(child, indent + " ", lines);
  }
}

}  // namespace

std::vector<std::string> DumpStore(Connection& db) {
  std::vector<std::string> lines;
  for (const Table& table : kTables) {
    DumpTable(db, table, lines);
  }
  std::ranges::sort(lines);
  return lines;
}

std::vector<std::string> StoreRows(Connection& db) {
  return RowsOf(LeeContenido(db));
}

std::vector<std::string> RowsOf(const Contenido& store) {
  std::vector<std::string> lines;
  for (const Clase& c : store.clases) {
    lines.push_back(ClassRow(
        c.codigo, {.descripcion = c.descripcion, .padre = c.padre, .posicion = c.posicion}));
  }
  for (const Variable& v : store.variables) {
    lines.push_back(VariableRow(v.clave, v.clase, {v.valor, v.descripcion, v.tipo}));
  }
  std::ranges::sort(lines);
  return lines;
}

std::vector<std::string> RowsByHistory(const std::vector<std::string>& before, Connection& db) {
  std::map<std::string, std::string> rows;
  for (const std::string& line : before) {
    rows[RowKey(line)] = line;
  }
  std::vector<EntradaDeHistorial> entries = LeeHistorial(db, {});
  std::ranges::reverse(entries);  // oldest first
  for (const EntradaDeHistorial& e : entries) {
    if (e.entidad == Entidad::Historial) {
      continue;
    }
    const bool isClass = e.entidad == Entidad::Clase;
    const std::string key = (isClass ? "class|" : "variable|") + ClaveComparable(e.clave);
    if (!e.despues) {
      rows.erase(key);
    } else {
      rows[key] =
          isClass ? ClassRow(e.clave, *e.despues) : VariableRow(e.clave, e.clase, *e.despues);
    }
  }
  std::vector<std::string> lines;
  for (auto& [key, line] : rows) {
    lines.push_back(line);
  }
  std::ranges::sort(lines);
  return lines;
}

std::vector<std::string> WithoutHistory(const std::vector<std::string>& calls) {
  std::vector<std::string> kept;
  std::ranges::copy_if(calls, std::back_inserter(kept), [](const std::string& call) {
    return call.find(sql::XEL_Historial) == std::string::npos;
  });
  return kept;
}

std::vector<std::string> TreeOfStore(Connection& db) {
  std::vector<std::string> lines{"K0|RAIZ|"};
  std::set<std::string> seen;
  AddStoredClasses(db, "Cv_Descripcion", "0000", " ", seen, lines);
  return lines;
}

std::vector<std::string> TreeShown(const TreeNodes& nodes) {
  std::vector<std::string> lines;
  for (Node top = nodes.FirstRoot(); top; top = top.Next()) {
    AddShown(top, "", lines);
  }
  return lines;
}

}  // namespace xel::testing
