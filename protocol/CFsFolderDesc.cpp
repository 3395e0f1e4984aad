// Folder descriptors on the wire: rights tables, folders, trees and roots.
#include "protocol/CFsFolderDesc.h"

#include "kybase/KyException.h"

namespace {

constexpr int32_t kRightsTableVersion = 3;
constexpr int32_t kFolderVersion = 2;
constexpr int32_t kTreeVersion = 1;
constexpr int32_t kRootVersion = 1;

// Tables before version 3 may carry bits above the ten rights.
uint32_t ReduceRights(int32_t word, int32_t version) {
  const uint32_t rights = static_cast<uint32_t>(word);
  return version < kRightsTableVersion ? (rights & CFsFolderRights::kAllRights) : rights;
}

[[noreturn]] void ThrowTooDeep() {
  throw Error::KyExceptionText(
      Ky::Format("Malformed folder tree: nested deeper than %d levels.", CFsFolderTreeDesc::kMaxDepth), __FILE__,
      __LINE__);
}

}  // namespace

// ---- CFsFolderRightsTable

void CFsFolderRightsTable::Write(KyMemoryArchive& archive) const {
  std::lock_guard<std::recursive_mutex> lock(m_lock);
  archive.WriteInt(kRightsTableVersion);
  archive.WriteInt(static_cast<int32_t>(m_defaultRights.GetRights()));
  archive.WriteInt(static_cast<int32_t>(m_entries.size()));
  for (const auto& entry : m_entries) {
    archive.WriteString(entry.first);
    archive.WriteInt(static_cast<int32_t>(entry.second.GetRights()));
  }
}

void CFsFolderRightsTable::Read(KyMemoryArchive& archive) {
  std::lock_guard<std::recursive_mutex> lock(m_lock);
  m_entries.clear();
  int32_t version = 0;
  archive.ReadValue(version);
  int32_t defaultRights = 0;
  archive.ReadValue(defaultRights);
  m_defaultRights.SetRights(ReduceRights(defaultRights, version));
  int32_t count = 0;
  archive.ReadValue(count);
  archive.ReadElements(count, [&] {
    std::string name;
    archive.ReadString(name);
    int32_t rights = 0;
    archive.ReadValue(rights);
    // operator[] keeps the spelling under which the name first arrived.
    m_entries[name].SetRights(ReduceRights(rights, version));
  });
}

void CFsFolderRightsTable::CopyFrom(const CFsFolderRightsTable& other) {
  // Take the other table's values first, under its own lock only: two tables copied into
  // each other at once cannot deadlock.
  const CFsFolderRights defaultRights = other.GetDefaultRights();
  Entries entries = other.GetEntries();
  std::lock_guard<std::recursive_mutex> lock(m_lock);
  m_defaultRights = defaultRights;
  m_entries.swap(entries);
}

bool CFsFolderRightsTable::IsDifferent(const CFsFolderRightsTable& other) const {
  const CFsFolderRights defaultRights = other.GetDefaultRights();
  const Entries entries = other.GetEntries();
  std::lock_guard<std::recursive_mutex> lock(m_lock);
  if (m_defaultRights != defaultRights || m_entries.size() != entries.size()) return true;
  for (auto mine = m_entries.begin(), theirs = entries.begin(); mine != m_entries.end(); ++mine, ++theirs) {
    if (Ky::Compare(mine->first, theirs->first) != 0 || mine->second != theirs->second) return true;
  }
  return false;
}

void CFsFolderRightsTable::Reset() {
  std::lock_guard<std::recursive_mutex> lock(m_lock);
  m_defaultRights = CFsFolderRights();
  m_entries.clear();
}

CFsFolderRights CFsFolderRightsTable::GetDefaultRights() const {
  std::lock_guard<std::recursive_mutex> lock(m_lock);
  return m_defaultRights;
}

void CFsFolderRightsTable::SetDefaultRights(const CFsFolderRights& rights) {
  std::lock_guard<std::recursive_mutex> lock(m_lock);
  m_defaultRights = rights;
}

CFsFolderRightsTable::Entries CFsFolderRightsTable::GetEntries() const {
  std::lock_guard<std::recursive_mutex> lock(m_lock);
  return m_entries;
}

void CFsFolderRightsTable::SetEntry(const std::string& name, const CFsFolderRights& rights) {
  std::lock_guard<std::recursive_mutex> lock(m_lock);
  m_entries[name] = rights;
}

// ---- CFsFolderDesc

CFsFolderDesc::CFsFolderDesc() : m_rights(new CFsFolderRightsTable()) {}

CFsFolderDesc::CFsFolderDesc(const std::string& key, const std::string& textA, const std::string& textC, bool flag,
                             const std::string& textD, const CRefCountPtr<CFsFolderRightsTable>& rights)
    : m_textA(textA),
      m_key(key),
      m_textC(textC),
      m_flag(flag),
      m_textD(textD),
      m_rights(rights.IsNull() ? CRefCountPtr<CFsFolderRightsTable>(new CFsFolderRightsTable()) : rights) {}

std::string CFsFolderDesc::GetTextA() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_textA;
}

void CFsFolderDesc::SetTextA(const std::string& text) {
  std::lock_guard<std::mutex> lock(m_lock);
  m_textA = text;
}

std::string CFsFolderDesc::GetKey() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_key;
}

std::string CFsFolderDesc::GetTextC() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_textC;
}

bool CFsFolderDesc::GetFlag() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_flag;
}

std::string CFsFolderDesc::GetTextD() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_textD;
}

CRefCountPtr<CFsFolderRightsTable> CFsFolderDesc::GetRights() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_rights;
}

void CFsFolderDesc::Write(KyMemoryArchive& archive) const {
  archive.WriteInt(kFolderVersion);
  archive.WriteString(m_textA);
  archive.WriteString(m_key);
  archive.WriteString(m_textC);
  m_rights->Write(archive);
  archive.WriteBool(m_flag);
  archive.WriteString(m_textD);
}

void CFsFolderDesc::Read(KyMemoryArchive& archive) {
  int32_t version = 0;
  archive.ReadValue(version);
  archive.ReadString(m_textA);
  archive.ReadString(m_key);
  archive.ReadString(m_textC);
  m_rights->Read(archive);
  if (version >= 2) {
    archive.ReadValue(m_flag);
    archive.ReadString(m_textD);
  }
}

// ---- CFsFolderTreeDesc

void CFsFolderTreeDesc::AddChild(const CRefCountPtr<CFsFolderTreeDesc>& child) {
  if (child.IsNull()) return;
  m_children[child->GetKey()] = child;
}

void CFsFolderTreeDesc::Write(KyMemoryArchive& archive) const { WriteLevel(archive, 1); }

void CFsFolderTreeDesc::Read(KyMemoryArchive& archive) { ReadLevel(archive, 1); }

void CFsFolderTreeDesc::WriteLevel(KyMemoryArchive& archive, int depth) const {
  if (depth > kMaxDepth) ThrowTooDeep();
  CFsFolderDesc::Write(archive);
  archive.WriteInt(kTreeVersion);
  archive.WriteInt(static_cast<int32_t>(m_children.size()));
  for (const auto& child : m_children) child.second->WriteLevel(archive, depth + 1);
}

void CFsFolderTreeDesc::ReadLevel(KyMemoryArchive& archive, int depth) {
  if (depth > kMaxDepth) ThrowTooDeep();
  CFsFolderDesc::Read(archive);
  int32_t version = 0;
  archive.ReadValue(version);
  int32_t count = 0;
  archive.ReadValue(count);
  m_children.clear();
  archive.ReadElements(count, [&] {
    CRefCountPtr<CFsFolderTreeDesc> child(new CFsFolderTreeDesc());
    child->ReadLevel(archive, depth + 1);
    m_children[child->GetKey()] = child;
  });
}

// ---- CRootFolderDesc

namespace Notifs {

CRootFolderDesc::CRootFolderDesc() : m_tree(new CFsFolderTreeDesc()) {}

CRootFolderDesc::CRootFolderDesc(const CFsMsgStoreDesc& store, const CRefCountPtr<CFsFolderTreeDesc>& tree)
    : m_store(store), m_tree(tree) {}

void CRootFolderDesc::Write(KyMemoryArchive& archive) const {
  if (m_tree.IsNull()) {
    throw Error::KyExceptionText(
        Ky::Format("Cannot write the root folder of store '%s' without a folder tree.", m_store.GetName().c_str()),
        __FILE__, __LINE__);
  }
  archive.WriteInt(kRootVersion);
  m_store.Write(archive);
  m_tree->Write(archive);
}

void CRootFolderDesc::Read(KyMemoryArchive& archive) {
  int32_t version = 0;
  archive.ReadValue(version);
  m_store.Read(archive);
  if (m_tree.IsNull()) m_tree = new CFsFolderTreeDesc();
  m_tree->Read(archive);
}

}  // namespace Notifs
