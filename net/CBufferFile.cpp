// The temporary file in which the socket reader collects a very large message.
#include "net/CBufferFile.h"

#include <windows.h>

namespace Net {
namespace Support {

CBufferFile::~CBufferFile() { Delete(); }

void CBufferFile::Delete() {
  Close();
  if (!m_path.empty()) DeleteFileA(m_path.c_str());
  m_path.clear();
}

bool CBufferFile::CreateTemp() {
  // A second call must not leave the first file behind.
  Delete();
  char folder[1024] = {};
  const DWORD length = GetTempPathA(sizeof(folder), folder);
  if (length == 0 || length >= sizeof(folder)) return false;
  char name[MAX_PATH] = {};
  // Also creates the empty file, so the name is ours from here on.
  if (GetTempFileNameA(folder, "ky", 0, name) == 0) return false;
  m_path = name;
  if (Create(m_path.c_str(), FILE_SHARE_READ)) return true;
  const DWORD error = GetLastError();
  DeleteFileA(m_path.c_str());
  SetLastError(error);
  return false;
}

}  // namespace Support
}  // namespace Net
