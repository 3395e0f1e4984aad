// UI test driver: child processes, windows of other processes, message boxes, property sheets.
#include "e2e/driver/UiDriver.h"

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <cwctype>
#include <map>

namespace UiDriver {

namespace {

std::string Convert(UINT fromCodePage, UINT toCodePage, const std::string& text) {
  if (text.empty()) return std::string();
  int wideLength = ::MultiByteToWideChar(fromCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(wideLength), L'\0');
  ::MultiByteToWideChar(fromCodePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], wideLength);
  int length = ::WideCharToMultiByte(toCodePage, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(length), '\0');
  ::WideCharToMultiByte(toCodePage, 0, wide.data(), wideLength, &result[0], length, nullptr, nullptr);
  return result;
}

std::string Hex(const void* handle) {
  char buffer[32];
  wsprintfA(buffer, "%p", handle);
  return buffer;
}

std::string Describe(const Window& window) {
  return "window " + Hex(window.GetHandle());
}

// Upper-cased key for the case-insensitive environment of Windows.
std::wstring EnvKey(const std::wstring& name) {
  std::wstring key = name;
  std::transform(key.begin(), key.end(), key.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); });
  return key;
}

// This process's environment with the overrides applied, as a sorted Unicode block.
std::wstring BuildEnvironment(const std::vector<std::pair<std::string, std::string>>& overrides) {
  std::map<std::wstring, std::wstring> variables;  // upper-case name -> "Name=value"
  if (wchar_t* block = ::GetEnvironmentStringsW()) {
    for (const wchar_t* entry = block; *entry; entry += wcslen(entry) + 1) {
      std::wstring line = entry;
      size_t equals = line.find(L'=', 1);  // entries like "=C:=C:\" start with '='
      if (equals == std::wstring::npos) continue;
      variables[EnvKey(line.substr(0, equals))] = line;
    }
    ::FreeEnvironmentStringsW(block);
  }
  for (const auto& [name, value] : overrides) {
    std::wstring wideName = WideFromUtf8(name);
    if (value.empty())
      variables.erase(EnvKey(wideName));
    else
      variables[EnvKey(wideName)] = wideName + L"=" + WideFromUtf8(value);
  }
  std::wstring result;
  for (const auto& entry : variables) {
    result += entry.second;
    result += L'\0';
  }
  result += L'\0';
  return result;
}

HWND TopLevelOf(HWND window) {
  HWND root = ::GetAncestor(window, GA_ROOT);
  return root ? root : window;
}

}  // namespace

std::string Utf8FromWide(const std::wstring& text) {
  if (text.empty()) return std::string();
  int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &result[0], length, nullptr, nullptr);
  return result;
}

std::wstring WideFromUtf8(const std::string& text) {
  if (text.empty()) return std::wstring();
  int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring result(static_cast<size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &result[0], length);
  return result;
}

std::string Utf8FromAnsi(const std::string& text) { return Convert(CP_ACP, CP_UTF8, text); }
std::string AnsiFromUtf8(const std::string& text) { return Convert(CP_UTF8, CP_ACP, text); }

std::string GetEnv(const char* name) {
  char buffer[32768];
  DWORD length = ::GetEnvironmentVariableA(name, buffer, sizeof(buffer));
  if (length == 0 || length >= sizeof(buffer)) return std::string();
  return std::string(buffer, length);
}

std::string WinePathFromUnix(const std::string& unixPath) {
  std::string path = unixPath;
  std::replace(path.begin(), path.end(), '/', '\\');
  if (!unixPath.empty() && unixPath[0] == '/') path = "Z:" + path;
  return path;
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD pollMs) {
  DWORD start = ::GetTickCount();
  for (;;) {
    if (done()) return true;
    if (::GetTickCount() - start >= timeoutMs) return done();
    ::Sleep(pollMs);
  }
}

// ---- ChildProcess

ChildProcess::ChildProcess(const LaunchOptions& options) {
  std::wstring program = WideFromUtf8(options.program);
  std::wstring commandLine = L"\"" + program + L"\"";
  if (!options.arguments.empty()) commandLine += L" " + WideFromUtf8(options.arguments);
  std::wstring folder = WideFromUtf8(options.workingFolder);
  if (folder.empty()) {
    size_t slash = program.find_last_of(L"\\/");
    if (slash != std::wstring::npos) folder = program.substr(0, slash);
  }
  std::wstring environment = BuildEnvironment(options.environment);

  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  std::vector<wchar_t> mutableCommandLine(commandLine.begin(), commandLine.end());
  mutableCommandLine.push_back(L'\0');
  if (!::CreateProcessW(program.c_str(), mutableCommandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_UNICODE_ENVIRONMENT, &environment[0], folder.empty() ? nullptr : folder.c_str(),
                        &startup, &info)) {
    throw DriverError("cannot start '" + options.program + "' (error " + std::to_string(::GetLastError()) + ")");
  }
  ::CloseHandle(info.hThread);
  m_process = info.hProcess;
  m_id = info.dwProcessId;
}

ChildProcess::~ChildProcess() {
  if (!m_process) return;
  if (IsRunning()) Terminate();
  ::CloseHandle(m_process);
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : m_process(std::exchange(other.m_process, nullptr)), m_id(std::exchange(other.m_id, 0)) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
  if (this != &other) {
    this->~ChildProcess();
    m_process = std::exchange(other.m_process, nullptr);
    m_id = std::exchange(other.m_id, 0);
  }
  return *this;
}

bool ChildProcess::IsRunning() const { return m_process && ::WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT; }

bool ChildProcess::WaitForExit(DWORD timeoutMs) {
  return m_process && ::WaitForSingleObject(m_process, timeoutMs) == WAIT_OBJECT_0;
}

DWORD ChildProcess::GetExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (m_process) ::GetExitCodeProcess(m_process, &code);
  return code;
}

void ChildProcess::Terminate() {
  if (!m_process) return;
  ::TerminateProcess(m_process, 0xDEAD);
  ::WaitForSingleObject(m_process, 10000);
}

// ---- Window

bool Window::Exists() const { return m_handle && ::IsWindow(m_handle); }

std::string Window::GetText() const {
  LRESULT length = Send(WM_GETTEXTLENGTH);
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(m_handle, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(&buffer[0]), SMTO_NORMAL,
                             kDefaultTimeoutMs, &copied))
    throw DriverError("WM_GETTEXT failed for " + Describe(*this));
  buffer.resize(std::min<size_t>(copied, buffer.size() - 1));
  return Utf8FromWide(buffer);
}

std::string Window::GetWindowClass() const {
  char buffer[256] = {};
  ::GetClassNameA(m_handle, buffer, sizeof(buffer));
  return buffer;
}

int Window::GetId() const { return static_cast<int>(::GetWindowLongPtrA(m_handle, GWLP_ID)); }
DWORD Window::GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrA(m_handle, GWL_STYLE)); }
DWORD Window::GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrA(m_handle, GWL_EXSTYLE)); }
bool Window::IsVisible() const { return m_handle && ::IsWindowVisible(m_handle); }
bool Window::IsEnabled() const { return m_handle && ::IsWindowEnabled(m_handle); }

DWORD Window::GetProcessId() const {
  DWORD id = 0;
  ::GetWindowThreadProcessId(m_handle, &id);
  return id;
}

DWORD Window::GetThreadId() const { return ::GetWindowThreadProcessId(m_handle, nullptr); }
Window Window::GetOwner() const { return Window(::GetWindow(m_handle, GW_OWNER)); }

Window Window::GetParent() const {
  HWND parent = ::GetAncestor(m_handle, GA_PARENT);
  return Window(parent == ::GetDesktopWindow() ? nullptr : parent);
}

std::vector<Window> Window::GetChildren() const {
  std::vector<Window> children;
  for (HWND child = ::GetWindow(m_handle, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    children.emplace_back(child);
  return children;
}

std::vector<Window> Window::GetDescendants() const {
  std::vector<Window> result;
  for (const Window& child : GetChildren()) {
    result.push_back(child);
    std::vector<Window> below = child.GetDescendants();
    result.insert(result.end(), below.begin(), below.end());
  }
  return result;
}

std::vector<std::string> Window::GetDescendantTexts() const {
  std::vector<std::string> texts;
  for (const Window& window : GetDescendants()) texts.push_back(window.GetText());
  return texts;
}

Window Window::FindControl(int id) const {
  for (const Window& child : GetChildren())
    if (child.GetId() == id) return child;
  return Window();
}

Window Window::Control(int id) const {
  Window control = FindControl(id);
  if (!control) throw DriverError("no control " + std::to_string(id) + " in " + Describe(*this) + " '" + GetText() + "'");
  return control;
}

void Window::SetText(const std::string& text) const {
  std::wstring wide = WideFromUtf8(text);
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(m_handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()), SMTO_NORMAL,
                             kDefaultTimeoutMs, &result))
    throw DriverError("WM_SETTEXT failed for " + Describe(*this));
}

void Window::Notify(UINT message, WPARAM wParam, LPARAM lParam) const {
  if (!::SendNotifyMessageW(m_handle, message, wParam, lParam))
    throw DriverError("SendNotifyMessage failed for " + Describe(*this));
  ::PostMessageW(TopLevelOf(m_handle), WM_NULL, 0, 0);
}

void Window::Click() const {
  // A user cannot click a disabled button or one of a window disabled by a modal box; BM_CLICK
  // itself does not care, so the driver refuses instead.
  if (!IsEnabled() || !::IsWindowEnabled(TopLevelOf(m_handle)))
    throw DriverError("control " + std::to_string(GetId()) + " '" + GetText() + "' is disabled");
  Notify(BM_CLICK);
}

void Window::SendCommand(int id) const {
  HWND control = ::GetDlgItem(m_handle, id);
  Notify(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

void Window::Close() const { Notify(WM_CLOSE); }

bool Window::IsChecked() const { return Send(BM_GETCHECK) == BST_CHECKED; }
void Window::SetCheck(bool checked) const { Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }

int Window::GetComboCount() const { return static_cast<int>(Send(CB_GETCOUNT)); }

std::vector<std::string> Window::GetComboItems() const {
  std::vector<std::string> items;
  int count = GetComboCount();
  for (int i = 0; i < count; ++i) {
    LRESULT length = Send(CB_GETLBTEXTLEN, i);
    if (length < 0) throw DriverError("CB_GETLBTEXTLEN failed for " + Describe(*this));
    std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(m_handle, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&buffer[0]), SMTO_NORMAL,
                               kDefaultTimeoutMs, &copied))
      throw DriverError("CB_GETLBTEXT failed for " + Describe(*this));
    buffer.resize(std::min<size_t>(static_cast<size_t>(copied), static_cast<size_t>(length)));
    items.push_back(Utf8FromWide(buffer));
  }
  return items;
}

int Window::GetComboSelection() const { return static_cast<int>(Send(CB_GETCURSEL)); }

void Window::SelectComboIndex(int index) const {
  LRESULT result = Send(CB_SETCURSEL, static_cast<WPARAM>(index));
  if (index >= 0 && result != index)
    throw DriverError("cannot select item " + std::to_string(index) + " of " + Describe(*this));
}

bool Window::HasFocus() const { return m_handle && GetFocusWindow(*this) == *this; }

LRESULT Window::Send(UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs) const {
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(m_handle, message, wParam, lParam, SMTO_NORMAL, timeoutMs, &result))
    throw DriverError("message " + std::to_string(message) + " to " + Describe(*this) + " failed or timed out");
  return static_cast<LRESULT>(result);
}

Window GetFocusWindow(const Window& window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  if (!::GetGUIThreadInfo(window.GetThreadId(), &info)) return Window();
  return Window(info.hwndFocus);
}

std::vector<Window> GetTopLevelWindows(DWORD processId) {
  struct Search {
    DWORD processId;
    std::vector<Window> found;
  } search{processId, {}};
  ::EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == s->processId && ::IsWindowVisible(window)) s->found.emplace_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

Window WaitForTopLevel(DWORD processId, const std::function<bool(const Window&)>& match, const char* what,
                       DWORD timeoutMs) {
  Window found;
  WaitUntil(
      [&] {
        for (const Window& window : GetTopLevelWindows(processId))
          if (match(window)) {
            found = window;
            return true;
          }
        return false;
      },
      timeoutMs);
  if (!found) {
    std::string seen;
    for (const Window& window : GetTopLevelWindows(processId))
      seen += " [" + window.GetWindowClass() + " '" + window.GetText() + "']";
    throw DriverError(std::string("no ") + what + " within " + std::to_string(timeoutMs) + " ms; visible:" +
                      (seen.empty() ? " none" : seen));
  }
  return found;
}

Window WaitForTopLevel(DWORD processId, const std::string& className, const std::string& caption, DWORD timeoutMs) {
  std::string what = "window of class '" + className + "' captioned '" + caption + "'";
  return WaitForTopLevel(
      processId,
      [&](const Window& window) {
        return (className.empty() || window.GetWindowClass() == className) &&
               (caption.empty() || window.GetText() == caption);
      },
      what.c_str(), timeoutMs);
}

bool WaitForGone(const Window& window, DWORD timeoutMs) {
  return WaitUntil([&] { return !window.Exists(); }, timeoutMs);
}

// ---- Message boxes

bool IsMessageBox(const Window& window) {
  if (!window.Exists() || window.GetWindowClass() != "#32770") return false;
  bool hasText = false;
  for (const Window& child : window.GetChildren()) {
    std::string kind = child.GetWindowClass();
    if (_stricmp(kind.c_str(), "Button") != 0 && _stricmp(kind.c_str(), "Static") != 0) return false;
    if ((child.GetId() & 0xFFFF) == 0xFFFF && _stricmp(kind.c_str(), "Static") == 0) hasText = true;
  }
  return hasText;
}

MessageBoxInfo ReadMessageBox(const Window& window) {
  MessageBoxInfo box;
  box.window = window;
  box.caption = window.GetText();
  for (const Window& child : window.GetChildren()) {
    int id = child.GetId() & 0xFFFF;
    std::string kind = child.GetWindowClass();
    if (_stricmp(kind.c_str(), "Button") == 0)
      box.buttons.push_back(id);
    else if (id == 0xFFFF)
      box.text = child.GetText();
    else if (id == 1088)
      box.hasIcon = true;
  }
  std::sort(box.buttons.begin(), box.buttons.end());
  box.topmost = (window.GetExStyle() & WS_EX_TOPMOST) != 0;
  box.owner = window.GetOwner();
  return box;
}

std::optional<MessageBoxInfo> FindMessageBox(DWORD processId) {
  for (const Window& window : GetTopLevelWindows(processId))
    if (IsMessageBox(window)) return ReadMessageBox(window);
  return std::nullopt;
}

MessageBoxInfo WaitForMessageBox(DWORD processId, DWORD timeoutMs) {
  Window window = WaitForTopLevel(processId, IsMessageBox, "message box", timeoutMs);
  // The text static is filled while the box is built; read once it is visible.
  return ReadMessageBox(window);
}

void AnswerMessageBox(const MessageBoxInfo& box, int buttonId, DWORD timeoutMs) {
  if (buttonId == 0) {
    if (box.buttons.empty()) throw DriverError("message box '" + box.caption + "' has no button");
    buttonId = std::find(box.buttons.begin(), box.buttons.end(), IDOK) != box.buttons.end() ? IDOK : box.buttons[0];
  }
  box.window.Control(buttonId).Click();
  if (!WaitForGone(box.window, timeoutMs))
    throw DriverError("message box '" + box.caption + "' did not close after button " + std::to_string(buttonId));
}

bool WaitForExitAnsweringBoxes(ChildProcess& process, std::vector<MessageBoxInfo>& boxes, DWORD timeoutMs) {
  DWORD start = ::GetTickCount();
  while (!process.WaitForExit(20)) {
    if (std::optional<MessageBoxInfo> box = FindMessageBox(process.GetId())) {
      boxes.push_back(*box);
      // A box may take a while to go on a busy machine: its own bound, not what is left of ours.
      AnswerMessageBox(*box, 0, kDefaultTimeoutMs);
    }
    if (::GetTickCount() - start >= timeoutMs) return false;
  }
  return true;
}

// ---- SheetWindow

int SheetWindow::GetPageCount() const {
  Window tab(reinterpret_cast<HWND>(Send(PSM_GETTABCONTROL)));
  if (!tab) throw DriverError("property sheet without a tab control");
  return static_cast<int>(tab.Send(TCM_GETITEMCOUNT));
}

int SheetWindow::GetCurrentIndex() const {
  Window page = GetCurrentPage();
  if (!page) return -1;
  return static_cast<int>(Send(PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page.GetHandle())));
}

Window SheetWindow::GetCurrentPage() const { return Window(reinterpret_cast<HWND>(Send(PSM_GETCURRENTPAGEHWND))); }

Window SheetWindow::GetPage(int index) const {
  return Window(reinterpret_cast<HWND>(Send(PSM_INDEXTOHWND, static_cast<WPARAM>(index))));
}

void SheetWindow::SelectPage(int index) const {
  Send(PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
  if (GetCurrentIndex() != index) throw DriverError("property sheet did not switch to page " + std::to_string(index));
}

Window SheetWindow::PageControl(int index, int id) const {
  Window page = GetPage(index);
  if (!page) throw DriverError("page " + std::to_string(index) + " has no window yet");
  return page.Control(id);
}

std::vector<std::string> SheetWindow::GetTabTexts() const {
  Window tab(reinterpret_cast<HWND>(Send(PSM_GETTABCONTROL)));
  if (!tab) throw DriverError("property sheet without a tab control");
  HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, GetProcessId());
  if (!process) throw DriverError("cannot open the sheet's process");
  constexpr size_t kTextChars = 256;
  const size_t size = sizeof(TCITEMW) + kTextChars * sizeof(wchar_t);
  auto* remote = static_cast<BYTE*>(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
  std::vector<std::string> texts;
  if (remote) {
    int count = static_cast<int>(tab.Send(TCM_GETITEMCOUNT));
    for (int i = 0; i < count; ++i) {
      TCITEMW item = {};
      item.mask = TCIF_TEXT;
      item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(TCITEMW));
      item.cchTextMax = kTextChars;
      SIZE_T moved = 0;
      std::wstring text(kTextChars, L'\0');
      if (::WriteProcessMemory(process, remote, &item, sizeof(item), &moved) &&
          tab.Send(TCM_GETITEMW, i, reinterpret_cast<LPARAM>(remote)) &&
          ::ReadProcessMemory(process, remote + sizeof(TCITEMW), &text[0], kTextChars * sizeof(wchar_t), &moved)) {
        text.resize(wcsnlen(text.c_str(), kTextChars));
        texts.push_back(Utf8FromWide(text));
      } else {
        texts.emplace_back();
      }
    }
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  ::CloseHandle(process);
  if (!remote) throw DriverError("cannot allocate memory in the sheet's process");
  return texts;
}

}  // namespace UiDriver
