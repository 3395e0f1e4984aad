// The client's connection settings: the record, its INI file and its change test.
#pragma once

#include <cstdint>
#include <string>

class CSettingsStore {
 public:
  static constexpr uint32_t kDefaultPort = 5002;

  // Defaults, the log line "Loading client settings.", Load, then the demonstration port
  // from HKEY_LOCAL_MACHINE.
  CSettingsStore();
  CSettingsStore(const CSettingsStore&) = default;
  CSettingsStore& operator=(const CSettingsStore&) = default;
  virtual ~CSettingsStore() = default;

  uint32_t GetServerPort() const { return m_serverPort; }
  void SetServerPort(uint32_t port) { m_serverPort = port; }
  std::string GetServerAddress() const { return m_serverAddress; }
  void SetServerAddress(const std::string& address) { m_serverAddress = address; }
  bool GetUseDemoServer() const { return m_useDemoServer; }
  void SetUseDemoServer(bool use) { m_useDemoServer = use; }
  bool GetSynchronizeReadFlag() const { return m_synchronizeReadFlag; }
  void SetSynchronizeReadFlag(bool synchronize) { m_synchronizeReadFlag = synchronize; }

  // Travel with the record for the add-in's sake; never stored, shown or compared.
  std::string GetDemoServerAddress() const { return m_demoServerAddress; }
  uint32_t GetDemoServerPort() const { return m_demoServerPort; }

  // Reads section "TCP" of the INI file; an empty address means the demonstration server.
  // A missing or unreadable file gives the defaults.
  void Load();
  // Writes the four keys of section "TCP"; results are not examined (the file is created
  // by the first save).
  void Save() const;

  // "KyOrvella.ini" in the per-user application-data subfolder "Tolvern\KyOrvellaClient";
  // the bare file name when that folder cannot be had.
  static std::string GetIniFilePath();

  // True when the records differ in what the add-in reads from the INI file: the demonstration
  // flag, the address (without regard to case), the port or the read-flag option.
  bool operator!=(const CSettingsStore& other) const;
  bool operator==(const CSettingsStore& other) const { return !(*this != other); }

 private:
  bool m_useDemoServer = false;
  std::string m_serverAddress;
  uint32_t m_serverPort = kDefaultPort;
  std::string m_demoServerAddress;
  uint32_t m_demoServerPort = kDefaultPort;
  bool m_synchronizeReadFlag = false;
};
