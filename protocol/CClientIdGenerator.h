// The identifier of this client computer and user, made once per process.
#pragma once

#include <mutex>
#include <string>

#include "protocol/CNotifClient.h"

class CClientIdGenerator : public Notifs::IClientIdSource {
 public:
  // The process-wide generator.
  static CClientIdGenerator& Instance();

  CClientIdGenerator(const CClientIdGenerator&) = delete;
  CClientIdGenerator& operator=(const CClientIdGenerator&) = delete;
  ~CClientIdGenerator() override = default;

  // "{computer}{disk}{user}": the disk part is "0<WMI disk signature>", else "1<serial of
  // C:>", else empty. Computed on the first call (under the lock, WMI included) and
  // returned unchanged afterwards. Needs COM initialised on the calling thread for WMI.
  std::string GetClientId() override;

 private:
  CClientIdGenerator() = default;

  std::mutex m_lock;
  std::string m_clientId;
};
