// The property sheet base: owns its pages and offers them five hooks.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "kybase/KyException.h"
#include "kybase/KyString.h"

class KyPropPage;

// The class name as the platform's type information spells it ("class Name").
std::string KyTypeName(const std::type_info& type);

class KyPropSheet {
 public:
  KyPropSheet(UINT captionId, HWND parent, UINT startPage = 0);
  KyPropSheet(const std::string& caption, HWND parent, UINT startPage = 0);
  KyPropSheet(const KyPropSheet&) = delete;
  KyPropSheet& operator=(const KyPropSheet&) = delete;
  virtual ~KyPropSheet();

  // The first page, in page order, that is a T; throws when there is none.
  template <class T>
  T* FindPage() const {
    for (const auto& page : m_pages) {
      if (T* found = dynamic_cast<T*>(page.get())) return found;
    }
    throw Error::KyExceptionText(Ky::Format("Failed to find page %s", KyTypeName(typeid(T)).c_str()), __FILE__, __LINE__);
  }

  // Takes ownership of a page created with new.
  void AddPage(KyPropPage* page);
  int GetPageCount() const { return static_cast<int>(m_pages.size()); }
  KyPropPage* GetPage(int index) const;
  int GetPageIndex(const KyPropPage* page) const;

  // IDOK when the sheet was confirmed, IDCANCEL when cancelled, -1 when it could not be shown.
  virtual INT_PTR DoModal();

  HWND GetSafeHwnd() const { return m_hwnd; }
  // The flags of PROPSHEETHEADER (PSH_NOAPPLYNOW, PSH_WIZARD, ...); read at DoModal.
  DWORD& GetFlags() { return m_flags; }
  bool IsWizard() const { return (m_flags & (PSH_WIZARD | PSH_WIZARD97)) != 0; }

  // The hooks the pages call.
  virtual BOOL OnWizardFinish() { return TRUE; }
  virtual LRESULT OnWizardNext(KyPropPage* page) { return 0; }
  virtual LRESULT OnWizardBack(KyPropPage* page) { return 0; }
  virtual void OnOK() {}
  virtual BOOL OnApply() { return TRUE; }

  // Set by the pages when the sheet's window is known.
  void AttachWindow(HWND window) { m_hwnd = window; }

 private:
  static int CALLBACK SheetCallback(HWND window, UINT message, LPARAM lParam);

  std::string m_caption;
  HWND m_parent;
  UINT m_startPage;
  DWORD m_flags = 0;
  HWND m_hwnd = nullptr;
  std::vector<std::unique_ptr<KyPropPage>> m_pages;
};
