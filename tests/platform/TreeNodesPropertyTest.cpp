// Random sequences of adds, removes, key changes and parent moves, checked after every step
// against a plain reference model, and against a view that knows the tree only from the
// notifications it received. Keys come from a small pool, so that adds and key changes meet keys
// in use (refused) and keys of removed or renamed nodes (free again).

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/TreeNodes.h"
#include "tests/support/FailureOf.h"

namespace xel {
namespace {

using testing::FailureOf;

// The reference: nodes in order of addition, each with its parent and ordered children.
struct Reference {
  struct Entry {
    std::string key, text;
    int parent = -1;
    std::vector<int> children;
    bool alive = true;
  };
  std::vector<Entry> entries;
  std::vector<int> top;

  std::vector<int> Live() const {
    std::vector<int> live;
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
      if (entries[i].alive) {
        live.push_back(i);
      }
    }
    return live;
  }
  std::vector<int>& ChildrenOf(int parent) { return parent < 0 ? top : entries[parent].children; }
  std::vector<int>& SiblingsOf(int e) { return ChildrenOf(entries[e].parent); }
  long RowOf(int e) {
    auto& siblings = SiblingsOf(e);
    return std::find(siblings.begin(), siblings.end(), e) - siblings.begin();
  }
  bool KeyInUse(const std::string& key) const {
    return std::any_of(entries.begin(), entries.end(),
                       [&](const Entry& e) { return e.alive && e.key == key; });
  }
  bool InSubtree(int e, int root) const {
    for (int at = e; at >= 0; at = entries[at].parent) {
      if (at == root) {
        return true;
      }
    }
    return false;
  }
  void Unlink(int e) { SiblingsOf(e).erase(SiblingsOf(e).begin() + RowOf(e)); }
  void Kill(int e) {
    entries[e].alive = false;
    for (int child : entries[e].children) {
      Kill(child);
    }
  }
  void Add(std::optional<int> relative, int relationship, const std::string& key) {
    bool child = relative && relationship == tvw::Child;
    int parent = !relative ? -1 : child ? *relative : entries[*relative].parent;
    auto& list = ChildrenOf(parent);
    long at = static_cast<long>(list.size());
    if (relationship == tvw::First) {
      at = 0;
    } else if (relative && (relationship == tvw::Next || relationship == tvw::Previous)) {
      at = RowOf(*relative) + (relationship == tvw::Next ? 1 : 0);
    }
    int e = static_cast<int>(entries.size());
    list.insert(list.begin() + at, e);  // before entries grows, which may move the list
    entries.push_back({key, "text of " + key, parent, {}, true});
  }
};

// A view's copy of the tree, built from notifications alone; a notification naming a row the view
// does not have fails the test where it happens.
struct Mirror : TreeObserver {
  std::map<uint64_t, std::vector<uint64_t>> children;  // parent id (0: top level) -> children
  uint64_t pendingParent = 0;
  long pendingRow = 0;
  uint64_t removing = 0;

  static uint64_t IdOf(const Node& node) { return node ? node.Id() : 0; }
  void Forget(uint64_t id) {
    for (uint64_t child : children[id]) {
      Forget(child);
    }
    children.erase(id);
  }

  void NodeAboutToBeAdded(const Node& parent, long row) override {
    pendingParent = IdOf(parent);
    pendingRow = row;
  }
  void NodeAdded(const Node& node) override {
    auto& list = children[pendingParent];
    ASSERT_TRUE(pendingRow >= 0 && pendingRow <= static_cast<long>(list.size())) << pendingRow;
    list.insert(list.begin() + pendingRow, node.Id());
  }
  void NodeAboutToBeRemoved(const Node& node) override { removing = node.Id(); }
  void NodeRemoved(const Node& parent, long row) override {
    auto& list = children[IdOf(parent)];
    ASSERT_TRUE(row >= 0 && row < static_cast<long>(list.size()) && list[row] == removing) << row;
    list.erase(list.begin() + row);
    Forget(removing);
  }
  void NodeAboutToBeMoved(const Node& node, const Node& parent, long row) override {
    auto& from = children[IdOf(node.Parent())];
    auto& to = children[IdOf(parent)];
    EXPECT_EQ(row, static_cast<long>(to.size()));
    from.erase(std::find(from.begin(), from.end(), node.Id()));
    to.push_back(node.Id());
  }
  void Cleared() override { children.clear(); }
};

class TreeNodesProperty : public ::testing::TestWithParam<unsigned> {
 protected:
  TreeNodes nodes;
  Reference ref;
  Mirror mirror;
  std::mt19937 random{GetParam()};

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
  int PickOf(const std::vector<int>& live) { return live[Pick(static_cast<int>(live.size()))]; }
  std::string PickKey(const std::vector<int>& live) {
    return "K" + std::to_string(Pick(4 * static_cast<int>(live.size()) + 10));
  }
  long IndexOf(int e) const {
    auto live = ref.Live();
    return std::find(live.begin(), live.end(), e) - live.begin() + 1;
  }

  void Step() {
    auto live = ref.Live();
    int op = live.empty() ? 0 : Pick(100);
    if (op < 45) {
      AddStep(live);
    } else if (op < 60) {
      int e = PickOf(live);
      nodes.Remove(IndexOf(e));
      ref.Unlink(e);
      ref.Kill(e);
    } else if (op < 75) {
      KeyStep(live);
    } else if (op < 99) {
      ParentStep(live);
    } else {
      nodes.Clear();
      ref = Reference();
    }
  }

  void AddStep(const std::vector<int>& live) {
    std::optional<int> relative;
    NodeLocator locator;
    if (!live.empty() && Pick(10) > 0) {
      relative = PickOf(live);
      locator = Pick(2) ? NodeLocator(IndexOf(*relative)) : NodeLocator(ref.entries[*relative].key);
    }
    int relationship = Pick(5);
    std::string key = PickKey(live);
    long error =
        FailureOf([&] { nodes.Add(locator, relationship, key, "text of " + key); }).Number();
    if (ref.KeyInUse(key)) {
      EXPECT_EQ(error, err::KeyNotUnique) << key;
    } else {
      ASSERT_EQ(error, 0) << key;
      ref.Add(relative, relationship, key);
    }
  }

  void KeyStep(const std::vector<int>& live) {
    int e = PickOf(live);
    std::string key = PickKey(live);
    long error = FailureOf([&] { nodes.Item(IndexOf(e)).SetKey(key); }).Number();
    if (ref.KeyInUse(key) && key != ref.entries[e].key) {
      EXPECT_EQ(error, err::KeyNotUnique) << key;
    } else {
      ASSERT_EQ(error, 0) << key;
      ref.entries[e].key = key;
    }
  }

  void ParentStep(const std::vector<int>& live) {
    int e = PickOf(live);
    int target = PickOf(live);
    auto move = [&] { nodes.Item(IndexOf(e)).SetParent(nodes.Item(IndexOf(target))); };
    long error = FailureOf(move).Number();
    if (ref.InSubtree(target, e)) {
      EXPECT_EQ(error, err::IntroducesCycle);
    } else {
      ASSERT_EQ(error, 0);
      ref.Unlink(e);
      ref.entries[e].parent = target;
      ref.entries[target].children.push_back(e);
    }
  }

  std::string KeyOrNone(const Node& node) { return node ? node.Key() : "<none>"; }
  std::string KeyOrNone(const std::vector<int>& list, long at) {
    return at >= 0 && at < static_cast<long>(list.size()) ? ref.entries[list[at]].key : "<none>";
  }

  void Check() {
    auto live = ref.Live();
    ASSERT_EQ(nodes.Count(), static_cast<long>(live.size()));
    ASSERT_EQ(nodes.RootCount(), static_cast<long>(ref.top.size()));
    for (size_t i = 0; i < live.size(); ++i) {
      const auto& entry = ref.entries[live[i]];
      Node node = nodes.Item(static_cast<long>(i + 1));
      ASSERT_EQ(node.Key(), entry.key);
      ASSERT_EQ(node.Text(), entry.text);
      ASSERT_EQ(node.Index(), static_cast<long>(i + 1));
      ASSERT_EQ(nodes.Item(entry.key), node);
      ASSERT_EQ(KeyOrNone(node.Parent()),
                entry.parent < 0 ? "<none>" : ref.entries[entry.parent].key);
      ASSERT_EQ(node.Children(), static_cast<long>(entry.children.size()));
      ASSERT_EQ(KeyOrNone(node.Child()), KeyOrNone(entry.children, 0));
      const auto& siblings = ref.SiblingsOf(live[i]);
      long row = ref.RowOf(live[i]);
      ASSERT_EQ(nodes.RowOf(node), row);
      ASSERT_EQ(nodes.ChildAt(node.Parent(), row), node);
      ASSERT_EQ(KeyOrNone(node.Next()), KeyOrNone(siblings, row + 1));
      ASSERT_EQ(KeyOrNone(node.Previous()), KeyOrNone(siblings, row - 1));
      ASSERT_EQ(KeyOrNone(node.FirstSibling()), KeyOrNone(siblings, 0));
      ASSERT_EQ(KeyOrNone(node.LastSibling()), KeyOrNone(siblings, siblings.size() - 1));
    }
    for (long i = 0; i <= nodes.Count(); ++i) {
      Node parent = i == 0 ? Node() : nodes.Item(i);
      std::vector<uint64_t> actual;
      for (Node child = parent ? parent.Child() : nodes.FirstRoot(); child; child = child.Next()) {
        actual.push_back(child.Id());
      }
      ASSERT_EQ(mirror.children[Mirror::IdOf(parent)], actual) << "children of node " << i;
    }
  }
};

TEST_P(TreeNodesProperty, MatchesTheReferenceAfterEveryStep) {
  nodes.AddObserver(&mirror);
  for (int step = 0; step < 1500; ++step) {
    ASSERT_NO_FATAL_FAILURE(Step()) << "at step " << step;
    ASSERT_NO_FATAL_FAILURE(Check()) << "after step " << step;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, TreeNodesProperty, ::testing::Values(1u, 2u, 3u, 42u, 2026u));

}  // namespace
}  // namespace xel
