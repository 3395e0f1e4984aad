// The Test button's check: connect, send a folder-tree request, accept only its response.
#include "protocol/CServerConnectionTester.h"

#include "kybase/KyException.h"
#include "net/CSocketConnector.h"
#include "net/CSocketReader.h"
#include "net/CSocketScope.h"
#include "net/CSocketWriter.h"
#include "protocol/CClientIdGenerator.h"
#include "protocol/CNotifGetFoldersTree.h"

void CServerConnectionTester::Test() {
  // The request takes its client identifier from the generator unless a source is set.
  if (Notifs::GetClientIdSource() == nullptr) Notifs::SetClientIdSource(&CClientIdGenerator::Instance());

  const CFsMsgStoreDesc store{CFsMsgStoreName(CFsMsgStoreName::kReservedName)};
  CRefCountPtr<Notifs::CNotifClient> request(new Notifs::CNotifGetFoldersTree(store));
  request->SetFlag(true);

  const Net::CSocketConnector connector(kConnectTimeoutMs);
  const Net::CSocketScope socketScope(connector.Proceed(m_address.c_str(), m_port));

  Net::CSocketWriter writer(socketScope.Get(), nullptr);
  writer.WriteNotif(*request);

  Net::CSocketReader reader(socketScope.Get(), nullptr, true);
  reader.SetDeadConnectionLimit(kDeadConnectionLimit);
  const CRefCountPtr<Notifs::CNotif> answer = reader.ReadNotif();
  if (dynamic_cast<Notifs::CNotifGetFoldersTreeResponse*>(answer.Get()) == nullptr) {
    throw Error::KyExceptionText("Empty response from server received.");
  }
}
