// The Windows part of the exception family: system descriptions and the message box.
#include <windows.h>

#include "kybase/KyException.h"
#include "kybase/KyString.h"

namespace Error {

std::string GetSystemErrorDescription(int errorCode) {
  char* buffer = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr,
      static_cast<DWORD>(errorCode), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&buffer),
      0, nullptr);
  std::string description;
  if (buffer != nullptr) {
    description.assign(buffer, length);
    LocalFree(buffer);
  }
  return Ky::Trim(description);
}

int KyException::ShowMessage(unsigned int type) const {
  return MessageBoxA(nullptr, GetShownText().c_str(), "Error", type);
}

}  // namespace Error
