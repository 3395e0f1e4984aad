// The Log files page.
#include "config/CPropPageLogfileSettings.h"

#include <shellapi.h>

#include "config/ClientRegistry.h"
#include "config/res/resource.h"
#include "kybase/KyFsPath.h"
#include "kybase/KyLogFile.h"
#include "kyui/KyGdi.h"
#include "kyui/KyWinApp.h"

namespace {

const KyCommandEntry<CPropPageLogfileSettings> kCommands[] = {
    {IDC_OPEN_FOLDER, BN_CLICKED, &CPropPageLogfileSettings::OnOpenFolder},
    {IDC_SEND_LOGS, BN_CLICKED, &CPropPageLogfileSettings::OnSendLogs},
};

}  // namespace

CPropPageLogfileSettings::CPropPageLogfileSettings(KyPropSheet* sheet)
    : KyPropPage(sheet, IDD_LOGFILE_PAGE, std::string(), std::string(), 0, true), m_logLevel(0) {
  m_logFolder = KyFsPath(CLogFile::Instance().GetLogFilePath()).GetParent();
  uint32_t level = 0;
  if (ClientRegistry::ReadDword(HKEY_CURRENT_USER, ClientRegistry::kLogLevel, level))
    m_logLevel = static_cast<int>(level);
}

void CPropPageLogfileSettings::DoDataExchange(KyDataExchange& dx) {
  KyDdxCBIndex(dx, IDC_LOG_LEVEL, m_logLevel);
  KyDdxText(dx, IDC_LOG_FOLDER, m_logFolder);
  KyDdxControl(dx, IDC_LINK_MORE, m_moreLink);
}

BOOL CPropPageLogfileSettings::OnInitDialog() {
  KyPropPage::OnInitDialog();
  KyBitmap picture(LoadBitmapA(KyGetResourceHandle(), MAKEINTRESOURCEA(IDB_HEADER_LOGFILES)));
  m_header.Init(m_hwnd, KyGetControlClientHeight(m_hwnd, IDC_LOGFILE_HEADER_AREA), KyLoadString(IDS_HEADER_LOGFILES),
                picture.Get(), RGB(255, 255, 255));
  EnableWindow(GetDlgItem(IDC_SEND_LOGS), TRUE);
  m_moreLink.SetURL(KyLoadString(IDS_LINK_LOGFILES), KyLoadString(IDS_TIP_LOGFILES));
  UpdateData(false);
  return TRUE;
}

bool CPropPageLogfileSettings::OnCommand(int id, int code, HWND control) {
  return KyDispatchCommand(this, kCommands, id, code);
}

bool CPropPageLogfileSettings::OnPaint() {
  KyPaintDC dc(m_hwnd);
  m_header.Paint(dc.Get());
  return true;
}

void CPropPageLogfileSettings::OnOpenFolder() {
  ShellExecuteA(m_hwnd, "open", m_logFolder.c_str(), "", "", SW_SHOW);
}

void CPropPageLogfileSettings::OnSendLogs() {
  // Packing the logs and handing them to the mail program take over here once they exist.
}
