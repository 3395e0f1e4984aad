// The Log files page: where the log files are, the log level, opening the folder and
// sending the logs to support.
#pragma once

#include <string>

#include "kyui/KyDialogHeaderDrawer.h"
#include "kyui/KyHyperLink.h"
#include "kyui/KyPropPage.h"

class CPropPageLogfileSettings : public KyPropPage {
 public:
  explicit CPropPageLogfileSettings(KyPropSheet* sheet);

  // The chosen combo box index (-1 when the page was opened and nothing is selected).
  int GetLogLevel() const { return m_logLevel; }
  const std::string& GetLogFolder() const { return m_logFolder; }

  // Command handlers (buttons 1007 and 1026).
  void OnOpenFolder();
  void OnSendLogs();

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(KyDataExchange& dx) override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnPaint() override;

 private:
  int m_logLevel;
  std::string m_logFolder;
  KyDialogHeaderDrawer m_header;
  KyHyperLink m_moreLink;
};
