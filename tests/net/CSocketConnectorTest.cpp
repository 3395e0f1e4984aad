// The connector against real loopback sockets: success, refusal, bad addresses, time-out.
#include <winsock2.h>

#include <cctype>
#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "kybase/KyString.h"
#include "net/CSocketConnector.h"
#include "net/CSocketScope.h"
#include "net/NetTestSupport.h"

using NetTest::Catch;
using NetTest::CPeer;

namespace {

TEST(CSocketConnectorTest, ConnectsByAddressAndByName) {
  // The "hold" scenario accepts and waits; a connection without a request is no fault there.
  for (const char* address : {"127.0.0.1", "localhost"}) {
    SOCKET socket = INVALID_SOCKET;
    const auto outcome = Catch([&] { socket = Net::CSocketConnector(5000).Proceed(address, CPeer::Port("hold")); });
    ASSERT_FALSE(outcome.raised) << address << ": " << outcome.text;
    Net::CSocketScope scope(socket);
    sockaddr_in peer = {};
    int length = sizeof(peer);
    ASSERT_EQ(getpeername(scope.Get(), reinterpret_cast<sockaddr*>(&peer), &length), 0) << address;
    EXPECT_EQ(ntohs(peer.sin_port), CPeer::Port("hold"));
    EXPECT_EQ(peer.sin_addr.s_addr, htonl(INADDR_LOOPBACK));
  }
}

TEST(CSocketConnectorTest, EmptyAddressRaisesWithoutASocket) {
  for (const char* address : {"", static_cast<const char*>(nullptr)}) {
    WSASetLastError(0);
    const auto outcome = Catch([&] { Net::CSocketConnector(5000).Proceed(address, 80); });
    EXPECT_TRUE(outcome.raised);
    EXPECT_FALSE(outcome.common);
    EXPECT_EQ(outcome.text, "CSocketConnector::Proceed invalid address.");
    EXPECT_EQ(WSAGetLastError(), 0) << "no socket call may have run";
  }
}

TEST(CSocketConnectorTest, NothingListeningIsRefusedWithTheSystemsCode) {
  const int port = NetTest::FreePort();
  const auto outcome = Catch([&] { Net::CSocketConnector(5000).Proceed("127.0.0.1", port); });
  ASSERT_TRUE(outcome.raised);
  ASSERT_TRUE(outcome.common) << outcome.text;
  EXPECT_EQ(outcome.code, WSAECONNREFUSED);
  EXPECT_EQ(outcome.text, Ky::Format("TCP socket failed to connect to '127.0.0.1' using port %d.", port));
}

// Addresses that name no server fail the way Windows fails a connection to 0.0.0.0 or
// 255.255.255.255, without a packet leaving the machine.
struct BadAddress {
  const char* name;
  std::string address;
};

class CSocketConnectorBadAddressTest : public ::testing::TestWithParam<BadAddress> {};

TEST_P(CSocketConnectorBadAddressTest, FailsWithTheTypedAddressInTheText) {
  const std::string& address = GetParam().address;
  // A digit-first text is never looked up; it must be no dotted address either, or the
  // connector would try a real one.
  if (isdigit(static_cast<unsigned char>(address[0]))) {
    ASSERT_EQ(inet_addr(address.c_str()), INADDR_NONE);
  }
  const int port = CPeer::Port("good");
  const auto outcome = Catch([&] { Net::CSocketConnector(5000).Proceed(address.c_str(), port); });
  ASSERT_TRUE(outcome.raised);
  ASSERT_TRUE(outcome.common) << outcome.text;
  EXPECT_EQ(outcome.code, WSAEADDRNOTAVAIL);
  EXPECT_EQ(outcome.text, Ky::Format("Failed to connect TCP socket to address '%s' on port %d.", address.c_str(), port));
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, CSocketConnectorBadAddressTest,
    ::testing::Values(
        // A label longer than 63 characters: the resolver refuses it without asking a server.
        BadAddress{"UnresolvableName", std::string(64, 'n') + ".invalid"},
        BadAddress{"DigitFirstButNoAddress", "300.0.0.1"},
        BadAddress{"DigitFirstName", "1st-server"}),
    [](const ::testing::TestParamInfo<BadAddress>& info) { return std::string(info.param.name); });

TEST(CSocketConnectorTest, PeerThatNeverCompletesTheConnectionTimesOut) {
  // The peer's "backlog" listener has a full accept queue and never accepts.
  const int port = CPeer::Port("backlog");
  const auto started = std::chrono::steady_clock::now();
  const auto outcome = Catch([&] { Net::CSocketConnector(1500).Proceed("127.0.0.1", port); });
  const auto elapsed = std::chrono::steady_clock::now() - started;
  ASSERT_TRUE(outcome.raised);
  EXPECT_FALSE(outcome.common);
  EXPECT_EQ(outcome.text,
            Ky::Format("TCP socket failed to connect to '127.0.0.1' using port %d. (Timeout wait for socket connection.)", port));
  EXPECT_GE(elapsed, std::chrono::milliseconds(1400));
  EXPECT_LT(elapsed, std::chrono::seconds(10));
}

TEST(CSocketScopeTest, ClosesItsSocketButNotAReplacedOne) {
  SOCKET first = socket(AF_INET, SOCK_STREAM, 0);
  SOCKET second = socket(AF_INET, SOCK_STREAM, 0);
  {
    Net::CSocketScope scope(first);
    scope.Set(second);
    EXPECT_EQ(scope.Get(), second);
  }
  int type = 0;
  int length = sizeof(type);
  EXPECT_EQ(getsockopt(first, SOL_SOCKET, SO_TYPE, reinterpret_cast<char*>(&type), &length), 0) << "the replaced socket stays open";
  EXPECT_EQ(getsockopt(second, SOL_SOCKET, SO_TYPE, reinterpret_cast<char*>(&type), &length), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
  closesocket(first);
}

}  // namespace
