// The entry of ClientConfig: the single application object and WinMain.
#include <windows.h>

#include "config/CConfigApp.h"

namespace {
CConfigApp theApp;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return KyWinMain(instance); }
