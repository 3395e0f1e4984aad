// A fixed-size, zero-filled, owning array that can be shared by reference count.
#pragma once

#include <cstdint>
#include <cstring>

#include "kybase/CRefCounted.h"

template <class T>
class KySimpleArrayT : public CRefCountedT<SingleThreadedModel> {
 public:
  explicit KySimpleArrayT(uint32_t count = 0) {
    if (count != 0) Allocate(count);
  }
  KySimpleArrayT(const KySimpleArrayT&) = delete;
  KySimpleArrayT& operator=(const KySimpleArrayT&) = delete;
  ~KySimpleArrayT() override { Free(); }

  // Replaces the contents by count zero-filled elements (T must be trivially copyable).
  void Allocate(uint32_t count) {
    Free();
    m_items = new T[count];
    std::memset(static_cast<void*>(m_items), 0, sizeof(T) * count);
    m_count = count;
  }

  void Free() {
    delete[] m_items;
    m_items = nullptr;
    m_count = 0;
  }

  T* GetData() const { return m_items; }
  uint32_t GetCount() const { return m_count; }

 private:
  T* m_items = nullptr;
  uint32_t m_count = 0;
};
