// The notification bases of the server protocol and their diagnostic descriptions.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "kybase/CRefCounted.h"
#include "protocol/KyMemoryArchive.h"

namespace Notifs {

// A short description of a notification for diagnostics.
class CDiagInfo : public CRefCountedT<FreeThreadedModel> {
 public:
  ~CDiagInfo() override = default;
  virtual std::string GetText() const = 0;
};

class CDiagInfoText : public CDiagInfo {
 public:
  explicit CDiagInfoText(const std::string& text) : m_text(text) {}
  std::string GetText() const override;

 private:
  mutable std::mutex m_lock;
  std::string m_text;
};

}  // namespace Notifs

namespace Net {

// A message of the protocol, known on the wire by its class identifier.
class INotif : public CRefCountedT<FreeThreadedModel> {
 public:
  ~INotif() override = default;
  virtual int32_t GetClassId() const = 0;
  // The flags word as an integer.
  virtual void Write(KyMemoryArchive& archive);
  // One value into a zeroed integer: a missing value makes the flags word 0.
  virtual void Read(KyMemoryArchive& archive);
  virtual int32_t GetFlags() const { return m_flags; }

  // Replaces the whole word: 2 for true, 0 for false.
  void SetFlag(bool value) { m_flags = value ? 2 : 0; }

 protected:
  int32_t m_flags = 0;
};

}  // namespace Net

namespace Notifs {

class CNotif : public Net::INotif {
 public:
  // A new CDiagInfoText, or empty when the class has none.
  virtual CRefCountPtr<CDiagInfo> GetDiagInfo() const = 0;
};

}  // namespace Notifs
