// The list of running processes, lookup by image name, and the closing sequence.
#include "setup/CProcessesEnum.h"

#include <cstring>

#include "kybase/KyException.h"
#include "kybase/KyFsPath.h"
#include "kybase/KyHandle.h"
#include "kybase/KyString.h"
#include "setup/CToolHelp32Wrapper.h"

namespace {

constexpr UINT kCloseWindowTimeoutMs = 2500;
constexpr DWORD kProcessEndTimeoutMs = 5000;

// The file name part of szExeFile, which holds a bare name or a full path.
std::string GetImageName(const PROCESSENTRY32& entry) {
  const KyFsPath exeFile(std::string(entry.szExeFile, strnlen(entry.szExeFile, sizeof(entry.szExeFile))));
  return exeFile.GetFileName();
}

bool HasImageName(const PROCESSENTRY32& entry, const std::string& imageName) {
  return Ky::CompareNoCase(GetImageName(entry), imageName) == 0;
}

}  // namespace

void CProcessesEnum::Refresh() {
  m_processes.clear();
  CToolHelp32Wrapper toolHelp;
  if (!toolHelp.IsLoaded()) return;

  PROCESSENTRY32 entry;
  std::memset(&entry, 0, sizeof(entry));
  const HANDLE raw = toolHelp.CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (raw == INVALID_HANDLE_VALUE) {
    throw Error::KyExceptionCommon(static_cast<int>(GetLastError()), "CreateToolhelp32Snapshot (of processes)");
  }
  // A missing export gives NULL: it is not closed, and the first walk step fails on it.
  KyFileHandle snapshot(raw != nullptr ? raw : INVALID_HANDLE_VALUE);

  entry.dwSize = sizeof(PROCESSENTRY32);
  if (!toolHelp.Process32First(raw, &entry)) {
    throw Error::KyExceptionCommon(static_cast<int>(GetLastError()), "Process32First failed.");
  }
  do {
    m_processes.push_back(entry);
  } while (toolHelp.Process32Next(raw, &entry));
}

bool CProcessesEnum::FindProcess(std::string imageName, PROCESSENTRY32* found) const {
  for (const PROCESSENTRY32& entry : m_processes) {
    if (HasImageName(entry, imageName)) {
      if (found != nullptr) *found = entry;
      return true;
    }
  }
  return false;
}

BOOL CALLBACK CloseProcessWindowsProc(HWND window, LPARAM processId) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == static_cast<DWORD>(processId)) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_CLOSE, 0, 0, SMTO_NORMAL, kCloseWindowTimeoutMs, &result);
  }
  return TRUE;
}

void CloseProcessAndWait(const PROCESSENTRY32& process) {
  EnumWindows(CloseProcessWindowsProc, static_cast<LPARAM>(process.th32ProcessID));

  // Look again for this process, by id and image name: when it has ended, a second
  // process of the same name (never asked to close) must not be waited for or ended.
  CProcessesEnum processes;
  processes.Refresh();
  const std::string imageName = GetImageName(process);
  bool running = false;
  for (const PROCESSENTRY32& entry : processes.GetProcesses()) {
    if (entry.th32ProcessID == process.th32ProcessID && HasImageName(entry, imageName)) {
      running = true;
      break;
    }
  }
  if (!running) return;

  KyKernelHandle handle(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, process.th32ProcessID));
  if (!handle) return;
  if (WaitForSingleObject(handle.Get(), kProcessEndTimeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(handle.Get(), 0);
  }
}
