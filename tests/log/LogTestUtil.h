// Helpers of the log tests: whole files, folder listings, a fixed clock and its manager.
#pragma once

#include <windows.h>

#include <ctime>
#include <set>
#include <string>
#include <vector>

#include "kybase/KyFile.h"
#include "kybase/KyFsPath.h"
#include "kybase/KyHandle.h"
#include "kybase/KyLogFile.h"
#include "kybase/KyLogFileManager.h"

namespace LogTest {

inline std::string ReadAll(const std::string& path) {
  KyFileRead file(path.c_str(), FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
  if (!file.IsOpen()) return std::string();
  std::string content(file.GetSize(), '\0');
  if (!content.empty()) file.Read(&content[0], static_cast<uint32_t>(content.size()));
  return content;
}

// Creates path with size bytes of "x" (or with content).
inline bool MakeFile(const std::string& path, size_t size) {
  KyFileWrite file(path.c_str(), FILE_SHARE_READ);
  const std::string content(size, 'x');
  return file.IsOpen() && (content.empty() || file.Write(content.data(), static_cast<uint32_t>(content.size())));
}

inline bool MakeFile(const std::string& path, const std::string& content) {
  KyFileWrite file(path.c_str(), FILE_SHARE_READ);
  return file.IsOpen() && (content.empty() || file.Write(content.data(), static_cast<uint32_t>(content.size())));
}

// Pads the file at path, which a writer may hold open, to size bytes.
inline bool GrowTo(const std::string& path, int64_t size) {
  KyFileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER end = {};
  end.QuadPart = size;
  return file.IsValid() && SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.Get());
}

// Names of the files (not folders) in folder.
inline std::set<std::string> FileNames(const KyFsPath& folder) {
  std::set<std::string> names;
  KyFileFind find(folder.Join("*").c_str());
  while (find.Next()) {
    if (!find.IsDirectory()) names.insert(find.GetData().cFileName);
  }
  return names;
}

// Splits on CR LF; false when a lone CR or LF occurs or the text does not end in CR LF.
inline bool SplitCrLf(const std::string& text, std::vector<std::string>& lines) {
  lines.clear();
  std::string::size_type start = 0;
  while (start < text.size()) {
    const std::string::size_type end = text.find("\r\n", start);
    if (end == std::string::npos) return false;
    const std::string line = text.substr(start, end - start);
    if (line.find_first_of("\r\n") != std::string::npos) return false;
    lines.push_back(line);
    start = end + 2;
  }
  return true;
}

// Local time of a calendar moment.
inline int64_t LocalMoment(int year, int month, int day, int hour = 12, int minute = 0, int second = 0) {
  tm fields = {};
  fields.tm_year = year - 1900;
  fields.tm_mon = month - 1;
  fields.tm_mday = day;
  fields.tm_hour = hour;
  fields.tm_min = minute;
  fields.tm_sec = second;
  fields.tm_isdst = -1;
  return _mktime64(&fields);
}

// A manager standing at a moment the test chooses (and may move).
class FixedClockManager : public Error::KyLogFileManager {
 public:
  FixedClockManager(const KyFsPath& folder, const int64_t* now)
      : KyLogFileManager(folder, 10, 0x200000, "txt"), m_now(now) {}
  int64_t Now() const override { return *m_now; }

 private:
  const int64_t* m_now;
};

// The managed writer with a fixed header, a fixed time stamp and a fixed clock, opened at construction.
class TestLog : public Error::KyLogFileManagedT<MutexThreadedModel> {
 public:
  TestLog(const KyFsPath& folder, const int64_t* now) : KyLogFileManagedT("txt"), m_folder(folder), m_now(now) {
    OpenCurrent();
  }
  std::string GetHeader() override { return "HEADER\n"; }
  std::string GetTimeStamp() override { return "TS "; }
  void CreateManager() override {
    if (m_manager.IsNull()) m_manager = new FixedClockManager(m_folder, m_now);
  }
  bool IsGood() const { return m_stream.IsGood(); }

 private:
  KyFsPath m_folder;
  const int64_t* m_now;
};

}  // namespace LogTest
