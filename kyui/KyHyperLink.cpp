// The hyperlink control.
#include "kyui/KyHyperLink.h"

#include <commctrl.h>
#include <shellapi.h>

#include "kybase/KyHandle.h"
#include "kybase/KyString.h"
#include "kyui/KyWinApp.h"

namespace {

const char kPropertyName[] = "KyHyperLink";

// The default value of a key, bounded to the registry buffer of the fallback; false when
// the key or value is missing or longer.
bool ReadDefaultValue(HKEY root, const std::string& subkey, std::string& value) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return false;
  KyRegKeyHandle key(opened);
  char buffer[KyHyperLink::kCommandBufferSize] = {};
  DWORD size = sizeof(buffer) - 1;  // keep room for a terminating zero the registry may omit
  DWORD type = 0;
  if (RegQueryValueExA(key.Get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
    return false;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  value.assign(buffer);
  return true;
}

}  // namespace

KyHyperLink::KyHyperLink() = default;

KyHyperLink::~KyHyperLink() {
  if (m_hwnd != nullptr) {
    KillTimer(m_hwnd, m_timerId);
    Unsubclass();
  }
}

bool KyHyperLink::SubclassDlgItem(int id, HWND parent) {
  HWND control = GetDlgItem(parent, id);
  return control != nullptr && SubclassWindow(control);
}

bool KyHyperLink::SubclassWindow(HWND window) {
  if (m_hwnd != nullptr || window == nullptr || GetPropA(window, kPropertyName) != nullptr) return false;
  m_hwnd = window;
  PreSubclassWindow();
  SetPropA(window, kPropertyName, this);
  m_originalProc =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
  return true;
}

void KyHyperLink::Unsubclass() {
  if (m_hwnd == nullptr) return;
  if (m_originalProc != nullptr) SetWindowLongPtrA(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_originalProc));
  RemovePropA(m_hwnd, kPropertyName);
  m_originalProc = nullptr;
  m_hwnd = nullptr;
}

void KyHyperLink::PreSubclassWindow() {
  GetClientRect(m_hwnd, &m_textRect);

  // Statics report clicks only with SS_NOTIFY.
  LONG_PTR style = GetWindowLongPtrA(m_hwnd, GWL_STYLE);
  char className[8] = {};
  GetClassNameA(m_hwnd, className, sizeof(className));
  if (lstrcmpiA(className, "static") == 0) style |= SS_NOTIFY;
  SetWindowLongPtrA(m_hwnd, GWL_STYLE, style | SS_NOTIFY);

  m_text = [this] {
    const int length = GetWindowTextLengthA(m_hwnd);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(m_hwnd, &text[0], length + 1)));
    return text;
  }();
  if (m_text.empty()) {
    SetWindowTextA(m_hwnd, m_target.c_str());
    m_text = m_target;
  } else if (m_text.find("://") == std::string::npos) {
    m_target = "http://" + m_text;
  }

  HFONT font = reinterpret_cast<HFONT>(SendMessageA(m_hwnd, WM_GETFONT, 0, 0));
  if (font == nullptr) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  if (font == nullptr) font = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
  LOGFONTA description = {};
  GetObjectA(font, sizeof(description), &description);
  m_normalFont.Reset(CreateFontIndirectA(&description));
  description.lfUnderline = TRUE;
  m_underlinedFont.Reset(CreateFontIndirectA(&description));

  PositionWindow();
  SetDefaultCursor();
  SetUnderline(1);
}

void KyHyperLink::SetURL(const std::string& target, const std::string& tooltip) {
  m_target = target;
  const std::string shown = tooltip.empty() ? target : tooltip;
  if (m_hwnd == nullptr) return;

  TTTOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.hwnd = m_hwnd;
  tool.uId = 1;
  GetClientRect(m_hwnd, &tool.rect);
  if (!m_toolTip) {
    m_toolTip.Reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | m_toolTipStyle,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hwnd, nullptr,
                                    KyGetInstanceHandle(), nullptr));
    if (m_toolTip) {
      tool.lpszText = const_cast<char*>(m_target.c_str());
      SendMessageA(m_toolTip.Get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
  }
  PositionWindow();
  if (m_toolTip) {
    tool.lpszText = const_cast<char*>(shown.c_str());
    SendMessageA(m_toolTip.Get(), TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void KyHyperLink::PositionWindow() {
  if (!m_adjustToFit || m_hwnd == nullptr) return;
  HWND parent = GetParent(m_hwnd);
  RECT window = {};
  RECT client = {};
  GetWindowRect(m_hwnd, &window);
  GetClientRect(m_hwnd, &client);
  if (parent != nullptr) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&window), 2);

  SIZE extent = {};
  {
    HDC dc = GetDC(m_hwnd);
    HGDIOBJ previous = SelectObject(dc, m_underlinedFont.Get());
    GetTextExtentPoint32A(dc, m_text.c_str(), static_cast<int>(m_text.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(m_hwnd, dc);
  }
  extent.cx += (window.right - window.left) - (client.right - client.left);
  extent.cy += (window.bottom - window.top) - (client.bottom - client.top);

  const LONG_PTR style = GetWindowLongPtrA(m_hwnd, GWL_STYLE);
  if ((style & SS_CENTERIMAGE) != 0) {
    const int shrink = ((window.bottom - window.top) - extent.cy) / 2;
    window.top += shrink;
    window.bottom -= shrink;
  } else {
    window.bottom = window.top + extent.cy;
  }
  const LONG_PTR alignment = style & SS_TYPEMASK;
  if (alignment == SS_CENTER) {
    const int shrink = ((window.right - window.left) - extent.cx) / 2;
    window.left += shrink;
    window.right -= shrink;
  } else if (alignment == SS_RIGHT) {
    window.left = window.right - extent.cx;
  } else {
    window.right = window.left + extent.cx;
  }
  SetWindowPos(m_hwnd, nullptr, window.left, window.top, window.right - window.left, window.bottom - window.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void KyHyperLink::SetDefaultCursor() {
  if (m_linkCursor) return;
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  KyModuleHandle help(LoadLibraryA((std::string(windows) + "\\winhlp32.exe").c_str()));
  if (help) {
    HCURSOR cursor = LoadCursorA(help.Get(), MAKEINTRESOURCEA(106));
    if (cursor != nullptr) m_linkCursor.Reset(CopyIcon(cursor));
  }
  // Without the help program's hand, the system's own hand.
  if (!m_linkCursor) {
    HCURSOR hand = LoadCursorA(nullptr, IDC_HAND);
    if (hand != nullptr) m_linkCursor.Reset(CopyIcon(hand));
  }
}

void KyHyperLink::SetUnderline(int mode) {
  if (m_hwnd == nullptr) return;
  HFONT font = mode != 0 ? m_underlinedFont.Get() : m_normalFont.Get();
  SendMessageA(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  InvalidateRect(m_hwnd, nullptr, TRUE);
}

int KyHyperLink::GotoURL(const std::string& target, int showCommand) {
  const int result = static_cast<int>(
      reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, showCommand)));
  if (result > 32) return result;

  std::string htmlClass;
  if (!ReadDefaultValue(HKEY_CLASSES_ROOT, ".htm", htmlClass)) return result;
  std::string command;
  if (!ReadDefaultValue(HKEY_CLASSES_ROOT, htmlClass + "\\shell\\open\\command", command)) return result;
  std::string commandLine;
  // A command line that does not fit is refused: the caller reports the shell's failure.
  if (!BuildOpenCommandLine(command, target, commandLine)) return result;
  return static_cast<int>(WinExec(commandLine.c_str(), static_cast<UINT>(showCommand)));
}

bool KyHyperLink::BuildOpenCommandLine(const std::string& command, const std::string& target,
                                       std::string& commandLine) {
  std::string line = command;
  size_t placeholder = line.find("\"%1\"");
  if (placeholder == std::string::npos) placeholder = line.find("%1");
  if (placeholder != std::string::npos) line.erase(placeholder);
  line += ' ';
  line += target;
  if (line.size() >= kCommandBufferSize) return false;
  commandLine = line;
  return true;
}

std::string KyHyperLink::GetErrorText(int code) {
  const char* text = nullptr;
  switch (code) {
    case 0: text = "The operating system is out\nof memory or resources."; break;
    case SE_ERR_FNF: text = "The specified file was not found."; break;
    case SE_ERR_PNF: text = "The specified path was not found."; break;
    case SE_ERR_ACCESSDENIED: text = "The operating system denied\naccess to the specified file."; break;
    case SE_ERR_OOM: text = "There was not enough memory to complete the operation."; break;
    case ERROR_BAD_FORMAT: text = "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."; break;
    case SE_ERR_SHARE: text = "A sharing violation occurred. "; break;
    case SE_ERR_ASSOCINCOMPLETE: text = "The filename association is\nincomplete or invalid."; break;
    case SE_ERR_DDETIMEOUT: text = "The DDE transaction could not\nbe completed because the request timed out."; break;
    case SE_ERR_DDEFAIL: text = "The DDE transaction failed."; break;
    case SE_ERR_DDEBUSY:
      text = "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.";
      break;
    case SE_ERR_NOASSOC: text = "There is no application associated\nwith the given filename extension."; break;
    case SE_ERR_DLLNOTFOUND: text = "The specified dynamic-link library was not found."; break;
    default: break;
  }
  const std::string description = text != nullptr ? std::string(text) : Ky::Format("Unknown Error (%d) occurred.", code);
  return "Unable to open hyperlink:\n\n" + description;
}

void KyHyperLink::ReportError(int code) const {
  KyMessageBox(m_hwnd != nullptr ? GetAncestor(m_hwnd, GA_ROOT) : nullptr, GetErrorText(code), MB_ICONEXCLAMATION);
}

void KyHyperLink::OnClicked() {
  m_overControl = false;
  const int result = GotoURL(m_target, SW_SHOW);
  if (result > 32) {
    m_visited = true;
    InvalidateRect(m_hwnd, nullptr, TRUE);
  } else {
    m_visited = false;
    MessageBeep(MB_ICONEXCLAMATION);
    ReportError(result);
  }
}

void KyHyperLink::RedrawUnderControl() {
  HWND parent = GetParent(m_hwnd);
  if (parent != nullptr) {
    RECT rect = {};
    GetWindowRect(m_hwnd, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    InvalidateRect(parent, &rect, TRUE);
  }
  InvalidateRect(m_hwnd, nullptr, TRUE);
}

void KyHyperLink::OnMouseMove() {
  if (m_overControl) return;
  m_overControl = true;
  RedrawUnderControl();
  SetTimer(m_hwnd, m_timerId, 100, nullptr);
}

void KyHyperLink::OnTimer(UINT_PTR id) {
  if (id != m_timerId) return;
  const DWORD position = GetMessagePos();
  POINT point = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
  ScreenToClient(m_hwnd, &point);
  RECT client = {};
  GetClientRect(m_hwnd, &client);
  if (!PtInRect(&client, point)) {
    m_overControl = false;
    KillTimer(m_hwnd, m_timerId);
    client.bottom += 10;
    InvalidateRect(m_hwnd, &client, TRUE);
  }
}

void KyHyperLink::OnPaint() {
  PAINTSTRUCT paint = {};
  HDC dc = BeginPaint(m_hwnd, &paint);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetCurrentColour());
  {
    KySelectObject font(dc, m_underlinedFont.Get());
    RECT rect = m_textRect;
    DrawTextA(dc, m_text.c_str(), -1, &rect, DT_WORDBREAK | DT_EXPANDTABS);
  }
  EndPaint(m_hwnd, &paint);
}

LRESULT KyHyperLink::CallOriginal(UINT message, WPARAM wParam, LPARAM lParam) {
  return m_originalProc != nullptr ? CallWindowProcA(m_originalProc, m_hwnd, message, wParam, lParam)
                                   : DefWindowProcA(m_hwnd, message, wParam, lParam);
}

LRESULT KyHyperLink::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_toolTip && message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
    MSG relayed = {m_hwnd, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
    const DWORD position = GetMessagePos();
    relayed.pt = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    SendMessageA(m_toolTip.Get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
  }
  if (message == KyGetReflectCommandMessage()) {
    if (static_cast<int>(wParam) != STN_CLICKED) return 0;
    OnClicked();
    return 1;
  }
  switch (message) {
    case WM_MOUSEMOVE:
      OnMouseMove();
      return CallOriginal(message, wParam, lParam);
    case WM_TIMER:
      if (wParam == m_timerId) {
        OnTimer(wParam);
        return 0;
      }
      break;
    case WM_SETCURSOR:
      if (m_linkCursor) {
        SetCursor(m_linkCursor.Get());
        return TRUE;
      }
      break;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_MOVE: {
      const LRESULT result = CallOriginal(message, wParam, lParam);
      RedrawUnderControl();
      return result;
    }
    case WM_DESTROY:
      KillTimer(m_hwnd, m_timerId);
      break;
    case WM_NCDESTROY: {
      const LRESULT result = CallOriginal(message, wParam, lParam);
      Unsubclass();
      return result;
    }
    default:
      break;
  }
  return CallOriginal(message, wParam, lParam);
}

LRESULT CALLBACK KyHyperLink::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<KyHyperLink*>(GetPropA(window, kPropertyName));
  if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  try {
    return self->WindowProc(message, wParam, lParam);
  } catch (...) {
    // Nothing may cross the system's callback; the click handler reports its own failures.
    return 0;
  }
}
