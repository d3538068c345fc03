#pragma once
// Property setters notify (repaint, recompute) only when a value really
// changes; this is the one place that compares and stores.

#include <utility>

namespace tk {

// Stores value in field and answers whether that changed it.
template <typename T, typename U>
bool Change(T& field, U&& value) {
  if (field == value) return false;
  field = std::forward<U>(value);
  return true;
}

}  // namespace tk
