// Modal dialogs: KyDialog (template from the active resources) and KyLoadedDialog
// (template from a resource library of its own).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "kybase/CRefCounted.h"
#include "kyui/KyDialogBase.h"
#include "kyui/KyResourceModule.h"

class KyDialog : public KyDialogBase {
 public:
  KyDialog(UINT templateId, HWND parent) : m_templateId(templateId), m_parent(parent) {}

  // IDOK, IDCANCEL (or what EndDialog was given); -1 when the template cannot be created.
  // Without a parent the active window of this thread owns the dialog (and is disabled
  // while it runs), as the framework's dialogs do.
  virtual INT_PTR DoModal();
  void EndDialog(INT_PTR result) { ::EndDialog(m_hwnd, result); }

  UINT GetTemplateId() const { return m_templateId; }

 protected:
  // Default OK: controls to members, then close with IDOK; a rejected value keeps it open.
  // The template's initialisation data, then the base initialisation.
  BOOL OnInitDialog() override;
  virtual void OnOK();
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  bool WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  UINT m_templateId;
  HWND m_parent;
  HINSTANCE m_resources = nullptr;
};

class KyLoadedDialog : public KyDialog {
 public:
  // Throws Error::KyExceptionText when none of libraries loads.
  KyLoadedDialog(const std::vector<std::string>& libraries, UINT templateId, HWND parent);
  KyLoadedDialog(const std::string& library, UINT templateId, HWND parent)
      : KyLoadedDialog(std::vector<std::string>{library}, templateId, parent) {}

  // Runs with the dialog resources switched to the library; anything thrown ends it
  // with IDCANCEL. Strings keep coming from the application's active resources.
  INT_PTR DoModal() override;

 protected:
  KyResourceModule& GetModule() const { return *m_module; }

 private:
  CRefCountPtr<KyResourceModule> m_module;
};
