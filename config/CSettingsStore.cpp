// The client's connection settings.
#include "config/CSettingsStore.h"

#include <windows.h>

#include <vector>

#include "config/ClientRegistry.h"
#include "kybase/KyLogFile.h"
#include "kybase/KyShell.h"
#include "kybase/KyString.h"
#include "ky_build_settings.h"

namespace {

constexpr const char kSection[] = "TCP";
constexpr const char kServerPort[] = "ServerPort";
constexpr const char kServerAddress[] = "ServerAddress";
constexpr const char kUseDemoServer[] = "UseDemoServer";
constexpr const char kSynchronizeReadFlag[] = "SynchronizeReadFlag";

}  // namespace

CSettingsStore::CSettingsStore() : m_demoServerAddress(KY_DEMO_SERVER_ADDRESS) {
  CLogFile::Instance().LogInfo("Loading client settings.");
  Load();
  m_demoServerPort = ClientRegistry::GetDemoPortServer();
}

std::string CSettingsStore::GetIniFilePath() {
  KyFsPath path = GetAppDataSubfolder("Tolvern\\KyOrvellaClient");
  path.Append("KyOrvella.ini");
  return path;
}

void CSettingsStore::Load() {
  const std::string path = GetIniFilePath();
  m_serverPort = GetPrivateProfileIntA(kSection, kServerPort, kDefaultPort, path.c_str());
  std::vector<char> address(1024, '\0');
  const DWORD length = GetPrivateProfileStringA(kSection, kServerAddress, "", address.data(),
                                                static_cast<DWORD>(address.size()), path.c_str());
  m_serverAddress.assign(address.data(), length);
  m_useDemoServer = GetPrivateProfileIntA(kSection, kUseDemoServer, 0, path.c_str()) != 0;
  if (m_serverAddress.empty()) m_useDemoServer = true;
  m_synchronizeReadFlag = GetPrivateProfileIntA(kSection, kSynchronizeReadFlag, 0, path.c_str()) != 0;
}

void CSettingsStore::Save() const {
  const std::string path = GetIniFilePath();
  WritePrivateProfileStringA(kSection, kServerPort, Ky::Format("%d", static_cast<int>(m_serverPort)).c_str(),
                             path.c_str());
  WritePrivateProfileStringA(kSection, kServerAddress, m_serverAddress.c_str(), path.c_str());
  WritePrivateProfileStringA(kSection, kUseDemoServer, m_useDemoServer ? "1" : "0", path.c_str());
  WritePrivateProfileStringA(kSection, kSynchronizeReadFlag, m_synchronizeReadFlag ? "1" : "0", path.c_str());
}

bool CSettingsStore::operator!=(const CSettingsStore& other) const {
  if (m_useDemoServer != other.m_useDemoServer) return true;
  if (Ky::CompareNoCase(m_serverAddress, other.m_serverAddress) != 0) return true;
  if (m_serverPort != other.m_serverPort) return true;
  return m_synchronizeReadFlag != other.m_synchronizeReadFlag;
}
