// Shared pieces of the setup tests.
#include "setup/SetupTestSupport.h"

#include <shlobj.h>
#include <winternl.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "doubles/outlook/OutlookStandIn.h"
#include "kybase/KyHandle.h"
#include "setup/CProcessesEnum.h"
#include "setup/CProductFinder.h"

namespace SetupTest {

namespace {

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA data;
  KyFindHandle find(FindFirstFileA((path + "\\*").c_str(), &data));
  if (find) {
    do {
      const std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(find.Get(), &data));
  }
  RemoveDirectoryA(path.c_str());
}

std::vector<DWORD> FindInstallerProcesses() {
  CProcessesEnum processes;
  processes.Refresh();
  std::vector<DWORD> ids;
  for (const PROCESSENTRY32& entry : processes.GetProcesses()) {
    if (lstrcmpiA(entry.szExeFile, "msiexec.exe") == 0) ids.push_back(entry.th32ProcessID);
  }
  return ids;
}

// The command line of a process, read from its parameters block.
std::string ReadCommandLine(HANDLE process) {
  PROCESS_BASIC_INFORMATION basic = {};
  if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0) return "?";
  PEB peb = {};
  RTL_USER_PROCESS_PARAMETERS parameters = {};
  if (!ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof(peb), nullptr) ||
      !ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof(parameters), nullptr)) {
    return "?";
  }
  std::wstring line(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
  if (!line.empty() &&
      !ReadProcessMemory(process, parameters.CommandLine.Buffer, &line[0], parameters.CommandLine.Length, nullptr)) {
    return "?";
  }
  return UiDriver::Utf8FromWide(line);
}

// Sets environment variables for the scope (children inherit them), then restores them.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const std::vector<std::pair<std::string, std::string>>& values) {
    for (const auto& [name, value] : values) {
      char old[32768];
      const DWORD length = GetEnvironmentVariableA(name.c_str(), old, sizeof(old));
      m_saved.push_back({name, length > 0 && length < sizeof(old) ? std::string(old, length) : std::string(), length > 0});
      SetEnvironmentVariableA(name.c_str(), value.c_str());
    }
  }
  ~ScopedEnvironment() {
    for (const Saved& saved : m_saved) {
      SetEnvironmentVariableA(saved.name.c_str(), saved.existed ? saved.value.c_str() : nullptr);
    }
  }

 private:
  struct Saved {
    std::string name;
    std::string value;
    bool existed;
  };
  std::vector<Saved> m_saved;
};

}  // namespace

std::string PathFromEnv(const char* variable) {
  const std::string value = UiDriver::GetEnv(variable);
  if (value.empty()) throw std::runtime_error(std::string("environment variable ") + variable + " is not set");
  return UiDriver::WinePathFromUnix(value);
}

std::string MakeScratchFolder(const std::string& name) {
  const std::string root = PathFromEnv("KY_BINARY_DIR") + "\\setup-tests";
  CreateDirectoryA(root.c_str(), nullptr);
  const std::string folder = root + "\\" + name;
  RemoveTree(folder);
  if (!CreateDirectoryA(folder.c_str(), nullptr)) throw std::runtime_error("cannot create " + folder);
  return folder;
}

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

DWORD RunMsiexec(const std::string& arguments) {
  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  UiDriver::LaunchOptions options;
  options.program = std::string(system) + "\\msiexec.exe";
  options.arguments = arguments;
  UiDriver::ChildProcess installer(options);
  if (!installer.WaitForExit(kInstallerTimeoutMs)) return ~0u;
  return installer.GetExitCode();
}

bool InstallPackage(const std::string& packagePath) {
  return RunMsiexec("/i \"" + packagePath + "\" /qn") == ERROR_SUCCESS;
}

void UninstallIfInstalled(const std::string& productCode) {
  if (IsProductCodeInstalled(productCode)) RunMsiexec("/x " + productCode + " /qn");
}

size_t CountInstallerProcesses() { return FindInstallerProcesses().size(); }

bool WaitForInstallersToEnd(DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    const std::vector<DWORD> ids = FindInstallerProcesses();
    if (ids.empty()) return true;
    for (const DWORD id : ids) {
      KyKernelHandle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id));
      if (!process) continue;
      const DWORD elapsed = GetTickCount() - start;
      if (elapsed >= timeoutMs || WaitForSingleObject(process.Get(), timeoutMs - elapsed) != WAIT_OBJECT_0) {
        // Every installer in this private prefix was started by these tests.
        TerminateProcess(process.Get(), 1);
        WaitForSingleObject(process.Get(), 5000);
        return false;
      }
    }
  }
}

bool WaitForProductInstalled(const std::string& productCode, DWORD timeoutMs) {
  return UiDriver::WaitUntil([&] { return IsProductCodeInstalled(productCode); }, timeoutMs, 200);
}

std::string GetClientInstallFolder() {
  char programFiles[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, programFiles);
  return std::string(programFiles) + "\\Tolvern\\Orvella Client";
}

WatchedRun RunWatchingLaunches(const std::string& program, const std::string& tempFolder, DWORD timeoutMs) {
  WatchedRun run;
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  std::string commandLine = "\"" + program + "\"";
  {
    ScopedEnvironment environment({{"TMP", tempFolder}, {"TEMP", tempFolder}});
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, DEBUG_PROCESS, nullptr, nullptr,
                        &startup, &info)) {
      throw std::runtime_error("cannot start " + program);
    }
  }
  CloseHandle(info.hThread);
  KyKernelHandle process(info.hProcess);
  // Whatever happens to this test, the programs must not die with it.
  DebugSetProcessKillOnExit(FALSE);

  const DWORD start = GetTickCount();
  while (!run.ended && GetTickCount() - start < timeoutMs) {
    DEBUG_EVENT event = {};
    if (!WaitForDebugEvent(&event, 100)) continue;
    DWORD status = DBG_CONTINUE;
    bool release = false;
    switch (event.dwDebugEventCode) {
      case CREATE_PROCESS_DEBUG_EVENT:
        if (event.dwProcessId != info.dwProcessId) {
          run.launched.push_back(ReadCommandLine(event.u.CreateProcessInfo.hProcess));
          release = true;
        }
        if (event.u.CreateProcessInfo.hFile != nullptr) CloseHandle(event.u.CreateProcessInfo.hFile);
        break;
      case LOAD_DLL_DEBUG_EVENT:
        if (event.u.LoadDll.hFile != nullptr) CloseHandle(event.u.LoadDll.hFile);
        break;
      case EXCEPTION_DEBUG_EVENT:
        // Breakpoints are the loader's; any other exception goes to the program's own handlers.
        if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) status = DBG_EXCEPTION_NOT_HANDLED;
        break;
      case EXIT_PROCESS_DEBUG_EVENT:
        if (event.dwProcessId == info.dwProcessId) {
          run.ended = true;
          run.exitCode = event.u.ExitProcess.dwExitCode;
        }
        break;
      default:
        break;
    }
    ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
    if (release) DebugActiveProcessStop(event.dwProcessId);
  }
  if (!run.ended) {
    TerminateProcess(process.Get(), 1);
    DebugActiveProcessStop(info.dwProcessId);
  }
  return run;
}

bool ClientShortcutExists() {
  for (const int csidl : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS}) {
    char programs[MAX_PATH] = {};
    if (SHGetFolderPathA(nullptr, csidl, nullptr, 0, programs) != S_OK) continue;
    if (FileExists(std::string(programs) + "\\Tolvern Orvella Client\\Tolvern Orvella Client Configuration.lnk")) {
      return true;
    }
  }
  return false;
}

UiDriver::ChildProcess StartOutlookStandIn(const std::string& folder, const std::string& fileName, bool ignoreClose) {
  const std::string path = folder + "\\" + fileName;
  if (!CopyFileA(PathFromEnv("KY_OUTLOOK_STANDIN_EXE").c_str(), path.c_str(), FALSE)) {
    throw std::runtime_error("cannot copy the stand-in Outlook to " + path);
  }
  static int s_counter = 0;
  const std::string eventName = "KyOutlookStandInReady_" + std::to_string(GetCurrentProcessId()) + "_" +
                                std::to_string(++s_counter);
  KyKernelHandle ready(CreateEventA(nullptr, TRUE, FALSE, eventName.c_str()));

  UiDriver::LaunchOptions options;
  options.program = path;
  options.arguments = std::string(KY_OUTLOOK_READY) + " " + eventName;
  if (ignoreClose) options.arguments += " " KY_OUTLOOK_IGNORE_CLOSE;
  UiDriver::ChildProcess standIn(options);
  const HANDLE waits[] = {ready.Get(), standIn.GetHandle()};
  if (WaitForMultipleObjects(2, waits, FALSE, UiDriver::kDefaultTimeoutMs) != WAIT_OBJECT_0) {
    throw std::runtime_error("the stand-in Outlook " + path + " did not get ready");
  }
  return standIn;
}

}  // namespace SetupTest
