// A fixed block of memory that one recv fills.
#include "net/CReceivingBuffer.h"

#include <cstring>

namespace Net {

void CReceivingBuffer::Clear() { std::memset(m_data.get(), 0, m_size); }

}  // namespace Net
