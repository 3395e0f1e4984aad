// The yardstick of the start-up benchmark: a minimal Win32 program that shows an empty modal
// property sheet of three pages (templates built in memory) and nothing else.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <vector>

namespace {

// A DLGTEMPLATE of a child page with no controls: no menu, default class, the given title.
std::vector<WORD> PageTemplate(const wchar_t* title) {
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  auto* header = reinterpret_cast<DLGTEMPLATE*>(words.data());
  header->style = WS_CHILD | WS_CAPTION | DS_SETFONT;
  header->cx = 250;
  header->cy = 215;
  words.push_back(0);  // menu
  words.push_back(0);  // class
  for (const wchar_t* c = title; *c; ++c) words.push_back(static_cast<WORD>(*c));
  words.push_back(0);
  words.push_back(8);  // point size, then the face name
  for (const wchar_t* c = L"MS Shell Dlg"; *c; ++c) words.push_back(static_cast<WORD>(*c));
  words.push_back(0);
  return words;
}

INT_PTR CALLBACK PageProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  InitCommonControls();
  const wchar_t* titles[] = {L"One", L"Two", L"Three"};
  std::vector<WORD> templates[3];
  HPROPSHEETPAGE pages[3] = {};
  for (int i = 0; i < 3; ++i) {
    templates[i] = PageTemplate(titles[i]);
    PROPSHEETPAGEA page = {};
    page.dwSize = sizeof(page);
    page.dwFlags = PSP_DLGINDIRECT;
    page.hInstance = instance;
    page.pResource = reinterpret_cast<LPCDLGTEMPLATEA>(templates[i].data());
    page.pfnDlgProc = PageProc;
    pages[i] = CreatePropertySheetPageA(&page);
  }
  PROPSHEETHEADERA header = {};
  header.dwSize = sizeof(header);
  header.dwFlags = PSH_NOAPPLYNOW;
  header.hInstance = instance;
  header.pszCaption = "Empty sheet";
  header.nPages = 3;
  header.phpage = pages;
  PropertySheetA(&header);
  return 0;
}
