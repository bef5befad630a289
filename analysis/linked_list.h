#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "platform/bulk_memory.h"

namespace tarn {

template <class T>
class TLinkedList;

/// The links of an element of a TLinkedList; the element type derives from it.
template <class T>
class TLLNode {
 public:
  /// The neighbours in the list, or null at either end.
  T* next() const { return next_ && next_->next_ ? static_cast<T*>(next_) : nullptr; }
  T* previous() const { return prev_ && prev_->prev_ ? static_cast<T*>(prev_) : nullptr; }

 private:
  friend class TLinkedList<T>;
  TLLNode* prev_ = nullptr;
  TLLNode* next_ = nullptr;
};

/// An intrusive doubly linked list with head and tail sentinels, an element
/// count and one cursor. It owns its elements, which it keeps in pooled
/// chunks so that long lists cost no allocation per element.
template <class T>
class TLinkedList {
 public:
  TLinkedList() {
    head_.next_ = &tail_;
    tail_.prev_ = &head_;
  }
  ~TLinkedList() { clear(); }
  TLinkedList(const TLinkedList&) = delete;
  TLinkedList& operator=(const TLinkedList&) = delete;

  int count() const { return count_; }
  bool empty() const { return count_ == 0; }

  /// Constructs an element after `node` (null: at the front).
  template <class... Args>
  T* insertAfter(T* node, Args&&... args) {
    TLLNode<T>* at = node ? static_cast<TLLNode<T>*>(node) : &head_;
    T* element = new (allocate()) T(std::forward<Args>(args)...);
    TLLNode<T>* n = element;
    n->prev_ = at;
    n->next_ = at->next_;
    at->next_->prev_ = n;
    at->next_ = n;
    ++count_;
    return element;
  }

  /// Constructs an element at the end.
  template <class... Args>
  T* append(Args&&... args) {
    return insertAfter(tail_.prev_ == &head_ ? nullptr : static_cast<T*>(tail_.prev_),
                       std::forward<Args>(args)...);
  }

  /// Unlinks and destroys an element. When it is the cursor, the cursor moves
  /// to the next element, else the previous one, else to none.
  void remove(T* element) {
    if (element == cursor_) cursor_ = element->next() ? element->next() : element->previous();
    TLLNode<T>* n = element;
    n->prev_->next_ = n->next_;
    n->next_->prev_ = n->prev_;
    --count_;
    element->~T();
    release(element);
  }

  /// Removes and destroys every element, the first one first.
  void clear() {
    while (T* f = front()) remove(f);
    cursor_ = nullptr;
  }

  /// Cursor moves: each sets the cursor and returns it (none past either end).
  T* first() { return cursor_ = front(); }
  T* last() { return cursor_ = back(); }
  T* next() { return cursor_ = cursor_ ? cursor_->next() : nullptr; }
  T* previous() { return cursor_ = cursor_ ? cursor_->previous() : nullptr; }
  T* current() const { return cursor_; }
  /// Puts the cursor on an element of this list (or none).
  void setCurrent(T* element) { cursor_ = element; }

  /// Ends of the list without moving the cursor.
  T* front() const { return head_.next_ == &tail_ ? nullptr : static_cast<T*>(head_.next_); }
  T* back() const { return tail_.prev_ == &head_ ? nullptr : static_cast<T*>(tail_.prev_); }

  /// The element at a 0-based index, walked from the nearer end; none when
  /// the index is out of range. The cursor does not move.
  T* at(int index) const {
    if (index < 0 || index >= count_) return nullptr;
    if (index < count_ / 2) {
      T* e = front();
      for (int i = 0; i < index; ++i) e = e->next();
      return e;
    }
    T* e = back();
    for (int i = count_ - 1; i > index; --i) e = e->previous();
    return e;
  }

  /// Bytes held for elements (used and free slots).
  std::size_t elementBytes() const { return slotsAllocated_ * sizeof(Slot); }

 private:
  union Slot {
    Slot* nextFree;
    alignas(T) unsigned char storage[sizeof(T)];
  };
  using ChunkPtr = std::unique_ptr<void, BulkDeleter>;
  static constexpr std::size_t kFirstChunk = 16;

  void* allocate() {
    if (!freeList_) grow();
    Slot* s = freeList_;
    freeList_ = s->nextFree;
    return s->storage;
  }
  void release(T* element) {
    Slot* s = reinterpret_cast<Slot*>(element);
    s->nextFree = freeList_;
    freeList_ = s;
  }
  // Chunks double with the list up to one bulk block, so short lists stay
  // small and long ones are made of whole blocks.
  void grow() {
    std::size_t bytes = chunks_.empty()
                            ? kFirstChunk * sizeof(Slot)
                            : std::min(kBulkBlockBytes, slotsAllocated_ * sizeof(Slot));
    std::size_t n = bytes / sizeof(Slot);
    chunks_.push_back(ChunkPtr(allocateBulk(bytes), BulkDeleter{bytes}));  // uninitialised
    Slot* chunk = static_cast<Slot*>(chunks_.back().get());
    std::uninitialized_default_construct_n(chunk, n);
    for (std::size_t i = n; i-- > 0;) {
      chunk[i].nextFree = freeList_;
      freeList_ = &chunk[i];
    }
    slotsAllocated_ += n;
  }
  int count_ = 0;
  TLLNode<T> head_;
  TLLNode<T> tail_;
  T* cursor_ = nullptr;
  std::vector<ChunkPtr> chunks_;
  Slot* freeList_ = nullptr;
  std::size_t slotsAllocated_ = 0;
};

}  // namespace tarn
