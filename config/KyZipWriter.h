// A zip archive writer over zlib's raw deflate and crc32: creates an archive or adds
// entries to an existing one, one deflated entry at a time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <zlib.h>

#include "kybase/KyHandle.h"

class KyZipWriter {
 public:
  KyZipWriter() = default;
  KyZipWriter(const KyZipWriter&) = delete;
  KyZipWriter& operator=(const KyZipWriter&) = delete;
  // An archive not closed by Close is left without its central directory.
  virtual ~KyZipWriter();

  // Creates the archive (replacing any file), or with add true opens an existing archive
  // and keeps its entries. False when the file cannot be opened or is not a zip archive.
  bool Open(const char* path, bool add);

  // Starts a deflated entry (zlib's default level). dosDate: DOS date in the high half,
  // DOS time in the low half. False on failure.
  bool OpenEntry(const std::string& name, uint32_t dosDate);
  bool Write(const void* data, uint32_t size);
  // Finishes the entry and fills in its CRC and sizes.
  bool CloseEntry();
  // Writes the central directory; the archive is valid only after this returned true.
  bool Close();

 private:
  struct CentralRecord {
    std::string name;
    uint32_t dosDate = 0;
    uint32_t crc = 0;
    uint32_t compressedSize = 0;
    uint32_t size = 0;
    uint32_t localOffset = 0;
  };

  bool ReadExisting();
  bool WriteBytes(const void* data, uint32_t size);
  bool Deflate(int flush);
  void EndDeflate();

  KyFileHandle m_file;
  std::vector<uint8_t> m_existingDirectory;  // central records of the entries already there
  uint16_t m_existingCount = 0;
  std::vector<uint8_t> m_comment;  // the existing archive's global comment, kept
  std::vector<CentralRecord> m_entries;
  uint64_t m_offset = 0;  // where the next byte goes
  bool m_inEntry = false;
  bool m_deflating = false;
  z_stream m_stream = {};
  uint64_t m_entrySize = 0;
  uint64_t m_entryCompressed = 0;
  uint8_t m_out[16384] = {};
};
