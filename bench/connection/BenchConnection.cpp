// Benchmark: the whole connection test against the protocol test peer beside a bare Winsock
// exchange of the same bytes, and receiving a 50 MB response beside a bare receive.
//   bench_connection GOOD_PORT LARGE_PORT LARGE_BYTES [ROUNDS]
#include <winsock2.h>
#include <ole2.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "kybase/KyException.h"
#include "net/CSocketConnector.h"
#include "net/CSocketReader.h"
#include "net/CSocketScope.h"
#include "net/CSocketWriter.h"
#include "protocol/CClientIdGenerator.h"
#include "protocol/CNotifGetFoldersTree.h"
#include "protocol/CServerConnectionTester.h"
#include "protocol/NotifFactory.h"

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Median seconds of `rounds` calls, after two calls that warm up caches and the peer.
double MedianSeconds(int rounds, const std::function<void()>& call) {
  call();
  call();
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    const auto started = Clock::now();
    call();
    times.push_back(std::chrono::duration<double>(Clock::now() - started).count());
  }
  return Median(times);
}

std::vector<char> RequestBytes() {
  CRefCountPtr<Notifs::CNotifGetFoldersTree> request(
      new Notifs::CNotifGetFoldersTree(CFsMsgStoreDesc(CFsMsgStoreName(CFsMsgStoreName::kReservedName))));
  request->SetFlag(true);
  KyMemoryArchive archive;
  const uint32_t total = Notifs::FrameNotif(archive, *request);
  return std::vector<char>(archive.GetData(), archive.GetData() + total);
}

// Plain blocking Winsock: connect, send the request, receive `answerBytes` bytes, close.
void BareExchange(int port, const std::vector<char>& request, std::vector<char>& answer) {
  const SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<u_short>(port));
  if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
    std::fprintf(stderr, "bare connect failed: %d\n", WSAGetLastError());
    std::exit(1);
  }
  send(s, request.data(), static_cast<int>(request.size()), 0);
  size_t got = 0;
  while (got < answer.size()) {
    const int n = recv(s, answer.data() + got, static_cast<int>(std::min<size_t>(answer.size() - got, 131072)), 0);
    if (n <= 0) {
      std::fprintf(stderr, "bare receive ended after %zu bytes\n", got);
      std::exit(1);
    }
    got += static_cast<size_t>(n);
  }
  closesocket(s);
}

// The large answer through the writer and reader; recreate false stops after Receive.
void ReadLarge(int port, bool recreate) {
  Net::CSocketScope socket(Net::CSocketConnector(10000).Proceed("127.0.0.1", port));
  CRefCountPtr<Notifs::CNotifClient> request(
      new Notifs::CNotifGetFoldersTree(CFsMsgStoreDesc(CFsMsgStoreName(CFsMsgStoreName::kReservedName))));
  request->SetFlag(true);
  Net::CSocketWriter(socket.Get(), nullptr).WriteNotif(*request);
  Net::CSocketReader reader(socket.Get(), nullptr, true);
  reader.SetDeadConnectionLimit(20);
  if (!recreate) {
    KyMemoryArchive archive;
    reader.Receive(archive);
    return;
  }
  if (dynamic_cast<Notifs::CNotifGetFoldersTreeResponse*>(reader.ReadNotif().Get()) == nullptr) {
    std::fprintf(stderr, "the large answer is no folder-tree response\n");
    std::exit(1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: bench_connection GOOD_PORT LARGE_PORT LARGE_BYTES [ROUNDS]\n");
    return 2;
  }
  const int goodPort = std::atoi(argv[1]);
  const int largePort = std::atoi(argv[2]);
  const size_t largeBytes = std::strtoul(argv[3], nullptr, 10);
  const int rounds = argc > 4 ? std::atoi(argv[4]) : 200;

  WSADATA data = {};
  WSAStartup(MAKEWORD(2, 0), &data);
  OleInitialize(nullptr);
  Notifs::SetClientIdSource(&CClientIdGenerator::Instance());
  const std::vector<char> request = RequestBytes();

  try {
    std::vector<char> answer(32);
    const double tester = MedianSeconds(rounds, [&] { CServerConnectionTester("127.0.0.1", goodPort).Test(); });
    const double bare = MedianSeconds(rounds, [&] { BareExchange(goodPort, request, answer); });
    std::printf("connection test, good answer, no roots: median %.3f ms over %d rounds\n", tester * 1e3, rounds);
    std::printf("bare Winsock connect/send/receive 32 bytes: median %.3f ms over %d rounds\n", bare * 1e3, rounds);
    std::printf("ratio connection test / bare: %.2f\n", tester / bare);

    const int largeRounds = 5;
    std::vector<char> large(largeBytes);
    const double ours = MedianSeconds(largeRounds, [&] { ReadLarge(largePort, true); });
    const double received = MedianSeconds(largeRounds, [&] { ReadLarge(largePort, false); });
    const double plain = MedianSeconds(largeRounds, [&] { BareExchange(largePort, request, large); });
    const double megabytes = static_cast<double>(largeBytes) / 1e6;
    std::printf("receive and re-create %.1f MB: median %.1f ms, %.1f MB/s\n", megabytes, ours * 1e3, megabytes / ours);
    std::printf("  of which receiving alone: median %.1f ms, %.1f MB/s\n", received * 1e3, megabytes / received);
    std::printf("bare receive of the same bytes: median %.1f ms, %.1f MB/s\n", plain * 1e3, megabytes / plain);
    std::printf("throughput ratio bare / ours: %.2f\n", plain > 0 ? ours / plain : 0.0);
  } catch (const Error::KyException& e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.GetText().c_str());
    return 1;
  }
  OleUninitialize();
  WSACleanup();
  return 0;
}
