// The client's state in the private Wine prefix and copies of ClientConfig in run folders.
#include "e2e/config/ConfigE2E.h"

#include <shlobj.h>

#include <stdexcept>

#include "kybase/KyClientRegistry.h"

using namespace UiDriver;

namespace ConfigE2E {

const char kChangesTakeEffect[] = "Zmiany zostaną zastosowane przy następnym uruchomieniu programu Microsoft Outlook.   ";
const char kEnterServerName[] = "Podaj nazwę lub adres IP serwera   ";
const char kPortRange[] = "Podaj numer portu w zakresie od 1024 do 49151   ";
const char kTestSucceeded[] = "Test połączenia z serwerem został pomyślnie ukończony.";
const char kEnterInteger[] = "Enter an integer.";
const char kNoticeCaption[] = "Tolvern Orvella";
const char kErrorCaption[] = "Error";
const char kSheetCaptionPl[] = "Opcje";
const char kEnglishLibrary[] = "KyOrvellaStoreConfig_ResEN.dll";

namespace {

void DeleteTree(const std::string& folder) {
  WIN32_FIND_DATAA entry;
  HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = folder + "\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        DeleteTree(path);
      } else {
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(path.c_str());
      }
    } while (::FindNextFileA(find, &entry));
    ::FindClose(find);
  }
  ::RemoveDirectoryA(folder.c_str());
}

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ProgramPath() { return WinePathFromUnix(GetEnv("KY_CLIENTCONFIG_EXE")); }

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

}  // namespace

void ResetClientState() {
  LSTATUS status = ::RegDeleteTreeA(HKEY_CURRENT_USER, ClientRegistry::kKeyPath);
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
    throw DriverError("cannot delete the client registry key (" + std::to_string(status) + ")");
  ::RegDeleteKeyA(HKEY_CURRENT_USER, ClientRegistry::kKeyPath);
  std::string folder = GetDataFolder();
  DeleteTree(folder);
  if (FileExists(folder)) throw DriverError("cannot delete " + folder);
}

std::string GetDataFolder() {
  char appData[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, appData)))
    throw DriverError("no application-data folder");
  return std::string(appData) + "\\Tolvern\\KyOrvellaClient";
}

std::string GetIniPath() { return GetDataFolder() + "\\KyOrvella.ini"; }
bool IniExists() { return FileExists(GetIniPath()); }

std::optional<std::string> ReadIni(const char* key) {
  // The file itself rather than GetPrivateProfileStringA, which trims the blanks around a value.
  HANDLE file = ::CreateFileA(GetIniPath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string content;
  char block[4096];
  DWORD got = 0;
  while (::ReadFile(file, block, sizeof(block), &got, nullptr) && got > 0) content.append(block, got);
  ::CloseHandle(file);

  bool inSection = false;
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t first = line.find_first_not_of(" \t");
    if (first != std::string::npos && line[first] == '[') {
      inSection = _stricmp(line.substr(first).c_str(), "[TCP]") == 0;
      continue;
    }
    size_t equals = line.find('=');
    if (!inSection || equals == std::string::npos) continue;
    std::string name = line.substr(0, equals);
    name.erase(name.find_last_not_of(" \t") + 1);
    name.erase(0, name.find_first_not_of(" \t"));
    if (_stricmp(name.c_str(), key) == 0) return Utf8FromAnsi(line.substr(equals + 1));
  }
  return std::nullopt;
}

void WriteIni(const char* key, const std::string& value) {
  ::CreateDirectoryA((GetDataFolder().substr(0, GetDataFolder().find_last_of('\\'))).c_str(), nullptr);
  ::CreateDirectoryA(GetDataFolder().c_str(), nullptr);
  if (!::WritePrivateProfileStringA("TCP", key, AnsiFromUtf8(value).c_str(), GetIniPath().c_str()))
    throw DriverError("cannot write " + GetIniPath());
}

void WriteOwnServer(const std::string& address, uint32_t port, bool synchronizeReadFlag) {
  WriteIni("ServerPort", std::to_string(port));
  WriteIni("ServerAddress", address);
  WriteIni("UseDemoServer", "0");
  WriteIni("SynchronizeReadFlag", synchronizeReadFlag ? "1" : "0");
}

std::optional<uint32_t> ReadClientDword(const char* value) {
  uint32_t data = 0;
  if (!ClientRegistry::ReadDword(HKEY_CURRENT_USER, value, data)) return std::nullopt;
  return data;
}

void WriteClientDword(const char* value, uint32_t data) {
  if (!ClientRegistry::WriteDword(HKEY_CURRENT_USER, value, data))
    throw DriverError(std::string("cannot write the registry value ") + value);
}

bool ProgramAvailable() { return !GetEnv("KY_CLIENTCONFIG_EXE").empty() && FileExists(ProgramPath()); }

std::string GetBuiltEnglishLibrary() { return FolderOf(ProgramPath()) + "\\" + kEnglishLibrary; }

std::string PrepareRunFolder(Library library) {
  static const char* const kNames[] = {"plain", "english", "broken"};
  std::string folder = WinePathFromUnix(GetEnv("KY_BINARY_DIR")) + "\\e2e-config";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  folder += std::string("\\") + kNames[static_cast<int>(library)];
  ::CreateDirectoryA(folder.c_str(), nullptr);
  std::string program = folder + "\\ClientConfig.exe";
  if (!::CopyFileA(ProgramPath().c_str(), program.c_str(), FALSE))
    throw DriverError("cannot copy ClientConfig.exe to " + folder);
  std::string libraryPath = folder + "\\" + kEnglishLibrary;
  ::DeleteFileA(libraryPath.c_str());
  if (library == Library::English) {
    if (!::CopyFileA(GetBuiltEnglishLibrary().c_str(), libraryPath.c_str(), FALSE))
      throw DriverError("cannot copy " + GetBuiltEnglishLibrary());
  } else if (library == Library::Broken) {
    HANDLE file = ::CreateFileA(libraryPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw DriverError("cannot write " + libraryPath);
    const char text[] = "MZ but not a library at all";
    DWORD written = 0;
    ::WriteFile(file, text, sizeof(text) - 1, &written, nullptr);
    ::CloseHandle(file);
  }
  return program;
}

ChildProcess StartClientConfig(Library library) {
  static std::string programs[3];
  std::string& program = programs[static_cast<int>(library)];
  if (program.empty()) program = PrepareRunFolder(library);
  LaunchOptions options;
  options.program = program;
  return ChildProcess(options);
}

SheetWindow WaitForSheet(const ChildProcess& process) {
  Window sheet = WaitForTopLevel(
      process.GetId(),
      [](const Window& window) {
        if (window.GetWindowClass() != "#32770") return false;
        for (const Window& child : window.GetChildren())
          if (child.GetWindowClass() == "SysTabControl32") return true;
        return false;
      },
      "settings sheet");
  return SheetWindow(sheet);
}

void Sync(const Window& window) {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(window.GetHandle(), WM_NULL, 0, 0, SMTO_NORMAL, kDefaultTimeoutMs, &result);
}

}  // namespace ConfigE2E
