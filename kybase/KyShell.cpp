// The executable's path and the shell folders.
#include "kybase/KyShell.h"

#include <shlobj.h>

#include <vector>

KyShellWrapper::KyShellWrapper() : m_module(LoadLibraryA("SHFolder.dll")) {}

HRESULT KyShellWrapper::GetFolderPath(HWND window, int csidl, HANDLE token, DWORD flags, char* buffer) const {
  using GetFolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
  if (!IsLoaded()) return E_FAIL;
  auto function = reinterpret_cast<GetFolderPathFn>(GetProcAddress(m_module.Get(), "SHGetFolderPathA"));
  if (function == nullptr) return E_FAIL;
  return function(window, csidl, token, flags, buffer);
}

KyFsPath GetModulePath(HMODULE module) {
  char buffer[MAX_PATH + 1] = {};
  GetModuleFileNameA(module, buffer, MAX_PATH);
  return KyFsPath(buffer);
}

KyFsPath GetSpecialFolderPath(int csidl, bool create) {
  KyShellWrapper shell;
  if (!shell.IsLoaded()) return KyFsPath();
  std::vector<char> buffer(4096, '\0');
  const HRESULT result =
      shell.GetFolderPath(nullptr, csidl | (create ? CSIDL_FLAG_CREATE : 0), nullptr, SHGFP_TYPE_DEFAULT, buffer.data());
  if (FAILED(result)) return KyFsPath();
  return KyFsPath(buffer.data());
}

KyFsPath GetAppDataSubfolder(const char* relative) {
  if (relative == nullptr || *relative == '\0') return KyFsPath();
  KyFsPath path = GetSpecialFolderPath(CSIDL_APPDATA, true);
  if (path.empty()) return KyFsPath();
  path.Append(relative);
  if (path.FolderExists() || path.CreateFolders()) return path;
  return KyFsPath();
}
