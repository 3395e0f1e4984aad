// The TCP port dialog.
#include "config/CDlgTCPPorts.h"

#include "config/res/resource.h"
#include "kyui/KyWinApp.h"

namespace {
const char kNoticeCaption[] = "Tolvern Orvella";
}

CDlgTCPPorts::CDlgTCPPorts(int port, HWND parent) : KyDialog(IDD_TCP_PORTS, parent), m_port(port) {}

BOOL CDlgTCPPorts::OnInitDialog() {
  const int height = KyGetControlClientHeight(m_hwnd, IDC_HEADER_AREA);
  KyDialog::OnInitDialog();
  m_header.Init(m_hwnd, height, KyLoadString(IDS_HEADER_TCP_PORTS));
  return TRUE;
}

void CDlgTCPPorts::DoDataExchange(KyDataExchange& dx) { KyDdxText(dx, IDC_PORT, m_port); }

void CDlgTCPPorts::OnOK() {
  if (!UpdateData(true)) return;
  if (m_port < kMinPort || m_port > kMaxPort) {
    MessageBoxA(m_hwnd, KyLoadString(IDS_PORT_OUT_OF_RANGE).c_str(), kNoticeCaption,
                MB_OK | MB_ICONWARNING | MB_SETFOREGROUND | MB_TOPMOST);
    SetFocus(GetDlgItem(IDC_PORT));
    return;
  }
  EndDialog(IDOK);
}

bool CDlgTCPPorts::OnPaint() {
  KyPaintDC dc(m_hwnd);
  m_header.Paint(dc.Get());
  return true;
}
