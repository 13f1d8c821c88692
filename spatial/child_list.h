// Ordered list of non-owning pointers to the records a body's children hand to it.
#pragma once

constexpr int kMaxChildren = 4;

template <typename T>
class ChildList {
 public:
  // Empties the list.
  void create() { count_ = 0; }

  // Adds a record's address at the end. Returns false, leaving the list unchanged, when full.
  bool append(const T* record) {
    if (count_ == kMaxChildren) return false;
    items_[count_++] = record;
    return true;
  }

  // Walk first to last.
  const T* const* begin() const { return items_; }
  const T* const* end() const { return items_ + count_; }
  int size() const { return count_; }
  const T* operator[](int i) const { return items_[i]; }

 private:
  const T* items_[kMaxChildren] = {};
  int count_ = 0;
};
