// Test helper: takes the log's mutex and exits without releasing it (abandons it).
#include <windows.h>

int main() {
  HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, "KyOrvellaLogFile");
  if (mutex == nullptr) return 2;
  const DWORD result = WaitForSingleObject(mutex, 30000);
  return result == WAIT_OBJECT_0 ? 0 : 3;
}
