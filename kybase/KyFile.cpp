// Thin file objects over Win32 handles.
#include "kybase/KyFile.h"

#include <cstring>

KyFileFind::KyFileFind(const char* pattern) : m_pattern(pattern), m_folder(KyFsPath(pattern).GetParent()) {}

bool KyFileFind::Next() {
  std::memset(&m_data, 0, sizeof(m_data));
  if (m_first) {
    m_first = false;
    m_handle.Reset(FindFirstFileA(m_pattern.c_str(), &m_data));
    return m_handle.IsValid();
  }
  return m_handle.IsValid() && FindNextFileA(m_handle.Get(), &m_data) != FALSE;
}

bool KyFileFind::IsDots() const {
  return IsDirectory() && (std::strcmp(m_data.cFileName, ".") == 0 || std::strcmp(m_data.cFileName, "..") == 0);
}

KyFileRead::KyFileRead(const char* fileName, DWORD shareMode) {
  m_handle.Reset(CreateFileA(fileName, GENERIC_READ, shareMode, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

uint32_t KyFileRead::GetSize() const { return IsOpen() ? GetFileSize(m_handle.Get(), nullptr) : 0xFFFFFFFFu; }

bool KyFileRead::Read(void* buffer, uint32_t byteCount) {
  DWORD read = 0;
  return IsOpen() && ReadFile(m_handle.Get(), buffer, byteCount, &read, nullptr) != FALSE;
}

bool KyFileWrite::Create(const char* fileName, DWORD shareMode) {
  Close();
  m_handle.Reset(CreateFileA(fileName, GENERIC_WRITE, shareMode, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return IsOpen();
}

bool KyFileWrite::Write(const void* buffer, uint32_t byteCount) {
  DWORD written = 0;
  // A short write (a full disk) is a failure too, so that no caller takes a cut file for whole.
  return IsOpen() && WriteFile(m_handle.Get(), buffer, byteCount, &written, nullptr) != FALSE && written == byteCount;
}
