// The folder-tree request and response.
#include "protocol/CNotifGetFoldersTree.h"

#include "protocol/NotifFactory.h"

namespace Notifs {

namespace {
constexpr int32_t kResponseVersion = 1;
}

int32_t CNotifGetFoldersTree::GetClassId() const { return kClassGetFoldersTree; }

CRefCountPtr<CDiagInfo> CNotifGetFoldersTree::GetDiagInfo() const {
  return CRefCountPtr<CDiagInfo>(new CDiagInfoText("Get folders tree from server"));
}

int32_t CNotifGetFoldersTreeResponse::GetClassId() const { return kClassGetFoldersTreeResponse; }

CRefCountPtr<CDiagInfo> CNotifGetFoldersTreeResponse::GetDiagInfo() const { return CRefCountPtr<CDiagInfo>(); }

void CNotifGetFoldersTreeResponse::Write(KyMemoryArchive& archive) {
  archive.WriteInt(kResponseVersion);
  archive.WriteInt(static_cast<int32_t>(m_roots.size()));
  for (const CRootFolderDesc& root : m_roots) root.Write(archive);
}

void CNotifGetFoldersTreeResponse::Read(KyMemoryArchive& archive) {
  m_roots.clear();
  int32_t version = 0;
  archive.ReadValue(version);
  int32_t count = 0;
  archive.ReadValue(count);
  archive.ReadElements(count, [&] {
    CRootFolderDesc root;
    root.Read(archive);
    m_roots.push_back(root);
  });
}

void CNotifGetFoldersTreeResponse::AddRoot(const CFsMsgStoreDesc& store, const CRefCountPtr<CFsFolderTreeDesc>& tree) {
  m_roots.emplace_back(store, tree);
}

}  // namespace Notifs
