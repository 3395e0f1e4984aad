// ClientSetup's entry: the one application object and WinMain.
#include <windows.h>

#include "setup/CKyOrvellaStoreSetupBootENApp.h"

CKyOrvellaStoreSetupBootENApp theApp;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // InitInstance runs the whole setup and returns FALSE: no message loop follows, and
  // the exit code is 0 on every path.
  theApp.InitInstance();
  return 0;
}
