// The Other page: the status-window and read-flag options, the local data file and the
// logged-on user.
#pragma once

#include <string>

#include "kyui/KyDialogHeaderDrawer.h"
#include "kyui/KyHyperLink.h"
#include "kyui/KyPropPage.h"

class CPropPageOtherSettings : public KyPropPage {
 public:
  CPropPageOtherSettings(const std::string& localDataFile, bool synchronizeReadFlag, KyPropSheet* sheet);

  // Check states: 1 on, 0 off.
  int GetShowStatusWindow() const { return m_showStatusWindow; }
  int GetSynchronizeReadFlag() const { return m_synchronizeReadFlag; }
  const std::string& GetLocalDataFile() const { return m_localDataFile; }
  const std::string& GetLoggedOnUser() const { return m_userName; }

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(KyDataExchange& dx) override;
  bool OnPaint() override;

 private:
  std::string m_localDataFile;
  std::string m_userName;
  int m_showStatusWindow;
  int m_synchronizeReadFlag;
  KyDialogHeaderDrawer m_header;
  KyHyperLink m_moreLink;
};
