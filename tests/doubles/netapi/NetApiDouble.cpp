// netapi32.dll stand-in for the network's computer list, which does not exist here.
// Loaded instead of the system library (WINEDLLOVERRIDES="netapi32=n,b") by a test program
// beside which it lies; the test sets its answer through this process's environment:
//   KY_NETAPI_RESULT  the result code NetServerEnum returns (default 0)
//   KY_NETAPI_NAMES   UTF-8 computer names separated by '|', returned in that order
// and reads what was asked back from it:
//   KY_NETAPI_CALLS   number of NetServerEnum calls so far
//   KY_NETAPI_LAST    the last call's arguments
#include <windows.h>
#include <lm.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string GetEnv(const char* name) {
  char buffer[4096];
  const DWORD length = GetEnvironmentVariableA(name, buffer, sizeof(buffer));
  return length > 0 && length < sizeof(buffer) ? std::string(buffer, length) : std::string();
}

std::wstring WideFromUtf8(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring result(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &result[0], size);
  return result;
}

std::vector<std::wstring> GetNames() {
  std::vector<std::wstring> names;
  const std::string list = GetEnv("KY_NETAPI_NAMES");
  if (list.empty()) return names;
  size_t start = 0;
  for (;;) {
    const size_t end = list.find('|', start);
    names.push_back(WideFromUtf8(list.substr(start, end == std::string::npos ? std::string::npos : end - start)));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return names;
}

}  // namespace

extern "C" __declspec(dllexport) NET_API_STATUS WINAPI NetApiBufferFree(LPVOID buffer) {
  if (buffer != nullptr) HeapFree(GetProcessHeap(), 0, buffer);
  return NERR_Success;
}

extern "C" __declspec(dllexport) NET_API_STATUS WINAPI NetServerEnum(LMCSTR serverName, DWORD level, LPBYTE* buffer,
                                                                   DWORD preferredMaximum, LPDWORD read,
                                                                   LPDWORD total, DWORD serverType, LMCSTR domain,
                                                                   LPDWORD resumeHandle) {
  const int calls = std::atoi(GetEnv("KY_NETAPI_CALLS").c_str()) + 1;
  SetEnvironmentVariableA("KY_NETAPI_CALLS", std::to_string(calls).c_str());
  char last[256];
  std::snprintf(last, sizeof(last), "server=%s level=%lu max=0x%lx type=0x%lx domain=%s resume=%s",
                serverName == nullptr ? "null" : "set", static_cast<unsigned long>(level),
                static_cast<unsigned long>(preferredMaximum), static_cast<unsigned long>(serverType),
                domain == nullptr ? "null" : "set", resumeHandle == nullptr ? "null" : "set");
  SetEnvironmentVariableA("KY_NETAPI_LAST", last);

  *buffer = nullptr;
  *read = 0;
  *total = 0;
  const NET_API_STATUS result = static_cast<NET_API_STATUS>(std::strtoul(GetEnv("KY_NETAPI_RESULT").c_str(), nullptr, 10));
  if (result != NERR_Success && result != ERROR_MORE_DATA) return result;

  // One block: the entries, then their names, as the system hands them out.
  const std::vector<std::wstring> names = GetNames();
  size_t size = names.size() * sizeof(SERVER_INFO_100);
  for (const std::wstring& name : names) size += (name.size() + 1) * sizeof(wchar_t);
  BYTE* block = static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size == 0 ? 1 : size));
  if (block == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
  SERVER_INFO_100* entries = reinterpret_cast<SERVER_INFO_100*>(block);
  wchar_t* text = reinterpret_cast<wchar_t*>(block + names.size() * sizeof(SERVER_INFO_100));
  for (size_t i = 0; i < names.size(); ++i) {
    entries[i].sv100_platform_id = PLATFORM_ID_NT;
    entries[i].sv100_name = text;
    text = std::copy(names[i].begin(), names[i].end(), text);
    *text++ = L'\0';
  }
  *buffer = block;
  *read = static_cast<DWORD>(names.size());
  *total = result == ERROR_MORE_DATA ? *read + 1 : *read;
  return result;
}
