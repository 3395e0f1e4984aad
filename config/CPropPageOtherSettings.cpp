// The Other page.
#include "config/CPropPageOtherSettings.h"

#include "config/ClientRegistry.h"
#include "config/res/resource.h"
#include "kyui/KyGdi.h"
#include "kyui/KyWinApp.h"

CPropPageOtherSettings::CPropPageOtherSettings(const std::string& localDataFile, bool synchronizeReadFlag,
                                               KyPropSheet* sheet)
    : KyPropPage(sheet, IDD_OTHER_PAGE, std::string(), std::string(), 0, true),
      m_localDataFile(localDataFile),
      m_showStatusWindow(1),
      m_synchronizeReadFlag(synchronizeReadFlag ? 1 : 0) {
  uint32_t show = 0;
  if (ClientRegistry::ReadDword(HKEY_CURRENT_USER, ClientRegistry::kShowStatusWindow, show))
    m_showStatusWindow = show != 0 ? 1 : 0;
  char user[1024] = {};
  DWORD size = sizeof(user) - 1;
  if (::GetUserNameA(user, &size)) m_userName = user;
}

void CPropPageOtherSettings::DoDataExchange(KyDataExchange& dx) {
  KyDdxText(dx, IDC_LOCAL_DATA_FILE, m_localDataFile);
  KyDdxText(dx, IDC_USER_NAME, m_userName);
  KyDdxCheck(dx, IDC_SHOW_STATUS_WINDOW, m_showStatusWindow);
  KyDdxControl(dx, IDC_LINK_MORE, m_moreLink);
  KyDdxCheck(dx, IDC_SYNCHRONIZE_READ_FLAG, m_synchronizeReadFlag);
}

BOOL CPropPageOtherSettings::OnInitDialog() {
  KyPropPage::OnInitDialog();
  KyBitmap picture(LoadBitmapA(KyGetResourceHandle(), MAKEINTRESOURCEA(IDB_HEADER_OTHER)));
  m_header.Init(m_hwnd, KyGetControlClientHeight(m_hwnd, IDC_HEADER_AREA), KyLoadString(IDS_HEADER_OTHER),
                picture.Get(), RGB(255, 255, 255));
  m_moreLink.SetURL(KyLoadString(IDS_LINK_OTHER), KyLoadString(IDS_TIP_OTHER));
  return TRUE;
}

bool CPropPageOtherSettings::OnPaint() {
  KyPaintDC dc(m_hwnd);
  m_header.Paint(dc.Get());
  return true;
}
