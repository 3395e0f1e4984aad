// Reader of a module's version resource.
#include "kybase/CFileVersionInfo.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "kybase/KyString.h"

CFileVersionInfo::CFileVersionInfo(HMODULE module) {
  CFileVersionInfo::Reset();
  char path[MAX_PATH + 1] = {};
  GetModuleFileNameA(module, path, MAX_PATH);
  Load(path);
}

void CFileVersionInfo::Reset() {
  std::memset(&m_fixed, 0, sizeof(m_fixed));
  std::memset(m_productVersion, 0, sizeof(m_productVersion));
}

bool CFileVersionInfo::Load(const char* filePath) {
  Reset();
  try {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(filePath, &handle);
    if (size == 0) return false;
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(filePath, 0, size, block.data())) return false;

    void* value = nullptr;
    UINT length = 0;
    if (VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length) && length != 0) {
      const WORD* translation = static_cast<const WORD*>(value);
      char query[64] = {};
      wsprintfA(query, "\\StringFileInfo\\%04x%04x\\ProductVersion", translation[0], translation[1]);
      if (VerQueryValueA(block.data(), query, &value, &length) && length != 0) {
        std::string text(static_cast<const char*>(value), strnlen(static_cast<const char*>(value), length));
        std::vector<char> copy(text.begin(), text.end());
        copy.push_back('\0');
        int index = 0;
        for (char* part = std::strtok(copy.data(), ".,"); part != nullptr && index < 4;
             part = std::strtok(nullptr, ".,")) {
          m_productVersion[index++] = static_cast<uint16_t>(std::atoi(part));
        }
      }
    }

    if (!VerQueryValueA(block.data(), "\\", &value, &length) || length != sizeof(VS_FIXEDFILEINFO)) return false;
    std::memcpy(&m_fixed, value, sizeof(VS_FIXEDFILEINFO));
    return true;
  } catch (...) {
    Reset();
    return false;
  }
}

void CFileVersionInfo::GetFileVersionString(std::string& out, int parts) const {
  const unsigned int numbers[4] = {HIWORD(m_fixed.dwFileVersionMS), LOWORD(m_fixed.dwFileVersionMS),
                                   HIWORD(m_fixed.dwFileVersionLS), LOWORD(m_fixed.dwFileVersionLS)};
  for (int i = 0; i < parts && i < 4; ++i) {
    if (i > 0) out += '.';
    out += Ky::Format("%u", numbers[i]);
  }
}
