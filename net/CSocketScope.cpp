// Owner of one socket for the rest of an exchange.
#include "net/CSocketScope.h"

namespace Net {

SOCKET CSocketScope::Detach() {
  const SOCKET socket = m_socket;
  m_socket = 0;
  return socket;
}

void CSocketScope::Close() {
  if (m_socket != 0 && m_socket != INVALID_SOCKET) closesocket(m_socket);
  m_socket = 0;
}

}  // namespace Net
