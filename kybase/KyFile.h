// Thin file objects over Win32 handles: a finder, a reader and a writer. They never
// throw; failure is false or an invalid handle.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kybase/KyFsPath.h"
#include "kybase/KyHandle.h"

class KyFileFind {
 public:
  // pattern: a folder joined with a wildcard name such as "*.txt".
  explicit KyFileFind(const char* pattern);
  virtual ~KyFileFind() = default;

  // Moves to the next entry; false when there is none (or the search failed).
  bool Next();
  bool IsDirectory() const { return (m_data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
  bool IsDots() const;
  KyFsPath GetFilePath() const { return m_folder.Join(m_data.cFileName); }
  const WIN32_FIND_DATAA& GetData() const { return m_data; }

 private:
  KyFindHandle m_handle;
  bool m_first = true;
  WIN32_FIND_DATAA m_data = {};
  KyFsPath m_pattern;
  KyFsPath m_folder;
};

// Shared by the reader and the writer: one file handle, closed by the destructor.
class KyFileBase {
 public:
  KyFileBase(const KyFileBase&) = delete;
  KyFileBase& operator=(const KyFileBase&) = delete;
  virtual ~KyFileBase() = default;

  bool IsOpen() const { return m_handle.IsValid(); }
  void Close() { m_handle.Reset(); }
  HANDLE GetHandle() const { return m_handle.Get(); }

 protected:
  KyFileBase() = default;
  KyFileHandle m_handle;
};

class KyFileRead : public KyFileBase {
 public:
  KyFileRead(const char* fileName, DWORD shareMode);

  // Low 32 bits of the size; 0xFFFFFFFF when no file is open.
  uint32_t GetSize() const;
  // True when ReadFile succeeds (the byte count read is not reported).
  bool Read(void* buffer, uint32_t byteCount);
};

class KyFileWrite : public KyFileBase {
 public:
  KyFileWrite() = default;
  KyFileWrite(const char* fileName, DWORD shareMode) { Create(fileName, shareMode); }

  // Creates or truncates the file; returns IsOpen.
  bool Create(const char* fileName, DWORD shareMode);
  // True when WriteFile succeeds and wrote every byte.
  bool Write(const void* buffer, uint32_t byteCount);
};
