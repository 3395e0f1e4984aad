// The flags word of every notification and the text diagnostics.
#include "protocol/INotif.h"

namespace Net {

void INotif::Write(KyMemoryArchive& archive) { archive.WriteInt(m_flags); }

void INotif::Read(KyMemoryArchive& archive) {
  int32_t flags = 0;
  archive.ReadValue(flags);
  m_flags = flags;
}

}  // namespace Net

namespace Notifs {

std::string CDiagInfoText::GetText() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_text;
}

}  // namespace Notifs
