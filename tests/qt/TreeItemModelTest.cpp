#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QElapsedTimer>

#include "tests/qt/QtFixture.h"

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

struct TreeItemModelTest : QtEditorFixture {
  TreeItemModelTest() {
    AddSmallStore();
    Open();
    tester = std::make_unique<QAbstractItemModelTester>(
        &Tree().Items(), QAbstractItemModelTester::FailureReportingMode::Warning);
  }
  TreeNodes& Nodes() { return editor.tvVariables.Nodes(); }
  void ExpectMirrored() {
    EXPECT_EQ(OutlineOf(Tree().Items()), OutlineOf(Nodes()));
    EXPECT_EQ(warnings.Collected(), std::vector<std::string>());
  }

  ModelWarnings warnings;
  std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(TreeItemModelTest, MirrorsTheLoadedTreeAndItsAdditions) {
  ExpectMirrored();
  EXPECT_EQ(OutlineOf(Tree().Items()).front(), "- > RAIZ");
  Tree().expandAll();
  Nodes().Add("K0001", tvw::Child, "KNUEVA", "NUEVA", "Variable");
  Nodes().Add("KMONEDA", tvw::Previous, "KANTES", "ANTES", "Variable");
  Nodes().Add("KMONEDA", tvw::Next, "KDESPUES", "DESPUES", "Variable");
  Nodes().Add("KIVA", tvw::First, "KPRIMERA", "PRIMERA", "Variable");
  ExpectMirrored();
}

TEST_F(TreeItemModelTest, MirrorsRemovalsOfNodesWithTheirSubTrees) {
  Tree().expandAll();
  Nodes().Remove("K0001");
  Nodes().Remove(Nodes().Count());
  ExpectMirrored();
  EXPECT_FALSE(Tree().Items().IndexOf(Node()).isValid());
}

TEST_F(TreeItemModelTest, MirrorsMovesIncludingOnesThatLeaveTheNodeWhereItIs) {
  Tree().expandAll();
  NodeOf("K0001").SetParent(NodeOf("K0004"));
  NodeOf("K0003").SetParent(NodeOf("K0"));
  NodeOf("K0001").SetParent(NodeOf("K0004"));  // already its last child
  ExpectMirrored();
  EXPECT_TRUE(Tree().isExpanded(IndexOf("K0001"))) << "a moved node keeps its expansion";
}

TEST_F(TreeItemModelTest, MirrorsTheKeyMoveThatReCreatesANodeUnderATemporaryKey) {
  Node moved = NodeOf("K0003");
  Nodes().Add("K0001", tvw::Previous, "NUEVOK0003", moved.Text(), moved.Image());
  Nodes().Remove(moved.Index());
  NodeOf("NUEVOK0003").SetKey("K0003");
  ExpectMirrored();
  EXPECT_EQ(Tree().Items().NodeAt(IndexOf("K0003")).Key(), "K0003");
}

TEST_F(TreeItemModelTest, MirrorsAReloadAndAClear) {
  AddClass("0009", "0009", "0000", "Tesoreria");
  QTest::keyClick(&Tree(), Qt::Key_F5);
  ExpectMirrored();
  EXPECT_NE(Nodes().Item("K0009").Index(), 0);
  Nodes().Clear();
  EXPECT_EQ(Tree().Items().rowCount(), 0);
  ExpectMirrored();
}

TEST_F(TreeItemModelTest, ShowsTextsImagesChecksAndTheDropHighlightOfTheNodes) {
  QModelIndex root = IndexOf("K0");
  EXPECT_EQ(root.data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
  EXPECT_FALSE(root.data(Qt::DecorationRole).value<QIcon>().isNull());
  EXPECT_FALSE(root.data(Qt::BackgroundRole).isValid());
  editor.tvVariables.SetDropHighlight(NodeOf("K0"));
  EXPECT_TRUE(root.data(Qt::BackgroundRole).isValid());
  NodeOf("K0").SetText("OTRA RAIZ");
  EXPECT_EQ(root.data().toString(), "OTRA RAIZ");
  ExpectMirrored();
}

TEST(LargeTreeTest, AHundredThousandNodesOpenWithoutDelay) {
  QtUiBackend ui;
  FormsRuntime runtime{ui};
  struct TreeForm : Form {
    using Form::Form;
    TreeView tree{*this, "tree"};
  } form(runtime, "arbol");
  ImageList images{"General"};
  form.tree.SetImageList(&images);
  form.tree.Move(0, 0, 4500, 4500);
  form.Show();
  QElapsedTimer clock;
  clock.start();
  TreeNodes& nodes = form.tree.Nodes();
  nodes.Add({}, tvw::Last, "K0", "RAIZ", 1);
  for (int i = 1; i < 100000; ++i) {
    std::string parent = i < 10 || i % 10 == 0 ? "K0" : "K" + std::to_string(i - i % 10);
    nodes.Add(parent, tvw::Child, "K" + std::to_string(i), "Nodo " + std::to_string(i), 1);
  }
  nodes.Item(1).SetExpanded(true);
  QApplication::processEvents();
  EXPECT_LT(clock.elapsed(), 5000) << "loading and showing took " << clock.elapsed() << " ms";
  auto* tree = dynamic_cast<NodeTreeWidget*>(ui.WindowOf(form)->WidgetOf("tree"));
  EXPECT_EQ(tree->Items().rowCount(tree->Items().index(0, 0)), nodes.Item(1).Children());
}

}  // namespace
}  // namespace xel::testing
