// The protocol test peer itself: its request check, its answers, and its verdict as a process.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "PeerMessages.h"
#include "protocol/CNotifGetFoldersTree.h"
#include "protocol/NotifFactory.h"

namespace {

const char kGoodId[] = "{PC1}{1305419896}{anna}";

class PeerRequestTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Peer::RegisterRequestClass(); }
};

void PutInt(Peer::Bytes& bytes, size_t offset, int32_t value) { std::memcpy(&bytes[offset], &value, 4); }

TEST_F(PeerRequestTest, AcceptsTheClientsRequest) {
  const Peer::Bytes request = Peer::MakeRequestMessage(kGoodId);
  EXPECT_EQ(request.size(), 47u + std::strlen(kGoodId) + 13u);
  EXPECT_EQ(Peer::CheckRequest(request), "");
  EXPECT_EQ(Peer::CheckRequest(Peer::MakeRequestMessage("{PC1}{}{anna}")), "");
}

struct Fault {
  const char* name;
  void (*spoil)(Peer::Bytes&);
  const char* expected;  // a part of the reported fault
};

const Fault kFaults[] = {
    {"TotalTooLarge", [](Peer::Bytes& b) { PutInt(b, 4, static_cast<int32_t>(b.size() + 1)); }, "declared total"},
    {"WrongClass", [](Peer::Bytes& b) { PutInt(b, 12, 20); }, "class 20"},
    {"FlagsZero", [](Peer::Bytes& b) { PutInt(b, 20, 0); }, "flags 0"},
    {"IntegerCountNot4", [](Peer::Bytes& b) { PutInt(b, 16, 1); }, "no flags word"},
    {"StringMarkerNot1", [](Peer::Bytes& b) { b[24] = 0; }, "no client identifier"},
    {"IdentifierWithoutBraces", [](Peer::Bytes& b) { b[29] = 'x'; }, "is not {...}{...}{...}"},
    {"StoreNameChanged", [](Peer::Bytes& b) { b[b.size() - 1] = 'x'; }, "instead of __KyOrvella__"},
    {"TrailingByte",
     [](Peer::Bytes& b) {
       b.push_back(0);
       PutInt(b, 4, static_cast<int32_t>(b.size()));
     },
     "bytes after the store name"},
    {"Truncated",
     [](Peer::Bytes& b) {
       b.resize(b.size() - 3);
       PutInt(b, 4, static_cast<int32_t>(b.size()));
     },
     "no store name"},
};

class PeerFaultTest : public PeerRequestTest, public ::testing::WithParamInterface<Fault> {};

TEST_P(PeerFaultTest, ReportsTheFault) {
  Peer::Bytes request = Peer::MakeRequestMessage(kGoodId);
  GetParam().spoil(request);
  EXPECT_NE(Peer::CheckRequest(request).find(GetParam().expected), std::string::npos) << Peer::CheckRequest(request);
}

INSTANTIATE_TEST_SUITE_P(Requests, PeerFaultTest, ::testing::ValuesIn(kFaults),
                         [](const ::testing::TestParamInfo<Fault>& info) { return std::string(info.param.name); });

CRefCountPtr<Notifs::CNotif> Recreate(const Peer::Bytes& message) {
  KyMemoryArchive archive;
  archive.Write(message.data(), static_cast<uint32_t>(message.size()));
  return Notifs::RecreateNotif(archive);
}

TEST(PeerAnswerTest, GoodAnswerIsThe32ByteResponse) {
  const Peer::Bytes expected = {4, 0, 0, 0, 32, 0, 0, 0, 4, 0, 0, 0, 20, 0, 0, 0,
                                4, 0, 0, 0, 1,  0, 0, 0, 4, 0, 0, 0, 0,  0, 0, 0};
  EXPECT_EQ(Peer::MakeTreeResponse(0, 0), expected);
}

TEST(PeerAnswerTest, TreeResponseCarriesRootsAndFolders) {
  const auto notif = Recreate(Peer::MakeTreeResponse(3, 5));
  const auto* response = dynamic_cast<Notifs::CNotifGetFoldersTreeResponse*>(notif.Get());
  ASSERT_NE(response, nullptr);
  ASSERT_EQ(response->GetRoots().size(), 3u);
  EXPECT_EQ(response->GetRoots()[2].GetTree()->GetChildren().size(), 5u);
}

TEST(PeerAnswerTest, SizedResponseHasExactlyTheTotal) {
  for (const uint32_t total : {300u, 5242880u, 5242881u}) {
    const Peer::Bytes message = Peer::MakeSizedResponse(total);
    ASSERT_EQ(message.size(), total);
    EXPECT_EQ(Peer::DeclaredTotal(message.data()), total);
    const auto notif = Recreate(message);
    ASSERT_NE(dynamic_cast<Notifs::CNotifGetFoldersTreeResponse*>(notif.Get()), nullptr);
  }
  EXPECT_TRUE(Peer::MakeSizedResponse(20).empty());
}

// The peer as the fixtures run it: a separate process that reports a malformed request in
// its exit status and on its standard error.
class PeerProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/ky-test-peer-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    m_dir = pattern;
    const char* program = std::getenv("KY_PEER_PROGRAM");
    ASSERT_NE(program, nullptr);
    m_pid = fork();
    ASSERT_GE(m_pid, 0);
    if (m_pid == 0) {
      const std::string errors = m_dir + "/stderr";
      freopen(errors.c_str(), "w", stderr);
      const std::string ports = m_dir + "/ports";
      execl(program, program, "--ports-file", ports.c_str(), "good", "close", static_cast<char*>(nullptr));
      _exit(127);
    }
    // The ports file appears, complete, once the peer listens.
    for (int i = 0; i < 300 && !std::ifstream(m_dir + "/ports"); ++i) usleep(100000);
    std::ifstream ports(m_dir + "/ports");
    std::string definition;
    size_t bytes = 0;
    ports >> definition >> m_goodPort >> bytes;
    ASSERT_EQ(definition, "good");
    ASSERT_EQ(bytes, 32u);
  }

  void TearDown() override {
    if (m_pid > 0) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
    }
    std::system(("rm -rf " + m_dir).c_str());
  }

  // Sends the bytes, then reads until the peer closes or 32 bytes came.
  std::string Exchange(const Peer::Bytes& request) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(m_goodPort));
    EXPECT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    EXPECT_EQ(send(fd, request.data(), request.size(), 0), static_cast<ssize_t>(request.size()));
    std::string answer;
    char block[64];
    ssize_t got = 0;
    while (answer.size() < 32 && (got = recv(fd, block, sizeof(block), 0)) > 0) answer.append(block, static_cast<size_t>(got));
    close(fd);
    return answer;
  }

  int Stop() {
    kill(m_pid, SIGTERM);
    int status = 0;
    waitpid(m_pid, &status, 0);
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string Errors() const {
    std::ifstream file(m_dir + "/stderr");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }

  std::string m_dir;
  pid_t m_pid = -1;
  int m_goodPort = 0;
};

TEST_F(PeerProcessTest, AnswersAGoodRequestAndEndsCleanly) {
  EXPECT_EQ(Exchange(Peer::MakeRequestMessage(kGoodId)).size(), 32u);
  EXPECT_EQ(Stop(), 0);
  EXPECT_EQ(Errors(), "");
}

TEST_F(PeerProcessTest, ReportsAMalformedRequestInItsExitStatus) {
  EXPECT_EQ(Exchange(Peer::MakeRequestMessage("no identifier")), "");
  EXPECT_EQ(Stop(), 1);
  EXPECT_NE(Errors().find("malformed request on 'good'"), std::string::npos) << Errors();
}

}  // namespace
