// The log folder's bookkeeping: scan, current file, next name, pruning.
#include "kybase/KyLogFileManager.h"

#include <windows.h>

#include <cstdio>
#include <ctime>

#include "kybase/KyFile.h"
#include "kybase/KyShell.h"
#include "kybase/KyString.h"

namespace Error {

namespace {

// Local calendar fields of t; false when the run time cannot convert it.
bool LocalTime(int64_t t, tm& out) {
  __time64_t value = t;
  const tm* local = _localtime64(&value);
  if (local == nullptr) return false;
  out = *local;
  return true;
}

// Midnight local time of the date in a file name; 0 for a date that cannot be one (such a
// file then falls outside the accepted years and is ignored). Days past the month's end
// are carried into the next month, as mktime does.
int64_t MidnightOf(int year, int month, int day) {
  if (year < 1900 || month < 1 || month > 12 || day < 1 || day > 31) return 0;
  tm fields = {};
  fields.tm_year = year - 1900;
  fields.tm_mon = month - 1;
  fields.tm_mday = day;
  fields.tm_isdst = -1;
  const __time64_t date = _mktime64(&fields);
  return date == -1 ? 0 : date;
}

// Files whose names give a year outside this range are not the log's.
constexpr int kFirstYear = 1971;
constexpr int kLastYear = 2090;

}  // namespace

KyLogFileManager::KyLogFileManager(int32_t maxFiles, uint32_t maxSize, const std::string& extension)
    : KyLogFileManager(GetModulePath(nullptr).GetParent().Join("Logs"), maxFiles, maxSize, extension) {}

KyLogFileManager::KyLogFileManager(const KyFsPath& folder, int32_t maxFiles, uint32_t maxSize,
                                   const std::string& extension)
    : m_folder(folder), m_maxFiles(maxFiles), m_maxSize(maxSize), m_extension(extension) {
  Scan();
}

void KyLogFileManager::Scan() {
  if (!m_folder.CreateFolders()) return;

  // The pattern is "*.txt" whatever the extension of new names.
  KyFileFind find(m_folder.Join("*.txt").c_str());
  while (find.Next()) {
    if (find.IsDots() || find.IsDirectory()) continue;
    const KyFsPath path = find.GetFilePath();
    int year = 0, month = 0, day = 0, number = 0;
    if (std::sscanf(path.GetTitle().c_str(), "%d.%d.%d_%d", &year, &month, &day, &number) != 4) continue;

    KyLogFileDesc desc;
    desc.path = path;
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes)) desc.size = attributes.nFileSizeLow;
    desc.index = static_cast<int16_t>(number);
    desc.date = MidnightOf(year, month, day);

    tm local;
    if (!LocalTime(desc.date, local)) continue;
    const int dateYear = local.tm_year + 1900;
    if (dateYear < kFirstYear || dateYear > kLastYear) continue;
    push_back(desc);
  }
  // std::list::sort is stable: equal paths keep their order.
  sort([](const KyLogFileDesc& a, const KyLogFileDesc& b) { return Ky::CompareNoCase(a.path, b.path) < 0; });
}

int64_t KyLogFileManager::Now() const { return _time64(nullptr); }

bool KyLogFileManager::IsToday(int64_t date) const {
  tm today, other;
  if (!LocalTime(Now(), today) || !LocalTime(date, other)) return false;
  return today.tm_year == other.tm_year && today.tm_mon == other.tm_mon && today.tm_mday == other.tm_mday;
}

KyFsPath KyLogFileManager::GetCurrentFile() {
  if (!empty()) {
    const KyLogFileDesc& newest = back();
    if (newest.size < m_maxSize && IsToday(newest.date)) return newest.path;
  }
  return CreateNewFile();
}

KyFsPath KyLogFileManager::CreateNewFile() {
  const int64_t now = Now();
  int number = 1;
  if (!empty() && IsToday(back().date)) number = back().index + 1;

  tm local = {};
  LocalTime(now, local);
  const std::string name = Ky::Format("%d.%02d.%02d_%03d.%s", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                      number, m_extension.c_str());
  KyLogFileDesc desc;
  desc.path = m_folder.Join(name.c_str());
  desc.size = 0;
  desc.date = now;
  desc.index = static_cast<int16_t>(number);
  push_back(desc);

  RemoveOldFiles();
  return KyFsPath(desc.path);
}

void KyLogFileManager::RemoveOldFiles() {
  // A file that cannot be deleted (open elsewhere) leaves the list all the same; a later
  // scan finds it again.
  while (size() > static_cast<size_t>(static_cast<uint32_t>(m_maxFiles))) {
    DeleteFileA(front().path.c_str());
    pop_front();
  }
}

}  // namespace Error
