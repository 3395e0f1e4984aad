// The hourglass for the length of a scope (long work on the user-interface thread).
#pragma once

#include <windows.h>

class KyWaitCursor {
 public:
  KyWaitCursor() : m_previous(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
  KyWaitCursor(const KyWaitCursor&) = delete;
  KyWaitCursor& operator=(const KyWaitCursor&) = delete;
  ~KyWaitCursor() { Restore(); }

  // Ends the wait cursor early (before a message box, for instance).
  void Restore() {
    if (m_active) SetCursor(m_previous != nullptr ? m_previous : LoadCursorA(nullptr, IDC_ARROW));
    m_active = false;
  }

 private:
  HCURSOR m_previous;
  bool m_active = true;
};
