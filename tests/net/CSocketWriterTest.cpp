// The writer against real loopback sockets: chunks, progress, abort, and a peer that takes
// no data.
#include <winsock2.h>

#include <algorithm>
#include <cstring>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "kybase/KyHandle.h"
#include "net/CSocketConnector.h"
#include "net/CSocketScope.h"
#include "net/CSocketWriter.h"
#include "net/NetTestSupport.h"

using NetTest::Catch;

namespace {

// Records what the writer reports; its abort event is signalled from the start when asked.
class CRecordingObserver : public Net::ITransferObserver {
 public:
  explicit CRecordingObserver(bool aborted) : m_abort(CreateEventA(nullptr, TRUE, aborted, nullptr)) {}
  void OnTotal(uint32_t total) override { m_totals.push_back(total); }
  void OnProgress(uint32_t soFar) override { m_progress.push_back(soFar); }
  HANDLE GetAbortEvent() override { return m_abort.Get(); }

  std::vector<uint32_t> m_totals;
  std::vector<uint32_t> m_progress;

 private:
  KyKernelHandle m_abort;
};

// A loopback server of the test's own that accepts one connection and reads it to its end.
class CDrainingServer {
 public:
  CDrainingServer() : m_listener(socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    bind(m_listener.Get(), reinterpret_cast<sockaddr*>(&address), sizeof(address));
    listen(m_listener.Get(), 1);
    getsockname(m_listener.Get(), reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] {
      Net::CSocketScope connection(accept(m_listener.Get(), nullptr, nullptr));
      char block[65536];
      int got = 0;
      while ((got = recv(connection.Get(), block, sizeof(block), 0)) > 0) m_received.insert(m_received.end(), block, block + got);
    });
  }
  ~CDrainingServer() {
    if (m_thread.joinable()) m_thread.join();
  }
  int Port() const { return m_port; }
  // Waits until the client has closed and returns every byte received.
  const std::vector<char>& Received() {
    m_thread.join();
    return m_received;
  }

 private:
  Net::CSocketScope m_listener;
  int m_port = 0;
  std::thread m_thread;
  std::vector<char> m_received;
};

std::vector<char> Pattern(size_t n) {
  std::vector<char> bytes(n);
  for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
  return bytes;
}

TEST(CSocketWriterTest, LargeDataGoesInChunksOfAtMost512KiB) {
  CDrainingServer server;
  const std::vector<char> data = Pattern(3 * Net::CSocketWriter::kMaxChunk + 12345);
  CRecordingObserver observer(false);
  {
    Net::CSocketScope client(Net::CSocketConnector(5000).Proceed("127.0.0.1", server.Port()));
    const auto outcome = Catch([&] {
      Net::CSocketWriter(client.Get(), &observer).Send(data.data(), static_cast<uint32_t>(data.size()));
    });
    ASSERT_FALSE(outcome.raised) << outcome.text;
  }
  EXPECT_EQ(server.Received(), data);
  EXPECT_EQ(observer.m_totals, std::vector<uint32_t>{static_cast<uint32_t>(data.size())});
  ASSERT_GE(observer.m_progress.size(), 4u);
  EXPECT_EQ(observer.m_progress.back(), data.size());
  uint32_t previous = 0;
  for (const uint32_t soFar : observer.m_progress) {
    EXPECT_GT(soFar, previous);
    EXPECT_LE(soFar - previous, Net::CSocketWriter::kMaxChunk);
    previous = soFar;
  }
}

TEST(CSocketWriterTest, SignalledAbortEventStopsTheTransmission) {
  CDrainingServer server;
  const std::vector<char> data = Pattern(2 * Net::CSocketWriter::kMaxChunk);
  CRecordingObserver observer(true);
  Net::CSocketScope client(Net::CSocketConnector(5000).Proceed("127.0.0.1", server.Port()));
  const auto outcome = Catch([&] {
    Net::CSocketWriter(client.Get(), &observer).Send(data.data(), static_cast<uint32_t>(data.size()));
  });
  client.Close();
  EXPECT_EQ(outcome.text, "SocketWriter: data transmission interrupted by the user.");
  EXPECT_EQ(observer.m_progress.size(), 1u) << "the abort is noticed after the first send";
}

TEST(CSocketWriterTest, PeerThatTakesNoDataEndsTheWaitsWithoutAnObserver) {
  // The peer's "hold" scenario accepts and never reads, so the windows fill up.
  Net::CSocketScope client(NetTest::ConnectToPeer("hold"));
  const std::vector<char> data(64 * 1024 * 1024, 'h');
  Net::CSocketWriter writer(client.Get(), nullptr);
  writer.SetWaitTime(300);
  const auto outcome = Catch([&] { writer.Send(data.data(), static_cast<uint32_t>(data.size())); });
  ASSERT_TRUE(outcome.raised);
  EXPECT_FALSE(outcome.common);
  EXPECT_EQ(outcome.text, "SocketWriter: dead connection detected, the peer took no data for 900 ms.");
}

}  // namespace
