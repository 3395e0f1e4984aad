// The client's registry key, the name of every value in it, and REG_DWORD access to them.
// The log (here in kybase) and ClientConfig (config/ClientRegistry.h) both read these names.
#pragma once

#include <windows.h>

#include <cstdint>

namespace ClientRegistry {

constexpr const char kKeyPath[] = "Software\\Tolvern\\KyOrvella\\Client";

// HKEY_CURRENT_USER: the chosen log level (0 standard, 1 detailed); stored and read, filters nothing.
constexpr const char kLogLevel[] = "LogLevel";
// HKEY_CURRENT_USER: 1 when the add-in shows its synchronisation status window.
constexpr const char kShowStatusWindow[] = "ShowStatusWindow";
// HKEY_CURRENT_USER: written as 1 only, never read by ClientConfig.
constexpr const char kAskAgainAboutStatusWindow[] = "AskAgainAboutStatusWindow";
// HKEY_LOCAL_MACHINE: the demonstration server's TCP port; read only.
constexpr const char kDemoPortServer[] = "DemoPortServer";

// Opens the client key of hive for reading (HKEY_LOCAL_MACHINE with KEY_READ, any other hive
// with KEY_READ | KEY_WRITE) and reads value. False, with data untouched, when the key cannot be
// opened or the value is missing or is not a 4-byte REG_DWORD.
bool ReadDword(HKEY hive, const char* value, uint32_t& data);

// Creates or opens the client key of hive (KEY_READ | KEY_WRITE) and sets value as REG_DWORD.
// False when either step fails.
bool WriteDword(HKEY hive, const char* value, uint32_t data);

}  // namespace ClientRegistry
