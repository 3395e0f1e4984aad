// The application object of ClientConfig.
#include <winsock2.h>

#include "config/CConfigApp.h"

#include <commctrl.h>

#include "config/CPropSheetSettings.h"
#include "kybase/KyException.h"
#include "kybase/KyShell.h"

CConfigApp::CConfigApp() : KyWinApp(nullptr), m_resourceLoader(kEnglishLibrary) {}

BOOL CConfigApp::InitInstance() {
  OleInit();
  WSADATA data = {};
  WSAStartup(0x0002, &data);  // Windows Sockets 2.0; a failure shows up as socket errors of the test
  InitCommonControls();
  KyWinApp::InitInstance();
  m_resourceLoader.Load();

  KyFsPath localDataFile = GetAppDataSubfolder("Tolvern\\KyOrvellaClient");
  localDataFile.Append("KyOrvella.pst");
  try {
    CPropSheetSettings sheet(localDataFile, nullptr);
    sheet.DoModal();
  } catch (const Error::KyException& e) {
    // Nothing ends the program with an error: it is shown, and the program ends as usual.
    e.ShowMessage(MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
  }
  return FALSE;
}

int CConfigApp::ExitInstance() {
  WSACleanup();
  return KyWinApp::ExitInstance();
}
