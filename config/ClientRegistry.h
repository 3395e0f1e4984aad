// Every registry value ClientConfig touches, each with its hive and its default when absent.
// The key and value names live in kybase/KyClientRegistry.h (the log reads "LogLevel" too).
#pragma once

#include <cstdint>

#include "kybase/KyClientRegistry.h"

namespace ClientRegistry {

constexpr uint32_t kDefaultLogLevel = 0;
constexpr uint32_t kDefaultShowStatusWindow = 1;
constexpr uint32_t kDefaultDemoPortServer = 5002;

// HKEY_CURRENT_USER "LogLevel": 0 when it cannot be read.
uint32_t GetLogLevel();
// Failed writes are reported by false only; callers ignore them.
bool SetLogLevel(uint32_t level);

// HKEY_CURRENT_USER "ShowStatusWindow": 1 when it cannot be read.
uint32_t GetShowStatusWindow();
bool SetShowStatusWindow(uint32_t show);

// HKEY_CURRENT_USER "AskAgainAboutStatusWindow": always written as 1, never as 0, never read.
bool SetAskAgainAboutStatusWindow();

// HKEY_LOCAL_MACHINE "DemoPortServer" (read-only access): 5002 when it cannot be read.
uint32_t GetDemoPortServer();

}  // namespace ClientRegistry
