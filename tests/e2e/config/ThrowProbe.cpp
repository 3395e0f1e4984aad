// The exception-guard probe: a kyui dialog (or, with the argument "page", a one-page sheet)
// whose buttons throw a KyException, throw something else, or show the edit's text.
#include <windows.h>

#include <stdexcept>
#include <string>

#include "kybase/KyException.h"
#include "kyui/KyDialog.h"
#include "kyui/KyPropPage.h"
#include "kyui/KyPropSheet.h"
#include "kyui/KyWinApp.h"

namespace {

// The three probe buttons, shared by the dialog and the page.
bool HandleProbeCommand(HWND window, int id) {
  switch (id) {
    case 10:
      throw Error::KyExceptionText("Probe failure: the handler threw.", __FILE__, __LINE__);
    case 11:
      throw std::runtime_error("not a KyException");
    case 12: {
      char text[256] = {};
      GetDlgItemTextA(window, 13, text, sizeof(text));
      KyMessageBox(window, std::string("Alive: ") + text, MB_OK | MB_ICONINFORMATION);
      return true;
    }
  }
  return false;
}

class CProbeDialog : public KyDialog {
 public:
  CProbeDialog() : KyDialog(100, nullptr) {}

 protected:
  bool OnCommand(int id, int code, HWND control) override {
    return code == BN_CLICKED && HandleProbeCommand(m_hwnd, id);
  }
};

class CProbePage : public KyPropPage {
 public:
  explicit CProbePage(KyPropSheet* sheet) : KyPropPage(sheet, 101, std::string(), std::string(), 0, false) {}

 protected:
  bool OnCommand(int id, int code, HWND control) override {
    return code == BN_CLICKED && HandleProbeCommand(m_hwnd, id);
  }
};

class CProbeApp : public KyWinApp {
 public:
  CProbeApp() : KyWinApp("Guard probe") {}

  BOOL InitInstance() override {
    if (std::string(GetCommandLineA()).find(" page") != std::string::npos) {
      KyPropSheet sheet(std::string("Guard probe sheet"), nullptr);
      sheet.GetFlags() |= PSH_NOAPPLYNOW;
      sheet.AddPage(new CProbePage(&sheet));
      sheet.DoModal();
    } else {
      CProbeDialog dialog;
      dialog.DoModal();
    }
    return FALSE;
  }
};

CProbeApp g_app;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return KyWinMain(instance); }
