#pragma once
// A list whose entries are nearly always one default value (a point colour
// that is "use the series' colour", a point label that is empty). It keeps only
// its length until some entry differs from the default, so a long signal with
// default colours and no labels costs no memory for them at all.

#include <cstddef>
#include <utility>
#include <vector>

#include "toolkit/Errors.h"

template <typename T>
class TSparseList {
 public:
  explicit TSparseList(T defaultValue) : default_(std::move(defaultValue)) {}

  std::size_t Size() const { return size_; }
  bool Materialized() const { return materialized_; }

  const T& At(std::size_t index) const {
    if (index >= size_) throw tk::EListError(static_cast<long long>(index));
    return materialized_ ? items_[index] : default_;
  }

  void Set(std::size_t index, T value) {
    if (index >= size_) throw tk::EListError(static_cast<long long>(index));
    if (!materialized_) {
      if (value == default_) return;
      Materialize();
    }
    items_[index] = std::move(value);
  }

  void Insert(std::size_t index, T value) {
    if (index > size_) throw tk::EListError(static_cast<long long>(index));
    if (!materialized_ && !(value == default_)) Materialize();
    if (materialized_)
      items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), std::move(value));
    ++size_;
  }

  void RemoveAt(std::size_t index) {
    if (index >= size_) throw tk::EListError(static_cast<long long>(index));
    if (materialized_) items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
    --size_;
  }

  void Exchange(std::size_t a, std::size_t b) {
    if (a >= size_) throw tk::EListError(static_cast<long long>(a));
    if (b >= size_) throw tk::EListError(static_cast<long long>(b));
    if (materialized_) std::swap(items_[a], items_[b]);
  }

  // Lengthens the list with default entries.
  void Resize(std::size_t size) {
    if (materialized_) items_.resize(size, default_);
    size_ = size;
  }

  void Clear() {
    Reset();
    size_ = 0;
  }

  // Fills every entry with the default, dropping the storage.
  void Reset() {
    std::vector<T>().swap(items_);
    materialized_ = false;
  }

  std::size_t CapacityBytes() const { return items_.capacity() * sizeof(T); }

 private:
  void Materialize() {
    items_.assign(size_, default_);
    materialized_ = true;
  }

  T default_;
  std::size_t size_ = 0;
  std::vector<T> items_;
  bool materialized_ = false;
};
