// Message dispatch of dialogs and pages, and the exception guard around it.
#include "kyui/KyDialogBase.h"

#include "kybase/KyException.h"
#include "kyui/KyWinApp.h"

namespace {

// Messages whose result a dialog procedure returns itself instead of through DWLP_MSGRESULT.
bool ReturnsDirectly(UINT message) {
  switch (message) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
      return true;
    default:
      return false;
  }
}

}  // namespace

UINT KyGetReflectCommandMessage() {
  static const UINT message = RegisterWindowMessageA("KyReflectCommand");
  return message;
}

KyDialogBase::~KyDialogBase() {
  // A window that outlives its object must not reach it any more.
  if (m_hwnd != nullptr && IsWindow(m_hwnd)) SetWindowLongPtrA(m_hwnd, DWLP_USER, 0);
}

bool KyDialogBase::UpdateData(bool saveAndValidate) {
  KyDataExchange dx(m_hwnd, saveAndValidate);
  try {
    DoDataExchange(dx);
  } catch (const KyDataExchangeFailure&) {
    return false;
  }
  return true;
}

BOOL KyDialogBase::OnInitDialog() {
  UpdateData(false);
  return TRUE;
}

bool KyDialogBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_INITDIALOG:
      result = OnInitDialog();
      return true;
    case WM_COMMAND:
      // A control that handles its own notification (a link's click) gets it first.
      if (lParam != 0 && SendMessageA(reinterpret_cast<HWND>(lParam), KyGetReflectCommandMessage(), HIWORD(wParam),
                                      0) != 0) {
        result = 0;
        return true;
      }
      if (OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam))) {
        result = 0;
        return true;
      }
      return false;
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<NMHDR*>(lParam), result);
    case WM_PAINT:
      if (OnPaint()) {
        result = 0;
        return true;
      }
      return false;
    case WM_DESTROY:
      OnDestroy();
      return false;
    default:
      return false;
  }
}

INT_PTR KyDialogBase::Dispatch(KyDialogBase* self, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (self == nullptr) return FALSE;
  if (message == WM_INITDIALOG) {
    self->m_hwnd = window;
    SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
  }

  LRESULT result = 0;
  bool handled = false;
  try {
    handled = self->WindowProc(message, wParam, lParam, result);
  } catch (const Error::KyException& e) {
    e.ShowMessage(MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
    result = 0;
    handled = self->OnGuardFailure(message, wParam, lParam, result);
  } catch (...) {
    KyMessageBox(window, "Unhandled exception in Ky window.");
    result = 0;
    handled = self->OnGuardFailure(message, wParam, lParam, result);
  }

  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, DWLP_USER, 0);
    self->m_hwnd = nullptr;
  }
  if (!handled) return FALSE;
  if (ReturnsDirectly(message)) return static_cast<INT_PTR>(result);
  SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
  return TRUE;
}
