// The ToolHelp process functions of "Kernel32.dll", bound at run time by export name.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include "kybase/KyHandle.h"

class CToolHelp32Wrapper {
 public:
  CToolHelp32Wrapper();
  CToolHelp32Wrapper(const CToolHelp32Wrapper&) = delete;
  CToolHelp32Wrapper& operator=(const CToolHelp32Wrapper&) = delete;
  virtual ~CToolHelp32Wrapper() = default;

  bool IsLoaded() const { return m_kernel32.IsValid(); }

  // Each call looks its export up again. When the library or the export is missing the
  // snapshot call answers NULL (not INVALID_HANDLE_VALUE) and the walks answer FALSE.
  HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId) const;
  BOOL Process32First(HANDLE snapshot, PROCESSENTRY32* entry) const;
  BOOL Process32Next(HANDLE snapshot, PROCESSENTRY32* entry) const;

 private:
  FARPROC GetExport(const char* name) const;

  KyModuleHandle m_kernel32;
};
