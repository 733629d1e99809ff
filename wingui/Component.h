// The component tree: every component has an optional owner, and an owner frees what it
// owns when it is destroyed, newest first. A form sets up its components between
// BeginLoading and EndLoading; EndLoading then tells each owned component that loading
// is complete (Loaded), so setters can act at once and be re-applied in one place.
// A component is either made with new and freed by its owner, or is a data member of its
// owner (members are destroyed, and leave the owner's list, before the owner's Component part).
#pragma once

#include <vector>

namespace wingui {

enum class Operation { Insert, Remove };

class Component {
 public:
  explicit Component(Component* owner);
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;
  virtual ~Component();

  Component* Owner() const { return owner_; }
  // Owned components in creation order.
  const std::vector<Component*>& Components() const { return components_; }

  // True while this component's owner chain is being set up (between BeginLoading and
  // EndLoading).
  bool Loading() const;

  void BeginLoading();
  // Clears Loading, then calls Loaded() on each owned component in creation order.
  void EndLoading();

  virtual void Loaded();
  // Told about siblings (components of the same owner) being inserted or removed, so
  // references to them can be dropped before they dangle.
  virtual void Notification(Component* component, Operation operation);

 protected:
  // Frees the owned components, newest first. Windowed owners call it before their window
  // goes, so what they own is torn down while the owner is still whole.
  void DestroyComponents();

 private:
  void InsertComponent(Component* component);
  void RemoveComponent(Component* component);

  Component* owner_ = nullptr;
  std::vector<Component*> components_;
  bool loading_ = false;
};

}  // namespace wingui
