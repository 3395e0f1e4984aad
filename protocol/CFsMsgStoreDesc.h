// The name and description of a message store, carried by every client request.
#pragma once

#include <string>

#include "protocol/KyMemoryArchive.h"

class CFsMsgStoreName : public std::string {
 public:
  // The store the connection test asks for.
  static constexpr const char* kReservedName = "__KyOrvella__";

  CFsMsgStoreName() = default;
  CFsMsgStoreName(const std::string& name) : std::string(name) {}  // NOLINT: a name is a string
  CFsMsgStoreName(const char* name) : std::string(name) {}         // NOLINT
  CFsMsgStoreName(const CFsMsgStoreName&) = default;
  CFsMsgStoreName& operator=(const CFsMsgStoreName&) = default;
  virtual ~CFsMsgStoreName() = default;

#ifdef _WIN32
  // "<DOMAIN\user>_<{new GUID}>@{<computer name with '_' as '-'>}".
  void MakeUserStoreName();
#endif
  // "KyOrvella" for the reserved name; otherwise the part before the first '_' when that
  // is not the first character, else the whole name.
  std::string GetShortName() const;
};

class CFsMsgStoreDesc {
 public:
  CFsMsgStoreDesc() = default;
  explicit CFsMsgStoreDesc(const CFsMsgStoreName& name) : m_name(name) {}
  CFsMsgStoreDesc(const CFsMsgStoreDesc&) = default;
  CFsMsgStoreDesc& operator=(const CFsMsgStoreDesc&) = default;
  virtual ~CFsMsgStoreDesc() = default;

  const std::string& GetText() const { return m_text; }
  void SetText(const std::string& text) { m_text = text; }
  const CFsMsgStoreName& GetName() const { return m_name; }
  void SetName(const CFsMsgStoreName& name) { m_name = name; }

  // Version 1, the text, the name.
  void Write(KyMemoryArchive& archive) const;
  // The version is read and ignored.
  void Read(KyMemoryArchive& archive);

 private:
  std::string m_text;  // carried unchanged
  CFsMsgStoreName m_name;
};
