// The client's log writer.
#include "kybase/KyLogFile.h"

#include <cstdarg>
#include <ctime>
#include <vector>

#include "kybase/CFileVersionInfo.h"
#include "kybase/KyClientRegistry.h"
#include "kybase/KyShell.h"
#include "kybase/KyString.h"

namespace Error {

namespace {

// A string resource of the executable; empty when it does not exist.
std::string LoadResourceText(UINT id) {
  std::vector<char> buffer(4096, '\0');
  const int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer.data(), static_cast<int>(buffer.size()));
  return length > 0 ? std::string(buffer.data(), static_cast<size_t>(length)) : std::string();
}

std::string FormatResource(UINT formatId, va_list args) {
  const std::string format = LoadResourceText(formatId);
  return Ky::FormatV(format.c_str(), args);
}

}  // namespace

template <class T>
bool KyLogFileT<T>::OpenStream(const std::string& path, bool truncate, bool header) {
  if (!m_stream.Open(path.c_str(), truncate)) return false;
  if (m_stream.SeekToEnd() == 0) header = true;
  if (header) m_stream.Append(GetHeader() + "\n");
  return true;
}

template <class T>
bool KyLogFileT<T>::Open(bool truncate) {
  typename T::ScopedLock lock(&m_lock);
  try {
    if (m_stream.IsGood()) {
      m_stream.SeekToEnd();
      return true;
    }
    return OpenStream(GetLogFilePath(), truncate, truncate);
  } catch (...) {
    return false;
  }
}

template <class T>
void KyLogFileT<T>::Close() {
  m_stream.Close();
}

template <class T>
void KyLogFileT<T>::LogInfo(UINT stringId) {
  typename T::ScopedLock lock(&m_lock);
  try {
    WriteInfo(LoadResourceText(stringId));
  } catch (...) {
  }
}

template <class T>
void KyLogFileT<T>::LogInfo(const char* text) {
  typename T::ScopedLock lock(&m_lock);
  try {
    WriteInfo(text != nullptr ? text : "");
  } catch (...) {
  }
}

template <class T>
void KyLogFileT<T>::LogInfoFormat(UINT formatId, ...) {
  typename T::ScopedLock lock(&m_lock);
  va_list args;
  va_start(args, formatId);
  try {
    WriteInfo(FormatResource(formatId, args));
  } catch (...) {
  }
  va_end(args);
}

template <class T>
void KyLogFileT<T>::LogInfoFormat(const char* format, ...) {
  typename T::ScopedLock lock(&m_lock);
  va_list args;
  va_start(args, format);
  try {
    WriteInfo(Ky::FormatV(format != nullptr ? format : "", args));
  } catch (...) {
  }
  va_end(args);
}

template <class T>
void KyLogFileT<T>::LogError(UINT stringId) {
  typename T::ScopedLock lock(&m_lock);
  try {
    WriteError(LoadResourceText(stringId));
  } catch (...) {
  }
}

template <class T>
void KyLogFileT<T>::LogError(const char* text) {
  typename T::ScopedLock lock(&m_lock);
  try {
    WriteError(text != nullptr ? text : "");
  } catch (...) {
  }
}

template <class T>
void KyLogFileT<T>::LogErrorFormat(UINT formatId, ...) {
  typename T::ScopedLock lock(&m_lock);
  va_list args;
  va_start(args, formatId);
  try {
    WriteError(FormatResource(formatId, args));
  } catch (...) {
  }
  va_end(args);
}

template <class T>
void KyLogFileT<T>::LogErrorFormat(const char* format, ...) {
  typename T::ScopedLock lock(&m_lock);
  va_list args;
  va_start(args, format);
  try {
    WriteError(Ky::FormatV(format != nullptr ? format : "", args));
  } catch (...) {
  }
  va_end(args);
}

template <class T>
void KyLogFileT<T>::LogException(const KyException& e, const char* context) {
  typename T::ScopedLock lock(&m_lock);
  try {
    std::string location;
    const std::string module = e.GetModule();
    if (!module.empty()) location = Ky::Format("module: %s, line: %d", module.c_str(), e.GetLine());
    const std::string text = e.GetText();
    // The mutex lets its owner take it again.
    if (context != nullptr) {
      LogErrorFormat("%s %s %s", text.c_str(), context, location.c_str());
    } else {
      LogErrorFormat("%s %s", text.c_str(), location.c_str());
    }
  } catch (...) {
  }
}

template <class T>
void KyLogFileT<T>::WriteInfo(std::string text) {
  WriteLine(GetInfoPrefix(), std::move(text));
}

template <class T>
void KyLogFileT<T>::WriteError(std::string text) {
  WriteLine(GetErrorPrefix(), std::move(text));
}

template <class T>
void KyLogFileT<T>::WriteLine(const std::string& prefix, std::string text) {
  if (!m_stream.IsGood()) return;
  try {
    std::string::size_type kept = 0;
    for (char c : text) {
      if (c != '\r' && c != '\n') text[kept++] = c;
    }
    text.resize(kept);
    // The whole line in one piece: seek, write once, nothing buffered.
    m_stream.Append(GetTimeStamp() + prefix + text + "\n");
  } catch (...) {
  }
}

template <class T>
bool KyLogFileManagedT<T>::OpenCurrent() {
  typename T::ScopedLock lock(&this->m_lock);
  try {
    if (this->m_stream.IsGood()) {
      this->m_stream.SeekToEnd();
      return true;
    }
    CreateManager();
    m_filePath = m_manager->GetCurrentFile();
    return this->OpenStream(m_filePath, false, false);
  } catch (...) {
    return false;
  }
}

template <class T>
bool KyLogFileManagedT<T>::RollOver() {
  typename T::ScopedLock lock(&this->m_lock);
  try {
    if (m_filePath.empty() || !this->m_stream.IsGood()) return false;
    // The manager exists whenever a file was opened; its clock decides the day.
    CreateManager();
    tm today = {};
    __time64_t now = m_manager->Now();
    if (const tm* local = _localtime64(&now)) today = *local;
    const std::string todayPrefix =
        Ky::Format("%d.%02d.%02d_", today.tm_year + 1900, today.tm_mon + 1, today.tm_mday);
    const bool dayChanged = m_filePath.find(todayPrefix) == std::string::npos;

    bool tooLarge = false;
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!dayChanged && GetFileAttributesExA(m_filePath.c_str(), GetFileExInfoStandard, &attributes)) {
      tooLarge = attributes.nFileSizeLow > m_manager->GetMaxSize();
    }
    if (!dayChanged && !tooLarge) return false;

    this->Close();
    m_filePath = m_manager->CreateNewFile();
    // The manager learnt the folder at its start: another program may have begun a file of
    // the same name since. Append to it rather than empty it; a new file gets the header.
    return this->OpenStream(m_filePath, false, false);
  } catch (...) {
    return false;
  }
}

template <class T>
void KyLogFileManagedT<T>::CreateManager() {
  if (m_manager.IsNull()) m_manager = new KyLogFileManager(kMaxFiles, kMaxSize, m_extension);
}

template class KyLogFileT<MutexThreadedModel>;
template class KyLogFileManagedT<MutexThreadedModel>;

}  // namespace Error

CLogFile& CLogFile::Instance() {
  static CLogFile log;
  return log;
}

CLogFile::CLogFile() : KyLogFileManagedT("txt"), m_hasFolder(false) { Construct(); }

CLogFile::CLogFile(const KyFsPath& folder) : KyLogFileManagedT("txt"), m_hasFolder(true), m_folder(folder) {
  Construct();
}

void CLogFile::Construct() {
  OpenCurrent();
  uint32_t level = 0;
  if (ClientRegistry::ReadDword(HKEY_CURRENT_USER, ClientRegistry::kLogLevel, level)) m_logLevel = level;
}

KyFsPath CLogFile::GetDefaultFolder() {
  KyFsPath folder = GetAppDataSubfolder("Tolvern\\KyOrvellaClient");
  folder.Append("Logs");
  return folder;
}

void CLogFile::CreateManager() {
  if (!m_manager.IsNull()) return;
  m_manager = new Error::KyLogFileManager(m_hasFolder ? m_folder : GetDefaultFolder(), kMaxFiles, kMaxSize, "txt");
}

std::string CLogFile::GetHeader() {
  std::string version;
  CFileVersionInfo(nullptr).GetFileVersionString(version, 4);
  static const char kRule[] = "-----------------------------------------------------------------------------";
  return Ky::Format("%s\n%s %s log file\n%s\n", kRule, "Tolvern Orvella", version.c_str(), kRule);
}

std::string CLogFile::GetTimeStamp() {
  const __time64_t now = _time64(nullptr);
  const tm* local = _localtime64(&now);
  if (local == nullptr) return std::string();
  char buffer[128];
  const size_t length = strftime(buffer, sizeof(buffer), "%d.%m.%Y %H:%M:%S ", local);
  return std::string(buffer, length);
}
