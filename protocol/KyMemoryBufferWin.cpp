// Loading a memory buffer from a file through the Win32 file reader.
#include <windows.h>

#include "kybase/KyFile.h"
#include "protocol/KyMemoryArchive.h"

bool KyMemoryBuffer::LoadFromFile(const std::string& path) {
  Free();
  KyFileRead file(path.c_str(), FILE_SHARE_READ | FILE_SHARE_WRITE);
  if (!file.IsOpen()) return false;
  const uint32_t size = file.GetSize();
  if (size == 0 || size == INVALID_FILE_SIZE) return false;
  if (!AllocateExactly(size)) return false;
  // The count matters: a file cut short after its size was taken must not leave
  // uninitialised bytes in the message.
  DWORD read = 0;
  if (!ReadFile(file.GetHandle(), GetData(), size, &read, nullptr) || read != size) {
    Free();
    return false;
  }
  return true;
}
