// The zip packer: streams each file through one fixed buffer into a deflated entry.
#include "config/KyZipPacker.h"

#include <windows.h>

#include <cstdio>
#include <memory>

#include "config/KyZipWriter.h"
#include "kybase/KyException.h"
#include "kybase/KyFsPath.h"
#include "kybase/KyHandle.h"
#include "kybase/KyString.h"

namespace {

constexpr size_t kBufferSize = 16384;

[[noreturn]] void Fail(const char* format, const std::string& path) {
  throw Error::KyExceptionText(Ky::Format(format, path.c_str()));
}

struct FileCloser {
  void operator()(FILE* file) const { fclose(file); }
};

// The file's last-write time as local DOS date (high half) and time (low half); 0 when
// the file is not found.
uint32_t GetDosDate(const std::string& path) {
  WIN32_FIND_DATAA data;
  KyFindHandle find(FindFirstFileA(path.c_str(), &data));
  if (!find.IsValid()) return 0;
  FILETIME local;
  WORD date = 0;
  WORD time = 0;
  if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToDosDateTime(&local, &date, &time))
    return 0;
  return (static_cast<uint32_t>(date) << 16) | time;
}

}  // namespace

KyZipPacker::KyZipPacker(std::string archivePath) : m_storeFullPath(true), m_archivePath(std::move(archivePath)) {}

void KyZipPacker::Pack() {
  std::unique_ptr<char[]> buffer(new char[kBufferSize]());
  KyZipWriter zip;
  // Anything at the archive path is extended, not replaced (a file that is no archive fails).
  const bool exists = GetFileAttributesA(m_archivePath.c_str()) != INVALID_FILE_ATTRIBUTES;
  if (!zip.Open(m_archivePath.c_str(), exists))
    Fail("Error opening '%s'", m_archivePath);
  for (const std::string& path : m_files) {
    const uint32_t dosDate = GetDosDate(path);
    const std::string name = m_storeFullPath ? path : std::string(KyFsPath(path).GetFileName());
    if (!zip.OpenEntry(name, dosDate)) Fail("Error opening '%s' in zipfile", path);
    std::unique_ptr<FILE, FileCloser> file(fopen(path.c_str(), "rb"));
    if (!file) Fail("Error opening '%s' for reading", path);
    size_t count = 0;
    do {
      count = fread(buffer.get(), 1, kBufferSize, file.get());
      if (count < kBufferSize && !feof(file.get())) Fail("Error reading '%s'", path);
      if (count > 0 && !zip.Write(buffer.get(), static_cast<uint32_t>(count)))
        Fail("Error writing '%s' to the zipfile", path);
    } while (count > 0);
    file.reset();
    if (!zip.CloseEntry()) Fail("Error closing '%s' in the zipfile", path);
  }
  if (!zip.Close()) Fail("Error closing '%s'", m_archivePath);
}
