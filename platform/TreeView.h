#pragma once

#include <functional>
#include <string>

#include "platform/Forms.h"
#include "platform/ImageList.h"
#include "platform/TreeNodes.h"

namespace xel {

namespace MouseButton {
inline constexpr int Left = 1;
inline constexpr int Right = 2;
}  // namespace MouseButton

// The tree control: its nodes, selection, drop highlight and events. The User... members are what
// the screen (or a scripted user) reports; each raises the event the control would raise.
class TreeView : public Control {
 public:
  // Height of one row where no screen says otherwise (16 pixels).
  static constexpr float kRowHeight = 240;

  TreeView(Container& container, std::string name);

  TreeNodes& Nodes() { return nodes_; }
  const TreeNodes& Nodes() const { return nodes_; }

  void SetImageList(const ImageList* images);
  const ImageList* ImageListUsed() const { return nodes_.Images(); }
  bool Checkboxes() const { return checkboxes_; }
  void SetCheckboxes(bool shown);
  const Font& GetFont() const { return font_; }
  void SetFont(Font font) { font_ = std::move(font); }

  Node SelectedItem() const { return nodes_.SelectedItem(); }
  void SetSelectedItem(const Node& node) { nodes_.SetSelectedItem(node); }
  Node DropHighlight() const { return nodes_.DropHighlight(); }
  void SetDropHighlight(const Node& node) { nodes_.SetDropHighlight(node); }

  // The node shown at a point of the control (twips), or nothing.
  Node HitTest(float x, float y) const;
  // The screen installs its own geometry; without one, rows of kRowHeight from the top.
  void SetHitTester(std::function<Node(float, float)> tester) { hitTester_ = std::move(tester); }

  Event<Node> NodeClick;
  Event<Node> Expand;
  Event<Node> Collapse;
  Event<Node> NodeCheck;
  Event<int&, int> KeyDown;  // key code, shift state
  Event<int&, int> KeyUp;
  Event<int&> KeyPress;                     // character code; setting it to 0 consumes the key
  Event<int, int, float, float> MouseDown;  // button, shift state, x, y
  Event<int, int, float, float> MouseMove;
  Event<Node> StartDrag;  // the user moved the pointer with the left button held on a node
  Event<float, float, int> DragOver;  // x, y, state
  Event<float, float> DragDrop;

  void UserClick(const Node& node);
  void UserSetExpanded(const Node& node, bool expanded) { node.SetExpanded(expanded); }
  void UserCheck(const Node& node, bool checked);
  void UserKeyDown(int keyCode, int shift);
  // Returns the character code left after the handler: 0 when it consumed the key.
  int UserKeyPress(int keyAscii);
  void UserKeyUp(int keyCode, int shift);
  void UserMouseDown(int button, int shift, float x, float y);
  void UserMouseMove(int button, int shift, float x, float y);
  void UserStartDrag(const Node& node);
  void UserDragOver(float x, float y, int state = 2);
  void UserDrop(float x, float y);

 private:
  Node RowAt(long row) const;

  TreeNodes nodes_;
  bool checkboxes_ = false;
  Font font_;
  std::function<Node(float, float)> hitTester_;
};

}  // namespace xel
