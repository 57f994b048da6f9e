#pragma once

#include <QLabel>
#include <QToolButton>
#include <vector>

#include "platform/forms/MakerControls.h"
#include "qt/ControlView.h"

namespace xel {

// The maker's title strip: its caption as the window's title, and the add, edit, delete and exit
// buttons, each usable while its command is available (the exit button shown while the strip
// shows it). A button presses the command on the strip; the pressed button stays down while the
// command runs. The keys its tooltips name (Insert, F2, Delete) belong to the window's tree, which
// presses them. The strip runs across its window's whole width, however wide the window is.
class ToolbarView : public ControlView {
 public:
  ToolbarView(ToolbarZul& bar, FormWindow& window, QWidget* parent);
  QWidget* Widget() const override { return strip_; }

  // The button of a command.
  QToolButton* ButtonOf(ToolbarZul::Command command) const;
  void ApplyScheme(const ColorSchemeValues& scheme) override;

 protected:
  void MirrorOwn() override;
  QRect PlaceFor(const QRect& designed) const override;

 private:
  struct CommandButton {
    ToolbarZul::Command command;
    QToolButton* button;
  };
  void AddCommand(ToolbarZul::Command command, const QString& text, const QString& key);
  bool Available(ToolbarZul::Command command) const;
  void Press(ToolbarZul::Command command);

  ToolbarZul& bar_;
  QWidget* strip_;
  QLabel* title_;
  std::vector<CommandButton> commands_;
};

}  // namespace xel
