#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/data/Database.h"
#include "platform/forms/TreeNodes.h"
#include "store/ContenidoDelStore.h"

namespace xel::testing {

// Everything the store holds: one line per row of both tables, with every column by name (NULL
// shown as <NULL>), the lines sorted. A table or a column the store lacks is a line of its own, so
// that a damaged store can be dumped too and compared before and after a command.
std::vector<std::string> DumpStore(Connection& db);

// The store's classes and variables, one sorted line each: "class|CODE|PARENT|POSITION|DESCRIPTION"
// and "variable|KEY|CLASS|VALUE|TYPE|DESCRIPTION", keys and codes in small letters.
std::vector<std::string> StoreRows(Connection& db);
std::vector<std::string> RowsOf(const Contenido& contenido);
// The same lines as the history tells them: `before` (StoreRows when the history was empty) with
// every entry of the history applied in order. Equal to StoreRows exactly when every change has
// its entry and every entry its change.
std::vector<std::string> RowsByHistory(const std::vector<std::string>& before, Connection& db);

// The calls without those on the history (its presence and its entries), for the tests of the
// editor's own statements; the entries are checked through RowsByHistory.
std::vector<std::string> WithoutHistory(const std::vector<std::string>& calls);

// The tree the store describes, read with bound values and so independent of the editor's own
// statements: the root, the top-level classes by description, under each class its sub-classes by
// position and then its variables by key. One line per node: blanks for its depth, then
// "key|text|tag". Positions are compared as stored, in the four digits the editor writes.
std::vector<std::string> TreeOfStore(Connection& db);

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
