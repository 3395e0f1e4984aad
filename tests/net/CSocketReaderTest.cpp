// The reader against the protocol test peer: every answer a server can give, the spill of
// large messages to a temporary file, dead connections and the abort event.
#include <winsock2.h>

#include <chrono>
#include <cstdlib>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "kybase/KyHandle.h"
#include "kybase/KyString.h"
#include "net/CSocketReader.h"
#include "net/CSocketScope.h"
#include "net/NetTestSupport.h"
#include "protocol/CNotifGetFoldersTree.h"

using NetTest::Catch;
using NetTest::CPeer;

namespace {

struct Answer {
  const char* scenario;
  int roots;         // a folder-tree response with this many roots, or -1
  int folders;       // child folders of each root's tree
  const char* text;  // otherwise the text raised ("%u": the scenario's message bytes)
};

const Answer kAnswers[] = {
    {"good", 0, 0, nullptr},
    {"tree:3:50", 3, 50, nullptr},
    {"split", 2, 3, nullptr},   // the 8 header bytes first, the rest after a pause
    {"first4", 2, 3, nullptr},  // the first 4 bytes alone
    {"sized:5242880", 1, 0, nullptr},
    {"sized:5242881", 1, 0, nullptr},
    {"class19", -1, 0, "Failed to instantiate object from socket stream. Stream size: '%u'"},
    {"close", -1, 0, "SocketReader: transmission interrupted by the peer."},
    {"half", -1, 0, "SocketReader: transmission interrupted by the peer."},
};

class CSocketReaderAnswerTest : public ::testing::TestWithParam<Answer> {};

TEST_P(CSocketReaderAnswerTest, ReadsTheWholeMessageOrRaisesItsText) {
  const Answer& answer = GetParam();
  Net::CSocketScope client(NetTest::ConnectToPeer(answer.scenario));
  NetTest::SendRequest(client.Get());
  Net::CSocketReader reader(client.Get(), nullptr, true);
  reader.SetDeadConnectionLimit(5);
  uint32_t size = 0;
  CRefCountPtr<Notifs::CNotif> notif;
  const auto outcome = Catch([&] { notif = reader.ReadNotif(&size); });
  if (answer.roots < 0) {
    ASSERT_TRUE(outcome.raised);
    EXPECT_FALSE(outcome.common);
    EXPECT_EQ(outcome.text, Ky::Format(answer.text, CPeer::MessageBytes(answer.scenario)));
    return;
  }
  ASSERT_FALSE(outcome.raised) << outcome.text;
  EXPECT_EQ(size, CPeer::MessageBytes(answer.scenario));
  const auto* response = dynamic_cast<Notifs::CNotifGetFoldersTreeResponse*>(notif.Get());
  ASSERT_NE(response, nullptr);
  ASSERT_EQ(response->GetRoots().size(), static_cast<size_t>(answer.roots));
  for (const auto& root : response->GetRoots()) EXPECT_EQ(root.GetTree()->GetChildren().size(), static_cast<size_t>(answer.folders));
}

INSTANTIATE_TEST_SUITE_P(Peer, CSocketReaderAnswerTest, ::testing::ValuesIn(kAnswers),
                         [](const ::testing::TestParamInfo<Answer>& info) {
                           std::string name = info.param.scenario;
                           for (char& c : name) {
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

TEST(CSocketReaderTest, HeaderDeclaringZeroGivesAnEmptyResult) {
  Net::CSocketScope client(NetTest::ConnectToPeer("zero"));
  NetTest::SendRequest(client.Get());
  uint32_t size = 12345;
  CRefCountPtr<Notifs::CNotif> notif;
  const auto outcome = Catch([&] { notif = Net::CSocketReader(client.Get(), nullptr, true).ReadNotif(&size); });
  ASSERT_FALSE(outcome.raised) << outcome.text;
  EXPECT_TRUE(notif.IsNull());
  EXPECT_EQ(size, 12345u) << "the size is reported only for a declared total of at least 1";
}

TEST(CSocketReaderTest, SilentPeerIsADeadConnectionAfterLimitPlusOneSeconds) {
  Net::CSocketScope client(NetTest::ConnectToPeer("silent"));
  NetTest::SendRequest(client.Get());
  Net::CSocketReader reader(client.Get(), nullptr, true);
  reader.SetDeadConnectionLimit(1);
  const auto started = std::chrono::steady_clock::now();
  const auto outcome = Catch([&] { reader.ReadNotif(); });
  const auto elapsed = std::chrono::steady_clock::now() - started;
  EXPECT_EQ(outcome.text, "SocketReader: dead connection detected.");
  EXPECT_GE(elapsed, std::chrono::milliseconds(1900));
  EXPECT_LT(elapsed, std::chrono::seconds(10));
}

// Watches the temporary folder while the message arrives.
class CTempFileObserver : public Net::ITransferObserver {
 public:
  CTempFileObserver() : m_before(NetTest::TempKyFiles()) {}
  void OnTotal(uint32_t total) override { m_total = total; }
  void OnProgress(uint32_t) override {
    for (const std::string& file : NetTest::TempKyFiles()) {
      if (m_before.count(file) == 0) m_seen.insert(file);
    }
  }
  HANDLE GetAbortEvent() override { return nullptr; }

  std::set<std::string> m_before;
  std::set<std::string> m_seen;
  uint32_t m_total = 0;
};

class CSocketReaderSpillTest : public ::testing::TestWithParam<const char*> {};

TEST_P(CSocketReaderSpillTest, OnlyMessagesAbove5MiBGoThroughATemporaryFile) {
  const std::string scenario = GetParam();
  const bool spills = CPeer::MessageBytes(scenario) > 5242880;
  Net::CSocketScope client(NetTest::ConnectToPeer(scenario));
  NetTest::SendRequest(client.Get());
  CTempFileObserver observer;
  KyMemoryArchive archive;
  const auto outcome = Catch([&] { Net::CSocketReader(client.Get(), &observer, true).Receive(archive); });
  ASSERT_FALSE(outcome.raised) << outcome.text;
  EXPECT_EQ(archive.GetSize(), CPeer::MessageBytes(scenario));
  EXPECT_EQ(observer.m_total, CPeer::MessageBytes(scenario));
  ASSERT_EQ(observer.m_seen.size(), spills ? 1u : 0u);
  for (const std::string& file : observer.m_seen) {
    const std::string name = file.substr(file.find_last_of('\\') + 1);
    EXPECT_EQ(Ky::CompareNoCase(name.substr(0, 2), "ky"), 0) << file;
    EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES) << file << " must be gone";
  }
}

INSTANTIATE_TEST_SUITE_P(Peer, CSocketReaderSpillTest, ::testing::Values("sized:5242880", "sized:5242881"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return std::string(info.index == 0 ? "Exactly5MiBInMemory" : "OneByteMoreInAFile");
                         });

class CAbortingObserver : public Net::ITransferObserver {
 public:
  void OnTotal(uint32_t) override {}
  void OnProgress(uint32_t) override {}
  HANDLE GetAbortEvent() override { return m_abort.Get(); }

 private:
  KyKernelHandle m_abort{CreateEventA(nullptr, TRUE, TRUE, nullptr)};
};

TEST(CSocketReaderTest, AbortEventEndsTheWait) {
  Net::CSocketScope client(NetTest::ConnectToPeer("silent"));
  NetTest::SendRequest(client.Get());
  CAbortingObserver observer;
  const auto outcome = Catch([&] { Net::CSocketReader(client.Get(), &observer, true).ReadNotif(); });
  EXPECT_EQ(outcome.text, "SocketReader: transmission interrupted by the user.");
}

TEST(CSocketReaderTest, FailureFreesTheArchive) {
  Net::CSocketScope client(NetTest::ConnectToPeer("half"));
  NetTest::SendRequest(client.Get());
  KyMemoryArchive archive;
  const auto outcome = Catch([&] { Net::CSocketReader(client.Get(), nullptr, true).Receive(archive); });
  EXPECT_EQ(outcome.text, "SocketReader: transmission interrupted by the peer.");
  EXPECT_EQ(archive.GetSize(), 0u);
  EXPECT_EQ(archive.GetData(), nullptr);
}

// Run by a separate ctest entry under a file-size limit (KY_FILE_SIZE_LIMIT, bytes), which
// makes writing the temporary file fail the way a full disk does.
TEST(CSocketReaderFullDiskTest, SpilledBytesThatCannotBeWrittenRaiseAndLeaveNoFile) {
  const char* limit = std::getenv("KY_FILE_SIZE_LIMIT");
  if (limit == nullptr) GTEST_SKIP() << "runs under a file-size limit only";
  const std::string scenario = "sized:20971520";
  ASSERT_GT(CPeer::MessageBytes(scenario), std::strtoul(limit, nullptr, 10));
  Net::CSocketScope client(NetTest::ConnectToPeer(scenario));
  NetTest::SendRequest(client.Get());
  CTempFileObserver observer;
  KyMemoryArchive archive;
  const auto outcome = Catch([&] { Net::CSocketReader(client.Get(), &observer, true).Receive(archive); });
  ASSERT_TRUE(outcome.raised);
  ASSERT_TRUE(outcome.common) << outcome.text;
  ASSERT_EQ(observer.m_seen.size(), 1u);
  const std::string file = *observer.m_seen.begin();
  EXPECT_EQ(outcome.text, "SocketReader: failed to write socket data file '" + file + "'");
  EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES) << file << " must be gone";
  EXPECT_EQ(archive.GetSize(), 0u);
}

}  // namespace
