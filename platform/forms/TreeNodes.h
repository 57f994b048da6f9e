#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <variant>
#include <vector>

#include "platform/forms/ImageList.h"

namespace xel {

class TreeNodes;

// Where an added node goes relative to its relative node: the tree control's own codes.
namespace tvw {
inline constexpr int First = 0;
inline constexpr int Last = 1;
inline constexpr int Next = 2;
inline constexpr int Previous = 3;
inline constexpr int Child = 4;
}  // namespace tvw

// The node an operation is relative to: by its 1-based index, by its key, or none.
class NodeLocator {
 public:
  NodeLocator() = default;
  NodeLocator(long index) : value_(index) {}                // NOLINT: given as the control takes it
  NodeLocator(std::string key) : value_(std::move(key)) {}  // NOLINT
  NodeLocator(const char* key) : value_(std::string(key)) {}  // NOLINT

  bool IsNone() const { return std::holds_alternative<std::monostate>(value_); }
  const long* Index() const { return std::get_if<long>(&value_); }
  const std::string* Key() const { return std::get_if<std::string>(&value_); }

 private:
  std::variant<std::monostate, long, std::string> value_;
};

// One node of a tree, or nothing. Reading or writing a property of nothing is the run time's
// "object variable not set" error; of a node that has left the tree, "node removed".
class Node {
 public:
  Node() = default;

  explicit operator bool() const { return nodes_ != nullptr; }
  bool operator==(const Node& other) const { return nodes_ == other.nodes_ && id_ == other.id_; }
  // Still in its tree.
  bool Exists() const;
  // Identifies the node for as long as the tree lives; never reused for another node.
  uint64_t Id() const { return id_; }

  const std::string& Key() const;
  void SetKey(const std::string& key) const;
  const std::string& Text() const;
  void SetText(const std::string& text) const;
  const std::string& Tag() const;
  void SetTag(const std::string& tag) const;
  // Image numbers are 1-based positions in the tree's image list; 0 means none.
  int Image() const;
  void SetImage(const ImageRef& image) const;
  int SelectedImage() const;
  void SetSelectedImage(const ImageRef& image) const;
  bool Checked() const;
  void SetChecked(bool checked) const;
  bool Expanded() const;
  void SetExpanded(bool expanded) const;
  bool Selected() const;
  void SetSelected(bool selected) const;

  long Index() const;
  long Children() const;
  Node Child() const;  // the first child
  Node FirstSibling() const;
  Node LastSibling() const;
  Node Next() const;
  Node Previous() const;
  Node Parent() const;
  // Moves this node, with its sub-tree, to the end of the new parent's children.
  void SetParent(const Node& parent) const;
  // Expands every ancestor, so that the node can be seen.
  void EnsureVisible() const;

 private:
  friend class TreeNodes;
  Node(const TreeNodes* nodes, uint64_t id) : nodes_(const_cast<TreeNodes*>(nodes)), id_(id) {}

  TreeNodes* nodes_ = nullptr;
  uint64_t id_ = 0;
};

// What changed on a node, for the views that show it.
enum class NodeField { Key, Text, Tag, Image, Checked, Expanded, Selected, DropHighlight };

// Told about every change of the tree, the way a view is told by its model. A node that is about
// to be added is described by its future parent and row; rows count from 0 among siblings.
class TreeObserver {
 public:
  virtual ~TreeObserver() = default;
  virtual void NodeAboutToBeAdded(const Node& /*parent*/, long /*row*/) {}
  virtual void NodeAdded(const Node& /*node*/) {}
  virtual void NodeAboutToBeRemoved(const Node& /*node*/) {}
  virtual void NodeRemoved(const Node& /*parent*/, long /*row*/) {}
  virtual void NodeAboutToBeMoved(const Node& /*node*/, const Node& /*newParent*/,
                                  long /*newRow*/) {}
  virtual void NodeMoved(const Node& /*node*/) {}
  virtual void NodeChanged(const Node& /*node*/, NodeField /*what*/) {}
  virtual void NodeEnsureVisible(const Node& /*node*/) {}
  virtual void AboutToBeCleared() {}
  virtual void Cleared() {}
};

// The nodes of a tree control: the node store with its keys, indexes and sibling links.
//
// Indexes are 1-based in order of addition and close up when nodes leave; they are kept in a
// counting tree over addition order, so reading an index or finding a node by index costs
// O(log n), and removing or re-creating a sub-tree costs in proportion to the sub-tree, not the
// whole tree. Keys are hashed.
class TreeNodes {
 public:
  TreeNodes() = default;
  TreeNodes(const TreeNodes&) = delete;
  TreeNodes& operator=(const TreeNodes&) = delete;

  void SetImageList(const ImageList* images) { images_ = images; }
  const ImageList* Images() const { return images_; }

  long Count() const { return liveCount_; }

  // Adds a node. With no relative it goes to the end of the top level (or its start, for First).
  Node Add(const NodeLocator& relative, int relationship, const std::string& key,
           const std::string& text, const ImageRef& image = {}, const ImageRef& selectedImage = {});
  // By 1-based index or by key.
  Node Item(const NodeLocator& locator) const;
  // The node with this identity, or nothing when it has left the tree.
  Node FromId(uint64_t id) const;
  bool Contains(const std::string& key) const;
  // Removes the node and its whole sub-tree.
  void Remove(const NodeLocator& locator);
  void Clear();

  // The top level, in order.
  Node FirstRoot() const;
  long RootCount() const { return topCount_; }

  // For views: the node at a row under a parent (no parent: the top level) and a node's row.
  Node ChildAt(const Node& parent, long row) const;
  long RowOf(const Node& node) const;

  Node SelectedItem() const { return Handle(selected_); }
  void SetSelectedItem(const Node& node);
  Node DropHighlight() const { return Handle(dropHighlight_); }
  void SetDropHighlight(const Node& node);

  void AddObserver(TreeObserver* observer) { observers_.push_back(observer); }
  void RemoveObserver(TreeObserver* observer);

  // Called when a node's expanded state changes (the tree control raises its events from here).
  std::function<void(const Node&, bool)> onExpandedChanged;

 private:
  friend class Node;
  static constexpr uint32_t kNone = UINT32_MAX;

  struct NodeData {
    std::string key, text, tag;
    uint32_t parent = kNone, firstChild = kNone, lastChild = kNone, next = kNone, prev = kNone;
    uint32_t childCount = 0;
    mutable uint32_t row = 0;  // among its siblings; valid while its parent's rows are cached
    int16_t image = 0, selectedImage = 0;
    bool checked = false, expanded = false, alive = false;
  };

  // Keys are looked up through the slot they belong to, so each key is stored once.
  struct KeyHash {
    using is_transparent = void;
    const std::deque<NodeData>* slots;
    size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
    size_t operator()(uint32_t slot) const { return (*this)((*slots)[slot].key); }
  };
  struct KeyEqual {
    using is_transparent = void;
    const std::deque<NodeData>* slots;
    std::string_view KeyOf(uint32_t slot) const { return (*slots)[slot].key; }
    std::string_view KeyOf(std::string_view key) const { return key; }
    template <class A, class B>
    bool operator()(const A& a, const B& b) const {
      return KeyOf(a) == KeyOf(b);
    }
  };

  // Live-node counts over slots in order of addition (a Fenwick tree).
  class Counter {
   public:
    void Grow(size_t slots, const std::deque<NodeData>& data);
    void Add(uint32_t slot, int delta);
    long Prefix(uint32_t slot) const;  // live slots up to and including slot
    uint32_t Find(long index) const;   // the slot of the index-th live node
    void Reset() { tree_.clear(); }

   private:
    std::vector<int32_t> tree_;  // 1-based
  };

  Node Handle(uint32_t slot) const { return slot == kNone ? Node() : Node(this, base_ + slot); }
  uint32_t SlotOf(const Node& node) const;  // throws for nothing or a removed node
  NodeData& Data(const Node& node) { return slots_[SlotOf(node)]; }
  const NodeData& Data(const Node& node) const { return slots_[SlotOf(node)]; }
  uint32_t FindSlot(const NodeLocator& locator) const;
  int16_t ResolveImage(const ImageRef& image) const;

  void Link(uint32_t slot, uint32_t parent, uint32_t before);  // before == kNone: at the end
  void Unlink(uint32_t slot);
  uint32_t& FirstOf(uint32_t parent) {
    return parent == kNone ? topFirst_ : slots_[parent].firstChild;
  }
  uint32_t& LastOf(uint32_t parent) {
    return parent == kNone ? topLast_ : slots_[parent].lastChild;
  }
  uint32_t& CountOf(uint32_t parent) {
    return parent == kNone ? topCount_ : slots_[parent].childCount;
  }
  bool IsInSubtree(uint32_t slot, uint32_t root) const;
  void ChangeKey(uint32_t slot, const std::string& key);
  void MoveUnder(uint32_t slot, uint32_t parent);
  void Changed(uint32_t slot, NodeField what);
  bool Observed() const { return !observers_.empty(); }
  const std::vector<uint32_t>& RowsOf(uint32_t parent) const;
  void ForgetRows(uint32_t parent) const { rowCache_.erase(parent); }

  std::deque<NodeData> slots_;
  uint64_t base_ = 1;  // the id of slot 0; ids are never reused, so a stale handle is detected
  Counter counter_;
  std::unordered_set<uint32_t, KeyHash, KeyEqual> keys_{0, KeyHash{&slots_}, KeyEqual{&slots_}};
  uint32_t topFirst_ = kNone, topLast_ = kNone, topCount_ = 0;
  long liveCount_ = 0;
  uint32_t selected_ = kNone, dropHighlight_ = kNone;
  const ImageList* images_ = nullptr;
  std::vector<TreeObserver*> observers_;
  mutable std::unordered_map<uint32_t, std::vector<uint32_t>> rowCache_;
};

}  // namespace xel
