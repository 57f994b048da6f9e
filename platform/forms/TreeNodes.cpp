#include "platform/forms/TreeNodes.h"

#include <algorithm>

#include "platform/text/RuntimeError.h"

namespace xel {

namespace {
[[noreturn]] void NotSet() {
  throw RuntimeError(err::ObjectVariableNotSet, "Object variable or With block variable not set");
}
[[noreturn]] void NotFound() {
  throw RuntimeError(err::ElementNotFound, "Element not found");
}
[[noreturn]] void KeyInUse() {
  throw RuntimeError(err::KeyNotUnique, "Key is not unique in collection");
}
}  // namespace

// --- Counter -------------------------------------------------------------------------------

void TreeNodes::Counter::Grow(size_t slots, const std::deque<NodeData>& data) {
  size_t capacity = tree_.empty() ? 0 : tree_.size() - 1;
  if (slots <= capacity) {
    return;
  }
  capacity = std::max<size_t>({slots, capacity * 2, 64});
  tree_.assign(capacity + 1, 0);
  for (size_t i = 0; i < data.size(); ++i) {
    tree_[i + 1] = data[i].alive ? 1 : 0;
  }
  for (size_t i = 1; i <= capacity; ++i) {
    size_t parent = i + (i & (~i + 1));
    if (parent <= capacity) {
      tree_[parent] += tree_[i];
    }
  }
}

void TreeNodes::Counter::Add(uint32_t slot, int delta) {
  for (size_t i = slot + 1; i < tree_.size(); i += i & (~i + 1)) {
    tree_[i] += delta;
  }
}

long TreeNodes::Counter::Prefix(uint32_t slot) const {
  long sum = 0;
  for (size_t i = slot + 1; i > 0; i -= i & (~i + 1)) {
    sum += tree_[i];
  }
  return sum;
}

uint32_t TreeNodes::Counter::Find(long index) const {
  size_t size = tree_.size() - 1;
  size_t step = 1;
  while (step * 2 <= size) {
    step *= 2;
  }
  size_t position = 0;
  for (; step > 0; step /= 2) {
    if (position + step <= size && tree_[position + step] < index) {
      position += step;
      index -= tree_[position];
    }
  }
  return static_cast<uint32_t>(position);  // 1-based position + 1, minus 1 for the slot
}

// --- Look-ups --------------------------------------------------------------------------------

uint32_t TreeNodes::SlotOf(const Node& node) const {
  if (!node) {
    NotSet();
  }
  if (node.id_ < base_ || node.id_ - base_ >= slots_.size() || !slots_[node.id_ - base_].alive) {
    throw RuntimeError(err::NodeRemoved, "The node has been removed from the tree");
  }
  return static_cast<uint32_t>(node.id_ - base_);
}

uint32_t TreeNodes::FindSlot(const NodeLocator& locator) const {
  if (const long* index = locator.Index()) {
    if (*index < 1 || *index > liveCount_) {
      throw RuntimeError(err::IndexOutOfBounds, "Index out of bounds");
    }
    return counter_.Find(*index);
  }
  if (const std::string* key = locator.Key()) {
    auto found = keys_.find(std::string_view(*key));
    if (found == keys_.end()) {
      NotFound();
    }
    return *found;
  }
  NotSet();
}

Node TreeNodes::Item(const NodeLocator& locator) const {
  return Handle(FindSlot(locator));
}

Node TreeNodes::FromId(uint64_t id) const {
  Node node(this, id);
  return node.Exists() ? node : Node();
}

bool TreeNodes::Contains(const std::string& key) const {
  return keys_.find(std::string_view(key)) != keys_.end();
}

int16_t TreeNodes::ResolveImage(const ImageRef& image) const {
  if (std::holds_alternative<std::monostate>(image)) {
    return 0;
  }
  if (!images_) {
    throw RuntimeError(err::ImageListNotInitialized,
                       "ImageList must be initialized before it can be used");
  }
  if (const std::string* key = std::get_if<std::string>(&image)) {
    return static_cast<int16_t>(images_->IndexOf(*key));
  }
  int number = std::get<int>(image);
  images_->Key(number);  // refuses a number outside the list
  return static_cast<int16_t>(number);
}

Node TreeNodes::FirstRoot() const {
  return Handle(topFirst_);
}

// --- Sibling links ---------------------------------------------------------------------------

void TreeNodes::Link(uint32_t slot, uint32_t parent, uint32_t before) {
  NodeData& data = slots_[slot];
  data.parent = parent;
  data.next = before;
  data.prev = before == kNone ? LastOf(parent) : slots_[before].prev;
  if (data.prev == kNone) {
    FirstOf(parent) = slot;
  } else {
    slots_[data.prev].next = slot;
  }
  if (before == kNone) {
    LastOf(parent) = slot;
  } else {
    slots_[before].prev = slot;
  }
  ++CountOf(parent);
  auto rows = rowCache_.find(parent);
  if (rows != rowCache_.end()) {
    if (before == kNone) {
      data.row = static_cast<uint32_t>(rows->second.size());
      rows->second.push_back(slot);
    } else {
      rowCache_.erase(rows);
    }
  }
}

void TreeNodes::Unlink(uint32_t slot) {
  NodeData& data = slots_[slot];
  auto rows = rowCache_.find(data.parent);
  if (rows != rowCache_.end()) {
    if (data.next == kNone) {
      rows->second.pop_back();
    } else {
      rowCache_.erase(rows);
    }
  }
  if (data.prev == kNone) {
    FirstOf(data.parent) = data.next;
  } else {
    slots_[data.prev].next = data.next;
  }
  if (data.next == kNone) {
    LastOf(data.parent) = data.prev;
  } else {
    slots_[data.next].prev = data.prev;
  }
  --CountOf(data.parent);
  data.parent = data.prev = data.next = kNone;
}

const std::vector<uint32_t>& TreeNodes::RowsOf(uint32_t parent) const {
  auto [rows, inserted] = rowCache_.try_emplace(parent);
  if (inserted) {
    uint32_t first = parent == kNone ? topFirst_ : slots_[parent].firstChild;
    for (uint32_t child = first; child != kNone; child = slots_[child].next) {
      slots_[child].row = static_cast<uint32_t>(rows->second.size());
      rows->second.push_back(child);
    }
  }
  return rows->second;
}

Node TreeNodes::ChildAt(const Node& parent, long row) const {
  const auto& rows = RowsOf(parent ? SlotOf(parent) : kNone);
  if (row < 0 || row >= static_cast<long>(rows.size())) {
    return Node();
  }
  return Handle(rows[row]);
}

long TreeNodes::RowOf(const Node& node) const {
  uint32_t slot = SlotOf(node);
  RowsOf(slots_[slot].parent);
  return slots_[slot].row;
}

bool TreeNodes::IsInSubtree(uint32_t slot, uint32_t root) const {
  for (uint32_t at = slot; at != kNone; at = slots_[at].parent) {
    if (at == root) {
      return true;
    }
  }
  return false;
}

// --- Changes ---------------------------------------------------------------------------------

Node TreeNodes::Add(const NodeLocator& relative, int relationship, const std::string& key,
                    const std::string& text, const ImageRef& image, const ImageRef& selectedImage) {
  // Everything that can refuse the add is checked before the tree changes.
  if (!key.empty() && Contains(key)) {
    KeyInUse();
  }
  int16_t imageNumber = ResolveImage(image);
  int16_t selectedNumber = ResolveImage(selectedImage);
  uint32_t parent = kNone;
  uint32_t before = kNone;
  if (relative.IsNone()) {
    before = relationship == tvw::First ? topFirst_ : kNone;
  } else {
    uint32_t rel = FindSlot(relative);
    parent = slots_[rel].parent;
    switch (relationship) {
      case tvw::First:
        before = FirstOf(parent);
        break;
      case tvw::Last:
        break;
      case tvw::Next:
        before = slots_[rel].next;
        break;
      case tvw::Previous:
        before = rel;
        break;
      case tvw::Child:
        parent = rel;
        break;
      default:
        throw RuntimeError(err::InvalidProcedureCall, "Invalid procedure call or argument");
    }
  }

  if (Observed()) {
    long row = before == kNone ? CountOf(parent) : RowOf(Handle(before));
    for (TreeObserver* observer : observers_) {
      observer->NodeAboutToBeAdded(Handle(parent), row);
    }
  }
  uint32_t slot = static_cast<uint32_t>(slots_.size());
  NodeData& data = slots_.emplace_back();
  data.key = key;
  data.text = text;
  data.image = imageNumber;
  data.selectedImage = selectedNumber;
  counter_.Grow(slots_.size(), slots_);
  data.alive = true;
  counter_.Add(slot, +1);
  if (!key.empty()) {
    keys_.insert(slot);
  }
  Link(slot, parent, before);
  ++liveCount_;
  for (TreeObserver* observer : observers_) {
    observer->NodeAdded(Handle(slot));
  }
  return Handle(slot);
}

void TreeNodes::Remove(const NodeLocator& locator) {
  uint32_t top = FindSlot(locator);
  uint32_t parent = slots_[top].parent;
  long row = 0;
  if (Observed()) {
    row = RowOf(Handle(top));
    for (TreeObserver* observer : observers_) {
      observer->NodeAboutToBeRemoved(Handle(top));
    }
  }
  Unlink(top);
  std::vector<uint32_t> pending{top};
  while (!pending.empty()) {
    uint32_t slot = pending.back();
    pending.pop_back();
    NodeData& data = slots_[slot];
    for (uint32_t child = data.firstChild; child != kNone; child = slots_[child].next) {
      pending.push_back(child);
    }
    if (!data.key.empty()) {
      keys_.erase(slot);
    }
    if (selected_ == slot) {
      selected_ = kNone;
    }
    if (dropHighlight_ == slot) {
      dropHighlight_ = kNone;
    }
    rowCache_.erase(slot);
    counter_.Add(slot, -1);
    --liveCount_;
    data = NodeData{};  // a removed node keeps no texts
  }
  for (TreeObserver* observer : observers_) {
    observer->NodeRemoved(Handle(parent), row);
  }
}

void TreeNodes::Clear() {
  for (TreeObserver* observer : observers_) {
    observer->AboutToBeCleared();
  }
  base_ += slots_.size();
  keys_.clear();
  slots_.clear();
  counter_.Reset();
  rowCache_.clear();
  topFirst_ = topLast_ = kNone;
  topCount_ = 0;
  liveCount_ = 0;
  selected_ = dropHighlight_ = kNone;
  for (TreeObserver* observer : observers_) {
    observer->Cleared();
  }
}

void TreeNodes::Changed(uint32_t slot, NodeField what) {
  for (TreeObserver* observer : observers_) {
    observer->NodeChanged(Handle(slot), what);
  }
}

void TreeNodes::ChangeKey(uint32_t slot, const std::string& key) {
  NodeData& data = slots_[slot];
  if (data.key == key) {
    return;
  }
  if (!key.empty() && Contains(key)) {
    KeyInUse();
  }
  if (!data.key.empty()) {
    keys_.erase(slot);
  }
  data.key = key;
  if (!key.empty()) {
    keys_.insert(slot);
  }
  Changed(slot, NodeField::Key);
}

void TreeNodes::MoveUnder(uint32_t slot, uint32_t parent) {
  if (IsInSubtree(parent, slot)) {
    throw RuntimeError(err::IntroducesCycle, "This would introduce a cycle");
  }
  for (TreeObserver* observer : observers_) {
    observer->NodeAboutToBeMoved(Handle(slot), Handle(parent), CountOf(parent));
  }
  Unlink(slot);
  Link(slot, parent, kNone);
  for (TreeObserver* observer : observers_) {
    observer->NodeMoved(Handle(slot));
  }
}

void TreeNodes::SetSelectedItem(const Node& node) {
  uint32_t slot = node ? SlotOf(node) : kNone;
  if (slot == selected_) {
    return;
  }
  uint32_t previous = selected_;
  selected_ = slot;
  if (previous != kNone) {
    Changed(previous, NodeField::Selected);
  }
  if (slot != kNone) {
    Changed(slot, NodeField::Selected);
  }
}

void TreeNodes::SetDropHighlight(const Node& node) {
  uint32_t slot = node ? SlotOf(node) : kNone;
  if (slot == dropHighlight_) {
    return;
  }
  uint32_t previous = dropHighlight_;
  dropHighlight_ = slot;
  if (previous != kNone) {
    Changed(previous, NodeField::DropHighlight);
  }
  if (slot != kNone) {
    Changed(slot, NodeField::DropHighlight);
  }
}

void TreeNodes::RemoveObserver(TreeObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

// --- Node ------------------------------------------------------------------------------------

namespace {
TreeNodes& Owner(TreeNodes* nodes) {
  if (!nodes) {
    NotSet();
  }
  return *nodes;
}
}  // namespace

bool Node::Exists() const {
  return nodes_ && id_ >= nodes_->base_ && id_ - nodes_->base_ < nodes_->slots_.size() &&
         nodes_->slots_[id_ - nodes_->base_].alive;
}

const std::string& Node::Key() const {
  return Owner(nodes_).Data(*this).key;
}
void Node::SetKey(const std::string& key) const {
  Owner(nodes_).ChangeKey(nodes_->SlotOf(*this), key);
}

const std::string& Node::Text() const {
  return Owner(nodes_).Data(*this).text;
}
void Node::SetText(const std::string& text) const {
  auto& data = Owner(nodes_).Data(*this);
  if (data.text != text) {
    data.text = text;
    nodes_->Changed(nodes_->SlotOf(*this), NodeField::Text);
  }
}

const std::string& Node::Tag() const {
  return Owner(nodes_).Data(*this).tag;
}
void Node::SetTag(const std::string& tag) const {
  Owner(nodes_).Data(*this).tag = tag;
  nodes_->Changed(nodes_->SlotOf(*this), NodeField::Tag);
}

int Node::Image() const {
  return Owner(nodes_).Data(*this).image;
}
void Node::SetImage(const ImageRef& image) const {
  auto& data = Owner(nodes_).Data(*this);
  data.image = nodes_->ResolveImage(image);
  nodes_->Changed(nodes_->SlotOf(*this), NodeField::Image);
}

int Node::SelectedImage() const {
  return Owner(nodes_).Data(*this).selectedImage;
}
void Node::SetSelectedImage(const ImageRef& image) const {
  auto& data = Owner(nodes_).Data(*this);
  data.selectedImage = nodes_->ResolveImage(image);
  nodes_->Changed(nodes_->SlotOf(*this), NodeField::Image);
}

bool Node::Checked() const {
  return Owner(nodes_).Data(*this).checked;
}
void Node::SetChecked(bool checked) const {
  auto& data = Owner(nodes_).Data(*this);
  if (data.checked != checked) {
    data.checked = checked;
    nodes_->Changed(nodes_->SlotOf(*this), NodeField::Checked);
  }
}

bool Node::Expanded() const {
  return Owner(nodes_).Data(*this).expanded;
}
void Node::SetExpanded(bool expanded) const {
  auto& data = Owner(nodes_).Data(*this);
  if (data.expanded == expanded) {
    return;
  }
  data.expanded = expanded;
  nodes_->Changed(nodes_->SlotOf(*this), NodeField::Expanded);
  if (nodes_->onExpandedChanged) {
    nodes_->onExpandedChanged(*this, expanded);
  }
}

bool Node::Selected() const {
  return Owner(nodes_).SlotOf(*this) == nodes_->selected_;
}
void Node::SetSelected(bool selected) const {
  TreeNodes& nodes = Owner(nodes_);
  if (selected) {
    nodes.SetSelectedItem(*this);
  } else if (Selected()) {
    nodes.SetSelectedItem(Node());
  }
}

long Node::Index() const {
  return Owner(nodes_).counter_.Prefix(nodes_->SlotOf(*this));
}
long Node::Children() const {
  return Owner(nodes_).Data(*this).childCount;
}
Node Node::Child() const {
  return nodes_->Handle(Owner(nodes_).Data(*this).firstChild);
}
Node Node::FirstSibling() const {
  uint32_t parent = Owner(nodes_).Data(*this).parent;
  return nodes_->Handle(nodes_->FirstOf(parent));
}
Node Node::LastSibling() const {
  uint32_t parent = Owner(nodes_).Data(*this).parent;
  return nodes_->Handle(nodes_->LastOf(parent));
}
Node Node::Next() const {
  return nodes_->Handle(Owner(nodes_).Data(*this).next);
}
Node Node::Previous() const {
  return nodes_->Handle(Owner(nodes_).Data(*this).prev);
}
Node Node::Parent() const {
  return nodes_->Handle(Owner(nodes_).Data(*this).parent);
}

void Node::SetParent(const Node& parent) const {
  TreeNodes& nodes = Owner(nodes_);
  uint32_t slot = nodes.SlotOf(*this);
  if (!parent) {
    NotSet();
  }
  if (parent.nodes_ != nodes_) {
    throw RuntimeError(err::InvalidProcedureCall, "Invalid procedure call or argument");
  }
  nodes.MoveUnder(slot, nodes.SlotOf(parent));
}

void Node::EnsureVisible() const {
  TreeNodes& nodes = Owner(nodes_);
  std::vector<Node> ancestors;
  for (Node at = Parent(); at; at = at.Parent()) {
    ancestors.push_back(at);
  }
  for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
    it->SetExpanded(true);
  }
  for (TreeObserver* observer : nodes.observers_) {
    observer->NodeEnsureVisible(*this);
  }
}

}  // namespace xel
