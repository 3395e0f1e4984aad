// Sends one framed notification over a connected, non-blocking socket with bounded waits.
#pragma once

#include <winsock2.h>

#include <cstdint>

#include "net/ITransferObserver.h"
#include "protocol/INotif.h"

namespace Net {

class CSocketWriter {
 public:
  static constexpr uint32_t kMaxChunk = 524288;
  static constexpr uint32_t kWaitMs = 20000;
  // Without an observer nobody can stop a peer that takes no data: after this many waits
  // in a row that bring no send readiness the writer gives up.
  static constexpr uint32_t kIdleWaitLimit = 3;

  CSocketWriter(SOCKET socket, ITransferObserver* observer) : m_socket(socket), m_observer(observer) {}
  virtual ~CSocketWriter() = default;

  // Frames the notification (grow step 65,536), sends the whole message and stores its
  // length in total when given.
  void WriteNotif(INotif& notification, uint32_t* total = nullptr);
  // Sends n bytes in chunks of at most kMaxChunk, then the zero-byte closing send.
  // Raises Error::KyException on failure; the socket stays open.
  void Send(const void* bytes, uint32_t n);

  // Length of one wait for send readiness; tests shorten it.
  void SetWaitTime(uint32_t waitMs) { m_waitMs = waitMs; }

 private:
  SOCKET m_socket;
  ITransferObserver* m_observer;
  uint32_t m_waitMs = kWaitMs;
};

}  // namespace Net
