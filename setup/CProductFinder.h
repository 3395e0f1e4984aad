// Questions to Windows Installer's record of installed products: is a product of a
// given family and upgrade code installed, is a product code installed.
#pragma once

#include <set>
#include <string>

#include "kybase/KyString.h"

// Exact, case-sensitive order of the C run time's multibyte comparison.
struct CMbsLess {
  bool operator()(const std::string& a, const std::string& b) const { return Ky::Compare(a, b) < 0; }
};

using CProductNameSet = std::set<std::string, CMbsLess>;

class CProductFinder {
 public:
  virtual ~CProductFinder() = default;

  // True when an installed product has a name in productNames and the upgrade code
  // upgradeCode (registry form with braces, compared exactly). Products outside the
  // name set are never opened. Installer errors end the search with false.
  bool FindProduct(CProductNameSet productNames, std::string upgradeCode);
};

// True when a product with exactly this product code is installed.
bool IsProductCodeInstalled(const std::string& productCode);
