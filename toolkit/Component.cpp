#include "toolkit/Component.h"

#include <algorithm>
#include <typeinfo>

#include "toolkit/Errors.h"

namespace tk {

TComponent::TComponent(TComponent* owner) : owner_(owner) {
  if (owner_) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
  state_ |= csDestroying;
  // everyone that holds a reference to this component lets go of it now
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    std::erase(other->freeNotifies_, this);
    other->Notification(this, opRemove);
  }
  for (TComponent* c : components_) c->owner_ = nullptr;
  if (owner_) {
    std::erase(owner_->components_, this);
    owner_->Notification(this, opRemove);
  }
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_) {
    const std::string& n = c->Name();
    if (n.size() == name.size() &&
        std::equal(n.begin(), n.end(), name.begin(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) ==
                 std::tolower(static_cast<unsigned char>(b));
        }))
      return c;
  }
  return nullptr;
}

void TComponent::FreeNotification(TComponent* other) {
  if (!other || other == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end()) {
    freeNotifies_.push_back(other);
    other->freeNotifies_.push_back(this);
  }
}

void TComponent::RemoveFreeNotification(TComponent* other) {
  if (!other) return;
  std::erase(freeNotifies_, other);
  std::erase(other->freeNotifies_, this);
}

void TComponent::Assign(const TComponent& source) {
  throw Exception("Cannot assign a " + std::string(typeid(source).name()) + " to a " +
                  typeid(*this).name());
}

}  // namespace tk
