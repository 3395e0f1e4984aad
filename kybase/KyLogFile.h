// The client's log writer: the locked line writer, the variant whose daily file a manager
// chooses, and CLogFile, the process-wide client log.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "kybase/CAutoMutex.h"
#include "kybase/CRefCounted.h"
#include "kybase/KyException.h"
#include "kybase/KyFsPath.h"
#include "kybase/KyLogFileManager.h"
#include "kybase/KyLogFileStream.h"

#if defined(__GNUC__)
#define KY_LOG_PRINTF(formatIndex, firstArg) __attribute__((format(printf, formatIndex, firstArg)))
#else
#define KY_LOG_PRINTF(formatIndex, firstArg)
#endif

// Threading model of the log writers: the named mutex "KyOrvellaLogFile", which serialises
// lines with the product's other programs while one of them keeps it in existence.
struct MutexThreadedModel {
  using Lock = CAutoMutex;
  using ScopedLock = CAutoMutexLock;
};

namespace Error {

// Public logging operations take the lock, never throw and return nothing: a line that cannot
// be built or written is lost without notice. Lines are
// "<GetTimeStamp><prefix><text without CR and LF>" CR LF.
template <class TThreadModel>
class KyLogFileT {
 public:
  KyLogFileT() = default;
  KyLogFileT(const KyLogFileT&) = delete;
  KyLogFileT& operator=(const KyLogFileT&) = delete;
  virtual ~KyLogFileT() { KyLogFileT::Close(); }

  // Opens GetLogFilePath, emptied when truncate; writes the header when truncate or when the
  // file is empty. Already open: only moves to the end.
  virtual bool Open(bool truncate);
  // Takes no lock.
  virtual void Close();
  virtual std::string GetLogFilePath() = 0;
  virtual std::string GetHeader() = 0;
  virtual std::string GetTimeStamp() { return std::string(); }
  virtual std::string GetInfoPrefix() { return "Info: "; }
  virtual std::string GetErrorPrefix() { return "Error: "; }

  // stringId / formatId: string resources of the executable; a missing one gives an empty text.
  virtual void LogInfo(UINT stringId);
  // text is written unchanged ("%" included).
  virtual void LogInfo(const char* text);
  virtual void LogInfoFormat(UINT formatId, ...);
  virtual void LogInfoFormat(const char* format, ...) KY_LOG_PRINTF(2, 3);
  virtual void LogError(UINT stringId);
  virtual void LogError(const char* text);
  virtual void LogErrorFormat(UINT formatId, ...);
  virtual void LogErrorFormat(const char* format, ...) KY_LOG_PRINTF(2, 3);
  // "<text> <context> <location>" or, without context, "<text> <location>", where location is
  // "module: <module>, line: <line>" or empty when e names no module.
  virtual void LogException(const KyException& e, const char* context = nullptr);

  // The common tail of the operations above: one line, no lock taken.
  virtual void WriteInfo(std::string text);
  virtual void WriteError(std::string text);

 protected:
  // Opens path and writes the header when asked to or when the file is empty; lock held by the caller.
  bool OpenStream(const std::string& path, bool truncate, bool header);
  void WriteLine(const std::string& prefix, std::string text);

  typename TThreadModel::Lock m_lock;
  KyLogStream m_stream;
};

// Lets a KyLogFileManager choose the daily file.
template <class TThreadModel>
class KyLogFileManagedT : public KyLogFileT<TThreadModel> {
 public:
  static constexpr int32_t kMaxFiles = 10;
  static constexpr uint32_t kMaxSize = 0x200000;

  explicit KyLogFileManagedT(const std::string& extension) : m_extension(extension) {}
  ~KyLogFileManagedT() override = default;

  // The path of the file that is, or was last, opened; empty before the first open.
  std::string GetLogFilePath() override { return m_filePath; }

  // Opens the manager's current file for appending; the header goes into an empty file.
  virtual bool OpenCurrent();
  // Moves to a new file when the day has changed or the file has grown past the size limit.
  virtual bool RollOver();
  // Creates the manager when there is none: the folder "Logs" beside the executable.
  virtual void CreateManager();

 protected:
  CRefCountPtr<KyLogFileManager> m_manager;
  std::string m_filePath;
  std::string m_extension;
};

}  // namespace Error

// The client's log: banner with the executable's file version, local time stamps, daily files
// in the per-user "Tolvern\KyOrvellaClient\Logs" folder.
class CLogFile : public Error::KyLogFileManagedT<MutexThreadedModel> {
 public:
  // The process-wide log, constructed (and its file opened) by the first call; lives until exit.
  static CLogFile& Instance();

  // A client log in folder instead of the per-user one (the Instance is always the per-user one).
  explicit CLogFile(const KyFsPath& folder);
  ~CLogFile() override = default;

  std::string GetHeader() override;
  std::string GetTimeStamp() override;
  void CreateManager() override;

  // The registry value "LogLevel" read at construction (0 when it could not be read).
  // Nothing consults it: every line is written whatever its value.
  uint32_t GetLogLevel() const { return m_logLevel; }

  // "Logs" in the per-user application-data subfolder; the relative "Logs" when that is unavailable.
  static KyFsPath GetDefaultFolder();

 private:
  CLogFile();
  void Construct();

  bool m_hasFolder;
  KyFsPath m_folder;
  uint32_t m_logLevel = 0;
};
