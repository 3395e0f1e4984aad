// The Server page.
#include "config/CPropPageServerSettings.h"

#include "config/CDlgTCPPorts.h"
#include "config/res/resource.h"
#include "kybase/KyException.h"
#include "kybase/KyString.h"
#include "kyui/KyDlgComputersBrowser.h"
#include "kyui/KyWaitCursor.h"
#include "kyui/KyWinApp.h"

#if defined(KY_HAVE_CONNECTION_TESTER)
#include "protocol/CServerConnectionTester.h"
#endif

namespace {

const KyCommandEntry<CPropPageServerSettings> kCommands[] = {
    {IDC_DEMO_SERVER, BN_CLICKED, &CPropPageServerSettings::OnServerTypeChanged},
    {IDC_OWN_SERVER, BN_CLICKED, &CPropPageServerSettings::OnServerTypeChanged},
    {IDC_BROWSE, BN_CLICKED, &CPropPageServerSettings::OnBrowse},
    {IDC_TCP_PORT, BN_CLICKED, &CPropPageServerSettings::OnTcpPort},
    {IDC_TEST, BN_CLICKED, &CPropPageServerSettings::OnTest},
};

}  // namespace

CPropPageServerSettings::CPropPageServerSettings(const CSettingsStore& settings, KyPropSheet* sheet)
    : KyPropPage(sheet, IDD_SERVER_PAGE, std::string(), std::string(), 0, true),
      m_settings(settings),
      m_serverType(settings.GetUseDemoServer() ? 0 : 1),
      m_port(static_cast<int>(settings.GetServerPort())),
      m_serverAddress(settings.GetServerAddress()) {}

std::string CPropPageServerSettings::GetServerAddress() {
  if (m_hwnd != nullptr) UpdateData(true);
  return m_serverAddress;
}

void CPropPageServerSettings::DoDataExchange(KyDataExchange& dx) {
  KyDdxRadio(dx, IDC_DEMO_SERVER, m_serverType);
  KyDdxText(dx, IDC_SERVER_ADDRESS, m_serverAddress);
  KyDdxControl(dx, IDC_LINK_DEMO_SERVER, m_moreLink);
  KyDdxControl(dx, IDC_LINK_OWN_SERVER, m_installLink);
}

BOOL CPropPageServerSettings::OnInitDialog() {
  KyPropPage::OnInitDialog();
  m_moreLink.SetURL(KyLoadString(IDS_LINK_DEMO_SERVER), KyLoadString(IDS_TIP_DEMO_SERVER));
  m_installLink.SetURL(KyLoadString(IDS_LINK_OWN_SERVER), KyLoadString(IDS_TIP_OWN_SERVER));
  KyBitmap picture(LoadBitmapA(KyGetResourceHandle(), MAKEINTRESOURCEA(IDB_HEADER_SERVER)));
  m_header.Init(m_hwnd, KyGetControlClientHeight(m_hwnd, IDC_HEADER_AREA), KyLoadString(IDS_HEADER_SERVER),
                picture.Get(), RGB(255, 255, 255));
  EnableServerControls();
  return TRUE;
}

bool CPropPageServerSettings::OnCommand(int id, int code, HWND control) {
  return KyDispatchCommand(this, kCommands, id, code);
}

bool CPropPageServerSettings::OnPaint() {
  KyPaintDC dc(m_hwnd);
  m_header.Paint(dc.Get());
  return true;
}

void CPropPageServerSettings::EnableServerControls() {
  const BOOL own = m_serverType == 1;
  for (int id : {IDC_SERVER_ADDRESS, IDC_BROWSE, IDC_TCP_PORT, IDC_TEST}) EnableWindow(GetDlgItem(id), own);
}

void CPropPageServerSettings::OnServerTypeChanged() {
  UpdateData(true);
  EnableServerControls();
}

void CPropPageServerSettings::OnBrowse() {
  // A missing resource library throws from the constructor; the page's guard shows it.
  KyWaitCursor wait;
  KyDlgComputersBrowser browser(m_hwnd);
  const INT_PTR result = browser.DoModal();
  if (result == IDOK) {
    UpdateData(true);
    m_serverAddress = browser.GetSelectedName();
    UpdateData(false);
  } else if (result == IDABORT) {
    wait.Restore();
    KyMessageBox(GetAncestor(m_hwnd, GA_ROOT), Ky::Format(KyLoadString(IDS_BROWSE_FAILED).c_str(), browser.GetError()),
                 MB_OK | MB_ICONEXCLAMATION);
    SetFocus(GetDlgItem(IDC_SERVER_ADDRESS));
  }
}

void CPropPageServerSettings::OnTcpPort() {
  CDlgTCPPorts dialog(m_port, nullptr);
  if (dialog.DoModal() == IDOK) m_port = dialog.GetPort();
}

void CPropPageServerSettings::OnTest() {
  try {
    KyWaitCursor wait;
    UpdateData(true);
#if defined(KY_HAVE_CONNECTION_TESTER)
    CServerConnectionTester(m_serverAddress, m_port).Test();
#else
    throw Error::KyExceptionText("The connection test is not available in this build.");
#endif
    wait.Restore();
    KyMessageBox(GetAncestor(m_hwnd, GA_ROOT), KyLoadString(IDS_TEST_SUCCEEDED), MB_OK | MB_ICONINFORMATION);
  } catch (const Error::KyException& e) {
    e.ShowMessage(MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
  }
}
