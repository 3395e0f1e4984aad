// Client requests: the identifier source and the common body.
#include "protocol/CNotifClient.h"

#include <atomic>

namespace Notifs {

namespace {
std::atomic<IClientIdSource*> g_clientIdSource{nullptr};
}

IClientIdSource* SetClientIdSource(IClientIdSource* source) { return g_clientIdSource.exchange(source); }

IClientIdSource* GetClientIdSource() { return g_clientIdSource.load(); }

void CNotifClient::Write(KyMemoryArchive& archive) {
  INotif::Write(archive);
  if (m_clientId.empty()) {
    IClientIdSource* source = GetClientIdSource();
    if (source != nullptr) m_clientId = source->GetClientId();
  }
  archive.WriteString(m_clientId);
  m_store.Write(archive);
}

void CNotifClient::Read(KyMemoryArchive& archive) {
  INotif::Read(archive);
  archive.ReadString(m_clientId);
  m_store.Read(archive);
}

}  // namespace Notifs
