// The list of running processes (a ToolHelp snapshot), lookup by image name, and the
// sequence that closes a process: its windows first, termination after a grace period.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

class CProcessesEnum {
 public:
  CProcessesEnum() = default;
  virtual ~CProcessesEnum() = default;

  // Replaces the list with a snapshot of all processes, in snapshot order. Without the
  // ToolHelp functions the list stays empty and nothing is reported; a failed snapshot
  // or first walk step throws Error::KyExceptionCommon.
  void Refresh();

  // The first entry whose image file name (the last component of szExeFile) equals
  // imageName ignoring case; copies it to found when found is not null. found is left
  // untouched when nothing matches.
  bool FindProcess(std::string imageName, PROCESSENTRY32* found) const;

  const std::vector<PROCESSENTRY32>& GetProcesses() const { return m_processes; }

 protected:
  std::vector<PROCESSENTRY32> m_processes;
};

// EnumWindows callback: sends WM_CLOSE (2500 ms at most) to every top-level window of
// the process whose id is lParam. Always goes on with the next window.
BOOL CALLBACK CloseProcessWindowsProc(HWND window, LPARAM processId);

// Asks the windows of process to close, then, if that very process still runs, waits
// up to 5000 ms for it and terminates it with exit code 0. Only this one process is
// handled, never another one of the same image name.
void CloseProcessAndWait(const PROCESSENTRY32& process);
