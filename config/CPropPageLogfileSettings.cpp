// The Log files page.
#include "config/CPropPageLogfileSettings.h"

#include <shellapi.h>

#include "config/CSimpleMapiMailSender.h"
#include "config/ClientRegistry.h"
#include "config/KyZipPacker.h"
#include "config/res/resource.h"
#include "kybase/KyException.h"
#include "kybase/KyFile.h"
#include "kybase/KyFsPath.h"
#include "kybase/KyLogFile.h"
#include "kyui/KyGdi.h"
#include "kyui/KyWaitCursor.h"
#include "kyui/KyWinApp.h"
#include "ky_build_settings.h"

namespace {

const char kLogArchiveName[] = "OrvellaClientLogFiles.zip";

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

// Packs every file of the log folder into one archive in the temporary folder and offers
// it to the mail program; the archive is deleted afterwards (or by the next Send after a
// failure).
void CPropPageLogfileSettings::OnSendLogs() {
  try {
    char tempFolder[1024] = {};
    GetTempPathA(1023, tempFolder);
    const KyFsPath archivePath = KyFsPath(tempFolder).Append(kLogArchiveName);
    DeleteFileA(archivePath.c_str());
    KyZipPacker packer(archivePath);
    packer.SetStoreFullPath(false);
    {
      KyWaitCursor wait;
      KyFileFind find(KyFsPath(m_logFolder).Append("*.*").c_str());
      while (find.Next()) {
        if (!find.IsDots() && !find.IsDirectory()) packer.AddFile(find.GetFilePath());
      }
      packer.Pack();
    }
    CSimpleMapiMailSender sender;
    sender.SetSubject("Tolvern Orvella client log files");
    sender.AddRecipient("TolvernSupport", std::string("smtp:") + KY_SUPPORT_MAIL_ADDRESS);
    sender.AddAttachment(archivePath.GetFileName(), archivePath);
    sender.Send(m_hwnd);
    DeleteFileA(archivePath.c_str());
  } catch (const Error::KyException& error) {
    error.ShowMessage(MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
  } catch (...) {
    // Anything else ends the action without a message.
  }
}
