// The settings sheet: the Server, Log files and Other pages; on OK it validates the server
// name and writes the registry values and the INI file.
#pragma once

#include <string>

#include "config/CSettingsStore.h"
#include "kyui/KyPropSheet.h"

class CPropSheetSettings : public KyPropSheet {
 public:
  CPropSheetSettings(const std::string& localDataFile, HWND parent);

  BOOL OnApply() override;
  // The Server page's own-server name or address; tells the user and keeps the sheet open
  // when it is not acceptable.
  BOOL ValidateServerAddress();

  // The rule of ValidateServerAddress on a text whose leading blanks are gone: a host name
  // starting with an ASCII letter, or at least four dot-separated decimal numbers up to 255.
  static bool IsValidServerAddress(const std::string& text);

  const CSettingsStore& GetSettings() const { return m_settings; }

 private:
  CSettingsStore m_settings;
};
