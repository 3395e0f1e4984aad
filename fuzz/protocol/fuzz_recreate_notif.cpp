// Fuzzes re-creating a notification from arbitrary received bytes (request and response).
#include <cstddef>
#include <cstdint>

#include "kybase/KyException.h"
#include "protocol/CNotifGetFoldersTree.h"
#include "protocol/NotifFactory.h"

namespace {
Notifs::CNotif* CreateRequest() { return new Notifs::CNotifGetFoldersTree(); }
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The peer's side too: class 19 reads a client request.
  Notifs::RegisterNotifClass(Notifs::kClassGetFoldersTree, &CreateRequest);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 0xFFFFFFFFu) return 0;
  KyMemoryArchive archive;
  if (size > 0) archive.Write(data, static_cast<uint32_t>(size));
  try {
    uint32_t received = 0;
    CRefCountPtr<Notifs::CNotif> notif = Notifs::RecreateNotif(archive, &received);
    if (!notif.IsNull()) {
      if (received != size) __builtin_trap();
      // Whatever was read must frame again.
      KyMemoryArchive again;
      Notifs::FrameNotif(again, *notif);
    }
  } catch (const Error::KyException&) {
    // Unknown classes and too deep trees are reported this way.
  }
  return 0;
}
