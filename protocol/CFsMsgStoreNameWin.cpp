// The per-user store name, made from the user, a new GUID and the computer name.
#include <windows.h>
#define SECURITY_WIN32
#include <objbase.h>
#include <security.h>

#include <algorithm>

#include "kybase/KyString.h"
#include "protocol/CFsMsgStoreDesc.h"

void CFsMsgStoreName::MakeUserStoreName() {
  char user[1024] = {};
  ULONG userSize = sizeof user - 1;
  GetUserNameExA(NameSamCompatible, user, &userSize);

  std::string guidText;
  GUID guid = {};
  if (SUCCEEDED(CoCreateGuid(&guid))) {
    wchar_t wide[64] = {};
    const int length = StringFromGUID2(guid, wide, static_cast<int>(sizeof wide / sizeof wide[0]));
    char narrow[64] = {};
    if (length > 0) WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof narrow, nullptr, nullptr);
    guidText = narrow;
  }

  char computer[1024] = {};
  DWORD computerSize = sizeof computer - 1;
  GetComputerNameA(computer, &computerSize);
  std::string computerText = computer;
  std::replace(computerText.begin(), computerText.end(), '_', '-');

  assign(Ky::Format("%s_%s@{%s}", user, guidText.c_str(), computerText.c_str()));
}
