// The TCP port dialog: one port between 1024 and 49151.
#pragma once

#include "kyui/KyDialog.h"
#include "kyui/KyDialogHeaderDrawer.h"

class CDlgTCPPorts : public KyDialog {
 public:
  static constexpr int kMinPort = 1024;
  static constexpr int kMaxPort = 49151;

  CDlgTCPPorts(int port, HWND parent);

  int GetPort() const { return m_port; }

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(KyDataExchange& dx) override;
  void OnOK() override;
  bool OnPaint() override;

 private:
  int m_port;
  KyDialogHeaderDrawer m_header;
};
