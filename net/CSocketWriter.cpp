// Sends one framed notification: FD_WRITE waits, chunks, the zero-byte closing send.
#include "net/CSocketWriter.h"

#include <windows.h>

#include <algorithm>

#include "kybase/KyException.h"
#include "kybase/KyHandle.h"
#include "kybase/KyString.h"
#include "protocol/NotifFactory.h"

namespace Net {

namespace {

constexpr uint32_t kFrameGrowBy = 65536;

// The waits of one Send: the socket's FD_WRITE event and the observer's abort event.
class CWriteWait {
 public:
  CWriteWait(HANDLE socketEvent, HANDLE abortEvent, uint32_t waitMs)
      : m_abortEvent(abortEvent), m_waitMs(waitMs) {
    m_handles[0] = socketEvent;
    m_handles[1] = abortEvent;
  }

  // Waits for send readiness or the end of one wait time; raises abortText when the abort
  // event ends the wait, and gives up after kIdleWaitLimit fruitless waits when nobody can
  // abort.
  void Wait(const char* abortText) {
    const DWORD count = m_abortEvent != nullptr ? 2 : 1;
    const DWORD result = WaitForMultipleObjects(count, m_handles, FALSE, m_waitMs);
    if (result == WAIT_OBJECT_0) {
      m_idleWaits = 0;
      return;
    }
    if (count == 2 && result == WAIT_OBJECT_0 + 1) throw Error::KyExceptionText(abortText);
    if (result == WAIT_FAILED) {
      throw Error::KyExceptionCommon(static_cast<int>(GetLastError()), "SocketWriter: failed to wait for the socket.");
    }
    if (m_abortEvent == nullptr && ++m_idleWaits >= CSocketWriter::kIdleWaitLimit) {
      throw Error::KyExceptionText(Ky::Format("SocketWriter: dead connection detected, the peer took no data for %u ms.",
                                              m_idleWaits * m_waitMs));
    }
  }

  // Progress was made: the next fruitless wait counts from one again.
  void Progress() { m_idleWaits = 0; }

 private:
  HANDLE m_handles[2] = {};
  HANDLE m_abortEvent;
  uint32_t m_waitMs;
  uint32_t m_idleWaits = 0;
};

bool IsSignalled(HANDLE event) { return event != nullptr && WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }

}  // namespace

void CSocketWriter::WriteNotif(INotif& notification, uint32_t* total) {
  KyMemoryArchive archive;
  archive.SetGrowBy(kFrameGrowBy);
  const uint32_t length = Notifs::FrameNotif(archive, notification);
  Send(archive.GetData(), length);
  if (total != nullptr) *total = length;
}

void CSocketWriter::Send(const void* bytes, uint32_t n) {
  if (m_observer != nullptr) m_observer->OnTotal(n);

  KyKernelHandle event(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  if (!event) throw Error::KyExceptionCommon(static_cast<int>(GetLastError()), "SocketWriter failed to create an event.");
  if (WSAEventSelect(m_socket, event.Get(), FD_WRITE) == SOCKET_ERROR) {
    throw Error::KyExceptionCommon(WSAGetLastError(), "SocketWriter failed to select event FD_WRITE");
  }
  CWriteWait wait(event.Get(), m_observer != nullptr ? m_observer->GetAbortEvent() : nullptr, m_waitMs);

  // A connected socket signals FD_WRITE at once; the wait only matters for a full window.
  wait.Wait("SocketWriter aborted by the user.");

  const char* position = static_cast<const char*>(bytes);
  uint32_t sent = 0;
  while (sent < n) {
    const int chunk = static_cast<int>(std::min(n - sent, kMaxChunk));
    const int result = send(m_socket, position + sent, chunk, 0);
    if (result > 0) {
      sent += static_cast<uint32_t>(result);
      wait.Progress();
      if (m_observer != nullptr) {
        m_observer->OnProgress(sent);
        if (IsSignalled(m_observer->GetAbortEvent())) {
          throw Error::KyExceptionText("SocketWriter: data transmission interrupted by the user.");
        }
      }
      continue;
    }
    const int error = result == 0 ? WSAEWOULDBLOCK : WSAGetLastError();
    if (error != WSAEWOULDBLOCK) throw Error::KyExceptionCommon(error, "SocketWriter: Failed to write to socket");
    wait.Wait("SocketWriter: aborted by the user.");
  }

  // The closing zero-byte send; only a full window makes it wait.
  while (send(m_socket, position, 0, 0) == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) {
    wait.Wait("SocketWriter: aborted by the user.");
  }
}

}  // namespace Net
