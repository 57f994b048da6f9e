#include "tests/support/TreeAndStore.h"

#include <algorithm>
#include <map>
#include <ranges>
#include <set>

#include "store/Historial.h"
#include "store/Sql.h"

namespace xel::testing {
namespace {

using Lines = std::vector<std::string>;

const std::pair<const char*, std::vector<const char*>> kTables[] = {
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

Lines Sorted(Lines lines) {
  std::ranges::sort(lines);
  return lines;
}

std::string ClassRow(const std::string& code, const EstadoDeFila& state) {
  return "class|" + ClaveComparable(code) + "|" + state.padre + "|" + state.posicion + "|" +
         state.descripcion;
}

std::string VariableRow(const std::string& key, const std::string& cls, const EstadoDeFila& state) {
  return "variable|" + ClaveComparable(key) + "|" + ClaveComparable(cls) + "|" + state.valor + "|" +
         state.tipo + "|" + state.descripcion;
}

std::string Column(const Recordset& row, const char* column) {
  try {
    FieldValue value = row.Field(column);
    return value.IsNull() ? "<NULL>" : value.Text();
  } catch (const RuntimeError&) {
    return "<missing>";
  }
}

// The classes under a parent, each followed by its sub-classes and then its variables, read level
// by level as the editor loads them. A class met again under its own sub-tree is skipped: the
// editor refuses its second node too.
void AddStoredClasses(Connection& db, const std::string& order, const std::string& parent,
                      const std::string& indent, std::set<std::string>& seen, Lines& lines) {
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

}  // namespace

Lines DumpStore(Connection& db) {
  Lines lines;
  for (const auto& [table, columns] : kTables) {
    std::unique_ptr<Recordset> rows;
    try {
      rows = db.Execute(std::string("SELECT * FROM ") + table);
    } catch (const RuntimeError&) {
      lines.push_back(std::string(table) + " <missing>");
      continue;
    }
    for (; !rows->Eof(); rows->MoveNext()) {
      std::string line = table;
      for (const char* column : columns) {
        line += std::string("|") + column + "=" + Column(*rows, column);
      }
      lines.push_back(std::move(line));
    }
  }
  return Sorted(std::move(lines));
}

Lines StoreRows(Connection& db) {
  return RowsOf(LeeContenido(db));
}

Lines RowsOf(const Contenido& store) {
  Lines lines;
  for (const Clase& c : store.clases) {
    lines.push_back(ClassRow(
        c.codigo, {.descripcion = c.descripcion, .padre = c.padre, .posicion = c.posicion}));
  }
  for (const Variable& v : store.variables) {
    lines.push_back(VariableRow(v.clave, v.clase, {v.valor, v.descripcion, v.tipo}));
  }
  return Sorted(std::move(lines));
}

Lines RowsByHistory(const Lines& before, Connection& db) {
  std::map<std::string, std::string> rows;  // by kind and key, the line's first two fields
  for (const std::string& line : before) {
    rows[line.substr(0, line.find('|', line.find('|') + 1))] = line;
  }
  std::vector<EntradaDeHistorial> entries = LeeHistorial(db, {});
  for (const EntradaDeHistorial& e : entries | std::views::reverse) {  // oldest first
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
  Lines lines;
  for (auto& [key, line] : rows) {
    lines.push_back(line);
  }
  return Sorted(std::move(lines));
}

Lines WithoutHistory(const Lines& calls) {
  Lines kept;
  std::ranges::copy_if(calls, std::back_inserter(kept), [](const std::string& call) {
    return call.find(sql::XEL_Historial) == std::string::npos;
  });
  return kept;
}

Lines TreeOfStore(Connection& db) {
  Lines lines{"K0|RAIZ|"};
  std::set<std::string> seen;
  AddStoredClasses(db, "Cv_Descripcion", "0000", " ", seen, lines);
  return lines;
}

}  // namespace xel::testing
