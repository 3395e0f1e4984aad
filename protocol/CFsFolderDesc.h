// The folder descriptors of a folder tree: rights, rights tables, folders, trees and roots.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

#include "kybase/CRefCounted.h"
#include "kybase/KyString.h"
#include "protocol/CFsMsgStoreDesc.h"
#include "protocol/KyMemoryArchive.h"

// One rights word of ten bits (1, 2, 4, ... 512); a new value has them all.
class CFsFolderRights {
 public:
  static constexpr uint32_t kAllRights = 1023;

  CFsFolderRights() = default;
  explicit CFsFolderRights(uint32_t rights) : m_rights(rights) {}
  CFsFolderRights(const CFsFolderRights&) = default;
  CFsFolderRights& operator=(const CFsFolderRights&) = default;
  virtual ~CFsFolderRights() = default;

  bool HasRight(uint32_t bit) const { return (m_rights & bit) != 0; }
  void SetRight(uint32_t bit, bool value) { m_rights = value ? (m_rights | bit) : (m_rights & ~bit); }
  void SetRights(uint32_t rights) { m_rights = rights; }
  uint32_t GetRights() const { return m_rights; }
  bool operator==(const CFsFolderRights& other) const { return m_rights == other.m_rights; }
  bool operator!=(const CFsFolderRights& other) const { return m_rights != other.m_rights; }

 private:
  uint32_t m_rights = kAllRights;
};

// Ordering of rights names: case-insensitive, as the C run time's _mbsicmp.
struct CFsLessNoCase {
  bool operator()(const std::string& a, const std::string& b) const { return Ky::CompareNoCase(a, b) < 0; }
};
// Ordering of folder keys: case-sensitive by byte value, as _mbscmp.
struct CFsLess {
  bool operator()(const std::string& a, const std::string& b) const { return Ky::Compare(a, b) < 0; }
};

// The rights on one folder: default rights and named entries. Every operation takes the
// table's own lock.
class CFsFolderRightsTable : public CRefCountedT<FreeThreadedModel> {
 public:
  using Entries = std::map<std::string, CFsFolderRights, CFsLessNoCase>;

  CFsFolderRightsTable() = default;
  CFsFolderRightsTable(const CFsFolderRightsTable&) = delete;
  CFsFolderRightsTable& operator=(const CFsFolderRightsTable&) = delete;
  ~CFsFolderRightsTable() override = default;

  // Version 3, default rights, the entry count, then name and rights per entry.
  virtual void Write(KyMemoryArchive& archive) const;
  // Below version 3 each rights word keeps its ten right bits only; a name equal to an
  // earlier one without regard to case replaces its rights under the first spelling.
  virtual void Read(KyMemoryArchive& archive);

  void CopyFrom(const CFsFolderRightsTable& other);
  // True when the default rights, the number of entries, a name (case-sensitively) or a
  // rights word differ.
  bool IsDifferent(const CFsFolderRightsTable& other) const;
  void Reset();
  CFsFolderRights GetDefaultRights() const;
  void SetDefaultRights(const CFsFolderRights& rights);
  Entries GetEntries() const;
  // Adds or replaces the entry of the name (case-insensitively).
  void SetEntry(const std::string& name, const CFsFolderRights& rights);

 private:
  mutable std::recursive_mutex m_lock;
  CFsFolderRights m_defaultRights;
  Entries m_entries;
};

// One folder without its subfolders. The accessors take the folder's lock; Write and Read
// do not.
class CFsFolderDesc : public CRefCountedT<FreeThreadedModel> {
 public:
  CFsFolderDesc();
  CFsFolderDesc(const std::string& key, const std::string& textA, const std::string& textC, bool flag,
                const std::string& textD, const CRefCountPtr<CFsFolderRightsTable>& rights);
  CFsFolderDesc(const CFsFolderDesc&) = delete;
  CFsFolderDesc& operator=(const CFsFolderDesc&) = delete;
  ~CFsFolderDesc() override = default;

  std::string GetTextA() const;
  void SetTextA(const std::string& text);
  std::string GetKey() const;
  std::string GetTextC() const;
  bool GetFlag() const;
  std::string GetTextD() const;
  CRefCountPtr<CFsFolderRightsTable> GetRights() const;

  // Version 2, texts A, key and C, the rights table, the flag and text D.
  void Write(KyMemoryArchive& archive) const;
  // A version-1 folder has no flag and text D on the wire: they keep their values.
  void Read(KyMemoryArchive& archive);

 private:
  mutable std::mutex m_lock;
  std::string m_textA;
  std::string m_key;
  std::string m_textC;
  bool m_flag = true;
  std::string m_textD;
  CRefCountPtr<CFsFolderRightsTable> m_rights;
};

// A folder with its subfolders, held by key in case-sensitive key order.
class CFsFolderTreeDesc : public CFsFolderDesc {
 public:
  using Children = std::map<std::string, CRefCountPtr<CFsFolderTreeDesc>, CFsLess>;

  // Deepest tree written or read, the root counting as level 1. A deeper message is
  // malformed: reading recurses once per level and must not exhaust the stack.
  static constexpr int kMaxDepth = 256;

  using CFsFolderDesc::CFsFolderDesc;

  const Children& GetChildren() const { return m_children; }
  // Stores the child under its key, replacing a child with the same key.
  void AddChild(const CRefCountPtr<CFsFolderTreeDesc>& child);

  // The folder, version 1, the child count and the children in key order. Throws
  // Error::KyExceptionText for a tree deeper than kMaxDepth.
  void Write(KyMemoryArchive& archive) const;
  // Children arrive in any order and are kept in key order; a later child with the same
  // key replaces the earlier one. Throws Error::KyExceptionText for a tree deeper than
  // kMaxDepth. A child count larger than the remaining data stops where the data ends.
  void Read(KyMemoryArchive& archive);

 private:
  void WriteLevel(KyMemoryArchive& archive, int depth) const;
  void ReadLevel(KyMemoryArchive& archive, int depth);

  Children m_children;
};

namespace Notifs {

// One root folder: the store it belongs to and its tree. Copies share the tree.
class CRootFolderDesc {
 public:
  CRootFolderDesc();
  CRootFolderDesc(const CFsMsgStoreDesc& store, const CRefCountPtr<CFsFolderTreeDesc>& tree);
  CRootFolderDesc(const CRootFolderDesc&) = default;
  CRootFolderDesc& operator=(const CRootFolderDesc&) = default;
  virtual ~CRootFolderDesc() = default;

  const CFsMsgStoreDesc& GetStoreDesc() const { return m_store; }
  const CRefCountPtr<CFsFolderTreeDesc>& GetTree() const { return m_tree; }

  // Version 1, the store descriptor, the tree. Throws Error::KyExceptionText for a root
  // without a tree.
  void Write(KyMemoryArchive& archive) const;
  void Read(KyMemoryArchive& archive);

 private:
  CFsMsgStoreDesc m_store;
  CRefCountPtr<CFsFolderTreeDesc> m_tree;
};

}  // namespace Notifs
