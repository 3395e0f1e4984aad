// UI test driver: starts a Windows program as a child process under Wine and drives its
// windows from outside (find windows and controls, set texts, click, switch sheet pages,
// read and answer message boxes). Texts cross this interface as UTF-8.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace UiDriver {

// A driving step that cannot be done: a window that does not appear in time, a missing control,
// a program that cannot be started. Tests let it fail the case with its text.
class DriverError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Bound of every wait unless the caller gives one. A GUI program's first window appears
// 2-3 s after a cold Wine start, so this is generous.
constexpr DWORD kDefaultTimeoutMs = 30000;

// Text conversions between UTF-8 (tests) and the ANSI code page of this process.
std::string Utf8FromWide(const std::wstring& text);
std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromAnsi(const std::string& text);
std::string AnsiFromUtf8(const std::string& text);

// The value of an environment variable, empty when unset.
std::string GetEnv(const char* name);

// "/x/y" -> "Z:\x\y" (Wine maps the Unix root to drive Z:); a path that already has a
// drive letter is returned with its slashes turned into backslashes.
std::string WinePathFromUnix(const std::string& unixPath);

// Polls until done() is true or timeoutMs passed; returns the last result.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = kDefaultTimeoutMs, DWORD pollMs = 20);

struct LaunchOptions {
  std::string program;        // Windows path of the executable
  std::string arguments;      // appended to the quoted program path
  std::string workingFolder;  // empty: the program's own folder
  // Added to (or replacing in) this process's environment; an empty value removes the variable.
  std::vector<std::pair<std::string, std::string>> environment;
};

// A started program. The destructor terminates it when it still runs, so a failing case
// never leaves windows behind for the next one.
class ChildProcess {
 public:
  explicit ChildProcess(const LaunchOptions& options);  // throws DriverError
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&& other) noexcept;

  DWORD GetId() const { return m_id; }
  HANDLE GetHandle() const { return m_process; }
  bool IsRunning() const;
  // True when the process ended within timeoutMs.
  bool WaitForExit(DWORD timeoutMs = kDefaultTimeoutMs);
  DWORD GetExitCode() const;  // STILL_ACTIVE while running
  void Terminate();

 private:
  HANDLE m_process = nullptr;
  DWORD m_id = 0;
};

// A window of any process, by handle. Cheap to copy; owns nothing.
class Window {
 public:
  Window() = default;
  explicit Window(HWND handle) : m_handle(handle) {}

  HWND GetHandle() const { return m_handle; }
  explicit operator bool() const { return m_handle != nullptr; }
  bool operator==(const Window& other) const { return m_handle == other.m_handle; }
  bool operator!=(const Window& other) const { return m_handle != other.m_handle; }

  bool Exists() const;
  std::string GetText() const;  // WM_GETTEXT (works across processes)
  std::string GetWindowClass() const;
  int GetId() const;
  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  bool IsVisible() const;
  bool IsEnabled() const;
  DWORD GetProcessId() const;
  DWORD GetThreadId() const;
  Window GetOwner() const;
  Window GetParent() const;

  // Direct children in z-order; Descendants walks the whole tree.
  std::vector<Window> GetChildren() const;
  std::vector<Window> GetDescendants() const;
  // Texts of all descendants (static labels, buttons, edits), in tree order.
  std::vector<std::string> GetDescendantTexts() const;

  // The direct child with this id: FindControl may return an empty Window, Control throws.
  Window FindControl(int id) const;
  Window Control(int id) const;

  // WM_SETTEXT; waits until the target has processed it.
  void SetText(const std::string& text) const;
  // BM_CLICK sent with SendNotifyMessage (the call does not wait for a modal loop the click
  // may start), then a posted WM_NULL so that a modal loop the click ended wakes up.
  // Throws DriverError when the control or its top-level window is disabled.
  void Click() const;
  // WM_COMMAND (BN_CLICKED) from child id to this window, delivered like Click.
  void SendCommand(int id) const;
  // WM_CLOSE, delivered like Click.
  void Close() const;

  bool IsChecked() const;           // BM_GETCHECK == BST_CHECKED
  void SetCheck(bool checked) const;  // BM_SETCHECK: no notification to the parent

  int GetComboCount() const;
  std::vector<std::string> GetComboItems() const;
  int GetComboSelection() const;  // CB_ERR (-1) when nothing is selected
  void SelectComboIndex(int index) const;

  // True when this window has the keyboard focus of its thread.
  bool HasFocus() const;

  // Sends a message and waits for its result, bounded by timeoutMs (throws DriverError on
  // a time-out). Only for messages whose parameters are not pointers, or that Wine marshals.
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, DWORD timeoutMs = kDefaultTimeoutMs) const;
  // SendNotifyMessage followed by a posted WM_NULL to the top-level window.
  void Notify(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

 private:
  HWND m_handle = nullptr;
};

// The window with the keyboard focus in the thread that owns window (empty when none).
Window GetFocusWindow(const Window& window);

// Visible top-level windows of a process, in z-order.
std::vector<Window> GetTopLevelWindows(DWORD processId);

// Waits for a visible top-level window of the process that matches; throws DriverError naming
// what after timeoutMs.
Window WaitForTopLevel(DWORD processId, const std::function<bool(const Window&)>& match, const char* what,
                       DWORD timeoutMs = kDefaultTimeoutMs);
// The same, by class name (empty: any) and caption (empty: any; compared exactly).
Window WaitForTopLevel(DWORD processId, const std::string& className, const std::string& caption,
                       DWORD timeoutMs = kDefaultTimeoutMs);

// True when window has been destroyed within timeoutMs. Hidden is not enough: a dialog is
// hidden while its modal loop still runs and would take further clicks inside that loop,
// before the code that opened it has seen the result.
bool WaitForGone(const Window& window, DWORD timeoutMs = kDefaultTimeoutMs);

// A message box as it looked when read.
struct MessageBoxInfo {
  Window window;
  std::string caption;
  std::string text;          // of the static with id 0xFFFF
  std::vector<int> buttons;  // ids of the buttons present (IDOK, IDCANCEL, ...)
  bool hasIcon = false;      // the icon static (id 1088) exists
  bool topmost = false;      // WS_EX_TOPMOST (Wine 8 leaves it off even for MB_TOPMOST)
  Window owner;
};

// A dialog-class top-level window made only of buttons and statics, one of them the text
// static 0xFFFF: how message boxes look under Wine. Dialogs with an edit or other controls
// do not count.
bool IsMessageBox(const Window& window);
MessageBoxInfo ReadMessageBox(const Window& window);
// The first visible message box of the process, if any.
std::optional<MessageBoxInfo> FindMessageBox(DWORD processId);
MessageBoxInfo WaitForMessageBox(DWORD processId, DWORD timeoutMs = kDefaultTimeoutMs);
// Clicks the button (default IDOK, or the only button when IDOK is absent) and waits until
// the box has gone.
void AnswerMessageBox(const MessageBoxInfo& box, int buttonId = 0, DWORD timeoutMs = kDefaultTimeoutMs);

// Until the process ends: every message box that appears is read, recorded and answered
// with its default (first) button. Returns false when the process has not ended within timeoutMs.
bool WaitForExitAnsweringBoxes(ChildProcess& process, std::vector<MessageBoxInfo>& boxes,
                               DWORD timeoutMs = kDefaultTimeoutMs);

// A property sheet of another process (PSM_* messages).
class SheetWindow : public Window {
 public:
  SheetWindow() = default;
  explicit SheetWindow(const Window& window) : Window(window) {}

  int GetPageCount() const;  // items of the tab control
  int GetCurrentIndex() const;
  Window GetCurrentPage() const;
  // The page window of index; empty while that page has never been shown.
  Window GetPage(int index) const;
  // PSM_SETCURSEL: creates the page on its first visit; the keyboard focus stays where it is.
  void SelectPage(int index) const;
  // The control with id on page index (throws when the page or the control is missing).
  Window PageControl(int index, int id) const;
  // Tab texts, read through memory in the target process (TCM_GETITEM takes a pointer).
  std::vector<std::string> GetTabTexts() const;

  void PressOk() const { Control(IDOK).Click(); }
  void PressCancel() const { Control(IDCANCEL).Click(); }
};

}  // namespace UiDriver
