// Receives one whole message from a connected, non-blocking socket and re-creates its
// notification, with dead-connection detection and a temporary file for large messages.
#pragma once

#include <winsock2.h>

#include <cstdint>

#include "kybase/CRefCounted.h"
#include "net/ITransferObserver.h"
#include "protocol/INotif.h"
#include "protocol/KyMemoryArchive.h"

namespace Net {

class CSocketReader {
 public:
  static constexpr uint32_t kDefaultDeadConnectionLimit = 60;
  static constexpr uint32_t kReadWaitMs = 1000;
  static constexpr uint32_t kBlockSize = 131072;
  // Messages declaring more bytes than this are collected in a temporary file.
  static constexpr int32_t kMaxInMemory = 5242880;

  CSocketReader(SOCKET socket, ITransferObserver* observer, bool waitForData)
      : m_socket(socket), m_waitForData(waitForData), m_observer(observer) {}
  virtual ~CSocketReader() = default;

  // A connection is declared dead after limit + 1 silent read waits of one second in a row.
  void SetDeadConnectionLimit(uint32_t limit) { m_deadConnectionLimit = limit; }

  // Receives one message and re-creates its notification. Returns an empty pointer when the
  // declared total is below 1; otherwise size (if given) gets the number of bytes received.
  // Raises Error::KyException on every failure; the socket stays open.
  CRefCountPtr<Notifs::CNotif> ReadNotif(uint32_t* size = nullptr);
  // Receives one message into the archive: exactly when the declared total has arrived (a
  // total below 1 completes at once). On failure the archive is freed.
  void Receive(KyMemoryArchive& archive);

 private:
  void ReceiveMessage(KyMemoryArchive& archive);

  SOCKET m_socket;
  bool m_waitForData;
  ITransferObserver* m_observer;
  uint32_t m_deadConnectionLimit = kDefaultDeadConnectionLimit;
};

}  // namespace Net
