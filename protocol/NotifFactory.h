// The notification factory and the framing of a notification as one message:
// [4][total][4][class id][body], all little-endian.
#pragma once

#include <cstdint>

#include "kybase/CRefCounted.h"
#include "protocol/INotif.h"
#include "protocol/KyMemoryArchive.h"

namespace Notifs {

constexpr int32_t kClassGetFoldersTree = 19;
constexpr int32_t kClassGetFoldersTreeResponse = 20;
// The 8-byte size header and the 8-byte class identifier in front of every body.
constexpr uint32_t kMessageHeaderSize = 16;

using NotifCreator = CNotif* (*)();

// A new object of a known class, or empty. The client knows class 20 only.
CRefCountPtr<CNotif> CreateNotif(int32_t classId);
// Teaches the factory a class (the test peer registers 19); a null creator forgets it.
// Returns the previous creator. Thread-safe.
NotifCreator RegisterNotifClass(int32_t classId, NotifCreator creator);

// Frames the notification into a new archive (grow step 65,536): the header is written as
// 0, the object follows, then the header is filled in place. Returns the total length.
// Throws Error::KyExceptionText when the message would exceed 2^31 - 1 bytes.
uint32_t FrameNotif(KyMemoryArchive& archive, Net::INotif& notification);

// Re-creates the notification from the received bytes. A declared total below 1 gives an
// empty result; otherwise receivedSize (if given) gets the archive's size and an unknown
// class raises Error::KyExceptionText "Failed to instantiate object from socket stream.
// Stream size: '<declared total>'". A malformed body (a folder tree nested too deeply)
// raises Error::KyExceptionText as well. Bytes after the body are ignored.
CRefCountPtr<CNotif> RecreateNotif(KyMemoryArchive& archive, uint32_t* receivedSize = nullptr);

}  // namespace Notifs
