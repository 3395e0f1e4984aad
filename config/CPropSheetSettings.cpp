// The settings sheet.
#include "config/CPropSheetSettings.h"

#include <vector>

#include "config/CPropPageLogfileSettings.h"
#include "config/CPropPageOtherSettings.h"
#include "config/CPropPageServerSettings.h"
#include "config/ClientRegistry.h"
#include "config/res/resource.h"
#include "kybase/KyString.h"
#include "kyui/KyWinApp.h"

namespace {

const char kNoticeCaption[] = "Tolvern Orvella";

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

CPropSheetSettings::CPropSheetSettings(const std::string& localDataFile, HWND parent)
    : KyPropSheet(KyLoadString(IDS_SHEET_CAPTION), parent, 0) {
  GetFlags() &= ~PSH_HASHELP;
  GetFlags() |= PSH_NOAPPLYNOW;
  AddPage(new CPropPageServerSettings(m_settings, this));
  AddPage(new CPropPageLogfileSettings(this));
  AddPage(new CPropPageOtherSettings(localDataFile, m_settings.GetSynchronizeReadFlag(), this));
}

BOOL CPropSheetSettings::OnApply() {
  CPropPageServerSettings* server = FindPage<CPropPageServerSettings>();
  if (!server->IsDemoServer() && !ValidateServerAddress()) return FALSE;
  CPropPageOtherSettings* other = FindPage<CPropPageOtherSettings>();
  CPropPageLogfileSettings* logfile = FindPage<CPropPageLogfileSettings>();

  // Registry: failures are ignored; the INI file is written in any case.
  ClientRegistry::WriteDword(HKEY_CURRENT_USER, ClientRegistry::kLogLevel, static_cast<uint32_t>(logfile->GetLogLevel()));
  const int showStatusWindow = other->GetShowStatusWindow();
  uint32_t current = 1;
  if (ClientRegistry::ReadDword(HKEY_CURRENT_USER, ClientRegistry::kShowStatusWindow, current) && current == 0 &&
      showStatusWindow != 0) {
    ClientRegistry::WriteDword(HKEY_CURRENT_USER, ClientRegistry::kAskAgainAboutStatusWindow, 1);
  }
  ClientRegistry::WriteDword(HKEY_CURRENT_USER, ClientRegistry::kShowStatusWindow,
                             static_cast<uint32_t>(showStatusWindow));

  const bool useDemoServer = server->IsDemoServer();
  const std::string address = server->GetServerAddress();
  const int port = server->GetPort();
  const bool synchronizeReadFlag = other->GetSynchronizeReadFlag() == 1;

  // Compared with the record as the previous page's apply left it: the notice comes once per OK.
  const CSettingsStore previous(m_settings);
  m_settings.SetUseDemoServer(useDemoServer);
  m_settings.SetServerPort(static_cast<uint32_t>(port));
  m_settings.SetServerAddress(address);
  m_settings.SetSynchronizeReadFlag(synchronizeReadFlag);
  m_settings.Save();
  if (m_settings != previous) {
    MessageBoxA(GetSafeHwnd(), KyLoadString(IDS_CHANGES_NEXT_START).c_str(), kNoticeCaption,
                MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND | MB_TOPMOST);
  }
  return TRUE;
}

bool CPropSheetSettings::IsValidServerAddress(const std::string& text) {
  if (text.empty()) return false;
  if (IsAsciiLetter(text[0])) return true;
  for (char c : text) {
    if (!IsDigit(c) && c != '.') return false;
  }
  std::vector<std::string> tokens;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t dot = text.find('.', start);
    const size_t end = dot == std::string::npos ? text.size() : dot;
    if (end > start) tokens.push_back(text.substr(start, end - start));
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
  if (tokens.size() < 4) return false;
  for (size_t i = 0; i < 4; ++i) {
    // Digits only: the value saturates instead of overflowing.
    unsigned int value = 0;
    for (char c : tokens[i]) {
      value = value * 10 + static_cast<unsigned int>(c - '0');
      if (value > 255) return false;
    }
  }
  return true;
}

BOOL CPropSheetSettings::ValidateServerAddress() {
  CPropPageServerSettings* server = FindPage<CPropPageServerSettings>();
  if (IsValidServerAddress(Ky::TrimLeft(server->GetServerAddress()))) return TRUE;
  MessageBoxA(GetSafeHwnd(), KyLoadString(IDS_SERVER_NAME_INVALID).c_str(), kNoticeCaption,
              MB_OK | MB_ICONWARNING | MB_SETFOREGROUND | MB_TOPMOST);
  SetFocus(server->GetDlgItem(IDC_SERVER_ADDRESS));
  return FALSE;
}
