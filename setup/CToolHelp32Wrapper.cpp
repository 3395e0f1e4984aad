// The ToolHelp process functions of "Kernel32.dll", bound at run time by export name.
#include "setup/CToolHelp32Wrapper.h"

namespace {

using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
using ProcessWalkFn = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);

}  // namespace

CToolHelp32Wrapper::CToolHelp32Wrapper() : m_kernel32(LoadLibraryA("Kernel32.dll")) {}

FARPROC CToolHelp32Wrapper::GetExport(const char* name) const {
  return IsLoaded() ? GetProcAddress(m_kernel32.Get(), name) : nullptr;
}

HANDLE CToolHelp32Wrapper::CreateToolhelp32Snapshot(DWORD flags, DWORD processId) const {
  const auto function = reinterpret_cast<CreateSnapshotFn>(GetExport("CreateToolhelp32Snapshot"));
  return function != nullptr ? function(flags, processId) : nullptr;
}

// The narrow names are the ANSI exports; the wide ones carry a W.
BOOL CToolHelp32Wrapper::Process32First(HANDLE snapshot, PROCESSENTRY32* entry) const {
  const auto function = reinterpret_cast<ProcessWalkFn>(GetExport("Process32First"));
  return function != nullptr ? function(snapshot, entry) : FALSE;
}

BOOL CToolHelp32Wrapper::Process32Next(HANDLE snapshot, PROCESSENTRY32* entry) const {
  const auto function = reinterpret_cast<ProcessWalkFn>(GetExport("Process32Next"));
  return function != nullptr ? function(snapshot, entry) : FALSE;
}
