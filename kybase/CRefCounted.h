// Intrusive reference counting: objects start at 0 and delete themselves on their last
// Release; CRefCountPtr holds them. Portable (no windows.h): the protocol core uses it.
#pragma once

#include <atomic>
#include <cstdint>

struct SingleThreadedModel {
  using Count = int32_t;
  static int32_t Increment(Count& count) { return ++count; }
  static int32_t Decrement(Count& count) { return --count; }
};

// Interlocked counting, as InterlockedIncrement/Decrement do.
struct FreeThreadedModel {
  using Count = std::atomic<int32_t>;
  static int32_t Increment(Count& count) { return ++count; }
  static int32_t Decrement(Count& count) { return --count; }
};

template <class TThreadModel>
class CRefCountedT {
 public:
  CRefCountedT() = default;
  // A copy is a new object: it has no holders yet.
  CRefCountedT(const CRefCountedT&) : m_count(0) {}
  CRefCountedT& operator=(const CRefCountedT&) { return *this; }
  virtual ~CRefCountedT() = default;

  int32_t AddRef() { return TThreadModel::Increment(m_count); }

  int32_t Release() {
    const int32_t count = TThreadModel::Decrement(m_count);
    if (count == 0) delete this;
    return count;
  }

 private:
  typename TThreadModel::Count m_count{0};
};

template <class T>
class CRefCountPtr {
 public:
  CRefCountPtr() = default;
  CRefCountPtr(T* object) { Assign(object); }  // NOLINT: implicit like a raw pointer
  CRefCountPtr(const CRefCountPtr& other) { Assign(other.m_object); }
  template <class U>
  CRefCountPtr(const CRefCountPtr<U>& other) { Assign(other.Get()); }  // NOLINT: derived to base
  CRefCountPtr& operator=(const CRefCountPtr& other) { return Assign(other.m_object); }
  CRefCountPtr& operator=(T* object) { return Assign(object); }
  virtual ~CRefCountPtr() {
    if (m_object != nullptr) m_object->Release();
  }

  // AddRef on the new object before Release on the old: assigning the held object is safe.
  CRefCountPtr& Assign(T* object) {
    if (object != nullptr) object->AddRef();
    T* old = m_object;
    m_object = object;
    if (old != nullptr) old->Release();
    return *this;
  }

  T* Get() const { return m_object; }
  T* operator->() const { return m_object; }
  T& operator*() const { return *m_object; }
  bool IsNull() const { return m_object == nullptr; }

 private:
  T* m_object = nullptr;
};
