// One move-only owner per operating-system handle kind: the policy names the
// invalid value (the sentinel is part of the type) and the close function.
#pragma once

#include <windows.h>

#include <utility>

template <class TPolicy>
class KyHandleT {
 public:
  using Handle = typename TPolicy::Handle;

  KyHandleT() = default;
  explicit KyHandleT(Handle handle) : m_handle(handle) {}
  KyHandleT(const KyHandleT&) = delete;
  KyHandleT& operator=(const KyHandleT&) = delete;
  KyHandleT(KyHandleT&& other) noexcept : m_handle(other.Detach()) {}
  KyHandleT& operator=(KyHandleT&& other) noexcept {
    if (this != &other) Reset(other.Detach());
    return *this;
  }
  ~KyHandleT() { Reset(); }

  bool IsValid() const { return m_handle != TPolicy::Invalid(); }
  explicit operator bool() const { return IsValid(); }
  Handle Get() const { return m_handle; }

  // Closes the owned handle (if any) and owns handle instead.
  void Reset(Handle handle = TPolicy::Invalid()) {
    if (IsValid()) TPolicy::Close(m_handle);
    m_handle = handle;
  }

  Handle Detach() { return std::exchange(m_handle, TPolicy::Invalid()); }

 private:
  Handle m_handle = TPolicy::Invalid();
};

namespace KyHandlePolicy {

// Kernel objects whose creators return NULL on failure (mutexes, events, processes, threads).
struct Kernel {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::CloseHandle(h); }
};

// Files and ToolHelp snapshots: CreateFileA and CreateToolhelp32Snapshot fail with INVALID_HANDLE_VALUE.
struct File {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::CloseHandle(h); }
};

struct Find {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::FindClose(h); }
};

struct Module {
  using Handle = HMODULE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::FreeLibrary(h); }
};

struct RegKey {
  using Handle = HKEY;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::RegCloseKey(h); }
};

}  // namespace KyHandlePolicy

using KyKernelHandle = KyHandleT<KyHandlePolicy::Kernel>;
using KyFileHandle = KyHandleT<KyHandlePolicy::File>;
using KyFindHandle = KyHandleT<KyHandlePolicy::Find>;
using KyModuleHandle = KyHandleT<KyHandlePolicy::Module>;
using KyRegKeyHandle = KyHandleT<KyHandlePolicy::RegKey>;
