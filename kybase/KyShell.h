// The executable's path and the shell folders ("SHFolder.dll" loaded at run time).
#pragma once

#include <windows.h>

#include "kybase/KyFsPath.h"
#include "kybase/KyHandle.h"

class KyShellWrapper {
 public:
  KyShellWrapper();
  virtual ~KyShellWrapper() = default;

  bool IsLoaded() const { return m_module.IsValid(); }

  // SHGetFolderPathA looked up at every call; E_FAIL when the library or export is missing.
  HRESULT GetFolderPath(HWND window, int csidl, HANDLE token, DWORD flags, char* buffer) const;

 private:
  KyModuleHandle m_module;
};

// Full path of a module (null: the executable), at most 260 characters.
KyFsPath GetModulePath(HMODULE module);

// The shell folder csidl (created when create is true), or an empty path.
KyFsPath GetSpecialFolderPath(int csidl, bool create);

// The application-data folder joined with relative, created when missing; empty on failure.
KyFsPath GetAppDataSubfolder(const char* relative);
