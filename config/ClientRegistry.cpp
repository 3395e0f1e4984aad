// Every registry value ClientConfig touches, with its hive and default.
#include "config/ClientRegistry.h"

namespace ClientRegistry {

namespace {

uint32_t ReadOr(HKEY hive, const char* value, uint32_t fallback) {
  uint32_t data = fallback;
  return ReadDword(hive, value, data) ? data : fallback;
}

}  // namespace

uint32_t GetLogLevel() { return ReadOr(HKEY_CURRENT_USER, kLogLevel, kDefaultLogLevel); }

bool SetLogLevel(uint32_t level) { return WriteDword(HKEY_CURRENT_USER, kLogLevel, level); }

uint32_t GetShowStatusWindow() { return ReadOr(HKEY_CURRENT_USER, kShowStatusWindow, kDefaultShowStatusWindow); }

bool SetShowStatusWindow(uint32_t show) { return WriteDword(HKEY_CURRENT_USER, kShowStatusWindow, show); }

bool SetAskAgainAboutStatusWindow() { return WriteDword(HKEY_CURRENT_USER, kAskAgainAboutStatusWindow, 1); }

uint32_t GetDemoPortServer() { return ReadOr(HKEY_LOCAL_MACHINE, kDemoPortServer, kDefaultDemoPortServer); }

}  // namespace ClientRegistry
