// ClientSetup's application: the setup flow and the writing of the carried package.
#include "setup/CKyOrvellaStoreSetupBootENApp.h"

#include <shellapi.h>

#include <cstring>

#include "kybase/KyException.h"
#include "kybase/KyFile.h"
#include "kybase/KyFsPath.h"
#include "kybase/KyString.h"
#include "ky_build_settings.h"
#include "setup/CProcessesEnum.h"
#include "setup/CProductFinder.h"

namespace {

constexpr char kAppTitle[] = "Tolvern Orvella Client Setup";
constexpr char kOutlookImageName[] = "outlook.exe";
constexpr char kFamilyNameShort[] = "KyOrvellaClient";
constexpr char kFamilyNameFull[] = "Tolvern Orvella Client";
constexpr char kOtherEditionUpgradeCode[] = KY_UPGRADE_CODE_PL;
constexpr char kCarriedProductCode[] = KY_PRODUCT_CODE_EN;
constexpr WORD kPackageResourceId = 129;
constexpr char kPackageResourceType[] = "MSI";
constexpr char kPackageFileName[] = "OrvellaStoreSetupEN.msi";
constexpr char kInstaller[] = "msiexec.exe";
// The package path is quoted: temporary folders often have blanks (user names).
constexpr char kUpdateParameters[] = "/i \"%s\" REINSTALL=ALL REINSTALLMODE=vomus";
constexpr char kVerb[] = "open";

constexpr char kOutlookRunningText[] =
    "The Installer detected that Microsoft Outlook is running. Please exit Microsoft Outlook, disconnect all "
    "mobile PDA devices from the computer and retry.\nThe Installer may attempt to close Microsoft Outlook "
    "automatically.\n\nDo you want the Installer to close Microsoft Outlook?";
constexpr char kOtherEditionText[] =
    "You have already installed polish version of this product. Please use polish version of the setup "
    "program to update this product.";

constexpr DWORD kTempPathChars = 1024;

}  // namespace

BOOL CKyOrvellaStoreSetupBootENApp::InitInstance() {
  m_title = kAppTitle;

  if (!CloseOutlook()) return FALSE;

  CProductFinder finder;
  if (finder.FindProduct({kFamilyNameShort, kFamilyNameFull}, kOtherEditionUpgradeCode)) {
    ShowMessage(kOtherEditionText, MB_OK);
    return FALSE;
  }

  const bool update = IsProductCodeInstalled(kCarriedProductCode);

  char tempFolder[kTempPathChars] = {};
  GetTempPathA(kTempPathChars - 1, tempFolder);
  const KyFsPath packagePath = KyFsPath(tempFolder).Join(kPackageFileName);

  // A package this run did not write whole is never handed to the installer.
  if (!WriteResourceToFile(packagePath, kPackageResourceId, kPackageResourceType)) return FALSE;

  if (update) {
    const std::string parameters = Ky::Format(kUpdateParameters, packagePath.c_str());
    ShellExecuteA(nullptr, kVerb, kInstaller, parameters.c_str(), "", SW_SHOW);
  } else {
    ShellExecuteA(nullptr, kVerb, packagePath.c_str(), "", "", SW_SHOW);
  }
  return FALSE;
}

bool CKyOrvellaStoreSetupBootENApp::CloseOutlook() {
  // Best effort: a failed snapshot (or anything else) lets the setup go on.
  try {
    CProcessesEnum processes;
    processes.Refresh();
    PROCESSENTRY32 outlook;
    std::memset(&outlook, 0, sizeof(outlook));
    if (!processes.FindProcess(kOutlookImageName, &outlook)) return true;
    if (ShowMessage(kOutlookRunningText, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return false;
    CloseProcessAndWait(outlook);
  } catch (...) {
  }
  return true;
}

int CKyOrvellaStoreSetupBootENApp::ShowMessage(const char* text, UINT type) const {
  // An OK box that names no icon gets the exclamation mark.
  if ((type & MB_ICONMASK) == 0 && (type & MB_TYPEMASK) == MB_OK) type |= MB_ICONEXCLAMATION;
  return MessageBoxA(nullptr, text, m_title.c_str(), type);
}

bool WriteResourceToFile(const std::string& path, WORD resourceId, const std::string& resourceType) {
  DeleteFileA(path.c_str());

  const HMODULE module = GetModuleHandleA(nullptr);
  const HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(resourceId), resourceType.c_str());
  if (resource == nullptr) return false;
  const HGLOBAL loaded = LoadResource(module, resource);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  const DWORD size = SizeofResource(module, resource);
  if (bytes == nullptr) return false;

  KyFileWrite file(path.c_str(), FILE_SHARE_READ);
  return file.Write(bytes, size);
}
