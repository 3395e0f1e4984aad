// Paths shared by the mail tests: the build tree's output folder seen from Windows.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>

namespace MailTest {

// "/x/y" -> "Z:\x\y" (Wine maps the Unix root to drive Z:).
inline std::string WindowsPath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

inline std::string BackslashPath(std::string path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

// Unix path of the folder the tests write into (checked afterwards by check_archives.py).
inline std::string OutputFolder() {
  const char* binary = std::getenv("KY_BINARY_DIR");
  return std::string(binary != nullptr ? binary : "/tmp") + "/tests/mail/out";
}

// Deletes the files of folder (not recursing) and creates it with its parents.
inline void RecreateFolder(const std::string& folder) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) DeleteFileA((folder + "\\" + data.cFileName).c_str());
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  for (size_t at = folder.find('\\', 3); at != std::string::npos; at = folder.find('\\', at + 1))
    CreateDirectoryA(folder.substr(0, at).c_str(), nullptr);
  CreateDirectoryA(folder.c_str(), nullptr);
}

}  // namespace MailTest
