// The connection test end to end against the protocol test peer on 127.0.0.1.
#include <winsock2.h>

#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "kybase/KyString.h"
#include "net/NetTestSupport.h"
#include "protocol/CServerConnectionTester.h"

using NetTest::Catch;
using NetTest::CPeer;

namespace {

struct Case {
  const char* name;
  const char* scenario;  // the peer's scenario, or nullptr: a port on which nothing listens
  const char* text;      // nullptr: the test passes; "%u": the scenario's message bytes
};

const Case kCases[] = {
    {"GoodAnswerPasses", "good", nullptr},
    {"AnswerWithFoldersPasses", "tree:3:50", nullptr},
    {"AnswerAbove5MiBPasses", "sized:5242881", nullptr},
    {"SplitHeaderPasses", "split", nullptr},
    {"Class19CannotBeMade", "class19", "Failed to instantiate object from socket stream. Stream size: '%u'"},
    {"ZeroTotalIsAnEmptyResponse", "zero", "Empty response from server received."},
    {"CloseWithoutAnswer", "close", "SocketReader: transmission interrupted by the peer."},
    {"CloseAfterHalfAnAnswer", "half", "SocketReader: transmission interrupted by the peer."},
};

class CServerConnectionTesterTest : public ::testing::TestWithParam<Case> {};

TEST_P(CServerConnectionTesterTest, Outcome) {
  const Case& c = GetParam();
  const auto outcome = Catch([&] { CServerConnectionTester("127.0.0.1", CPeer::Port(c.scenario)).Test(); });
  if (c.text == nullptr) {
    EXPECT_FALSE(outcome.raised) << outcome.text;
  } else {
    ASSERT_TRUE(outcome.raised);
    EXPECT_EQ(outcome.text, Ky::Format(c.text, CPeer::MessageBytes(c.scenario)));
  }
}

INSTANTIATE_TEST_SUITE_P(Peer, CServerConnectionTesterTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(CServerConnectionTesterFailureTest, NothingListeningIsRefused) {
  const int port = NetTest::FreePort();
  const auto outcome = Catch([&] { CServerConnectionTester("127.0.0.1", port).Test(); });
  ASSERT_TRUE(outcome.common) << outcome.text;
  EXPECT_EQ(outcome.code, WSAECONNREFUSED);
  EXPECT_EQ(outcome.text, Ky::Format("TCP socket failed to connect to '127.0.0.1' using port %d.", port));
}

TEST(CServerConnectionTesterFailureTest, EmptyAddressIsInvalid) {
  const auto outcome = Catch([&] { CServerConnectionTester("", 4000).Test(); });
  EXPECT_EQ(outcome.text, "CSocketConnector::Proceed invalid address.");
}

// The one run at full length: 21 silent seconds before the connection is declared dead.
TEST(CServerConnectionTesterFailureTest, SilentServerFailsAfter21Seconds) {
  const auto started = std::chrono::steady_clock::now();
  const auto outcome = Catch([&] { CServerConnectionTester("127.0.0.1", CPeer::Port("silent")).Test(); });
  const auto elapsed = std::chrono::steady_clock::now() - started;
  EXPECT_EQ(outcome.text, "SocketReader: dead connection detected.");
  EXPECT_GE(elapsed, std::chrono::milliseconds(20900));
  EXPECT_LT(elapsed, std::chrono::seconds(40));
}

}  // namespace
