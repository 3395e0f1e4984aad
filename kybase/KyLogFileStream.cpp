// The log's output file.
#include "kybase/KyLogFileStream.h"

#include <windows.h>

namespace Error {

bool KyLogStream::Open(const char* path, bool truncate) {
  // FILE_SHARE_READ | FILE_SHARE_WRITE is what the run time's _SH_DENYNO asks for.
  m_file.Reset(CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           truncate ? CREATE_ALWAYS : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return IsGood();
}

int64_t KyLogStream::SeekToEnd() {
  LARGE_INTEGER zero = {};
  LARGE_INTEGER end = {};
  if (!IsGood() || !SetFilePointerEx(m_file.Get(), zero, &end, FILE_END)) return -1;
  return end.QuadPart;
}

bool KyLogStream::Append(const std::string& text) {
  if (!IsGood()) return false;
  std::string bytes;
  bytes.reserve(text.size() + 8);
  for (char c : text) {
    if (c == '\n') bytes.push_back('\r');
    bytes.push_back(c);
  }
  if (bytes.size() > MAXDWORD) return false;

  LARGE_INTEGER zero = {};
  LARGE_INTEGER end = {};
  if (!SetFilePointerEx(m_file.Get(), zero, &end, FILE_END)) return false;
  DWORD written = 0;
  const DWORD size = static_cast<DWORD>(bytes.size());
  if (WriteFile(m_file.Get(), bytes.data(), size, &written, nullptr) && written == size) return true;
  if (written != 0) {
    SetFilePointerEx(m_file.Get(), end, nullptr, FILE_BEGIN);
    SetEndOfFile(m_file.Get());
  }
  return false;
}

}  // namespace Error
