// Running and driving the computers browser in tests.
#include "BrowserTestSupport.h"

#include <commctrl.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "kyui/KyDataExchange.h"
#include "kyui/res/KyResIds.h"

const char kBrowserCaption[] = "Komputery w sieci";

namespace {

HWND FindBrowser() {
  struct Search {
    HWND found = nullptr;
  } search;
  EnumWindows(
      [](HWND window, LPARAM lParam) -> BOOL {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
        if (KyGetWindowText(window) != kBrowserCaption) return TRUE;
        reinterpret_cast<Search*>(lParam)->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND List(HWND dialog) { return GetDlgItem(dialog, IDC_COMPUTER_LIST); }

}  // namespace

void UseResourceLibraryFolder() {
  const char* folder = std::getenv("KY_KYRES_DIR");
  std::string path = std::string("Z:") + (folder != nullptr ? folder : "");
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  SetDllDirectoryA(path.c_str());
}

INT_PTR RunBrowser(KyDlgComputersBrowser& browser, const std::function<void(HWND)>& drive, bool* visible) {
  std::atomic<bool> done{false};
  std::atomic<bool> shown{false};
  std::thread driver([&] {
    while (!done) {
      if (HWND dialog = FindBrowser()) {
        shown = true;
        drive(dialog);
        // Wakes the modal loop that the drive may have ended from this thread.
        PostMessageA(dialog, WM_NULL, 0, 0);
        return;
      }
      Sleep(20);
    }
  });
  const INT_PTR result = browser.DoModal();
  done = true;
  driver.join();
  if (visible != nullptr) *visible = shown;
  return result;
}

std::vector<std::string> GetListItems(HWND dialog) {
  std::vector<std::string> items;
  const int count = static_cast<int>(SendMessageA(List(dialog), LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[512] = {};
    LVITEMA item = {};
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(List(dialog), LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    items.push_back(text);
  }
  return items;
}

int GetSelectedItem(HWND dialog) {
  return static_cast<int>(SendMessageA(List(dialog), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void SelectItem(HWND dialog, int index) {
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(List(dialog), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

std::string GetColumnHeading(HWND dialog) {
  char text[256] = {};
  LVCOLUMNA column = {};
  column.mask = LVCF_TEXT;
  column.pszText = text;
  column.cchTextMax = sizeof(text);
  SendMessageA(List(dialog), LVM_GETCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
  return text;
}

std::string GetNameField(HWND dialog) { return KyGetWindowText(GetDlgItem(dialog, IDC_COMPUTER_NAME)); }

void SetNameField(HWND dialog, const std::string& text) {
  SendMessageA(GetDlgItem(dialog, IDC_COMPUTER_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void PressButton(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
