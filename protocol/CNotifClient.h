// The common part of client requests: flags, client identifier and the store descriptor,
// and the process-wide source of the client identifier.
#pragma once

#include <string>

#include "protocol/CFsMsgStoreDesc.h"
#include "protocol/INotif.h"

namespace Notifs {

// Supplies the identifier of this client computer and user (the client identity generator
// on Windows; a test may install its own).
class IClientIdSource {
 public:
  virtual ~IClientIdSource() = default;
  virtual std::string GetClientId() = 0;
};

// Installs the process-wide source (not owned; it must outlive its use) and returns the
// previous one. With no source installed a request is written with an empty identifier.
IClientIdSource* SetClientIdSource(IClientIdSource* source);
IClientIdSource* GetClientIdSource();

class CNotifClient : public CNotif {
 public:
  CNotifClient() = default;
  explicit CNotifClient(const CFsMsgStoreDesc& store) : m_store(store) {}

  // Flags, client identifier (asked from the source once, then kept), store descriptor.
  void Write(KyMemoryArchive& archive) override;
  void Read(KyMemoryArchive& archive) override;

  const CFsMsgStoreDesc& GetStoreDesc() const { return m_store; }
  const std::string& GetClientId() const { return m_clientId; }
  void SetClientId(const std::string& clientId) { m_clientId = clientId; }

 private:
  CFsMsgStoreDesc m_store;
  std::string m_clientId;
};

}  // namespace Notifs
