// Modal dialogs from the active resources or from a library of their own.
#include "kyui/KyDialog.h"

#include "kyui/KyWinApp.h"

INT_PTR KyDialog::DoModal() {
  HWND owner = m_parent != nullptr ? m_parent : GetActiveWindow();
  if (owner != nullptr) owner = GetAncestor(owner, GA_ROOT);
  m_resources = KyGetResourceHandle();
  return DialogBoxParamA(m_resources, MAKEINTRESOURCEA(m_templateId), owner, DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

BOOL KyDialog::OnInitDialog() {
  KyExecuteDlgInit(m_hwnd, m_resources, m_templateId);
  return KyDialogBase::OnInitDialog();
}

void KyDialog::OnOK() {
  if (UpdateData(true)) EndDialog(IDOK);
}

bool KyDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (KyDialogBase::WindowProc(message, wParam, lParam, result)) return true;
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    if (LOWORD(wParam) == IDOK) {
      OnOK();
      result = 0;
      return true;
    }
    if (LOWORD(wParam) == IDCANCEL) {
      OnCancel();
      result = 0;
      return true;
    }
  }
  return false;
}

INT_PTR CALLBACK KyDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  KyDialogBase* self = message == WM_INITDIALOG
                           ? reinterpret_cast<KyDialog*>(lParam)
                           : reinterpret_cast<KyDialogBase*>(GetWindowLongPtrA(window, DWLP_USER));
  return Dispatch(self, window, message, wParam, lParam);
}

KyLoadedDialog::KyLoadedDialog(const std::vector<std::string>& libraries, UINT templateId, HWND parent)
    : KyDialog(templateId, parent), m_module(new KyResourceModule(libraries)) {}

INT_PTR KyLoadedDialog::DoModal() {
  const HINSTANCE saved = KyGetResourceHandle();
  KySetResourceHandle(m_module->GetHandle());
  INT_PTR result = IDCANCEL;
  try {
    result = KyDialog::DoModal();
  } catch (...) {
    result = IDCANCEL;
  }
  KySetResourceHandle(saved);
  return result;
}
