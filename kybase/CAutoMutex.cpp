// The log's named mutex.
#include "kybase/CAutoMutex.h"

CAutoMutex::CAutoMutex() : m_mutex(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kName)) {}

void CAutoMutex::Lock() {
  if (!m_mutex.IsValid()) return;
  const DWORD result = WaitForSingleObject(m_mutex.Get(), INFINITE);
  if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) m_owned = true;
}

void CAutoMutex::Unlock() {
  if (m_mutex.IsValid() && m_owned) ReleaseMutex(m_mutex.Get());
}
