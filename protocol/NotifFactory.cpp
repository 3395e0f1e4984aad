// The notification factory, the archive's object operations and message framing.
#include "protocol/NotifFactory.h"

#include <limits>
#include <map>
#include <mutex>

#include "kybase/KyException.h"
#include "kybase/KyString.h"
#include "protocol/CNotifGetFoldersTree.h"

namespace Notifs {

namespace {

constexpr uint32_t kFramingGrowBy = 65536;

CNotif* CreateFoldersTreeResponse() { return new CNotifGetFoldersTreeResponse(); }

struct CNotifRegistry {
  std::mutex lock;
  std::map<int32_t, NotifCreator> creators{{kClassGetFoldersTreeResponse, &CreateFoldersTreeResponse}};
};

CNotifRegistry& Registry() {
  static CNotifRegistry registry;
  return registry;
}

}  // namespace

CRefCountPtr<CNotif> CreateNotif(int32_t classId) {
  NotifCreator creator = nullptr;
  {
    CNotifRegistry& registry = Registry();
    std::lock_guard<std::mutex> lock(registry.lock);
    const auto found = registry.creators.find(classId);
    if (found != registry.creators.end()) creator = found->second;
  }
  return CRefCountPtr<CNotif>(creator != nullptr ? creator() : nullptr);
}

NotifCreator RegisterNotifClass(int32_t classId, NotifCreator creator) {
  CNotifRegistry& registry = Registry();
  std::lock_guard<std::mutex> lock(registry.lock);
  NotifCreator previous = nullptr;
  const auto found = registry.creators.find(classId);
  if (found != registry.creators.end()) {
    previous = found->second;
    registry.creators.erase(found);
  }
  if (creator != nullptr) registry.creators[classId] = creator;
  return previous;
}

uint32_t FrameNotif(KyMemoryArchive& archive, Net::INotif& notification) {
  archive.SetGrowBy(kFramingGrowBy);
  archive.WriteInt(0);
  archive.WriteObject(notification);
  const uint32_t total = archive.GetSize();
  if (total > static_cast<uint32_t>(std::numeric_limits<int32_t>::max())) {
    throw Error::KyExceptionText(Ky::Format("Message too large to send: %u bytes.", total), __FILE__, __LINE__);
  }
  archive.Rewind();
  archive.WriteInt(static_cast<int32_t>(total));
  return total;
}

CRefCountPtr<CNotif> RecreateNotif(KyMemoryArchive& archive, uint32_t* receivedSize) {
  archive.Rewind();
  int32_t declaredTotal = 0;
  archive.ReadValue(declaredTotal);
  if (declaredTotal < 1) return CRefCountPtr<CNotif>();
  if (receivedSize != nullptr) *receivedSize = archive.GetSize();
  CRefCountPtr<CNotif> notification = archive.ReadObject();
  if (notification.IsNull()) {
    throw Error::KyExceptionText(
        Ky::Format("Failed to instantiate object from socket stream. Stream size: '%d'", declaredTotal));
  }
  return notification;
}

}  // namespace Notifs

KyMemoryArchive& KyMemoryArchive::WriteObject(Net::INotif& notification) {
  WriteInt(notification.GetClassId());
  notification.Write(*this);
  return *this;
}

CRefCountPtr<Notifs::CNotif> KyMemoryArchive::ReadObject() {
  int32_t classId = 0;
  ReadValue(classId);
  CRefCountPtr<Notifs::CNotif> notification = Notifs::CreateNotif(classId);
  if (!notification.IsNull()) notification->Read(*this);
  return notification;
}
