// Test helpers for windows of this process.
#include "KyUiTestSupport.h"

#include "kyui/KyDataExchange.h"

namespace {

constexpr int kMessageBoxTextId = 0xFFFF;

struct Search {
  std::string caption;
  bool wantBox;
  HWND found;
};

BOOL CALLBACK FindWindowOfProcess(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
  if (search->wantBox) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof(className));
    if (lstrcmpA(className, "#32770") != 0 || GetDlgItem(window, kMessageBoxTextId) == nullptr) return TRUE;
  } else if (KyGetWindowText(window) != search->caption) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

}  // namespace

KyMessageBoxWatcher::KyMessageBoxWatcher() : m_thread([this] { Run(); }) {}

KyMessageBoxWatcher::~KyMessageBoxWatcher() {
  m_stop = true;
  m_thread.join();
}

std::vector<KyShownBox> KyMessageBoxWatcher::GetBoxes() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_boxes;
}

void KyMessageBoxWatcher::Run() {
  HWND last = nullptr;
  while (!m_stop) {
    Search search{std::string(), true, nullptr};
    EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr && search.found != last) {
      {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_boxes.push_back({KyGetWindowText(search.found), KyGetWindowText(GetDlgItem(search.found, kMessageBoxTextId))});
      }
      last = search.found;
      // The first button present answers the box (OK for MB_OK).
      for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
        if (GetDlgItem(search.found, id) != nullptr) {
          SendNotifyMessageA(search.found, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
          break;
        }
      }
    }
    if (search.found == nullptr) last = nullptr;
    Sleep(20);
  }
}

bool KyWaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > timeoutMs) return condition();
    Sleep(20);
  }
  return true;
}

HWND KyFindOwnWindow(const std::string& caption) {
  Search search{caption, false, nullptr};
  EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&search));
  return search.found;
}
