// The memory buffer's growth and cursor, and the archive's value encoding.
#include "protocol/KyMemoryArchive.h"

#include <cstdlib>
#include <cstring>
#include <limits>

#include "kybase/KyException.h"
#include "kybase/KyString.h"

namespace {

constexpr int32_t kIntWidth = 4;
constexpr int32_t kBoolWidth = 1;
constexpr uint8_t kStringMarker = 1;

// The wire is little-endian; so are all the targets (x86, x86_64).
static_assert(sizeof(int32_t) == 4 && sizeof(uint32_t) == 4, "32-bit wire integers");

}  // namespace

KyMemoryBuffer::~KyMemoryBuffer() { std::free(m_data); }

void* KyMemoryBuffer::ReallocateBlock(void* block, size_t bytes) { return std::realloc(block, bytes); }

void KyMemoryBuffer::Write(const void* bytes, uint32_t n) {
  // cursor + n can exceed 32 bits only through a caller's error; check in 64 bits.
  const uint64_t end = static_cast<uint64_t>(m_cursor) + n;
  if (m_data == nullptr || end >= m_capacity) {
    const uint64_t capacity = static_cast<uint64_t>(m_capacity) + (m_growBy > n ? m_growBy : n);
    if (capacity > std::numeric_limits<uint32_t>::max()) {
      throw Error::KyExceptionText(
          Ky::Format("Memory buffer cannot grow beyond 4 GiB (%u bytes held, %u more asked).", m_size, n),
          __FILE__, __LINE__);
    }
    void* block = ReallocateBlock(m_data, static_cast<size_t>(capacity));
    if (block == nullptr) {
      throw Error::KyExceptionText(
          Ky::Format("Not enough memory to grow the memory buffer to %u bytes.", static_cast<uint32_t>(capacity)),
          __FILE__, __LINE__);
    }
    m_data = static_cast<uint8_t*>(block);
    m_capacity = static_cast<uint32_t>(capacity);
  }
  if (n > 0) std::memcpy(m_data + m_cursor, bytes, n);
  m_cursor += n;
  if (m_cursor > m_size) m_size = m_cursor;
}

bool KyMemoryBuffer::Read(void* destination, uint32_t n) {
  if (n > GetRemaining()) return false;
  if (n > 0) std::memcpy(destination, m_data + m_cursor, n);
  m_cursor += n;
  return true;
}

bool KyMemoryBuffer::Skip(uint32_t n) {
  if (n > GetRemaining()) return false;
  m_cursor += n;
  return true;
}

void KyMemoryBuffer::Free() {
  std::free(m_data);
  m_data = nullptr;
  m_capacity = 0;
  m_size = 0;
  m_cursor = 0;
}

bool KyMemoryBuffer::AllocateExactly(uint32_t capacity) {
  Free();
  void* block = ReallocateBlock(nullptr, capacity);
  if (block == nullptr) return false;
  m_data = static_cast<uint8_t*>(block);
  m_capacity = capacity;
  m_size = capacity;
  m_cursor = 0;
  return true;
}

KyMemoryArchive::~KyMemoryArchive() = default;

KyMemoryArchive& KyMemoryArchive::WriteInt(int32_t value) {
  Write(&kIntWidth, sizeof kIntWidth);
  Write(&value, sizeof value);
  return *this;
}

KyMemoryArchive& KyMemoryArchive::WriteBool(bool value) {
  const uint8_t byte = value ? 1 : 0;
  Write(&kBoolWidth, sizeof kBoolWidth);
  Write(&byte, sizeof byte);
  return *this;
}

KyMemoryArchive& KyMemoryArchive::WriteString(const std::string& value) {
  if (value.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
    throw Error::KyExceptionText("String too long for the protocol archive.", __FILE__, __LINE__);
  }
  const uint32_t length = static_cast<uint32_t>(value.size());
  Write(&kStringMarker, sizeof kStringMarker);
  Write(&length, sizeof length);
  Write(value.data(), length);
  return *this;
}

KyMemoryArchive& KyMemoryArchive::ReadValue(void* destination, uint32_t width) {
  int32_t count = 0;
  Read(&count, sizeof count);
  if (count <= 0) return *this;
  const uint32_t bytes = static_cast<uint32_t>(count);
  if (bytes > width) {
    // Wider than the destination: step over the value (when it is all there), keep the
    // destination.
    Skip(bytes);
    return *this;
  }
  Read(destination, bytes);
  return *this;
}

KyMemoryArchive& KyMemoryArchive::ReadValue(bool& destination) {
  // Through a byte: a stored 2..255 must not become an invalid bool.
  uint8_t byte = destination ? 1 : 0;
  ReadValue(&byte, sizeof byte);
  destination = byte != 0;
  return *this;
}

KyMemoryArchive& KyMemoryArchive::ReadString(std::string& value) {
  uint8_t marker = 0;
  Read(&marker, sizeof marker);
  if (marker != kStringMarker) return *this;
  int32_t length = 0;
  Read(&length, sizeof length);
  if (length <= 0) return *this;
  const uint32_t bytes = static_cast<uint32_t>(length);
  if (bytes > GetRemaining()) {
    // Runs past the end of the data: allocate nothing for it.
    value.clear();
    return *this;
  }
  const char* start = reinterpret_cast<const char*>(GetData() + GetPosition());
  const void* nul = std::memchr(start, 0, bytes);
  value.assign(start, nul != nullptr ? static_cast<const char*>(nul) - start : bytes);
  Skip(bytes);
  return *this;
}
