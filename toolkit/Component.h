#pragma once
// Components: named objects that know the component that owns them, can be
// found by name among its components, and can ask another component for a
// notice when that one is destroyed, so that no reference outlives it.

#include <cstdint>
#include <string>
#include <vector>

namespace tk {

enum TOperation { opInsert, opRemove };

// Component state flags.
enum : unsigned { csLoading = 1, csDesigning = 2, csDestroying = 4 };

class TComponent {
 public:
  explicit TComponent(TComponent* owner = nullptr);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  // properties
  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  std::intptr_t Tag() const { return tag_; }
  void SetTag(std::intptr_t tag) { tag_ = tag; }
  TComponent* Owner() const { return owner_; }
  unsigned ComponentState() const { return state_; }
  bool Loading() const { return (state_ & csLoading) != 0; }
  bool Designing() const { return (state_ & csDesigning) != 0; }
  bool Destroying() const { return (state_ & csDestroying) != 0; }
  // Reading a stored form sets loading until the loaded hook runs.
  void SetLoading(bool on) { SetState(csLoading, on); }
  void SetDesigning(bool on) { SetState(csDesigning, on); }

  // operations
  // The components this one owns, in the order they were created. The owner
  // lists them so they can be found by name; each leaves the list when it is
  // destroyed, and an owner that goes first lets them know.
  const std::vector<TComponent*>& Components() const { return components_; }
  TComponent* FindComponent(const std::string& name) const;
  // `other` is told (Notification with opRemove) when this component is destroyed.
  void FreeNotification(TComponent* other);
  void RemoveFreeNotification(TComponent* other);
  // Copies another component's settings; the base knows none.
  virtual void Assign(const TComponent& source);
  // Runs once a stored form has been read.
  virtual void Loaded() { SetLoading(false); }

 protected:
  // A component this one refers to, or owns, is going away.
  virtual void Notification(TComponent* /*component*/, TOperation /*operation*/) {}
  // Marks the start of destruction, for derived destructors that run first.
  void BeginDestroy() { state_ |= csDestroying; }

 private:
  void SetState(unsigned flag, bool on) { state_ = on ? (state_ | flag) : (state_ & ~flag); }

  std::string name_;
  std::intptr_t tag_ = 0;
  TComponent* owner_ = nullptr;
  unsigned state_ = 0;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;  // both directions: each side forgets the other
};

}  // namespace tk
