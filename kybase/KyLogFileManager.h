// The log folder's bookkeeping: which daily file to append to, the name of the next one,
// and pruning the folder to a fixed number of files.
#pragma once

#include <cstdint>
#include <list>
#include <string>

#include "kybase/CRefCounted.h"
#include "kybase/KyFsPath.h"

namespace Error {

struct KyLogFileDesc {
  std::string path;
  // Low 32 bits of the size when scanned; 0 for a file named by the manager or when unknown.
  uint32_t size = 0;
  // The day the file belongs to (midnight local time of the date in its name), or the moment
  // the manager named it; seconds since 1970 UTC.
  int64_t date = 0;
  // The running number within the day.
  int16_t index = 1;
};

// Log files are named "<year>.<month>.<day>_<number>.<extension>"; the list is sorted by name
// (case-insensitive), so its last element counts as the newest file and its first as the oldest.
class KyLogFileManager : public CRefCountedT<SingleThreadedModel>, public std::list<KyLogFileDesc> {
 public:
  // The log folder is "Logs" beside the executable.
  KyLogFileManager(int32_t maxFiles, uint32_t maxSize, const std::string& extension);
  KyLogFileManager(const KyFsPath& folder, int32_t maxFiles, uint32_t maxSize, const std::string& extension);
  ~KyLogFileManager() override = default;

  // The newest file when it is of today and smaller than maxSize, else CreateNewFile.
  KyFsPath GetCurrentFile();
  // Names the next file (not created here), appends it to the list, prunes the folder.
  KyFsPath CreateNewFile();

  uint32_t GetMaxSize() const { return m_maxSize; }
  const KyFsPath& GetFolder() const { return m_folder; }

  // The clock of the day decisions (not of the scan): the current time, seconds since 1970 UTC.
  // Virtual so that a test can stand at any moment, midnight included.
  virtual int64_t Now() const;
  // True when date falls on the local calendar day of Now.
  bool IsToday(int64_t date) const;

 private:
  void Scan();
  void RemoveOldFiles();

  KyFsPath m_folder;
  int32_t m_maxFiles;
  uint32_t m_maxSize;
  std::string m_extension;
};

}  // namespace Error
