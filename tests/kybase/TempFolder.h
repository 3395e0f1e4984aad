// A fresh folder under the temporary folder for one test, removed with its contents afterwards.
#pragma once

#include <windows.h>

#include <string>

#include "kybase/KyFile.h"
#include "kybase/KyFsPath.h"

class TempFolder {
 public:
  TempFolder() {
    char base[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, base);
    for (unsigned int n = GetTickCount();; ++n) {
      m_path = KyFsPath(base).Join(("kytest_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(n)).c_str());
      if (CreateDirectoryA(m_path.c_str(), nullptr)) break;
    }
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() { RemoveTree(m_path); }

  const KyFsPath& Path() const { return m_path; }

  static void RemoveTree(const KyFsPath& folder) {
    KyFileFind find(folder.Join("*").c_str());
    while (find.Next()) {
      if (find.IsDots()) continue;
      if (find.IsDirectory()) {
        RemoveTree(find.GetFilePath());
      } else {
        SetFileAttributesA(find.GetFilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(find.GetFilePath().c_str());
      }
    }
    RemoveDirectoryA(folder.c_str());
  }

 private:
  KyFsPath m_path;
};
