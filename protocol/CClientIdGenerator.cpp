// The client identifier: computer name, disk signature or volume serial, user name.
#include "protocol/CClientIdGenerator.h"

#include <windows.h>

#include "kybase/CWmiQuery.h"
#include "kybase/KyException.h"
#include "kybase/KyString.h"

namespace {

std::string GetDiskPart() {
  try {
    CWmiQuery query("ROOT\\CIMV2");
    const std::vector<uint32_t> signatures = query.QueryValues("SELECT * FROM Win32_DiskDrive", "Signature");
    if (!signatures.empty()) return Ky::Format("0%u", signatures.front());
  } catch (...) {
    // Without WMI the volume serial number serves.
  }
  try {
    char volumeName[1024] = {};
    char fileSystemName[255] = {};
    DWORD serial = 0;
    DWORD maxComponentLength = 0;
    DWORD flags = 0;
    if (GetVolumeInformationA("C:\\", volumeName, sizeof(volumeName), &serial, &maxComponentLength, &flags,
                              fileSystemName, sizeof(fileSystemName))) {
      return Ky::Format("1%u", static_cast<unsigned int>(serial));
    }
  } catch (...) {
    // No number at all: the identifier still names the computer and the user.
  }
  return std::string();
}

}  // namespace

CClientIdGenerator& CClientIdGenerator::Instance() {
  static CClientIdGenerator instance;
  return instance;
}

std::string CClientIdGenerator::GetClientId() {
  std::lock_guard<std::mutex> lock(m_lock);
  if (!m_clientId.empty()) return m_clientId;

  const std::string diskPart = GetDiskPart();
  char computerName[1024] = {};
  DWORD computerLength = sizeof(computerName) - 1;
  GetComputerNameA(computerName, &computerLength);
  char userName[1024] = {};
  DWORD userLength = sizeof(userName) - 1;
  GetUserNameA(userName, &userLength);

  m_clientId = Ky::Format("{%s}{%s}{%s}", computerName, diskPart.c_str(), userName);
  return m_clientId;
}
