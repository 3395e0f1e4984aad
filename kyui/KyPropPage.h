// The property page base: forwards the sheet's notifications to the sheet's hooks and
// guards its message handling like every dialog of this layer.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "kyui/KyDialogBase.h"

class KyPropSheet;

class KyPropPage : public KyDialogBase {
 public:
  // captionId 0: the tab shows the template's caption. useHeader: the header title and
  // subtitle of a wizard-style sheet are used.
  KyPropPage(KyPropSheet* sheet, UINT templateId, const std::string& title, const std::string& subtitle,
             UINT captionId, bool useHeader);
  // Title and subtitle from the active string resources.
  KyPropPage(KyPropSheet* sheet, UINT templateId, UINT titleId, UINT subtitleId, UINT captionId, bool useHeader);
  // Title and subtitle from the first loadable library of libraries (throws when none loads).
  KyPropPage(KyPropSheet* sheet, const std::vector<std::string>& libraries, UINT templateId, UINT titleId,
             UINT subtitleId, UINT captionId, bool useHeader);

  // The page description the sheet hands to the system; lParam carries this object.
  const PROPSHEETPAGEA& GetPageDescription(HINSTANCE resources);
  UINT GetTemplateId() const { return m_templateId; }
  KyPropSheet* GetSheet() const { return m_sheet; }
  const std::string& GetHeaderTitle() const { return m_headerTitle; }
  const std::string& GetHeaderSubtitle() const { return m_headerSubtitle; }

 protected:
  // Notification handlers; the defaults forward to the sheet's hooks.
  virtual BOOL OnApply();
  virtual void OnOK();
  virtual void OnReset() {}
  virtual BOOL OnSetActive();
  // Default: controls to members; FALSE (a rejected value) keeps the page.
  virtual BOOL OnKillActive() { return UpdateData(true) ? TRUE : FALSE; }
  virtual LRESULT OnWizardNext();
  virtual LRESULT OnWizardBack();
  virtual BOOL OnWizardFinish();

  // The template's initialisation data, then the base initialisation.
  BOOL OnInitDialog() override;
  bool OnNotify(NMHDR* header, LRESULT& result) override;
  // A failed apply or kill-active keeps the sheet open instead of counting as success.
  bool OnGuardFailure(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  static INT_PTR CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  KyPropSheet* m_sheet;
  std::string m_headerTitle;
  std::string m_headerSubtitle;

 private:
  void SetHeader(const std::string& title, const std::string& subtitle, bool useHeader);
  LRESULT CallWizardHook(bool next);

  UINT m_templateId;
  UINT m_captionId;
  std::string m_caption;
  PROPSHEETPAGEA m_page = {};
};
