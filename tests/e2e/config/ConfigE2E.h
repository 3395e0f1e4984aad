// What the ClientConfig scenarios share: the client's state in the private Wine prefix (INI
// file, registry values, log folder), copies of the program in run folders, its texts.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "e2e/driver/UiDriver.h"

namespace ConfigE2E {

// The program's own texts (strings 129-149 of the Polish resources) as UTF-8.
extern const char kChangesTakeEffect[];  // 129
extern const char kEnterServerName[];    // 131
extern const char kPortRange[];          // 132
extern const char kTestSucceeded[];      // 149
extern const char kEnterInteger[];       // the integer exchange's message
extern const char kNoticeCaption[];      // caption of the program's own checks and notices
extern const char kErrorCaption[];       // caption of a shown exception
extern const char kSheetCaptionPl[];     // string 138
extern const char kEnglishLibrary[];

// Control ids of the pages and the port dialog.
enum : int {
  kIdAddress = 1003,
  kIdBrowse = 1005,
  kIdDemoServer = 1013,
  kIdOwnServer = 1014,
  kIdTcpPort = 1020,
  kIdTest = 1030,
  kIdLogFolder = 1004,
  kIdOpenFolder = 1007,
  kIdLogLevel = 1010,
  kIdSendLogs = 1026,
  kIdShowStatusWindow = 1012,
  kIdSynchronizeReadFlag = 1029,
  kIdLocalDataFile = 1002,
  kIdUserName = 1024,
  kIdPortField = 1000,
};

// ---- the client's state in this prefix

// Removes the client registry key of HKEY_CURRENT_USER and the per-user data folder
// (INI file and log folder).
void ResetClientState();

std::string GetDataFolder();  // ...\AppData\Roaming\Tolvern\KyOrvellaClient
std::string GetIniPath();
bool IniExists();
// The text after "key=" in section "TCP" of the file, blanks included; nullopt when missing.
std::optional<std::string> ReadIni(const char* key);
void WriteIni(const char* key, const std::string& value);
// An own server in the INI file.
void WriteOwnServer(const std::string& address, uint32_t port, bool synchronizeReadFlag = false);

// HKEY_CURRENT_USER values of the client key; nullopt when missing.
std::optional<uint32_t> ReadClientDword(const char* value);
void WriteClientDword(const char* value, uint32_t data);

// ---- the program

enum class Library { None, English, Broken };

// A folder of its own holding a copy of ClientConfig.exe and, per library, the English
// resource library, a file of that name that is no DLL, or nothing. Made once per run.
std::string PrepareRunFolder(Library library);
// The English library as built (for reading its texts in this process).
std::string GetBuiltEnglishLibrary();
bool ProgramAvailable();

UiDriver::ChildProcess StartClientConfig(Library library = Library::None);

// The settings sheet: the process's top-level dialog with a tab control.
UiDriver::SheetWindow WaitForSheet(const UiDriver::ChildProcess& process);

// A sent WM_NULL returns once the window's thread has processed what was sent before: a box
// that an earlier click shows exists by then.
void Sync(const UiDriver::Window& window);

}  // namespace ConfigE2E
