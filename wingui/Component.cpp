// The component tree's bookkeeping: owners keep the list of what they own, free it newest
// first, and tell each owned component when loading is complete.
#include "wingui/Component.h"

#include <algorithm>

namespace wingui {

Component::Component(Component* owner) {
  if (owner) owner->InsertComponent(this);
}

Component::~Component() {
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void Component::DestroyComponents() {
  // Newest first, so a component never outlives one it was built on top of. Each one
  // takes itself out of components_ in its own destructor.
  while (!components_.empty()) {
    delete components_.back();
  }
}

bool Component::Loading() const {
  for (const Component* c = this; c; c = c->owner_) {
    if (c->loading_) return true;
  }
  return false;
}

void Component::BeginLoading() { loading_ = true; }

void Component::EndLoading() {
  loading_ = false;
  // Loaded() may create or free components; walk a snapshot and skip any that went away.
  const std::vector<Component*> snapshot = components_;
  for (Component* c : snapshot) {
    if (std::find(components_.begin(), components_.end(), c) != components_.end()) c->Loaded();
  }
}

void Component::Loaded() {}

void Component::Notification(Component*, Operation) {}

void Component::InsertComponent(Component* component) {
  component->owner_ = this;
  components_.push_back(component);
  const std::vector<Component*> others = components_;
  for (Component* c : others) {
    if (c != component) c->Notification(component, Operation::Insert);
  }
}

void Component::RemoveComponent(Component* component) {
  components_.erase(std::remove(components_.begin(), components_.end(), component),
                    components_.end());
  component->owner_ = nullptr;
  // Only siblings hear of it: the owner itself may be half destroyed (its members are
  // torn down before its Component part), so calling its overrides is not safe.
  const std::vector<Component*> others = components_;
  for (Component* c : others) c->Notification(component, Operation::Remove);
}

}  // namespace wingui
