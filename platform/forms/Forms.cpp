#include "platform/forms/Forms.h"

#include <algorithm>
#include <atomic>

namespace xel {

void FormsRuntime::SetMousePointer(int pointer) {
  mousePointer_ = pointer;
  ui_->SetMousePointer(pointer);
}

void FormsRuntime::ReportEscaped(long number, const std::string& description) noexcept {
  try {
    SetMousePointer(MousePointer::Default);
    ui_->ReportUnhandledError(number, description);
  } catch (...) {
    // Reporting must never end the program; the pointer is already back to the default.
  }
}

Control::Control(Container& container, std::string name)
    : name_(std::move(name)), container_(&container) {
  container.controls_.push_back(this);
}

FormsRuntime& Control::Runtime() const {
  return OwnerForm().Runtime();
}

void Control::SetEnabled(bool enabled) {
  if (enabled_ == enabled) {
    return;
  }
  enabled_ = enabled;
  Notify(Property::Enabled);
}

void Control::SetVisible(bool visible) {
  if (visible_ == visible) {
    return;
  }
  visible_ = visible;
  Notify(Property::Visible);
}

void Control::SetBounds(const Bounds& bounds) {
  bounds_ = bounds;
  Notify(Property::Bounds);
}

void Control::SetFocus() {
  if (!UsableByUser()) {
    return;
  }
  OwnerForm().SetActiveControl(this);
}

bool Control::HasFocus() const {
  return OwnerForm().ActiveControl() == this;
}

namespace {
long NextWindowHandle() {
  static std::atomic<long> last{0x10000};
  return last += 0x10;
}
}  // namespace

Form::Form(FormsRuntime& runtime, std::string name)
    : runtime_(&runtime), name_(std::move(name)), hWnd_(NextWindowHandle()) {}

void Form::Load() {
  if (loaded_) {
    return;
  }
  loaded_ = true;
  activeControl_ = nullptr;
  InitializeComponent();
  StateChanged.Emit();
  Form_Load();
}

void Form::Show(bool modal) {
  Load();
  if (!loaded_) {
    return;
  }
  visible_ = true;
  modal_ = modal;
  StateChanged.Emit();
  if (modal) {
    Activate();
    runtime_->Ui().ShowModal(*this);
    modal_ = false;
  } else {
    runtime_->Ui().ShowModeless(*this);
    Activate();
  }
}

void Form::Hide() {
  if (!visible_) {
    return;
  }
  visible_ = false;
  StateChanged.Emit();
  runtime_->Ui().Hide(*this);
}

bool Form::Unload() {
  return QueryAndUnload(UnloadMode::FormCode);
}

bool Form::QueryAndUnload(UnloadMode mode) {
  if (!loaded_) {
    return true;
  }
  int cancel = 0;
  Form_QueryUnload(cancel, mode);
  if (cancel != 0) {
    return false;
  }
  Form_Unload();
  Hide();
  loaded_ = false;
  activeControl_ = nullptr;
  StateChanged.Emit();
  runtime_->Ui().Unloaded(*this);
  return true;
}

void Form::Activate() {
  if (!loaded_) {
    return;
  }
  runtime_->Dispatch([this] { Form_Activate(); });
}

void Form::RequestClose() {
  runtime_->Dispatch([this] { QueryAndUnload(UnloadMode::FormControlMenu); });
}

void Form::Resize(float width, float height) {
  width_ = width;
  height_ = height;
  StateChanged.Emit();
  runtime_->Dispatch([this] { Form_Resize(); });
}

void Form::SetActiveControl(Control* control) {
  if (activeControl_ == control) {
    return;
  }
  Control* previous = activeControl_;
  activeControl_ = control;
  if (previous) {
    previous->Notify(Property::Focus);
  }
  if (control) {
    control->Notify(Property::Focus);
    control->FocusEntered();
  }
}

void Form::SetCaption(std::string caption) {
  if (caption_ == caption) {
    return;
  }
  caption_ = std::move(caption);
  StateChanged.Emit();
}

void Form::SetModified(bool modified) {
  if (modified_ == modified) {
    return;
  }
  modified_ = modified;
  StateChanged.Emit();
}

void Form::UserWindowKey(const KeyChord& key) {
  const std::vector<KeyChord> keys = WindowKeys();
  if (loaded_ && std::find(keys.begin(), keys.end(), key) != keys.end()) {
    runtime_->Dispatch([&] { Form_WindowKey(key); });
  }
}

namespace {
void Collect(const Container& container, std::vector<Control*>& out) {
  for (Control* control : container.Controls()) {
    out.push_back(control);
    if (auto* inner = dynamic_cast<const Container*>(control)) {
      Collect(*inner, out);
    }
  }
}
}  // namespace

std::vector<Control*> Form::AllControls() const {
  std::vector<Control*> all;
  Collect(*this, all);
  return all;
}

Control* Form::FindControl(const std::string& name) const {
  for (Control* control : AllControls()) {
    if (control->Name() == name) {
      return control;
    }
  }
  return nullptr;
}

void Form::FocusNextControl() {
  std::vector<Control*> stops;
  for (Control* control : AllControls()) {
    bool isContainer = dynamic_cast<Container*>(control) != nullptr;
    if (!isContainer && control->TabStop() && control->Visible() && control->EffectiveEnabled()) {
      stops.push_back(control);
    }
  }
  if (stops.empty()) {
    return;
  }
  std::stable_sort(stops.begin(), stops.end(),
                   [](Control* a, Control* b) { return a->TabIndex() < b->TabIndex(); });
  auto current = std::find(stops.begin(), stops.end(), activeControl_);
  auto next = (current == stops.end() || current + 1 == stops.end()) ? stops.begin() : current + 1;
  (*next)->SetFocus();
}

}  // namespace xel
