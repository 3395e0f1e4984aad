// The Test button's check: one folder-tree request to the server, one folder-tree response back.
#pragma once

#include <string>

class CServerConnectionTester {
 public:
  static constexpr unsigned int kConnectTimeoutMs = 10000;
  static constexpr unsigned int kDeadConnectionLimit = 20;

  CServerConnectionTester(const std::string& address, int port) : m_address(address), m_port(port) {}
  virtual ~CServerConnectionTester() = default;

  // Returns when the server answered with a folder-tree response; raises Error::KyException
  // with the failure's text otherwise. The socket is closed in every case. Windows Sockets
  // and COM are initialised by the caller's start-up.
  void Test();

 private:
  std::string m_address;
  int m_port;
};
