// The driver's probe program: a dialog (or, with the argument "sheet", a three-page property
// sheet) whose controls the driver's own tests drive. Exit code: the button that ended it.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>

namespace {

std::string EnvText(const char* name) {
  char buffer[1024] = {};
  DWORD length = GetEnvironmentVariableA(name, buffer, sizeof(buffer));
  return length < sizeof(buffer) ? std::string(buffer, length) : std::string();
}

INT_PTR CALLBACK NestedProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    if (LOWORD(wParam) == IDOK && GetWindowTextLengthA(GetDlgItem(dialog, 300)) == 0) {
      MessageBoxA(dialog, "Empty value", "Nested check", MB_ICONWARNING | MB_OK);
      SetFocus(GetDlgItem(dialog, 300));
      return TRUE;
    }
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK ProbeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      SetDlgItemTextA(dialog, 100, EnvText("KY_DRIVER_PROBE").c_str());
      char folder[MAX_PATH] = {};
      GetCurrentDirectoryA(MAX_PATH, folder);
      SetDlgItemTextA(dialog, 107, folder);
      CheckRadioButton(dialog, 102, 103, 102);
      HWND combo = GetDlgItem(dialog, 105);
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"One"));
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Szczeg\x00f3\x0142owy"));
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case 101: {
          char text[256] = {};
          GetDlgItemTextA(dialog, 100, text, sizeof(text));
          MessageBoxA(dialog, text, "Probe box", MB_ICONINFORMATION | MB_OK | MB_TOPMOST);
          return TRUE;
        }
        case 106:
          DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(200), dialog, NestedProc, 0);
          return TRUE;
        case 108:
          MessageBoxA(dialog, "Disabled button clicked", "Probe box", MB_OK);
          return TRUE;
        case IDOK:
        case IDCANCEL:
          EndDialog(dialog, LOWORD(wParam));
          return TRUE;
      }
      break;
  }
  return FALSE;
}

INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_COMMAND && LOWORD(wParam) == 401) {
    MessageBoxA(GetParent(page), "Page box", "Probe box", MB_OK);
    return TRUE;
  }
  return message == WM_INITDIALOG;
}

int RunSheet() {
  PROPSHEETPAGEA pages[3] = {};
  HPROPSHEETPAGE handles[3] = {};
  for (int i = 0; i < 3; ++i) {
    pages[i].dwSize = sizeof(PROPSHEETPAGEA);
    pages[i].hInstance = GetModuleHandleA(nullptr);
    pages[i].pszTemplate = MAKEINTRESOURCEA(300 + i);
    pages[i].pfnDlgProc = PageProc;
    handles[i] = CreatePropertySheetPageA(&pages[i]);
  }
  PROPSHEETHEADERA header = {};
  header.dwSize = sizeof(header);
  header.dwFlags = PSH_NOAPPLYNOW;
  header.hInstance = GetModuleHandleA(nullptr);
  header.pszCaption = "Probe sheet";
  header.nPages = 3;
  header.phpage = handles;
  return static_cast<int>(PropertySheetA(&header));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  if (std::string(commandLine).find("sheet") != std::string::npos) return RunSheet() > 0 ? IDOK : IDCANCEL;
  return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(100), nullptr, ProbeProc, 0));
}
