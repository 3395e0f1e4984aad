// What dialogs and property pages share: the object behind the window, message dispatch
// inside the exception guard, data exchange and the command tables.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "kyui/KyDataExchange.h"

// Maps one command (control id and notification code) to a handler of T.
template <class T>
struct KyCommandEntry {
  int id;
  int code;  // BN_CLICKED, EN_CHANGE, ...; kAnyCode matches every code
  void (T::*handler)();
  static constexpr int kAnyCode = -1;
};

template <class T, size_t N>
bool KyDispatchCommand(T* self, const KyCommandEntry<T> (&table)[N], int id, int code) {
  for (const KyCommandEntry<T>& entry : table) {
    if (entry.id == id && (entry.code == KyCommandEntry<T>::kAnyCode || entry.code == code)) {
      (self->*entry.handler)();
      return true;
    }
  }
  return false;
}

// The message a dialog sends a control to hand it its own WM_COMMAND notification
// (wParam: the notification code); non-zero when the control handled it.
UINT KyGetReflectCommandMessage();

class KyDialogBase {
 public:
  KyDialogBase() = default;
  KyDialogBase(const KyDialogBase&) = delete;
  KyDialogBase& operator=(const KyDialogBase&) = delete;
  virtual ~KyDialogBase();

  HWND GetSafeHwnd() const { return m_hwnd; }
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hwnd, id); }
  std::string GetDlgItemText(int id) const { return KyGetWindowText(GetDlgItem(id)); }

  // true: controls to members (validating); false: members to controls. False when a
  // value was rejected (the user has been told and the field has the focus).
  bool UpdateData(bool saveAndValidate = true);

 protected:
  virtual void DoDataExchange(KyDataExchange& dx) {}
  // Default: members to controls; TRUE lets the system set the focus.
  virtual BOOL OnInitDialog();
  // A command of a control or menu; true when handled.
  virtual bool OnCommand(int id, int code, HWND control) { return false; }
  virtual bool OnNotify(NMHDR* header, LRESULT& result) { return false; }
  // WM_PAINT; true when painted.
  virtual bool OnPaint() { return false; }
  virtual void OnDestroy() {}
  // Every message; true when handled, result then goes back to the system.
  virtual bool WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // The handler that runs inside the guard: WindowProc with the guard's failure
  // results. Pages override it to keep a sheet open when a notification fails.
  virtual bool OnGuardFailure(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) { return false; }

  // Connects the object to its window (at WM_INITDIALOG) and dispatches one message.
  static INT_PTR Dispatch(KyDialogBase* self, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND m_hwnd = nullptr;
};

// BeginPaint/EndPaint for one WM_PAINT.
class KyPaintDC {
 public:
  explicit KyPaintDC(HWND window) : m_window(window) { m_dc = BeginPaint(window, &m_paint); }
  KyPaintDC(const KyPaintDC&) = delete;
  KyPaintDC& operator=(const KyPaintDC&) = delete;
  ~KyPaintDC() { EndPaint(m_window, &m_paint); }
  HDC Get() const { return m_dc; }

 private:
  HWND m_window;
  PAINTSTRUCT m_paint = {};
  HDC m_dc = nullptr;
};
