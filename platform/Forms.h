#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/KeyCodes.h"
#include "platform/RuntimeError.h"
#include "platform/Signal.h"
#include "platform/UiBackend.h"

namespace xel {

namespace MousePointer {
inline constexpr int Default = 0;
inline constexpr int Hourglass = 11;
}  // namespace MousePointer

// The forms run time: the screen object (mouse pointer), the pass over pending events, and the
// rule for errors that escape an event handler.
class FormsRuntime {
 public:
  explicit FormsRuntime(UiBackend& ui) : ui_(&ui) {}

  UiBackend& Ui() const { return *ui_; }
  // The component installs the real screen when it starts inside a desktop application.
  void SetUi(UiBackend& ui) { ui_ = &ui; }

  int MousePointer() const { return mousePointer_; }
  void SetMousePointer(int pointer);

  void DoEvents() { ui_->DoEvents(); }

  // Runs one event handler. A failure that escapes it never ends the program: it is reported in
  // one message box with its number and description, the default pointer is restored, and the
  // window goes on.
  template <class Handler>
  void Dispatch(Handler&& handler) noexcept {
    try {
      handler();
    } catch (const RuntimeError& e) {
      ReportEscaped(e.Number(), e.Description());
    } catch (const std::exception& e) {
      ReportEscaped(ErrorNumber(e), e.what());
    }
  }

 private:
  void ReportEscaped(long number, const std::string& description) noexcept;

  UiBackend* ui_;
  int mousePointer_ = MousePointer::Default;
};

// The hourglass for as long as it lives: set when made, the default pointer back on every way out
// of its scope, exceptions included. Restore gives the pointer back earlier, e.g. before a message.
class BusyPointer {
 public:
  explicit BusyPointer(FormsRuntime& runtime) : runtime_(&runtime) {
    runtime.SetMousePointer(MousePointer::Hourglass);
  }
  ~BusyPointer() {
    try {
      Restore();
    } catch (...) {
      // A screen that cannot take the pointer back has nothing more to show; the work is done.
    }
  }
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;

  void Restore() {
    if (FormsRuntime* runtime = std::exchange(runtime_, nullptr)) {
      runtime->SetMousePointer(MousePointer::Default);
    }
  }

 private:
  FormsRuntime* runtime_;
};

class Control;
class Form;

// An event of a control or form. It has one handler, the one its window connects; raising it
// runs the handler under the run time's rule for escaping errors.
template <class... Args>
class Event {
 public:
  using Handler = std::function<void(Args...)>;

  void Connect(Handler handler) { handler_ = std::move(handler); }
  bool Connected() const { return static_cast<bool>(handler_); }

  // Called by the owner with the run time that dispatches its events.
  template <class... A>
  void Raise(FormsRuntime& runtime, A&&... args) const {
    if (!handler_) {
      return;
    }
    runtime.Dispatch([&] { handler_(std::forward<A>(args)...); });
  }

 private:
  Handler handler_;
};

// What changed in a control, for the views that mirror it.
enum class Property {
  Text,
  Caption,
  Enabled,
  Visible,
  Bounds,
  Focus,
  Value,
  MaxLength,
  InputKind,
  Locked,
  Colors,
  Items,
  ListIndex,
  Commands,
  Design,
  Selection,
};

// Anything that holds controls: a form or a frame.
class Container {
 public:
  virtual ~Container() = default;
  const std::vector<Control*>& Controls() const { return controls_; }
  virtual Form& OwnerForm() = 0;
  // Whether the container lets its controls be used; a disabled frame disables what it holds.
  virtual bool ContentsEnabled() const = 0;

 private:
  friend class Control;
  std::vector<Control*> controls_;
};

// Position and size in twips, as the designer gives them.
struct Bounds {
  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;
};

// A key with its shift state (1 Shift, 2 Ctrl, 4 Alt, added up), as the key events report them.
struct KeyChord {
  int keyCode = 0;
  int shift = 0;
  bool operator==(const KeyChord&) const = default;
};

struct Font {
  std::string name;
  float size = 8.25f;
  bool bold = false;
  bool operator==(const Font&) const = default;
};

// A colour as the designer writes it, &HBBGGRR; from &H80000000 up it names a system colour.
using Color = std::uint32_t;

class Control {
 public:
  Control(Container& container, std::string name);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }
  Container& Parent() const { return *container_; }
  Form& OwnerForm() const { return container_->OwnerForm(); }
  FormsRuntime& Runtime() const;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // Usable by the user: enabled itself and inside enabled containers.
  bool EffectiveEnabled() const { return enabled_ && container_->ContentsEnabled(); }

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // Within the user's reach: shown, and usable.
  bool UsableByUser() const { return visible_ && EffectiveEnabled(); }

  const Bounds& GetBounds() const { return bounds_; }
  void SetBounds(const Bounds& bounds);
  void Move(float left, float top, float width, float height) {
    SetBounds({left, top, width, height});
  }

  int TabIndex() const { return tabIndex_; }
  void SetTabIndex(int index) { tabIndex_ = index; }
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool stop) { tabStop_ = stop; }

  // Gives this control the keyboard focus; a control that cannot be used does not take it.
  void SetFocus();
  bool HasFocus() const;

  Signal<Property> Changed;

 protected:
  void Notify(Property what) { Changed.Emit(what); }
  // The control has just taken the keyboard focus.
  virtual void FocusEntered() {}
  // Stores a property and tells the views, only when the value really changes.
  template <class T, class V>
  void Update(T& field, V&& value, Property what) {
    if (field == value) {
      return;
    }
    field = std::forward<V>(value);
    Notify(what);
  }
  template <class... Args, class... A>
  void Raise(const Event<Args...>& event, A&&... args) {
    event.Raise(Runtime(), std::forward<A>(args)...);
  }

 private:
  friend class Form;
  std::string name_;
  Container* container_;
  bool enabled_ = true;
  bool visible_ = true;
  Bounds bounds_;
  int tabIndex_ = 0;
  bool tabStop_ = true;
};

// How a form is being unloaded, as QueryUnload reports it.
enum class UnloadMode {
  FormControlMenu = 0,  // the user closed it from its control box
  FormCode = 1,         // the program unloads it
};

// A window of the forms run time. Load runs the design and the Load event; Show makes it visible
// (modally or not) and activates it; Hide keeps it loaded; Unload asks QueryUnload first.
class Form : public Container {
 public:
  Form(FormsRuntime& runtime, std::string name);
  ~Form() override = default;

  const std::string& Name() const { return name_; }
  FormsRuntime& Runtime() const { return *runtime_; }
  Form& OwnerForm() override { return *this; }
  bool ContentsEnabled() const override { return true; }

  bool Loaded() const { return loaded_; }
  bool Visible() const { return visible_; }
  bool Modal() const { return modal_; }
  // The owner value handed to the message service: unique per form in the process.
  long hWnd() const { return hWnd_; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  // Whether the window holds work the user has not saved yet; the screen marks its title.
  bool Modified() const { return modified_; }
  void SetModified(bool modified);

  // The keys the form answers itself wherever the focus is inside it, before any control sees
  // them; the screen catches them for the whole window.
  virtual std::vector<KeyChord> WindowKeys() const { return {}; }
  // The user pressed one of the window keys; any other key is left alone.
  void UserWindowKey(const KeyChord& key);

  // Client size in twips.
  float Width() const { return width_; }
  float Height() const { return height_; }

  void Load();
  void Show(bool modal = false);
  void Hide();
  // Returns false when QueryUnload cancelled the unload.
  bool Unload();

  // What the screen reports: the window became active, the user closed it from its control box,
  // the window got a new size. Each runs the form's handler under the run time's error rule.
  void Activate();
  void RequestClose();
  void Resize(float width, float height);

  Control* ActiveControl() const { return activeControl_; }
  // Moves the focus to the next usable tab stop, in tab index order, as the TAB key does.
  void FocusNextControl();
  Control* FindControl(const std::string& name) const;
  // Every control of the form, those inside frames included.
  std::vector<Control*> AllControls() const;

  Signal<> StateChanged;  // loaded, visible, caption, modified or size changed

 protected:
  // The designed client size, set without raising Resize.
  void SetDesignSize(float width, float height) {
    width_ = width;
    height_ = height;
  }
  // Puts the controls into their designed state; runs at every load, before Form_Load.
  virtual void InitializeComponent() {}
  virtual void Form_Load() {}
  virtual void Form_Activate() {}
  virtual void Form_QueryUnload(int& /*cancel*/, UnloadMode /*mode*/) {}
  virtual void Form_Unload() {}
  virtual void Form_Resize() {}
  virtual void Form_WindowKey(const KeyChord& /*key*/) {}

 private:
  friend class Control;
  void SetActiveControl(Control* control);
  bool QueryAndUnload(UnloadMode mode);

  FormsRuntime* runtime_;
  std::string name_;
  std::string caption_;
  long hWnd_;
  bool loaded_ = false;
  bool visible_ = false;
  bool modal_ = false;
  bool modified_ = false;
  float width_ = 0;
  float height_ = 0;
  Control* activeControl_ = nullptr;
};

}  // namespace xel
