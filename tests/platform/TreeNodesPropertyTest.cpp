// Random sequences of adds, removes, key changes and parent moves, checked after every step
// against a plain reference model, and against a view that knows the tree only from the
// notifications it received. Keys come from a small pool, so that adds and key changes meet keys
// in use (refused) and keys of removed or renamed nodes (free again).

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/forms/TreeNodes.h"
#include "tests/support/FailureOf.h"

namespace xel {
namespace {

using testing::FailureOf;
using Rows = std::vector<int>;

// The reference: nodes in order of addition, each with its parent (-1: top) and ordered children.
struct Reference {
  struct Entry {
    std::string key, text;
    int parent = -1;
    Rows children;
    bool alive = true;
  };
  std::vector<Entry> entries;
  Rows top;

  Rows Live() const {
    Rows live;
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
      if (entries[i].alive) {
        live.push_back(i);
      }
    }
    return live;
  }
  Rows& ChildrenOf(int parent) { return parent < 0 ? top : entries[parent].children; }
  Rows& SiblingsOf(int e) { return ChildrenOf(entries[e].parent); }
  long RowOf(int e) { return std::ranges::find(SiblingsOf(e), e) - SiblingsOf(e).begin(); }
  bool KeyInUse(const std::string& key) const {
    return std::ranges::any_of(entries, [&](const Entry& e) { return e.alive && e.key == key; });
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
    std::ranges::for_each(entries[e].children, [this](int child) { Kill(child); });
  }
  void Add(int relative, int relationship, const std::string& key) {
    int parent = relative < 0 || relationship == tvw::Child ? relative : entries[relative].parent;
    Rows& list = ChildrenOf(parent);
    long at = relationship == tvw::First ? 0 : static_cast<long>(list.size());
    if (relative >= 0 && (relationship == tvw::Next || relationship == tvw::Previous)) {
      at = RowOf(relative) + (relationship == tvw::Next ? 1 : 0);
    }
    list.insert(list.begin() + at, static_cast<int>(entries.size()));  // before entries may move
    entries.push_back({key, "text of " + key, parent, {}, true});
  }
};

// A view's copy of the tree, built from notifications alone; a notification naming a row the view
// does not have fails the test where it happens.
struct Mirror : TreeObserver {
  std::map<uint64_t, std::vector<uint64_t>> children;  // parent id (0: top level) -> children
  uint64_t pendingParent = 0, removing = 0;
  long pendingRow = 0;

  static uint64_t IdOf(const Node& node) { return node ? node.Id() : 0; }
  void Forget(uint64_t id) {
    std::ranges::for_each(children[id], [this](uint64_t child) { Forget(child); });
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
    from.erase(std::ranges::find(from, node.Id()));
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
  int PickOf(const Rows& live) { return live[Pick(static_cast<int>(live.size()))]; }
  std::string PickKey(const Rows& live) {
    return "K" + std::to_string(Pick(4 * static_cast<int>(live.size()) + 10));
  }
  long IndexOf(int e) const {
    Rows live = ref.Live();
    return std::ranges::find(live, e) - live.begin() + 1;
  }
  // By key: every check below also asserts that the key finds its node.
  Node NodeOf(int e) { return nodes.Item(ref.entries[e].key); }
  // The node at a row of a reference list, or no node past either end.
  Node At(const Rows& list, long row) {
    return row >= 0 && row < static_cast<long>(list.size()) ? NodeOf(list[row]) : Node();
  }
  // Runs a change the reference refuses with `refusal` (0: takes it) and applies it there too.
  template <class Change, class Apply>
  void Expect(Change change, long refusal, Apply apply) {
    ASSERT_EQ(FailureOf(change).Number(), refusal);
    if (refusal == 0) {
      apply();
    }
  }

  void Step() {
    Rows live = ref.Live();
    int op = live.empty() ? 0 : Pick(100);
    int e = live.empty() ? -1 : PickOf(live);
    std::string key = PickKey(live);
    if (op < 45) {
      int relative = Pick(10) > 0 ? e : -1;
      NodeLocator locator;
      if (relative >= 0) {
        locator = Pick(2) ? NodeLocator(IndexOf(relative)) : ref.entries[relative].key;
      }
      int relationship = Pick(5);
      Expect([&] { nodes.Add(locator, relationship, key, "text of " + key); },
             ref.KeyInUse(key) ? err::KeyNotUnique : 0,
             [&] { ref.Add(relative, relationship, key); });
    } else if (op < 60) {
      nodes.Remove(IndexOf(e));
      ref.Unlink(e);
      ref.Kill(e);
    } else if (op < 75) {
      Expect([&] { nodes.Item(IndexOf(e)).SetKey(key); },
             ref.KeyInUse(key) && key != ref.entries[e].key ? err::KeyNotUnique : 0,
             [&] { ref.entries[e].key = key; });
    } else if (op < 99) {
      int target = PickOf(live);
      Expect([&] { nodes.Item(IndexOf(e)).SetParent(nodes.Item(IndexOf(target))); },
             ref.InSubtree(target, e) ? err::IntroducesCycle : 0,
             [&] {
               ref.Unlink(e);
               ref.entries[e].parent = target;
               ref.entries[target].children.push_back(e);
             });
    } else {
      nodes.Clear();
      ref = Reference();
    }
  }

  void Check() {
    Rows live = ref.Live();
    ASSERT_EQ(nodes.Count(), static_cast<long>(live.size()));
    ASSERT_EQ(nodes.RootCount(), static_cast<long>(ref.top.size()));
    for (size_t i = 0; i < live.size(); ++i) {
      const Reference::Entry& entry = ref.entries[live[i]];
      Node node = nodes.Item(static_cast<long>(i + 1));
      ASSERT_EQ(node.Key() + "|" + node.Text(), entry.key + "|" + entry.text);
      ASSERT_EQ(node.Index(), static_cast<long>(i + 1));
      ASSERT_EQ(nodes.Item(entry.key), node);
      ASSERT_EQ(node.Parent(), entry.parent < 0 ? Node() : NodeOf(entry.parent));
      ASSERT_EQ(node.Children(), static_cast<long>(entry.children.size()));
      ASSERT_EQ(node.Child(), At(entry.children, 0));
      const Rows& siblings = ref.SiblingsOf(live[i]);
      long row = ref.RowOf(live[i]);
      ASSERT_EQ(nodes.RowOf(node), row);
      ASSERT_EQ(nodes.ChildAt(node.Parent(), row), node);
      ASSERT_EQ(node.Next(), At(siblings, row + 1));
      ASSERT_EQ(node.Previous(), At(siblings, row - 1));
      ASSERT_EQ(node.FirstSibling(), At(siblings, 0));
      ASSERT_EQ(node.LastSibling(), At(siblings, static_cast<long>(siblings.size()) - 1));
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
