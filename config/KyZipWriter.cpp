// The zip archive writer: local headers, deflated data, central directory.
#include "config/KyZipWriter.h"

#include <windows.h>

#include <algorithm>

namespace {

constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint16_t kVersion = 20;  // 2.0: deflate, MS-DOS attributes
constexpr uint16_t kDeflated = 8;
constexpr uint32_t kLocalHeaderSize = 30;
constexpr uint32_t kEndSize = 22;
constexpr uint64_t kMaxOffset = 0xFFFFFFFFu;  // no zip64 records: sizes and offsets stay 32-bit

void Put16(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t Get32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

bool Seek(HANDLE file, uint64_t offset) {
  LARGE_INTEGER position;
  position.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) != FALSE;
}

bool ReadAt(HANDLE file, uint64_t offset, void* buffer, uint32_t size) {
  DWORD done = 0;
  return Seek(file, offset) && ReadFile(file, buffer, size, &done, nullptr) && done == size;
}

}  // namespace

KyZipWriter::~KyZipWriter() { EndDeflate(); }

bool KyZipWriter::Open(const char* path, bool add) {
  if (m_file.IsValid()) return false;
  m_file.Reset(CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, add ? OPEN_EXISTING : CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!m_file.IsValid()) return false;
  if (add && !ReadExisting()) {
    m_file.Reset();
    return false;
  }
  return true;
}

// Finds the end record, keeps the central directory and the global comment, and places
// the new entries where the old central directory began.
bool KyZipWriter::ReadExisting() {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(m_file.Get(), &size) || size.QuadPart < kEndSize || static_cast<uint64_t>(size.QuadPart) > kMaxOffset)
    return false;
  const uint64_t fileSize = static_cast<uint64_t>(size.QuadPart);
  const uint32_t tailSize = static_cast<uint32_t>(std::min<uint64_t>(fileSize, kEndSize + 0xFFFF));
  std::vector<uint8_t> tail(tailSize);
  if (!ReadAt(m_file.Get(), fileSize - tailSize, tail.data(), tailSize)) return false;
  for (uint32_t at = tailSize - kEndSize + 1; at-- > 0;) {
    const uint8_t* end = tail.data() + at;
    if (Get32(end) != kEndSignature || at + kEndSize + Get16(end + 20) != tailSize) continue;
    const uint64_t endOffset = fileSize - tailSize + at;
    const uint32_t directorySize = Get32(end + 12);
    const uint32_t directoryOffset = Get32(end + 16);
    if (Get16(end + 4) != 0 || Get16(end + 6) != 0 || Get16(end + 8) != Get16(end + 10) ||
        static_cast<uint64_t>(directoryOffset) + directorySize > endOffset)
      return false;
    m_existingCount = Get16(end + 10);
    m_existingDirectory.resize(directorySize);
    if (directorySize != 0 && !ReadAt(m_file.Get(), directoryOffset, m_existingDirectory.data(), directorySize))
      return false;
    m_comment.assign(end + kEndSize, end + kEndSize + Get16(end + 20));
    m_offset = directoryOffset;
    return Seek(m_file.Get(), m_offset);
  }
  return false;
}

bool KyZipWriter::WriteBytes(const void* data, uint32_t size) {
  if (m_offset + size > kMaxOffset) return false;
  DWORD done = 0;
  if (!WriteFile(m_file.Get(), data, size, &done, nullptr) || done != size) return false;
  m_offset += size;
  return true;
}

bool KyZipWriter::OpenEntry(const std::string& name, uint32_t dosDate) {
  if (!m_file.IsValid() || m_inEntry || name.size() > 0xFFFF ||
      m_existingCount + m_entries.size() >= 0xFFFF)
    return false;
  CentralRecord record;
  record.name = name;
  record.dosDate = dosDate;
  record.localOffset = static_cast<uint32_t>(m_offset);
  std::vector<uint8_t> header;
  Put32(header, kLocalSignature);
  Put16(header, kVersion);
  Put16(header, 0);
  Put16(header, kDeflated);
  Put32(header, dosDate);  // time, then date
  Put32(header, 0);        // CRC and sizes are filled in when the entry is closed
  Put32(header, 0);
  Put32(header, 0);
  Put16(header, static_cast<uint16_t>(name.size()));
  Put16(header, 0);
  header.insert(header.end(), name.begin(), name.end());
  if (!WriteBytes(header.data(), static_cast<uint32_t>(header.size()))) return false;
  m_stream = z_stream{};
  if (deflateInit2(&m_stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    return false;
  m_deflating = true;
  m_entries.push_back(record);
  m_inEntry = true;
  m_entrySize = 0;
  m_entryCompressed = 0;
  return true;
}

bool KyZipWriter::Deflate(int flush) {
  for (;;) {
    m_stream.next_out = m_out;
    m_stream.avail_out = sizeof(m_out);
    const int result = deflate(&m_stream, flush);
    if (result == Z_STREAM_ERROR) return false;
    const uint32_t produced = static_cast<uint32_t>(sizeof(m_out) - m_stream.avail_out);
    if (produced != 0 && !WriteBytes(m_out, produced)) return false;
    m_entryCompressed += produced;
    if (flush == Z_FINISH ? result == Z_STREAM_END : m_stream.avail_in == 0 && m_stream.avail_out != 0) return true;
    if (result == Z_BUF_ERROR && produced == 0) return false;
  }
}

void KyZipWriter::EndDeflate() {
  if (m_deflating) deflateEnd(&m_stream);
  m_deflating = false;
}

bool KyZipWriter::Write(const void* data, uint32_t size) {
  if (!m_inEntry || m_entrySize + size > kMaxOffset) return false;
  CentralRecord& record = m_entries.back();
  record.crc = crc32(record.crc, static_cast<const Bytef*>(data), size);
  m_entrySize += size;
  m_stream.next_in = static_cast<Bytef*>(const_cast<void*>(data));
  m_stream.avail_in = size;
  return Deflate(Z_NO_FLUSH);
}

bool KyZipWriter::CloseEntry() {
  if (!m_inEntry) return false;
  m_inEntry = false;
  m_stream.next_in = nullptr;
  m_stream.avail_in = 0;
  const bool finished = Deflate(Z_FINISH);
  EndDeflate();
  if (!finished || m_entryCompressed > kMaxOffset) return false;
  CentralRecord& record = m_entries.back();
  record.size = static_cast<uint32_t>(m_entrySize);
  record.compressedSize = static_cast<uint32_t>(m_entryCompressed);
  std::vector<uint8_t> sizes;
  Put32(sizes, record.crc);
  Put32(sizes, record.compressedSize);
  Put32(sizes, record.size);
  DWORD done = 0;
  return Seek(m_file.Get(), record.localOffset + 14) &&
         WriteFile(m_file.Get(), sizes.data(), static_cast<DWORD>(sizes.size()), &done, nullptr) &&
         done == sizes.size() && Seek(m_file.Get(), m_offset);
}

bool KyZipWriter::Close() {
  if (!m_file.IsValid() || m_inEntry) return false;
  std::vector<uint8_t> directory(m_existingDirectory);
  for (const CentralRecord& record : m_entries) {
    Put32(directory, kCentralSignature);
    Put16(directory, kVersion);  // made by: MS-DOS, 2.0
    Put16(directory, kVersion);
    Put16(directory, 0);
    Put16(directory, kDeflated);
    Put32(directory, record.dosDate);
    Put32(directory, record.crc);
    Put32(directory, record.compressedSize);
    Put32(directory, record.size);
    Put16(directory, static_cast<uint16_t>(record.name.size()));
    Put16(directory, 0);  // extra field
    Put16(directory, 0);  // comment
    Put16(directory, 0);  // disk
    Put16(directory, 0);  // internal attributes
    Put32(directory, 0);  // external attributes
    Put32(directory, record.localOffset);
    directory.insert(directory.end(), record.name.begin(), record.name.end());
  }
  if (directory.size() > kMaxOffset) return false;
  const uint64_t directoryOffset = m_offset;
  const uint32_t directorySize = static_cast<uint32_t>(directory.size());
  const uint16_t count = static_cast<uint16_t>(m_existingCount + m_entries.size());
  Put32(directory, kEndSignature);
  Put16(directory, 0);
  Put16(directory, 0);
  Put16(directory, count);
  Put16(directory, count);
  Put32(directory, directorySize);
  Put32(directory, static_cast<uint32_t>(directoryOffset));
  Put16(directory, static_cast<uint16_t>(m_comment.size()));
  directory.insert(directory.end(), m_comment.begin(), m_comment.end());
  const bool written = WriteBytes(directory.data(), static_cast<uint32_t>(directory.size())) &&
                       SetEndOfFile(m_file.Get()) != FALSE;
  m_file.Reset();
  return written;
}
