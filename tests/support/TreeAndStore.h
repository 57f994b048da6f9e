#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <ranges>
#include <set>
#include <string>
#include <vector>

#include "platform/data/Database.h"
#include "platform/forms/TreeNodes.h"
#include "store/ContenidoDelStore.h"
#include "store/Historial.h"
#include "store/Sql.h"

namespace xel::testing {
namespace detail {

inline const std::pair<const char*, std::vector<const char*>> kTables[] = {
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

inline std::vector<std::string> Sorted(std::vector<std::string> lines) {
  std::ranges::sort(lines);
  return lines;
}

inline std::string ClassRow(const std::string& code, const EstadoDeFila& state) {
  return "class|" + ClaveComparable(code) + "|" + state.padre + "|" + state.posicion + "|" +
         state.descripcion;
}

inline std::string VariableRow(const std::string& key, const std::string& cls,
                               const EstadoDeFila& state) {
  return "variable|" + ClaveComparable(key) + "|" + ClaveComparable(cls) + "|" + state.valor + "|" +
         state.tipo + "|" + state.descripcion;
}

inline std::string Column(const Recordset& row, const char* column) {
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
inline void AddStoredClasses(Connection& db, const std::string& order, const std::string& parent,
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

}  // namespace detail

// Everything the store holds: one line per row of both tables, with every column by name (NULL
// shown as <NULL>), the lines sorted. A table or a column the store lacks is a line of its own, so
// that a damaged store can be dumped too and compared before and after a command.
inline std::vector<std::string> DumpStore(Connection& db) {
  std::vector<std::string> lines;
  for (const auto& [table, columns] : detail::kTables) {
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
        line += std::string("|") + column + "=" + detail::Column(*rows, column);
      }
      lines.push_back(std::move(line));
    }
  }
  return detail::Sorted(std::move(lines));
}

// The store's classes and variables, one sorted line each: "class|CODE|PARENT|POSITION|DESCRIPTION"
// and "variable|KEY|CLASS|VALUE|TYPE|DESCRIPTION", keys and codes in small letters.
inline std::vector<std::string> RowsOf(const Contenido& store) {
  std::vector<std::string> lines;
  for (const Clase& c : store.clases) {
    lines.push_back(detail::ClassRow(
        c.codigo, {.descripcion = c.descripcion, .padre = c.padre, .posicion = c.posicion}));
  }
  for (const Variable& v : store.variables) {
    lines.push_back(detail::VariableRow(v.clave, v.clase, {v.valor, v.descripcion, v.tipo}));
  }
  return detail::Sorted(std::move(lines));
}
inline std::vector<std::string> StoreRows(Connection& db) {
  return RowsOf(LeeContenido(db));
}

// The same lines as the history tells them: `before` (StoreRows when the history was empty) with
// every entry of the history applied in order. Equal to StoreRows exactly when every change has
// its entry and every entry its change.
inline std::vector<std::string> RowsByHistory(const std::vector<std::string>& before,
                                              Connection& db) {
  std::map<std::string, std::string> rows;  // by kind and key, the line's first two fields
  for (const std::string& line : before) {
    rows[line.substr(0, line.find('|', line.find('|') + 1))] = line;
  }
  for (const EntradaDeHistorial& e : LeeHistorial(db, {}) | std::views::reverse) {  // oldest first
    if (e.entidad == Entidad::Historial) {
      continue;
    }
    const bool isClass = e.entidad == Entidad::Clase;
    const std::string key = (isClass ? "class|" : "variable|") + ClaveComparable(e.clave);
    if (!e.despues) {
      rows.erase(key);
    } else {
      rows[key] = isClass ? detail::ClassRow(e.clave, *e.despues)
                          : detail::VariableRow(e.clave, e.clase, *e.despues);
    }
  }
  auto lines = std::views::values(rows);
  return detail::Sorted({lines.begin(), lines.end()});
}

// The calls without those on the history (its presence and its entries), for the tests of the
// editor's own statements; the entries are checked through RowsByHistory.
inline std::vector<std::string> WithoutHistory(const std::vector<std::string>& calls) {
  std::vector<std::string> kept = calls;
  std::erase_if(kept, [](const std::string& c) { return c.find(sql::XEL_Historial) != c.npos; });
  return kept;
}

// The tree the store describes, read with bound values and so independent of the editor's own
// statements: the root, the top-level classes by description, under each class its sub-classes by
// position and then its variables by key. One line per node: blanks for its depth, then
// "key|text|tag". Positions are compared as stored, in the four digits the editor writes.
inline std::vector<std::string> TreeOfStore(Connection& db) {
  std::vector<std::string> lines{"K0|RAIZ|"};
  std::set<std::string> seen;
  detail::AddStoredClasses(db, "Cv_Descripcion", "0000", " ", seen, lines);
  return lines;
}

// One line per node of a window's tree, in the order the expanded tree lists them, each indented by
// its depth.
inline std::vector<std::string> TreeLines(const TreeNodes& nodes,
                                          const std::function<std::string(const Node&)>& line) {
  std::vector<std::string> lines;
  std::function<void(Node, const std::string&)> add = [&](Node node, const std::string& indent) {
    for (; node; node = node.Next()) {
      lines.push_back(indent + line(node));
      add(node.Child(), indent + " ");
    }
  };
  add(nodes.FirstRoot(), "");
  return lines;
}

// The tree a window shows, in the same form as TreeOfStore.
inline std::vector<std::string> TreeShown(const TreeNodes& nodes) {
  return TreeLines(nodes, [](const Node& n) { return n.Key() + "|" + n.Text() + "|" + n.Tag(); });
}

}  // namespace xel::testing
