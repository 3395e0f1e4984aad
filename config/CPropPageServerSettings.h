// The Server page: demonstration or own server, its name or address, its TCP port, and
// the connection test.
#pragma once

#include <string>

#include "config/CSettingsStore.h"
#include "kyui/KyDialogHeaderDrawer.h"
#include "kyui/KyHyperLink.h"
#include "kyui/KyPropPage.h"

class CPropPageServerSettings : public KyPropPage {
 public:
  CPropPageServerSettings(const CSettingsStore& settings, KyPropSheet* sheet);

  // The radio choice as last exchanged: 0 demonstration server, 1 own server.
  bool IsDemoServer() const { return m_serverType == 0; }
  // Reads the controls first (when the page's window exists).
  std::string GetServerAddress();
  int GetPort() const { return m_port; }

  // Command handlers (radio buttons 1013 and 1014, buttons 1005, 1020 and 1030).
  void OnServerTypeChanged();
  void OnBrowse();
  void OnTcpPort();
  void OnTest();

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(KyDataExchange& dx) override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnPaint() override;
  void EnableServerControls();

 private:
  CSettingsStore m_settings;
  int m_serverType;
  int m_port;
  std::string m_serverAddress;
  KyHyperLink m_moreLink;
  KyHyperLink m_installLink;
  KyDialogHeaderDrawer m_header;
};
