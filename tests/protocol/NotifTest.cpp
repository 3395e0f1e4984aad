// Notifications: framing, the factory, re-creation, client requests and store names.
#include <gtest/gtest.h>

#include "kybase/KyException.h"
#include "protocol/CNotifGetFoldersTree.h"
#include "protocol/NotifFactory.h"
#include "ProtocolTestUtil.h"

using namespace Notifs;
using ProtoTest::Bytes;
using ProtoTest::Hex;
using ProtoTest::Load;
using ProtoTest::ToBytes;
using ProtoTest::Wire;

namespace {

// Counts how often the identifier is asked for.
class CountingIdSource : public IClientIdSource {
 public:
  std::string GetClientId() override {
    ++m_calls;
    return "{PC1}{0305419896}{anna}";
  }
  int m_calls = 0;
};

class NotifTest : public testing::Test {
 protected:
  void SetUp() override { m_previous = SetClientIdSource(&m_source); }
  void TearDown() override { SetClientIdSource(m_previous); }

  CountingIdSource m_source;
  IClientIdSource* m_previous = nullptr;
};

CRefCountPtr<CNotifClient> MakeRequest() {
  CRefCountPtr<CNotifClient> request(new CNotifGetFoldersTree(CFsMsgStoreDesc(CFsMsgStoreName("__KyOrvella__"))));
  request->SetFlag(true);
  return request;
}

TEST_F(NotifTest, RequestFramingIsExact) {
  CRefCountPtr<CNotifClient> request = MakeRequest();
  KyMemoryArchive archive;
  const uint32_t total = FrameNotif(archive, *request);
  const std::string id = "{PC1}{0305419896}{anna}";
  const Bytes expected = Wire()
                             .Int(static_cast<int32_t>(47 + id.size() + 13))
                             .Int(19)
                             .Int(2)
                             .Str(id)
                             .Int(1)
                             .Str("")
                             .Str("__KyOrvella__")
                             .Get();
  EXPECT_EQ(expected.size(), total);
  EXPECT_EQ(total, archive.GetSize());
  EXPECT_EQ(Hex(expected), Hex(ToBytes(archive)));
  const Bytes head(expected.begin(), expected.begin() + 16);
  EXPECT_EQ(Hex(Bytes{4, 0, 0, 0, static_cast<uint8_t>(total), 0, 0, 0, 4, 0, 0, 0, 0x13, 0, 0, 0}), Hex(head));
  EXPECT_EQ(65536u, archive.GetGrowBy());
}

TEST_F(NotifTest, StoreDescriptorBytes) {
  KyMemoryArchive archive;
  CFsMsgStoreDesc(CFsMsgStoreName("__KyOrvella__")).Write(archive);
  Bytes expected{4, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 1, 13, 0, 0, 0};
  for (char c : std::string("__KyOrvella__")) expected.push_back(static_cast<uint8_t>(c));
  EXPECT_EQ(Hex(expected), Hex(ToBytes(archive)));
}

TEST_F(NotifTest, ClientWrittenTwiceAsksIdentifierOnce) {
  CRefCountPtr<CNotifClient> request = MakeRequest();
  KyMemoryArchive first, second;
  FrameNotif(first, *request);
  FrameNotif(second, *request);
  EXPECT_EQ(1, m_source.m_calls);
  EXPECT_EQ("{PC1}{0305419896}{anna}", request->GetClientId());
  EXPECT_TRUE(ToBytes(first) == ToBytes(second));
}

// The client only sends class 19; reading one back needs it registered, as the test peer does.
class RequestReadTest : public NotifTest {
 protected:
  static CNotif* CreateRequest() { return new CNotifGetFoldersTree(); }
  void SetUp() override {
    NotifTest::SetUp();
    m_previousCreator = RegisterNotifClass(kClassGetFoldersTree, &CreateRequest);
  }
  void TearDown() override {
    RegisterNotifClass(kClassGetFoldersTree, m_previousCreator);
    NotifTest::TearDown();
  }
  NotifCreator m_previousCreator = nullptr;
};

TEST_F(RequestReadTest, RequestReadsBack) {
  CRefCountPtr<CNotifClient> request = MakeRequest();
  KyMemoryArchive archive;
  const uint32_t total = FrameNotif(archive, *request);
  uint32_t received = 0;
  CRefCountPtr<CNotif> read = RecreateNotif(archive, &received);
  ASSERT_FALSE(read.IsNull());
  EXPECT_EQ(total, received);
  auto* copy = dynamic_cast<CNotifGetFoldersTree*>(read.Get());
  ASSERT_NE(nullptr, copy);
  EXPECT_EQ(2, copy->GetFlags());
  EXPECT_EQ("{PC1}{0305419896}{anna}", copy->GetClientId());
  EXPECT_EQ("__KyOrvella__", copy->GetStoreDesc().GetName());
  EXPECT_EQ("", copy->GetStoreDesc().GetText());
}

TEST_F(RequestReadTest, MissingFlagsReadZero) {
  KyMemoryArchive archive;
  Load(archive, Wire().Message(kClassGetFoldersTree));
  CRefCountPtr<CNotif> read = RecreateNotif(archive);
  ASSERT_FALSE(read.IsNull());
  EXPECT_EQ(0, read->GetFlags());
  EXPECT_EQ("", static_cast<CNotifClient*>(read.Get())->GetClientId());
}

TEST(NotifFactory, KnowsTheResponseOnly) {
  CRefCountPtr<CNotif> response = CreateNotif(kClassGetFoldersTreeResponse);
  ASSERT_FALSE(response.IsNull());
  EXPECT_EQ(20, response->GetClassId());
  EXPECT_NE(nullptr, dynamic_cast<CNotifGetFoldersTreeResponse*>(response.Get()));
  EXPECT_TRUE(CreateNotif(kClassGetFoldersTree).IsNull());
  EXPECT_TRUE(CreateNotif(0).IsNull());
  EXPECT_TRUE(CreateNotif(-1).IsNull());
}

TEST(NotifFactory, DiagnosticTexts) {
  CRefCountPtr<CDiagInfo> info = CNotifGetFoldersTree().GetDiagInfo();
  ASSERT_FALSE(info.IsNull());
  EXPECT_EQ("Get folders tree from server", info->GetText());
  EXPECT_TRUE(CNotifGetFoldersTreeResponse().GetDiagInfo().IsNull());
}

TEST(NotifFactory, FlagWordIsReplacedWhole) {
  CNotifGetFoldersTree request;
  EXPECT_EQ(0, request.GetFlags());
  request.SetFlag(true);
  EXPECT_EQ(2, request.GetFlags());
  request.SetFlag(false);
  EXPECT_EQ(0, request.GetFlags());
}

// ---- re-creation from received bytes

struct RecreateCase {
  const char* name;
  Bytes input;
  enum { kEmpty, kResponse, kFails } outcome;
  std::string failureText;
};

class RecreateNotifTest : public testing::TestWithParam<RecreateCase> {};

TEST_P(RecreateNotifTest, Outcome) {
  const RecreateCase& c = GetParam();
  KyMemoryArchive archive;
  Load(archive, c.input);
  uint32_t received = 12345;
  try {
    CRefCountPtr<CNotif> notif = RecreateNotif(archive, &received);
    ASSERT_NE(RecreateCase::kFails, c.outcome) << "expected: " << c.failureText;
    if (c.outcome == RecreateCase::kEmpty) {
      EXPECT_TRUE(notif.IsNull());
      EXPECT_EQ(12345u, received) << "the size is reported only for a total of 1 or more";
    } else {
      auto* response = dynamic_cast<CNotifGetFoldersTreeResponse*>(notif.Get());
      ASSERT_NE(nullptr, response);
      EXPECT_TRUE(response->GetRoots().empty());
      EXPECT_EQ(c.input.size(), received);
    }
  } catch (const Error::KyException& e) {
    ASSERT_EQ(RecreateCase::kFails, c.outcome) << e.GetText();
    EXPECT_EQ(c.failureText, e.GetText());
  }
}

const Bytes kEmptyResponse{0x04, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00,
                           0x04, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

Bytes WithExtra(Bytes bytes, const Bytes& extra) {
  bytes.insert(bytes.end(), extra.begin(), extra.end());
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RecreateNotifTest,
    testing::Values(
        RecreateCase{"EmptyResponse32Bytes", kEmptyResponse, RecreateCase::kResponse, ""},
        RecreateCase{"TrailingBytesIgnored", WithExtra(kEmptyResponse, {1, 2, 3, 4, 5}), RecreateCase::kResponse, ""},
        RecreateCase{"EndsAfterClassId", Wire().Int(16).Int(20).Get(), RecreateCase::kResponse, ""},
        RecreateCase{"TotalZero", Wire().Int(0).Int(20).Int(1).Int(0).Get(), RecreateCase::kEmpty, ""},
        RecreateCase{"TotalNegative", Wire().Int(-7).Int(20).Get(), RecreateCase::kEmpty, ""},
        RecreateCase{"NoBytes", Bytes{}, RecreateCase::kEmpty, ""},
        RecreateCase{"HeaderCutShort", Bytes{4, 0, 0, 0, 32, 0}, RecreateCase::kEmpty, ""},
        RecreateCase{"Class19", Wire().Int(16).Int(19).Get(), RecreateCase::kFails,
                     "Failed to instantiate object from socket stream. Stream size: '16'"},
        RecreateCase{"DeclaredTotalNotReceivedSize", Wire().Int(5000).Int(19).Int(2).Get(), RecreateCase::kFails,
                     "Failed to instantiate object from socket stream. Stream size: '5000'"},
        RecreateCase{"ClassIdMissing", Wire().Int(8).Get(), RecreateCase::kFails,
                     "Failed to instantiate object from socket stream. Stream size: '8'"}),
    [](const testing::TestParamInfo<RecreateCase>& info) { return std::string(info.param.name); });

TEST(ResponseFraming, EmptyResponseIsTheGoldenMessage) {
  CNotifGetFoldersTreeResponse response;
  KyMemoryArchive archive;
  EXPECT_EQ(32u, FrameNotif(archive, response));
  EXPECT_EQ(Hex(kEmptyResponse), Hex(ToBytes(archive)));
  const Bytes body(kEmptyResponse.begin() + 16, kEmptyResponse.end());
  EXPECT_EQ(Hex(Bytes{4, 0, 0, 0, 1, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0}), Hex(body));
}

// ---- store names

struct ShortNameCase {
  const char* name;
  const char* storeName;
  const char* shortName;
};

class ShortName : public testing::TestWithParam<ShortNameCase> {};

TEST_P(ShortName, Is) { EXPECT_EQ(GetParam().shortName, CFsMsgStoreName(GetParam().storeName).GetShortName()); }

INSTANTIATE_TEST_SUITE_P(
    Cases, ShortName,
    testing::Values(ShortNameCase{"Reserved", "__KyOrvella__", "KyOrvella"},
                    ShortNameCase{"LeadingUnderscoreWhole", "_abc_def", "_abc_def"},
                    ShortNameCase{"BeforeFirstUnderscore", "DOM\\anna_{GUID}@{PC-1}", "DOM\\anna"},
                    ShortNameCase{"NoUnderscoreWhole", "plain", "plain"},
                    ShortNameCase{"Empty", "", ""},
                    ShortNameCase{"ReservedCaseMatters", "__kyorvella__", "__kyorvella__"}),
    [](const testing::TestParamInfo<ShortNameCase>& info) { return std::string(info.param.name); });

TEST(StoreDesc, MissingVersionAndTextsKeepValues) {
  KyMemoryArchive archive;
  Load(archive, Wire().Int(1).Str("text").Get());
  CFsMsgStoreDesc desc(CFsMsgStoreName("kept"));
  desc.Read(archive);
  EXPECT_EQ("text", desc.GetText());
  EXPECT_EQ("kept", desc.GetName());
}

#ifdef _WIN32
TEST(StoreName, UserStoreNameHasUserGuidAndComputer) {
  CFsMsgStoreName name;
  name.MakeUserStoreName();
  const size_t guid = name.find("_{");
  const size_t at = name.find("}@{");
  ASSERT_NE(std::string::npos, guid) << name;
  ASSERT_NE(std::string::npos, at) << name;
  EXPECT_EQ(guid + 2 + 36, at) << "a GUID in registry form: " << name;
  const std::string computer = name.substr(at + 3, name.size() - at - 4);
  EXPECT_FALSE(computer.empty()) << name;
  EXPECT_EQ(std::string::npos, computer.find('_')) << name;
  EXPECT_EQ('}', name.back());
  CFsMsgStoreName other;
  other.MakeUserStoreName();
  EXPECT_NE(name, other) << "a new GUID each time";
}
#endif

}  // namespace
