#include <gtest/gtest.h>

#include <QAbstractItemModelTester>

#include "tests/qt/QtFixture.h"
#include "tests/support/TreeAndStore.h"

namespace xel::testing {
namespace {

// The rows the model shows, depth first, in the form TreeShown gives the control's nodes.
void AddRows(const TreeItemModel& model, const QModelIndex& parent, const std::string& indent,
             std::vector<std::string>& lines) {
  for (int row = 0; row < model.rowCount(parent); ++row) {
    QModelIndex index = model.index(row, 0, parent);
    Node node = model.NodeAt(index);
    lines.push_back(indent + node.Key() + "|" + index.data().toString().toStdString() + "|" +
                    node.Tag());
    AddRows(model, index, indent + " ", lines);
  }
}

struct TreeItemModelTest : QtEditorFixture {
  TreeNodes& Nodes() { return Arbol().Nodes(); }
  void ExpectMirrored(const char* after) {
    std::vector<std::string> rows;
    AddRows(Tree().Items(), QModelIndex(), "", rows);
    EXPECT_EQ(rows, TreeShown(Nodes())) << "after " << after;
  }

  // Qt's model checker ends the test at the first fault of the adapter it finds.
  QAbstractItemModelTester tester{&Tree().Items(),
                                  QAbstractItemModelTester::FailureReportingMode::Fatal};
};

// One change after another on the same expanded tree, each checked as it lands.
TEST_F(TreeItemModelTest, MirrorsEveryChangeOfTheTree) {
  Tree().expandAll();
  Nodes().Add("K0001", tvw::Child, "KNUEVA", "NUEVA", "Variable");
  Nodes().Add("KMONEDA", tvw::Previous, "KANTES", "ANTES", "Variable");
  Nodes().Add("KMONEDA", tvw::Next, "KDESPUES", "DESPUES", "Variable");
  Nodes().Add("KIVA", tvw::First, "KPRIMERA", "PRIMERA", "Variable");
  ExpectMirrored("additions at every relative place");

  NodeOf("K0001").SetParent(NodeOf("K0004"));
  NodeOf("K0003").SetParent(NodeOf("K0"));
  NodeOf("K0001").SetParent(NodeOf("K0004"));
  ExpectMirrored("moves, the last one leaving the node where it is");
  EXPECT_TRUE(Tree().isExpanded(IndexOf("K0001"))) << "a moved node keeps its expansion";

  Node moved = NodeOf("K0003");
  Nodes().Add("K0001", tvw::Previous, "NUEVOK0003", moved.Text(), moved.Image());
  Nodes().Remove(moved.Index());
  NodeOf("NUEVOK0003").SetKey("K0003");
  ExpectMirrored("a key move, which re-creates the node under a temporary key");

  NodeOf("K0").SetText("OTRA RAIZ");
  EXPECT_FALSE(IndexOf("K0").data(Qt::DecorationRole).value<QIcon>().isNull());
  ExpectMirrored("a change of text");

  Nodes().Remove("K0001");
  Nodes().Remove(Nodes().Count());
  ExpectMirrored("removals of nodes with their sub-trees");

  Nodes().Clear();
  ExpectMirrored("a clear");
}

}  // namespace
}  // namespace xel::testing
