// The property sheet base and the property page base.
#include "kyui/KyPropSheet.h"

#include <cxxabi.h>

#include <cstdlib>

#include "kybase/KyException.h"
#include "kyui/KyPropPage.h"
#include "kyui/KyResourceModule.h"
#include "kyui/KyWinApp.h"

std::string KyTypeName(const std::type_info& type) {
  int status = 0;
  char* demangled = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
  std::string name = status == 0 && demangled != nullptr ? demangled : type.name();
  std::free(demangled);
  return "class " + name;
}

namespace {

// The sheet whose window PropertySheetA is creating on this thread.
thread_local KyPropSheet* t_creatingSheet = nullptr;

}  // namespace

KyPropSheet::KyPropSheet(UINT captionId, HWND parent, UINT startPage)
    : KyPropSheet(KyLoadString(captionId), parent, startPage) {}

KyPropSheet::KyPropSheet(const std::string& caption, HWND parent, UINT startPage)
    : m_caption(caption), m_parent(parent), m_startPage(startPage) {}

// The pages go before anything else of the sheet: unique_ptr deletes them through their
// virtual destructors.
KyPropSheet::~KyPropSheet() { m_pages.clear(); }

void KyPropSheet::AddPage(KyPropPage* page) { m_pages.emplace_back(page); }

KyPropPage* KyPropSheet::GetPage(int index) const {
  if (index < 0 || index >= GetPageCount()) return nullptr;
  return m_pages[static_cast<size_t>(index)].get();
}

int KyPropSheet::GetPageIndex(const KyPropPage* page) const {
  for (size_t i = 0; i < m_pages.size(); ++i) {
    if (m_pages[i].get() == page) return static_cast<int>(i);
  }
  return -1;
}

int CALLBACK KyPropSheet::SheetCallback(HWND window, UINT message, LPARAM lParam) {
  if (message == PSCB_INITIALIZED && t_creatingSheet != nullptr) t_creatingSheet->AttachWindow(window);
  return 0;
}

INT_PTR KyPropSheet::DoModal() {
  const HINSTANCE resources = KyGetResourceHandle();
  // Page handles rather than an array of descriptions: the system steps through such an
  // array by each entry's dwSize, which is the shorter version-2 size here.
  std::vector<HPROPSHEETPAGE> pages;
  pages.reserve(m_pages.size());
  for (const auto& page : m_pages) {
    HPROPSHEETPAGE handle = CreatePropertySheetPageA(&page->GetPageDescription(resources));
    if (handle == nullptr) {
      for (HPROPSHEETPAGE created : pages) DestroyPropertySheetPage(created);
      return -1;
    }
    pages.push_back(handle);
  }

  PROPSHEETHEADERA header = {};
  header.dwSize = sizeof(header);
  header.dwFlags = (m_flags & ~(PSH_MODELESS | PSH_PROPSHEETPAGE)) | PSH_USECALLBACK;
  header.hwndParent = m_parent;
  header.hInstance = resources;
  header.pszCaption = m_caption.c_str();
  header.nPages = static_cast<UINT>(pages.size());
  header.nStartPage = m_startPage < pages.size() ? m_startPage : 0;
  header.phpage = pages.data();
  header.pfnCallback = SheetCallback;

  KyPropSheet* const outer = t_creatingSheet;
  t_creatingSheet = this;
  const INT_PTR result = PropertySheetA(&header);
  t_creatingSheet = outer;
  m_hwnd = nullptr;
  if (result < 0) return -1;
  return result > 0 ? IDOK : IDCANCEL;
}

// ---------------------------------------------------------------------------------------

KyPropPage::KyPropPage(KyPropSheet* sheet, UINT templateId, const std::string& title, const std::string& subtitle,
                       UINT captionId, bool useHeader)
    : m_sheet(sheet), m_templateId(templateId), m_captionId(captionId) {
  SetHeader(title, subtitle, useHeader);
}

KyPropPage::KyPropPage(KyPropSheet* sheet, UINT templateId, UINT titleId, UINT subtitleId, UINT captionId,
                       bool useHeader)
    : m_sheet(sheet), m_templateId(templateId), m_captionId(captionId) {
  SetHeader(KyLoadString(titleId), KyLoadString(subtitleId), useHeader);
}

KyPropPage::KyPropPage(KyPropSheet* sheet, const std::vector<std::string>& libraries, UINT templateId, UINT titleId,
                       UINT subtitleId, UINT captionId, bool useHeader)
    : m_sheet(sheet), m_templateId(templateId), m_captionId(captionId) {
  CRefCountPtr<KyResourceModule> module(new KyResourceModule(libraries));
  SetHeader(module->LoadString(titleId), module->LoadString(subtitleId), useHeader);
}

void KyPropPage::SetHeader(const std::string& title, const std::string& subtitle, bool useHeader) {
  m_headerTitle = title;
  m_headerSubtitle = subtitle;
  m_page.dwFlags &= ~PSP_HASHELP;
  if (useHeader) m_page.dwFlags |= PSP_USEHEADERTITLE | PSP_USEHEADERSUBTITLE;
}

const PROPSHEETPAGEA& KyPropPage::GetPageDescription(HINSTANCE resources) {
  // The structure with the header title and subtitle fields (the version-2 size).
  m_page.dwSize = PROPSHEETPAGEA_V2_SIZE;
  m_page.hInstance = resources;
  m_page.pszTemplate = MAKEINTRESOURCEA(m_templateId);
  m_page.pfnDlgProc = PageProc;
  m_page.lParam = reinterpret_cast<LPARAM>(this);
  if (m_captionId != 0) {
    m_caption = KyLoadString(m_captionId);
    m_page.pszTitle = m_caption.c_str();
    m_page.dwFlags |= PSP_USETITLE;
  }
  if ((m_page.dwFlags & PSP_USEHEADERTITLE) != 0) {
    m_page.pszHeaderTitle = m_headerTitle.c_str();
    m_page.pszHeaderSubTitle = m_headerSubtitle.c_str();
  }
  return m_page;
}

INT_PTR CALLBACK KyPropPage::PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  KyDialogBase* self = nullptr;
  if (message == WM_INITDIALOG) {
    const auto* description = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
    auto* page = reinterpret_cast<KyPropPage*>(description->lParam);
    if (page->m_sheet != nullptr) page->m_sheet->AttachWindow(GetParent(window));
    self = page;
  } else {
    self = reinterpret_cast<KyDialogBase*>(GetWindowLongPtrA(window, DWLP_USER));
  }
  return Dispatch(self, window, message, wParam, lParam);
}

BOOL KyPropPage::OnInitDialog() {
  KyExecuteDlgInit(m_hwnd, m_page.hInstance, m_templateId);
  return KyDialogBase::OnInitDialog();
}

BOOL KyPropPage::OnApply() {
  if (m_sheet != nullptr) return m_sheet->OnApply();
  OnOK();
  return TRUE;
}

void KyPropPage::OnOK() {
  if (m_sheet != nullptr) m_sheet->OnOK();
}

BOOL KyPropPage::OnSetActive() {
  HWND sheetWindow = GetParent(m_hwnd);
  if (m_sheet != nullptr && m_sheet->IsWizard() && sheetWindow != nullptr) {
    const int index = m_sheet->GetPageIndex(this);
    DWORD buttons = 0;
    if (index > 0) buttons |= PSWIZB_BACK;
    buttons |= index + 1 < m_sheet->GetPageCount() ? PSWIZB_NEXT : PSWIZB_FINISH;
    PostMessageA(sheetWindow, PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(buttons));
  }
  return TRUE;
}

LRESULT KyPropPage::CallWizardHook(bool next) {
  UpdateData(true);
  try {
    return next ? m_sheet->OnWizardNext(this) : m_sheet->OnWizardBack(this);
  } catch (const Error::KyException& e) {
    e.ShowMessage(MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
    return -1;
  }
}

LRESULT KyPropPage::OnWizardNext() { return m_sheet != nullptr ? CallWizardHook(true) : 0; }

LRESULT KyPropPage::OnWizardBack() { return m_sheet != nullptr ? CallWizardHook(false) : 0; }

BOOL KyPropPage::OnWizardFinish() {
  if (m_sheet == nullptr) return TRUE;
  return m_sheet->OnWizardFinish();
}

bool KyPropPage::OnNotify(NMHDR* header, LRESULT& result) {
  if (header == nullptr || header->hwndFrom != GetParent(m_hwnd)) return false;
  switch (header->code) {
    case PSN_SETACTIVE:
      result = OnSetActive() ? 0 : -1;
      return true;
    case PSN_KILLACTIVE:
      result = OnKillActive() ? FALSE : TRUE;
      return true;
    case PSN_APPLY:
      result = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
      return true;
    case PSN_RESET:
      OnReset();
      result = 0;
      return true;
    case PSN_WIZNEXT:
      result = OnWizardNext();
      return true;
    case PSN_WIZBACK:
      result = OnWizardBack();
      return true;
    case PSN_WIZFINISH:
      result = OnWizardFinish() ? FALSE : TRUE;
      return true;
    default:
      return false;
  }
}

bool KyPropPage::OnGuardFailure(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message != WM_NOTIFY) return false;
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header == nullptr) return false;
  switch (header->code) {
    case PSN_APPLY:
      result = PSNRET_INVALID_NOCHANGEPAGE;
      return true;
    case PSN_KILLACTIVE:
    case PSN_WIZFINISH:
      result = TRUE;
      return true;
    case PSN_WIZNEXT:
    case PSN_WIZBACK:
      result = -1;
      return true;
    default:
      return false;
  }
}
