#include <gtest/gtest.h>

#include <QAbstractItemModelTester>

#include "tests/qt/QtFixture.h"
#include "tests/support/TreeAndStore.h"

namespace xel::testing {
namespace {

// Qt's model checker reports what it finds as warnings of its own category; every one is a fault
// of the adapter.
class ModelWarnings {
 public:
  ModelWarnings() {
    collected_.clear();
    previous_ = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext& context, const QString& text) {
          if (context.category && std::string_view(context.category) == "qt.modeltest") {
            collected_.push_back(text.toStdString());
          }
        });
  }
  ~ModelWarnings() { qInstallMessageHandler(previous_); }
  const std::vector<std::string>& Collected() const { return collected_; }

 private:
  static inline std::vector<std::string> collected_;
  QtMessageHandler previous_;
};

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
  TreeItemModelTest() {
    AddSmallStore();
    Open();
    tester = std::make_unique<QAbstractItemModelTester>(
        &Tree().Items(), QAbstractItemModelTester::FailureReportingMode::Warning);
  }
  TreeNodes& Nodes() { return Arbol().Nodes(); }
  void ExpectMirrored(const char* after) {
    std::vector<std::string> rows;
    AddRows(Tree().Items(), QModelIndex(), "", rows);
    EXPECT_EQ(rows, TreeShown(Nodes())) << "after " << after;
    EXPECT_EQ(warnings.Collected(), std::vector<std::string>()) << "after " << after;
  }

  ModelWarnings warnings;
  std::unique_ptr<QAbstractItemModelTester> tester;
};

// One change after another on the same expanded tree, each checked as it lands.
TEST_F(TreeItemModelTest, MirrorsEveryChangeOfTheTree) {
  Tree().expandAll();
  ExpectMirrored("the load");
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
