// Owner of one socket for the rest of an exchange: closes it when the scope ends.
#pragma once

#include <winsock2.h>

namespace Net {

class CSocketScope {
 public:
  explicit CSocketScope(SOCKET socket = 0) : m_socket(socket) {}
  CSocketScope(const CSocketScope&) = delete;
  CSocketScope& operator=(const CSocketScope&) = delete;
  virtual ~CSocketScope() { Close(); }

  // Replaces the held socket without closing the old one.
  void Set(SOCKET socket) { m_socket = socket; }
  SOCKET Get() const { return m_socket; }
  // Hands the socket over to the caller; the scope holds none afterwards.
  SOCKET Detach();
  // Closes a held socket at once; 0 and INVALID_SOCKET both mean none.
  void Close();

 private:
  SOCKET m_socket;
};

}  // namespace Net
