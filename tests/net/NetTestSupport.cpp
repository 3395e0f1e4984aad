// Shared pieces of the socket tests.
#include "net/NetTestSupport.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

#include "kybase/KyFile.h"
#include "net/CSocketConnector.h"
#include "net/CSocketScope.h"
#include "net/CSocketWriter.h"
#include "protocol/CClientIdGenerator.h"
#include "protocol/CNotifGetFoldersTree.h"

namespace NetTest {

namespace {

struct PeerEntry {
  int port = 0;
  uint32_t bytes = 0;
};

const std::map<std::string, PeerEntry>& PeerEntries() {
  static const std::map<std::string, PeerEntry> entries = [] {
    std::map<std::string, PeerEntry> result;
    const char* dir = std::getenv("KY_PEER_DIR");
    if (dir == nullptr) return result;
    std::ifstream file(ToWinePath(std::string(dir) + "/ports"));
    std::string line;
    while (std::getline(file, line)) {
      std::istringstream fields(line);
      std::string scenario;
      PeerEntry entry;
      if (fields >> scenario >> entry.port >> entry.bytes) result[scenario] = entry;
    }
    return result;
  }();
  return entries;
}

}  // namespace

std::string ToWinePath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

int CPeer::Port(const std::string& scenario) {
  const auto found = PeerEntries().find(scenario);
  return found == PeerEntries().end() ? 0 : found->second.port;
}

uint32_t CPeer::MessageBytes(const std::string& scenario) {
  const auto found = PeerEntries().find(scenario);
  return found == PeerEntries().end() ? 0 : found->second.bytes;
}

SOCKET ConnectToPeer(const std::string& scenario) {
  const int port = CPeer::Port(scenario);
  if (port == 0) throw std::runtime_error("the peer has no scenario " + scenario);
  return Net::CSocketConnector(5000).Proceed("127.0.0.1", port);
}

void SendRequest(SOCKET socket) {
  if (Notifs::GetClientIdSource() == nullptr) Notifs::SetClientIdSource(&CClientIdGenerator::Instance());
  CRefCountPtr<Notifs::CNotifGetFoldersTree> request(
      new Notifs::CNotifGetFoldersTree(CFsMsgStoreDesc(CFsMsgStoreName(CFsMsgStoreName::kReservedName))));
  request->SetFlag(true);
  Net::CSocketWriter(socket, nullptr).WriteNotif(*request);
}

int FreePort() {
  Net::CSocketScope listener(socket(AF_INET, SOCK_STREAM, 0));
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof(address);
  if (bind(listener.Get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      getsockname(listener.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error("no free port on 127.0.0.1");
  }
  // Bound but never listening; closed on return, so nothing listens there.
  return ntohs(address.sin_port);
}

std::set<std::string> TempKyFiles() {
  char folder[1024] = {};
  GetTempPathA(sizeof(folder), folder);
  std::set<std::string> files;
  KyFileFind find((std::string(folder) + "ky*.tmp").c_str());
  while (find.Next()) files.insert(find.GetFilePath());
  return files;
}

}  // namespace NetTest
