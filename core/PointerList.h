#pragma once
// A list of pointers kept in a HeapBuffer. An owning list deletes its elements, last first,
// when it is emptied or destroyed.

#include "core/HeapBuffer.h"

template <class T>
class PointerList {
public:
  explicit PointerList(bool owning = false) : mBuffer(4096), mOwning(owning) {}
  ~PointerList() { Empty(); }
  PointerList(const PointerList&) = delete;
  PointerList& operator=(const PointerList&) = delete;

  int GetCount() const { return mBuffer.GetSize() / static_cast<int>(sizeof(T*)); }

  T* Get(int index) const {
    if (index < 0 || index >= GetCount()) return nullptr;
    return Items()[index];
  }

  // Appends the pointer; returns it, or nullptr when the list could not grow (an owning list
  // then does not take the element: the caller still owns it).
  T* Add(T* item) {
    const int count = GetCount();
    if (!mBuffer.Resize((count + 1) * static_cast<int>(sizeof(T*)), false)) return nullptr;
    Items()[count] = item;
    return item;
  }

  // Deletes the elements (when owning) from the last to the first, then empties the list.
  void Empty() {
    if (mOwning) {
      for (int count = GetCount(); count > 0; --count) {
        T* last = Items()[count - 1];
        mBuffer.Resize((count - 1) * static_cast<int>(sizeof(T*)), false);
        delete last;
      }
    }
    mBuffer.Resize(0, true);
  }

  bool IsOwning() const { return mOwning; }

private:
  T** Items() const { return static_cast<T**>(mBuffer.GetData()); }

  HeapBuffer mBuffer;
  bool mOwning;
};
