// Receives one message: read-wait cycles, the declared total, the spill to a temporary file.
#include "net/CSocketReader.h"

#include <windows.h>

#include <cstring>

#include "kybase/KyException.h"
#include "kybase/KyHandle.h"
#include "kybase/KyString.h"
#include "net/CBufferFile.h"
#include "net/CReceivingBuffer.h"
#include "protocol/NotifFactory.h"

namespace Net {

namespace {

constexpr uint32_t kHeaderSize = 8;

bool IsSignalled(HANDLE event) { return event != nullptr && WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }

// The read wait of one Receive: cycles of at most one second until the socket has data.
class CReadWait {
 public:
  CReadWait(SOCKET socket, ITransferObserver* observer, uint32_t limit)
      : m_limit(limit), m_socket(socket), m_observer(observer) {}

  void ClearDataReady() { m_dataReady = false; }

  void UntilDataReady() {
    while (!m_dataReady) Cycle();
  }

 private:
  void Cycle() {
    KyKernelHandle event(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    if (!event) throw Error::KyExceptionCommon(static_cast<int>(GetLastError()), "SocketReader: failed to create an event.");
    // Selecting again re-arms FD_READ when data is already waiting, so nothing is missed.
    if (WSAEventSelect(m_socket, event.Get(), FD_READ | FD_CLOSE) == SOCKET_ERROR) {
      throw Error::KyExceptionCommon(WSAGetLastError(), "SocketReader: failed to select FD_READ event");
    }
    m_dataReady = false;
    HANDLE handles[2] = {event.Get(), m_observer != nullptr ? m_observer->GetAbortEvent() : nullptr};
    const DWORD count = handles[1] != nullptr ? 2 : 1;
    const DWORD result = WaitForMultipleObjects(count, handles, FALSE, CSocketReader::kReadWaitMs);
    if (result == WAIT_OBJECT_0) {
      m_missedWaits = 0;
      WSANETWORKEVENTS events;
      std::memset(&events, 0, sizeof(events));
      if (WSAEnumNetworkEvents(m_socket, event.Get(), &events) == SOCKET_ERROR) {
        throw Error::KyExceptionCommon(WSAGetLastError(), "SocketReader: WSAEnumNetworkEvents failed.");
      }
      if ((events.lNetworkEvents & FD_READ) != 0) {
        m_dataReady = true;
      } else if ((events.lNetworkEvents & FD_CLOSE) != 0) {
        throw Error::KyExceptionText("SocketReader: transmission interrupted by the peer.");
      }
      return;
    }
    if (count == 2 && result == WAIT_OBJECT_0 + 1) {
      throw Error::KyExceptionText("SocketReader: transmission interrupted by the user.");
    }
    if (result == WAIT_FAILED) {
      throw Error::KyExceptionCommon(static_cast<int>(GetLastError()), "SocketReader: failed to wait for the socket.");
    }
    if (++m_missedWaits > m_limit) throw Error::KyExceptionText("SocketReader: dead connection detected.");
  }

  uint32_t m_missedWaits = 0;
  uint32_t m_limit;
  SOCKET m_socket;
  bool m_dataReady = false;
  ITransferObserver* m_observer;
};

// The last system error, or code when the failing call left none.
int LastErrorOr(DWORD code) {
  const DWORD error = GetLastError();
  return static_cast<int>(error != 0 ? error : code);
}

}  // namespace

CRefCountPtr<Notifs::CNotif> CSocketReader::ReadNotif(uint32_t* size) {
  KyMemoryArchive archive;
  Receive(archive);
  return Notifs::RecreateNotif(archive, size);
}

void CSocketReader::Receive(KyMemoryArchive& archive) {
  try {
    ReceiveMessage(archive);
  } catch (...) {
    archive.Free();
    throw;
  }
}

void CSocketReader::ReceiveMessage(KyMemoryArchive& archive) {
  // Declared first so that the file is closed and deleted however Receive ends.
  Support::CBufferFile file;
  CReadWait wait(m_socket, m_observer, m_deadConnectionLimit);
  if (m_waitForData) wait.UntilDataReady();

  archive.SetGrowBy(kBlockSize);
  CReceivingBuffer block(kBlockSize);
  int32_t total = 0;
  uint32_t received = 0;
  for (;;) {
    block.Clear();
    const int result = recv(m_socket, block.GetData(), static_cast<int>(block.GetSize()), 0);
    if (result == SOCKET_ERROR) {
      const int error = WSAGetLastError();
      if (error != WSAEWOULDBLOCK) throw Error::KyExceptionCommon(error, "SocketReader: Failed to read from socket");
      wait.ClearDataReady();
      wait.UntilDataReady();
      continue;
    }
    if (result == 0) throw Error::KyExceptionText("SocketReader: transmission interrupted by the peer.");

    received += static_cast<uint32_t>(result);
    if (file.IsOpen()) {
      if (!file.Write(block.GetData(), static_cast<uint32_t>(result))) {
        throw Error::KyExceptionCommon(LastErrorOr(ERROR_WRITE_FAULT),
                                       Ky::Format("SocketReader: failed to write socket data file '%s'", file.GetPath().c_str()));
      }
    } else {
      archive.Write(block.GetData(), static_cast<uint32_t>(result));
    }

    if (total == 0) {
      archive.Rewind();
      archive.ReadValue(total);
      archive.SeekToEnd();
      if (m_observer != nullptr && total != 0) m_observer->OnTotal(static_cast<uint32_t>(total));
    }

    // The total counts as read once its 8 header bytes are there; whatever they declare,
    // a total below 1 completes the message at once.
    if (received >= kHeaderSize && (total <= 0 || received >= static_cast<uint32_t>(total))) {
      if (file.IsOpen()) {
        file.Close();
        SetLastError(0);
        if (!archive.LoadFromFile(file.GetPath()) || archive.GetSize() != received) {
          const int error = LastErrorOr(ERROR_HANDLE_EOF);
          archive.Free();
          throw Error::KyExceptionCommon(error,
                                         Ky::Format("SocketReader: failed to load socket data file '%s'", file.GetPath().c_str()));
        }
      }
      return;
    }

    if (total > kMaxInMemory && !file.IsOpen()) {
      if (!file.CreateTemp()) {
        throw Error::KyExceptionCommon(static_cast<int>(GetLastError()),
                                       Ky::Format("Failed to create socket data file '%s'", file.GetPath().c_str()));
      }
      if (!file.Write(archive.GetData(), archive.GetSize())) {
        throw Error::KyExceptionCommon(LastErrorOr(ERROR_WRITE_FAULT),
                                       Ky::Format("SocketReader: failed to write socket data file '%s'", file.GetPath().c_str()));
      }
      archive.Free();
    }

    if (m_observer != nullptr) {
      m_observer->OnProgress(received);
      if (IsSignalled(m_observer->GetAbortEvent())) {
        throw Error::KyExceptionText("SocketReader: data transmission interrupted by the user.");
      }
    }
  }
}

}  // namespace Net
