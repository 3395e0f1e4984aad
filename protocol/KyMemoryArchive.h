// The growable byte block with one cursor, and the protocol's value encoding on top of it.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>

#include "kybase/CRefCounted.h"

namespace Net {
class INotif;
}
namespace Notifs {
class CNotif;
}

// One heap block, grown additively by the grow step, with a single cursor for reading and
// writing. Size is the highest position ever written. Reading never fails loudly: a read
// that does not fit the data copies nothing and leaves the cursor where it was.
class KyMemoryBuffer : public CRefCountedT<FreeThreadedModel> {
 public:
  static constexpr uint32_t kDefaultGrowBy = 256;

  KyMemoryBuffer() = default;
  KyMemoryBuffer(const KyMemoryBuffer&) = delete;
  KyMemoryBuffer& operator=(const KyMemoryBuffer&) = delete;
  ~KyMemoryBuffer() override;

  void SetGrowBy(uint32_t growBy) { m_growBy = growBy; }
  uint32_t GetGrowBy() const { return m_growBy; }
  void Rewind() { m_cursor = 0; }
  void SeekToEnd() { m_cursor = m_size; }
  uint32_t GetSize() const { return m_size; }
  uint32_t GetCapacity() const { return m_capacity; }
  uint8_t* GetData() { return m_data; }
  const uint8_t* GetData() const { return m_data; }
  // Cursor as a distance from the start, and the data bytes after it.
  uint32_t GetPosition() const { return m_cursor; }
  uint32_t GetRemaining() const { return m_size - m_cursor; }

  // Copies n bytes in at the cursor, growing the block when cursor + n reaches its end.
  // Throws Error::KyExceptionText when the block cannot grow (32-bit limit or no memory);
  // the buffer is then unchanged.
  void Write(const void* bytes, uint32_t n);
  // Copies n bytes out at the cursor; false (nothing copied, cursor unchanged) when fewer
  // than n data bytes remain.
  bool Read(void* destination, uint32_t n);
  // Moves the cursor over n data bytes; false (cursor unchanged) when fewer remain.
  bool Skip(uint32_t n);
  // Releases the block; the grow step stays.
  void Free();
  // Replaces the contents with the whole file; false for a missing, unreadable or empty
  // file (the buffer is then empty).
  bool LoadFromFile(const std::string& path);

 protected:
  // The C run time's realloc; a test may refuse memory here.
  virtual void* ReallocateBlock(void* block, size_t bytes);

 private:
  // Exactly capacity bytes, for LoadFromFile; false (buffer unchanged) when refused.
  bool AllocateExactly(uint32_t capacity);

  uint8_t* m_data = nullptr;
  uint32_t m_capacity = 0;
  uint32_t m_size = 0;
  uint32_t m_cursor = 0;
  uint32_t m_growBy = kDefaultGrowBy;
};

// Typed values: an integer is the count 4 and 4 bytes, a boolean the count 1 and one byte,
// a string the marker 1, a 32-bit length and its bytes. All little-endian.
class KyMemoryArchive : public KyMemoryBuffer {
 public:
  KyMemoryArchive() = default;
  ~KyMemoryArchive() override;

  KyMemoryArchive& WriteInt(int32_t value);
  KyMemoryArchive& WriteBool(bool value);
  // Throws Error::KyExceptionText for a string longer than 2^31 - 1 bytes, which no reader
  // could take back.
  KyMemoryArchive& WriteString(const std::string& value);

  // Reads a count and that many bytes into the destination. A count of zero or less, or one
  // whose bytes are not all there, leaves the destination unchanged; a count larger than the
  // destination skips the declared bytes (when present) and leaves it unchanged too.
  KyMemoryArchive& ReadValue(void* destination, uint32_t width);
  KyMemoryArchive& ReadValue(bool& destination);  // any non-zero byte reads as true
  template <class T, class = std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>>>
  KyMemoryArchive& ReadValue(T& destination) {
    return ReadValue(&destination, static_cast<uint32_t>(sizeof(T)));
  }
  // A marker other than 1 consumes that byte only and leaves the string unchanged; a length
  // of zero or less leaves it unchanged; a length past the end of the data empties it and
  // consumes nothing more. The string is cut at its first NUL.
  KyMemoryArchive& ReadString(std::string& value);

  // Calls readOne up to count times, while data remains and each call consumes some: the
  // count in front of a list is only a promise, and a lying one must not make a reader loop
  // or allocate beyond what the bytes hold.
  template <class TReadOne>
  void ReadElements(int32_t count, TReadOne readOne) {
    for (int32_t i = 0; i < count && GetRemaining() > 0; ++i) {
      const uint32_t before = GetPosition();
      readOne();
      if (GetPosition() == before) break;
    }
  }

  // The class identifier, then the notification's own Write.
  KyMemoryArchive& WriteObject(Net::INotif& notification);
  // The class identifier, then a new object of that class from CreateNotif reads itself;
  // empty when the factory does not know the identifier.
  CRefCountPtr<Notifs::CNotif> ReadObject();
};
