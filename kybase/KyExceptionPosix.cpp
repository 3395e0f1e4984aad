// The portable build's stand-ins for the Windows part of the exception family:
// there is no system message table and no message box, so descriptions are empty
// and a shown message goes to the standard error.
#include <cstdio>

#include "kybase/KyException.h"

namespace Error {

std::string GetSystemErrorDescription(int) { return std::string(); }

int KyException::ShowMessage(unsigned int) const {
  std::fprintf(stderr, "Error: %s\n", GetShownText().c_str());
  return 1;  // IDOK
}

}  // namespace Error
