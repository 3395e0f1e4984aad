// Test helper: whether a mutex is free, seen from another thread (a thread that owns a
// mutex would just take it again recursively).
#pragma once

#include <windows.h>

#include <thread>

inline bool FreeForOtherThread(HANDLE mutex) {
  bool taken = false;
  std::thread other([&] {
    const DWORD result = WaitForSingleObject(mutex, 0);
    taken = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    if (taken) ReleaseMutex(mutex);
  });
  other.join();
  return taken;
}
