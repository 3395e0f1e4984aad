// Shared pieces of the setup tests: build-tree paths, scratch folders, Windows Installer
// runs in this prefix, the stand-in Outlook.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "e2e/driver/UiDriver.h"

namespace SetupTest {

// Generous bounds: a Wine msiexec run takes a few seconds, a cold one more.
constexpr DWORD kInstallerTimeoutMs = 180000;

// A path named by an environment variable (a Unix path) as a Windows path.
std::string PathFromEnv(const char* variable);

// A new, empty folder KY_BINARY_DIR/setup-tests/<name> (emptied when it exists).
std::string MakeScratchFolder(const std::string& name);

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
std::string ReadWholeFile(const std::string& path);  // empty when unreadable
void WriteWholeFile(const std::string& path, const std::string& bytes);

// Runs "msiexec.exe <arguments>" and waits for it; the exit code, or ~0 on a time-out.
DWORD RunMsiexec(const std::string& arguments);
// Installs a package silently; true when msiexec reported success.
bool InstallPackage(const std::string& packagePath);
// Removes the product silently when it is installed.
void UninstallIfInstalled(const std::string& productCode);

// The number of msiexec.exe processes running now.
size_t CountInstallerProcesses();

// Waits until no msiexec.exe process runs (any installer started by a program under test
// has finished). Ends the ones left after the time-out and answers false then.
bool WaitForInstallersToEnd(DWORD timeoutMs = kInstallerTimeoutMs);
bool WaitForProductInstalled(const std::string& productCode, DWORD timeoutMs = kInstallerTimeoutMs);

// "<Program Files>\Tolvern\Orvella Client", where the client package installs.
std::string GetClientInstallFolder();

// True when the client's Start-menu shortcut exists (for all users or for this user).
bool ClientShortcutExists();

// A run of a program whose own launches are watched.
struct WatchedRun {
  bool ended = false;
  DWORD exitCode = STILL_ACTIVE;
  // Command lines (UTF-8) of the processes the program started, in order.
  std::vector<std::string> launched;
};

// Runs program (with TMP and TEMP set to tempFolder) as a debuggee, so that every process
// it starts is held at its creation until its command line has been read; the started
// processes are then let go and run on their own. For programs that show no window.
WatchedRun RunWatchingLaunches(const std::string& program, const std::string& tempFolder,
                               DWORD timeoutMs = UiDriver::kDefaultTimeoutMs);

// Starts the stand-in Outlook copied into folder under fileName (for example
// "OUTLOOK.EXE"), by its full path, and returns once its window exists.
UiDriver::ChildProcess StartOutlookStandIn(const std::string& folder, const std::string& fileName, bool ignoreClose);

}  // namespace SetupTest
