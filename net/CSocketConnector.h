// A TCP connection to a server given by name or dotted IPv4 address, bounded by a time-out.
#pragma once

#include <winsock2.h>

#include <cstdint>

namespace Net {

class CSocketConnector {
 public:
  explicit CSocketConnector(uint32_t timeoutMs) : m_timeoutMs(timeoutMs) {}
  virtual ~CSocketConnector() = default;

  // Connects to address:port (the low 16 bits of port) and returns the connected,
  // non-blocking socket, which the caller owns. Names that begin with a letter are
  // looked up, anything else is read as a dotted address. Raises Error::KyException
  // on every failure and leaves no socket open.
  SOCKET Proceed(const char* address, int port) const;

 private:
  uint32_t m_timeoutMs;
};

}  // namespace Net
