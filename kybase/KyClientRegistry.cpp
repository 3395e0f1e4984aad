// REG_DWORD access to the client's registry key.
#include "kybase/KyClientRegistry.h"

#include "kybase/KyHandle.h"

namespace ClientRegistry {

namespace {

// KEY_READ | KEY_WRITE (0x2001F): the access the client asks for under HKEY_CURRENT_USER.
constexpr REGSAM kReadWrite = KEY_READ | KEY_WRITE;

}  // namespace

bool ReadDword(HKEY hive, const char* value, uint32_t& data) {
  const REGSAM access = hive == HKEY_LOCAL_MACHINE ? KEY_READ : kReadWrite;
  HKEY opened = nullptr;
  if (RegOpenKeyExA(hive, kKeyPath, 0, access, &opened) != ERROR_SUCCESS) return false;
  KyRegKeyHandle key(opened);
  DWORD type = 0;
  DWORD read = 0;
  DWORD size = sizeof(read);
  if (RegQueryValueExA(key.Get(), value, nullptr, &type, reinterpret_cast<BYTE*>(&read), &size) != ERROR_SUCCESS)
    return false;
  if (type != REG_DWORD || size != sizeof(read)) return false;
  data = read;
  return true;
}

bool WriteDword(HKEY hive, const char* value, uint32_t data) {
  HKEY created = nullptr;
  if (RegCreateKeyExA(hive, kKeyPath, 0, nullptr, 0, kReadWrite, nullptr, &created, nullptr) != ERROR_SUCCESS)
    return false;
  KyRegKeyHandle key(created);
  const DWORD written = data;
  return RegSetValueExA(key.Get(), value, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&written), sizeof(written)) ==
         ERROR_SUCCESS;
}

}  // namespace ClientRegistry
