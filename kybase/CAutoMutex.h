// The log's named mutex "KyOrvellaLogFile": opened, never created (it only serialises
// lines with the product's programs that created it), and its scoped lock.
#pragma once

#include <windows.h>

#include "kybase/KyHandle.h"

class CAutoMutex {
 public:
  static constexpr const char* kName = "KyOrvellaLogFile";

  CAutoMutex();
  CAutoMutex(const CAutoMutex&) = delete;
  CAutoMutex& operator=(const CAutoMutex&) = delete;
  virtual ~CAutoMutex() = default;

  bool IsOpen() const { return m_mutex.IsValid(); }
  // Waits without limit; an abandoned mutex counts as acquired. Nothing when not open.
  void Lock();
  void Unlock();

 private:
  KyKernelHandle m_mutex;
  bool m_owned = false;
};

class CAutoMutexLock {
 public:
  explicit CAutoMutexLock(CAutoMutex* mutex) : m_mutex(mutex) {
    if (m_mutex != nullptr) m_mutex->Lock();
  }
  CAutoMutexLock(const CAutoMutexLock&) = delete;
  CAutoMutexLock& operator=(const CAutoMutexLock&) = delete;
  ~CAutoMutexLock() {
    if (m_mutex != nullptr) m_mutex->Unlock();
  }

 private:
  CAutoMutex* m_mutex;
};
