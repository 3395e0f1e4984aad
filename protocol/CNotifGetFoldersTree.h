// The folder-tree request (class 19) and its response (class 20).
#pragma once

#include <vector>

#include "protocol/CFsFolderDesc.h"
#include "protocol/CNotifClient.h"

namespace Notifs {

class CNotifGetFoldersTree : public CNotifClient {
 public:
  CNotifGetFoldersTree() = default;
  explicit CNotifGetFoldersTree(const CFsMsgStoreDesc& store) : CNotifClient(store) {}

  int32_t GetClassId() const override;
  // "Get folders tree from server".
  CRefCountPtr<CDiagInfo> GetDiagInfo() const override;
};

// The body holds no flags word: version 1, the root count, the roots.
class CNotifGetFoldersTreeResponse : public CNotif {
 public:
  using Roots = std::vector<CRootFolderDesc>;

  int32_t GetClassId() const override;
  CRefCountPtr<CDiagInfo> GetDiagInfo() const override;  // empty
  void Write(KyMemoryArchive& archive) override;
  // A root count of zero or less gives no roots; a count larger than the remaining data
  // stops where the data ends.
  void Read(KyMemoryArchive& archive) override;

  const Roots& GetRoots() const { return m_roots; }
  void AddRoot(const CFsMsgStoreDesc& store, const CRefCountPtr<CFsFolderTreeDesc>& tree);

 private:
  Roots m_roots;
};

}  // namespace Notifs
