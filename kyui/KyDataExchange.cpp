// Data exchange between dialog controls and members.
#include "kyui/KyDataExchange.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "kybase/KyException.h"
#include "kybase/KyString.h"
#include "kyui/KyWinApp.h"

HWND KyDataExchange::PrepareControl(int id) {
  HWND control = GetDlgItem(m_dialog, id);
  if (control == nullptr) throw Error::KyExceptionText(Ky::Format("Dialog control %d not found.", id), __FILE__, __LINE__);
  m_lastControl = control;
  return control;
}

void KyDataExchange::Fail() {
  if (m_lastControl != nullptr) {
    SetFocus(m_lastControl);
    // Selecting the text of a rejected edit field lets the user retype it at once.
    char className[16] = {};
    GetClassNameA(m_lastControl, className, sizeof(className));
    if (lstrcmpiA(className, "Edit") == 0) SendMessageA(m_lastControl, EM_SETSEL, 0, -1);
  }
  throw KyDataExchangeFailure();
}

bool KyParseInt(const std::string& text, int& value) {
  const std::string trimmed = Ky::Trim(text);
  if (trimmed.empty()) return false;
  size_t position = 0;
  if (trimmed[0] == '+' || trimmed[0] == '-') position = 1;
  if (position == trimmed.size()) return false;
  for (size_t i = position; i < trimmed.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(trimmed[i]))) return false;
  }
  errno = 0;
  const long long parsed = std::strtoll(trimmed.c_str(), nullptr, 10);
  if (errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) return false;
  value = static_cast<int>(parsed);
  return true;
}

std::string KyGetWindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, &text[0], length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

void KyDdxText(KyDataExchange& dx, int id, std::string& value) {
  HWND control = dx.PrepareControl(id);
  if (dx.IsSaving()) {
    value = KyGetWindowText(control);
  } else {
    SetWindowTextA(control, value.c_str());
  }
}

void KyDdxText(KyDataExchange& dx, int id, int& value) {
  HWND control = dx.PrepareControl(id);
  if (dx.IsSaving()) {
    int parsed = 0;
    if (!KyParseInt(KyGetWindowText(control), parsed)) {
      KyMessageBox(dx.GetDialog(), "Enter an integer.", MB_OK | MB_ICONEXCLAMATION);
      dx.Fail();
    }
    value = parsed;
  } else {
    SetWindowTextA(control, Ky::Format("%d", value).c_str());
  }
}

namespace {

bool IsRadioButton(HWND window) {
  if ((SendMessageA(window, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0) return true;
  const LONG type = GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

}  // namespace

void KyDdxRadio(KyDataExchange& dx, int id, int& value) {
  HWND control = dx.PrepareControl(id);
  if (dx.IsSaving()) value = -1;
  int index = 0;
  // The group runs from id up to the next control that starts a group of its own.
  do {
    if (IsRadioButton(control)) {
      if (dx.IsSaving()) {
        if (SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
      } else {
        SendMessageA(control, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
      }
      ++index;
    }
    control = GetWindow(control, GW_HWNDNEXT);
  } while (control != nullptr && (GetWindowLongA(control, GWL_STYLE) & WS_GROUP) == 0);
}

void KyDdxCheck(KyDataExchange& dx, int id, int& value) {
  HWND control = dx.PrepareControl(id);
  if (dx.IsSaving()) {
    value = static_cast<int>(SendMessageA(control, BM_GETCHECK, 0, 0));
  } else {
    SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
  }
}

void KyDdxCBIndex(KyDataExchange& dx, int id, int& value) {
  HWND control = dx.PrepareControl(id);
  if (dx.IsSaving()) {
    value = static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0));
  } else {
    // An index without item clears the selection (not every combo box does that by itself).
    const LRESULT count = SendMessageA(control, CB_GETCOUNT, 0, 0);
    const int index = value >= 0 && value < count ? value : -1;
    SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
}

void KyExecuteDlgInit(HWND dialog, HINSTANCE module, UINT templateId) {
  constexpr WORD kComboAddString = 0x0403;  // the framework's 16-bit codes
  constexpr WORD kListAddString = 0x0401;
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(240));
  if (found == nullptr) return;
  HGLOBAL loaded = LoadResource(module, found);
  const auto* data = static_cast<const BYTE*>(loaded != nullptr ? LockResource(loaded) : nullptr);
  if (data == nullptr) return;
  const size_t size = SizeofResource(module, found);
  size_t offset = 0;
  // Entry: WORD control, WORD message, DWORD length, length bytes; a zero control ends the data.
  while (offset + sizeof(WORD) <= size) {
    WORD control = 0;
    memcpy(&control, data + offset, sizeof(control));
    if (control == 0 || offset + 8 > size) break;
    WORD message = 0;
    DWORD length = 0;
    memcpy(&message, data + offset + 2, sizeof(message));
    memcpy(&length, data + offset + 4, sizeof(length));
    offset += 8;
    if (length > size - offset) break;
    const std::string text(reinterpret_cast<const char*>(data + offset), strnlen(reinterpret_cast<const char*>(data + offset), length));
    offset += length;
    UINT command = 0;
    if (message == kComboAddString) command = CB_ADDSTRING;
    if (message == kListAddString) command = LB_ADDSTRING;
    if (command != 0) SendDlgItemMessageA(dialog, control, command, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
}
