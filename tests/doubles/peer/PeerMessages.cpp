// What the protocol test peer sends and how it checks what it receives.
#include "PeerMessages.h"

#include <cstring>
#include <regex>

#include "kybase/KyException.h"
#include "protocol/CFsFolderDesc.h"
#include "protocol/CNotifGetFoldersTree.h"
#include "protocol/NotifFactory.h"

namespace Peer {

namespace {

Bytes Frame(Net::INotif& notification) {
  KyMemoryArchive archive;
  const uint32_t total = Notifs::FrameNotif(archive, notification);
  return Bytes(archive.GetData(), archive.GetData() + total);
}

CRefCountPtr<CFsFolderTreeDesc> MakeTree(int root, int folders) {
  CRefCountPtr<CFsFolderTreeDesc> tree(new CFsFolderTreeDesc());
  for (int i = 0; i < folders; ++i) {
    CRefCountPtr<CFsFolderRightsTable> rights(new CFsFolderRightsTable());
    rights->SetDefaultRights(CFsFolderRights(1 | 4 | 64));
    rights->SetEntry("Anna", CFsFolderRights(1023));
    rights->SetEntry("Piotr", CFsFolderRights(1));
    const std::string key = "Folder " + std::to_string(root) + "." + std::to_string(i);
    tree->AddChild(CRefCountPtr<CFsFolderTreeDesc>(
        new CFsFolderTreeDesc(key, "Shared " + key, "IPF.Note", true, "", rights)));
  }
  return tree;
}

// Reads the request's bytes exactly as the client must lay them out.
class CRequestCursor {
 public:
  explicit CRequestCursor(const Bytes& bytes) : m_bytes(bytes) {}

  bool Int(int32_t& value) {
    int32_t count = 0;
    return Raw(&count, 4) && count == 4 && Raw(&value, 4);
  }
  bool String(std::string& value) {
    uint8_t marker = 0;
    int32_t length = 0;
    if (!Raw(&marker, 1) || marker != 1 || !Raw(&length, 4) || length < 0) return false;
    if (static_cast<size_t>(length) > m_bytes.size() - m_position) return false;
    value.assign(reinterpret_cast<const char*>(m_bytes.data() + m_position), static_cast<size_t>(length));
    m_position += static_cast<size_t>(length);
    return true;
  }
  bool AtEnd() const { return m_position == m_bytes.size(); }

 private:
  bool Raw(void* destination, size_t n) {
    if (n > m_bytes.size() - m_position) return false;
    std::memcpy(destination, m_bytes.data() + m_position, n);
    m_position += n;
    return true;
  }

  const Bytes& m_bytes;
  size_t m_position = 0;
};

}  // namespace

void RegisterRequestClass() {
  Notifs::RegisterNotifClass(Notifs::kClassGetFoldersTree,
                             []() -> Notifs::CNotif* { return new Notifs::CNotifGetFoldersTree(); });
}

Bytes MakeTreeResponse(int roots, int folders) {
  CRefCountPtr<Notifs::CNotifGetFoldersTreeResponse> response(new Notifs::CNotifGetFoldersTreeResponse());
  for (int root = 0; root < roots; ++root) {
    response->AddRoot(CFsMsgStoreDesc(CFsMsgStoreName("Store" + std::to_string(root) + "_user@{PC}")),
                      MakeTree(root, folders));
  }
  return Frame(*response);
}

Bytes MakeSizedResponse(uint32_t total) {
  const auto make = [](size_t padding) {
    CRefCountPtr<Notifs::CNotifGetFoldersTreeResponse> response(new Notifs::CNotifGetFoldersTreeResponse());
    CFsMsgStoreDesc store(CFsMsgStoreName("Padded_user@{PC}"));
    store.SetText(std::string(padding, 'p'));
    response->AddRoot(store, CRefCountPtr<CFsFolderTreeDesc>(new CFsFolderTreeDesc()));
    return Frame(*response);
  };
  const size_t smallest = make(0).size();
  if (total < smallest) return Bytes();
  return make(total - smallest);
}

Bytes MakeRequestMessage(const std::string& clientId) {
  CRefCountPtr<Notifs::CNotifGetFoldersTree> request(
      new Notifs::CNotifGetFoldersTree(CFsMsgStoreDesc(CFsMsgStoreName(CFsMsgStoreName::kReservedName))));
  request->SetFlag(true);
  request->SetClientId(clientId);
  return Frame(*request);
}

int64_t DeclaredTotal(const uint8_t* header) {
  int32_t count = 0;
  int32_t total = 0;
  std::memcpy(&count, header, 4);
  std::memcpy(&total, header + 4, 4);
  return count == 4 ? total : -1;
}

std::string CheckRequest(const Bytes& message) {
  CRequestCursor cursor(message);
  int32_t total = 0;
  int32_t classId = 0;
  int32_t flags = 0;
  int32_t storeVersion = 0;
  std::string clientId;
  std::string storeText;
  std::string storeName;
  if (!cursor.Int(total)) return "no size header";
  if (total < 0 || static_cast<size_t>(total) != message.size()) {
    return "declared total " + std::to_string(total) + " but " + std::to_string(message.size()) + " bytes";
  }
  if (!cursor.Int(classId)) return "no class identifier";
  if (classId != Notifs::kClassGetFoldersTree) return "class " + std::to_string(classId) + " instead of 19";
  if (!cursor.Int(flags)) return "no flags word";
  if (flags != 2) return "flags " + std::to_string(flags) + " instead of 2";
  if (!cursor.String(clientId)) return "no client identifier";
  static const std::regex kClientId(R"(\{[^{}]*\}\{(|[01][0-9]+)\}\{[^{}]*\})");
  if (!std::regex_match(clientId, kClientId)) return "client identifier '" + clientId + "' is not {...}{...}{...}";
  if (!cursor.Int(storeVersion)) return "no store descriptor version";
  if (storeVersion != 1) return "store descriptor version " + std::to_string(storeVersion);
  if (!cursor.String(storeText)) return "no store text";
  if (!storeText.empty()) return "store text '" + storeText + "' is not empty";
  if (!cursor.String(storeName)) return "no store name";
  if (storeName != CFsMsgStoreName::kReservedName) return "store '" + storeName + "' instead of __KyOrvella__";
  if (!cursor.AtEnd()) return "bytes after the store name";

  // The core must read the same request back (RegisterRequestClass taught it class 19).
  KyMemoryArchive archive;
  archive.Write(message.data(), static_cast<uint32_t>(message.size()));
  CRefCountPtr<Notifs::CNotif> notif;
  try {
    notif = Notifs::RecreateNotif(archive);
  } catch (const Error::KyException& e) {
    return "the protocol core refuses the request: " + e.GetText();
  }
  const auto* request = dynamic_cast<const Notifs::CNotifGetFoldersTree*>(notif.Get());
  if (request == nullptr || request->GetClientId() != clientId || request->GetFlags() != 2 ||
      request->GetStoreDesc().GetName() != storeName) {
    return "the protocol core reads the request differently";
  }
  return std::string();
}

}  // namespace Peer
