// The optional observer of a socket transfer: progress figures and an abort event.
#pragma once

#include <windows.h>

#include <cstdint>

namespace Net {

class ITransferObserver {
 public:
  virtual void OnTotal(uint32_t totalBytes) = 0;
  virtual void OnProgress(uint32_t bytesSoFar) = 0;
  // An event another thread signals to stop the transfer; NULL when there is none.
  virtual HANDLE GetAbortEvent() = 0;

 protected:
  // Transfers never own their observer, so it is never deleted through this interface.
  ~ITransferObserver() = default;
};

}  // namespace Net
