#include "platform/forms/TreeView.h"

#include <vector>

namespace xel {

TreeView::TreeView(Container& container, std::string name) : Control(container, std::move(name)) {
  nodes_.onExpandedChanged = [this](const Node& node, bool expanded) {
    Raise(expanded ? Expand : Collapse, Node(node));
  };
}

void TreeView::SetImageList(const ImageList* images) {
  nodes_.SetImageList(images);
  Notify(Property::Design);
}

void TreeView::SetCheckboxes(bool shown) {
  checkboxes_ = shown;
  Notify(Property::Design);
}

Node TreeView::HitTest(float x, float y) const {
  if (hitTester_) {
    return hitTester_(x, y);
  }
  if (y < 0) {
    return Node();
  }
  return RowAt(static_cast<long>(y / kRowHeight));
}

// The row-th node a person sees from the top: the top level, and the children of expanded nodes.
Node TreeView::RowAt(long row) const {
  std::vector<Node> pending;
  for (Node top = nodes_.FirstRoot(); top; top = top.Next()) {
    pending.insert(pending.begin(), top);
  }
  while (!pending.empty()) {
    Node node = pending.back();
    pending.pop_back();
    if (row-- == 0) {
      return node;
    }
    if (node.Expanded()) {
      std::vector<Node> children;
      for (Node child = node.Child(); child; child = child.Next()) {
        children.push_back(child);
      }
      pending.insert(pending.end(), children.rbegin(), children.rend());
    }
  }
  return Node();
}

void TreeView::UserClick(const Node& node) {
  nodes_.SetSelectedItem(node);
  Raise(NodeClick, Node(node));
}

void TreeView::UserCheck(const Node& node, bool checked) {
  node.SetChecked(checked);
  Raise(NodeCheck, Node(node));
}

void TreeView::UserKeyDown(int keyCode, int shift) {
  Raise(KeyDown, keyCode, shift);
}

int TreeView::UserKeyPress(int keyAscii) {
  Raise(KeyPress, keyAscii);
  return keyAscii;
}

void TreeView::UserKeyUp(int keyCode, int shift) {
  Raise(KeyUp, keyCode, shift);
}

void TreeView::UserMouseDown(int button, int shift, float x, float y) {
  Raise(MouseDown, button, shift, x, y);
}

void TreeView::UserMouseMove(int button, int shift, float x, float y) {
  Raise(MouseMove, button, shift, x, y);
}

void TreeView::UserStartDrag(const Node& node) {
  Raise(StartDrag, Node(node));
}

void TreeView::UserDragOver(float x, float y, int state) {
  Raise(DragOver, x, y, state);
}

void TreeView::UserDrop(float x, float y) {
  Raise(DragDrop, x, y);
}

}  // namespace xel
