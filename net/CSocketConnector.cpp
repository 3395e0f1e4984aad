// A TCP connection with a time-out: event selection, WSAConnect and one bounded wait.
#include "net/CSocketConnector.h"

#include <windows.h>

#include <cstring>

#include "kybase/KyException.h"
#include "kybase/KyHandle.h"
#include "kybase/KyString.h"
#include "net/CSocketScope.h"

namespace Net {

namespace {

// Zero when a name cannot be resolved, INADDR_NONE when a text is no dotted address.
u_long ResolveAddress(const char* address) {
  if (IsCharAlphaA(address[0])) {
    const hostent* host = gethostbyname(address);
    u_long result = 0;
    if (host != nullptr && host->h_addrtype == AF_INET && host->h_addr_list != nullptr &&
        host->h_addr_list[0] != nullptr) {
      std::memcpy(&result, host->h_addr_list[0], sizeof(result));
    }
    return result;
  }
  return inet_addr(address);
}

}  // namespace

SOCKET CSocketConnector::Proceed(const char* address, int port) const {
  if (address == nullptr || address[0] == '\0') throw Error::KyExceptionText("CSocketConnector::Proceed invalid address.");

  sockaddr_in target;
  std::memset(&target, 0, sizeof(target));
  target.sin_family = AF_INET;
  target.sin_port = htons(static_cast<u_short>(port));
  target.sin_addr.s_addr = ResolveAddress(address);

  CSocketScope socketScope(socket(AF_INET, SOCK_STREAM, 0));
  if (socketScope.Get() == INVALID_SOCKET) {
    socketScope.Detach();
    throw Error::KyExceptionCommon(WSAGetLastError(), "Failed to initialize TCP socket.", __FILE__, __LINE__);
  }

  KyKernelHandle event(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  if (!event) throw Error::KyExceptionCommon(static_cast<int>(GetLastError()), "SocketConnector failed to create an event.");
  if (WSAEventSelect(socketScope.Get(), event.Get(), FD_CONNECT) == SOCKET_ERROR) {
    throw Error::KyExceptionCommon(WSAGetLastError(), "Failed to prepare TCP socket for connection.", __FILE__, __LINE__);
  }

  // An unresolved name (0.0.0.0) or a text that is no address (255.255.255.255) is no
  // server: Windows refuses both with WSAEADDRNOTAVAIL, while some stacks would take the
  // first for the local host or the second for a broadcast. Refuse them the Windows way
  // without sending anything.
  const u_long destination = target.sin_addr.s_addr;
  if (destination == 0 || destination == INADDR_NONE) {
    throw Error::KyExceptionCommon(WSAEADDRNOTAVAIL,
                                   Ky::Format("Failed to connect TCP socket to address '%s' on port %d.", address, port));
  }

  if (WSAConnect(socketScope.Get(), reinterpret_cast<const sockaddr*>(&target), sizeof(target), nullptr, nullptr,
                 nullptr, nullptr) == 0) {
    return socketScope.Detach();
  }
  const int connectError = WSAGetLastError();
  if (connectError != WSAEWOULDBLOCK) {
    throw Error::KyExceptionCommon(connectError,
                                   Ky::Format("Failed to connect TCP socket to address '%s' on port %d.", address, port));
  }

  switch (WaitForSingleObject(event.Get(), m_timeoutMs)) {
    case WAIT_OBJECT_0:
      break;
    case WAIT_TIMEOUT:
      throw Error::KyExceptionText(Ky::Format(
          "TCP socket failed to connect to '%s' using port %d. (Timeout wait for socket connection.)", address, port));
    case WAIT_ABANDONED:
      throw Error::KyExceptionText(Ky::Format(
          "TCP socket failed to connect to '%s' using port %d. (Abandoned wait for socket connection.)", address, port));
    default:
      throw Error::KyExceptionCommon(static_cast<int>(GetLastError()),
                                     Ky::Format("TCP socket failed to connect to '%s' using port %d.", address, port));
  }

  WSANETWORKEVENTS events;
  std::memset(&events, 0, sizeof(events));
  if (WSAEnumNetworkEvents(socketScope.Get(), event.Get(), &events) == SOCKET_ERROR) {
    throw Error::KyExceptionCommon(WSAGetLastError(), "SocketConnector WSAEnumNetworkEvents failed.");
  }
  if (events.iErrorCode[FD_CONNECT_BIT] != 0) {
    throw Error::KyExceptionCommon(events.iErrorCode[FD_CONNECT_BIT],
                                   Ky::Format("TCP socket failed to connect to '%s' using port %d.", address, port));
  }
  if ((events.lNetworkEvents & FD_CONNECT) == 0) {
    throw Error::KyExceptionText(Ky::Format(
        "TCP socket failed to connect to '%s' using port %d. (Empty connect event received.)", address, port));
  }
  return socketScope.Detach();
}

}  // namespace Net
