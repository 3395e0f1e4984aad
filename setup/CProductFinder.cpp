// Questions to Windows Installer's record of installed products.
#include "setup/CProductFinder.h"

#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <cstring>

namespace {

// A product code needs 39 characters with its terminator; names and upgrade codes get
// a generous buffer, of which 1023 characters are offered.
constexpr size_t kProductCodeChars = 64;
constexpr size_t kValueChars = 1024;
constexpr DWORD kValueOffered = kValueChars - 1;

// Switches Windows Installer's own user interface off for the scope; puts the level
// found back at the end.
class CInternalUiOff {
 public:
  CInternalUiOff() : m_saved(MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr)) {}
  CInternalUiOff(const CInternalUiOff&) = delete;
  CInternalUiOff& operator=(const CInternalUiOff&) = delete;
  ~CInternalUiOff() { MsiSetInternalUI(m_saved, nullptr); }

 private:
  INSTALLUILEVEL m_saved;
};

}  // namespace

bool CProductFinder::FindProduct(CProductNameSet productNames, std::string upgradeCode) {
  CInternalUiOff uiOff;
  bool found = false;
  char productCode[kProductCodeChars] = {};
  char name[kValueChars];
  char productUpgradeCode[kValueChars];
  for (DWORD index = 0; MsiEnumProductsA(index, productCode) == ERROR_SUCCESS; ++index) {
    // The results of the reads are not examined: a value not written reads as empty,
    // which matches no name and no upgrade code.
    std::memset(name, 0, sizeof(name));
    DWORD size = kValueOffered;
    MsiGetProductInfoA(productCode, "ProductName", name, &size);
    if (productNames.find(name) == productNames.end()) continue;

    MSIHANDLE product = 0;
    MsiOpenProductA(productCode, &product);
    std::memset(productUpgradeCode, 0, sizeof(productUpgradeCode));
    size = kValueOffered;
    MsiGetProductPropertyA(product, "UpgradeCode", productUpgradeCode, &size);
    MsiCloseHandle(product);

    if (upgradeCode == productUpgradeCode) {
      found = true;
      break;
    }
  }
  return found;
}

bool IsProductCodeInstalled(const std::string& productCode) {
  char code[kProductCodeChars] = {};
  for (DWORD index = 0; MsiEnumProductsA(index, code) == ERROR_SUCCESS; ++index) {
    if (productCode == code) return true;
  }
  return false;
}
