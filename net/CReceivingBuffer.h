// A fixed block of memory that one recv fills.
#pragma once

#include <cstdint>
#include <memory>

namespace Net {

class CReceivingBuffer {
 public:
  explicit CReceivingBuffer(uint32_t size) : m_size(size), m_data(new char[size]) {}
  CReceivingBuffer(const CReceivingBuffer&) = delete;
  CReceivingBuffer& operator=(const CReceivingBuffer&) = delete;
  virtual ~CReceivingBuffer() = default;

  // Fills the block with zero bytes.
  void Clear();
  char* GetData() const { return m_data.get(); }
  uint32_t GetSize() const { return m_size; }

 private:
  uint32_t m_size;
  std::unique_ptr<char[]> m_data;
};

}  // namespace Net
