// The message-store descriptor on the wire, and the short form of store names.
#include "protocol/CFsMsgStoreDesc.h"

namespace {
constexpr int32_t kStoreDescVersion = 1;
}

std::string CFsMsgStoreName::GetShortName() const {
  if (*this == kReservedName) return "KyOrvella";
  const size_t underscore = find('_');
  if (underscore == npos || underscore == 0) return *this;
  return substr(0, underscore);
}

void CFsMsgStoreDesc::Write(KyMemoryArchive& archive) const {
  archive.WriteInt(kStoreDescVersion);
  archive.WriteString(m_text);
  archive.WriteString(m_name);
}

void CFsMsgStoreDesc::Read(KyMemoryArchive& archive) {
  int32_t version = 0;
  archive.ReadValue(version);
  archive.ReadString(m_text);
  archive.ReadString(m_name);
}
