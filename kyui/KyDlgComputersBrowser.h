// The network computers browser: lists the Windows computers of the local network and
// returns the one the user picks (or types).
#pragma once

#include <windows.h>

#include <set>
#include <string>

#include "kybase/CRefCounted.h"
#include "kyui/KyDialog.h"
#include "kyui/KyGdi.h"
#include "kyui/KyResourceModule.h"

// Case-sensitive, multibyte-aware order of computer names (_mbscmp).
struct KyComputerNameLess {
  bool operator()(const std::string& a, const std::string& b) const;
};
using KyComputerNames = std::set<std::string, KyComputerNameLess>;

class KyDlgComputersBrowser : public KyLoadedDialog {
 public:
  // Both throw Error::KyExceptionText when neither KyRes.dll nor KyResEN.dll loads.
  explicit KyDlgComputersBrowser(HWND parent);
  // Shows names instead of enumerating when the set is not empty.
  KyDlgComputersBrowser(const KyComputerNames& names, HWND parent);

  // IDOK, IDCANCEL, -1 when the template cannot be created, or IDABORT when the network's
  // computers could not be listed on opening (GetError tells why).
  using KyLoadedDialog::DoModal;

  // The chosen name after IDOK.
  const std::string& GetSelectedName() const { return m_selectedName; }
  // The network call's result of the last enumeration (0 = success).
  int GetError() const { return m_error; }
  const KyComputerNames& GetNames() const { return m_names; }

  // Enumerates again (also the Refresh button); a failure leaves the list empty.
  void Refresh();

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(KyDataExchange& dx) override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(NMHDR* header, LRESULT& result) override;
  void OnOK() override;
  void OnDestroy() override;

 private:
  void Init();
  std::string GetItemText(int index) const;
  int GetSelectedIndex() const;
  void SelectFirstItem();
  void InsertName(const std::string& name);

  HWND m_list = nullptr;
  KyImageList m_images;
  CRefCountPtr<KyResourceModule> m_resources;
  std::string m_selectedName;
  int m_error = 0;
  KyComputerNames m_names;
  HICON m_icon = nullptr;  // shared icon of the active resources, never destroyed
};
