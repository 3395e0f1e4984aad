// Moving values between dialog controls and members in one direction or the other:
// text, integer, radio group index, check state and combo box index.
#pragma once

#include <windows.h>

#include <string>

// Thrown by Fail and caught by UpdateData: the user has been told already.
struct KyDataExchangeFailure {};

class KyDataExchange {
 public:
  KyDataExchange(HWND dialog, bool saveAndValidate) : m_dialog(dialog), m_saveAndValidate(saveAndValidate) {}

  bool IsSaving() const { return m_saveAndValidate; }
  HWND GetDialog() const { return m_dialog; }

  // The control with id; throws Error::KyExceptionText when the dialog has none.
  HWND PrepareControl(int id);
  // Gives the focus to the last prepared control and abandons the exchange.
  [[noreturn]] void Fail();

 private:
  HWND m_dialog;
  bool m_saveAndValidate;
  HWND m_lastControl = nullptr;
};

// "%d"-style integer as the dialog framework reads it: optional blanks, an optional sign,
// decimal digits, optional blanks; nothing else, and within the range of int.
bool KyParseInt(const std::string& text, int& value);

std::string KyGetWindowText(HWND window);

void KyDdxText(KyDataExchange& dx, int id, std::string& value);
// Shows "Enter an integer." and fails when the text is not an integer.
void KyDdxText(KyDataExchange& dx, int id, int& value);
// The index of the checked button in the radio group starting at id; -1 when none is.
void KyDdxRadio(KyDataExchange& dx, int id, int& value);
// BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
void KyDdxCheck(KyDataExchange& dx, int id, int& value);
// The selected item's index; -1 when nothing is selected.
void KyDdxCBIndex(KyDataExchange& dx, int id, int& value);

// Applies a dialog's initialisation data (resource type 240 with the template's id): each
// entry adds a string to a combo box or list box. Missing data is no error.
void KyExecuteDlgInit(HWND dialog, HINSTANCE module, UINT templateId);

// Subclasses the control the first time (any control object with SubclassDlgItem).
template <class TControl>
void KyDdxControl(KyDataExchange& dx, int id, TControl& control) {
  if (control.GetSafeHwnd() == nullptr) {
    dx.PrepareControl(id);
    control.SubclassDlgItem(id, dx.GetDialog());
  }
}
