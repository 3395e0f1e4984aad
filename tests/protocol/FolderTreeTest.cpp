// Folder-tree messages: reading rules, hostile counts and nesting, truncation, round trips.
#include <gtest/gtest.h>

#include <climits>
#include <thread>

#include "kybase/KyException.h"
#include "protocol/CNotifGetFoldersTree.h"
#include "protocol/NotifFactory.h"
#include "ProtocolTestUtil.h"

using namespace Notifs;
using ProtoTest::Bytes;
using ProtoTest::DiffTrees;
using ProtoTest::Hex;
using ProtoTest::Load;
using ProtoTest::MakeTree;
using ProtoTest::ToBytes;
using ProtoTest::Wire;

namespace {

CRefCountPtr<CFsFolderTreeDesc> ReadTree(const Bytes& bytes, uint32_t* remaining = nullptr) {
  KyMemoryArchive archive;
  Load(archive, bytes);
  CRefCountPtr<CFsFolderTreeDesc> tree(new CFsFolderTreeDesc());
  tree->Read(archive);
  if (remaining != nullptr) *remaining = archive.GetRemaining();
  return tree;
}

CRefCountPtr<CNotifGetFoldersTreeResponse> ReadResponse(const Bytes& message) {
  KyMemoryArchive archive;
  Load(archive, message);
  CRefCountPtr<CNotif> notif = RecreateNotif(archive);
  return CRefCountPtr<CNotifGetFoldersTreeResponse>(dynamic_cast<CNotifGetFoldersTreeResponse*>(notif.Get()));
}

std::vector<std::string> ChildKeys(const CFsFolderTreeDesc& tree) {
  std::vector<std::string> keys;
  for (const auto& child : tree.GetChildren()) keys.push_back(child.first);
  return keys;
}

// ---- folders

TEST(FolderRead, VersionOneHasNoFlagNorTextD) {
  Wire wire;
  wire.Int(1).Str("A").Str("key").Str("C").Table(3, 5, {}).Children(1).Folder("x").Children(0);
  uint32_t remaining = 1;
  CRefCountPtr<CFsFolderTreeDesc> tree = ReadTree(wire.Get(), &remaining);
  EXPECT_TRUE(tree->GetFlag());
  EXPECT_EQ("", tree->GetTextD());
  EXPECT_EQ("key", tree->GetKey());
  EXPECT_EQ("C", tree->GetTextC());
  EXPECT_EQ(5u, tree->GetRights()->GetDefaultRights().GetRights());
  EXPECT_EQ(std::vector<std::string>{"x"}, ChildKeys(*tree)) << "the value after the table is the tree version";
  EXPECT_EQ(0u, remaining);
}

TEST(FolderRead, VersionTwoReadsFlagAndTextD) {
  Wire wire;
  wire.Folder("k", "A", false, "dd").Children(0);
  CRefCountPtr<CFsFolderTreeDesc> tree = ReadTree(wire.Get());
  EXPECT_FALSE(tree->GetFlag());
  EXPECT_EQ("dd", tree->GetTextD());
  EXPECT_EQ("A", tree->GetTextA());
}

TEST(FolderRead, NewFolderDefaults) {
  CFsFolderTreeDesc folder;
  EXPECT_TRUE(folder.GetFlag());
  EXPECT_EQ("", folder.GetKey());
  EXPECT_FALSE(folder.GetRights().IsNull());
  EXPECT_EQ(1023u, folder.GetRights()->GetDefaultRights().GetRights());
  folder.SetTextA("renamed");
  EXPECT_EQ("renamed", folder.GetTextA());
}

// ---- rights tables

struct TableCase {
  const char* name;
  Bytes input;
  uint32_t defaultRights;
  std::vector<std::pair<std::string, uint32_t>> entries;  // in table order
};

class RightsTableRead : public testing::TestWithParam<TableCase> {};

TEST_P(RightsTableRead, Reads) {
  KyMemoryArchive archive;
  Load(archive, GetParam().input);
  CFsFolderRightsTable table;
  table.SetEntry("stale", CFsFolderRights(1));
  table.Read(archive);
  EXPECT_EQ(GetParam().defaultRights, table.GetDefaultRights().GetRights());
  std::vector<std::pair<std::string, uint32_t>> entries;
  for (const auto& entry : table.GetEntries()) entries.emplace_back(entry.first, entry.second.GetRights());
  EXPECT_EQ(GetParam().entries, entries);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RightsTableRead,
    testing::Values(
        TableCase{"Version2KeepsTenBits", Wire().Table(2, 2047, {{"a", 4095}}).Get(), 1023, {{"a", 1023}}},
        TableCase{"Version3Unchanged", Wire().Table(3, 2047, {{"a", 4095}}).Get(), 2047, {{"a", 4095}}},
        TableCase{"Version0Reduced", Wire().Table(0, -1, {}).Get(), 1023, {}},
        TableCase{"SameNameAnyCaseReplaces", Wire().Table(3, 0, {{"Anna", 1}, {"ANNA", 2}}).Get(), 0, {{"Anna", 2}}},
        TableCase{"NamesWithoutCaseOrder", Wire().Table(3, 7, {{"bob", 1}, {"Anna", 2}, {"carl", 3}}).Get(), 7,
                  {{"Anna", 2}, {"bob", 1}, {"carl", 3}}},
        TableCase{"NegativeCountNoEntries", Wire().Int(3).Int(9).Int(-4).Str("x").Int(1).Get(), 9, {}},
        TableCase{"HugeCountStopsAtDataEnd", Wire().Int(3).Int(9).Int(INT_MAX).Str("x").Int(1).Get(), 9, {{"x", 1}}},
        TableCase{"DefaultMissingReadsZero", Wire().Int(3).Get(), 0, {}},
        TableCase{"EntryRightsMissingReadsZero", Wire().Int(3).Int(9).Int(1).Str("x").Get(), 9, {{"x", 0}}}),
    [](const testing::TestParamInfo<TableCase>& info) { return std::string(info.param.name); });

TEST(RightsTable, WritesEntriesWithoutCaseOrder) {
  CFsFolderRightsTable table;
  table.SetDefaultRights(CFsFolderRights(17));
  table.SetEntry("bob", CFsFolderRights(1));
  table.SetEntry("Anna", CFsFolderRights(2));
  table.SetEntry("ANNA", CFsFolderRights(3));
  KyMemoryArchive archive;
  table.Write(archive);
  EXPECT_EQ(Hex(Wire().Table(3, 17, {{"Anna", 3}, {"bob", 1}}).Get()), Hex(ToBytes(archive)));
}

TEST(RightsTable, DifferenceCopyAndReset) {
  CFsFolderRightsTable a, b;
  EXPECT_FALSE(a.IsDifferent(b));
  a.SetEntry("Anna", CFsFolderRights(5));
  EXPECT_TRUE(a.IsDifferent(b)) << "entry count";
  b.SetEntry("anna", CFsFolderRights(5));
  EXPECT_TRUE(a.IsDifferent(b)) << "names compare case-sensitively";
  b.CopyFrom(a);
  EXPECT_FALSE(a.IsDifferent(b));
  b.SetEntry("ANNA", CFsFolderRights(6));
  EXPECT_TRUE(a.IsDifferent(b)) << "rights word";
  EXPECT_EQ(1u, b.GetEntries().size());
  b.SetDefaultRights(CFsFolderRights(0));
  b.Reset();
  EXPECT_EQ(1023u, b.GetDefaultRights().GetRights());
  EXPECT_TRUE(b.GetEntries().empty());
  a.CopyFrom(a);  // copying a table into itself keeps it
  EXPECT_EQ(1u, a.GetEntries().size());
}

TEST(RightsTable, CrossCopiesOnTwoThreadsFinish) {
  CFsFolderRightsTable a, b;
  a.SetEntry("x", CFsFolderRights(1));
  b.SetEntry("y", CFsFolderRights(2));
  std::thread first([&] {
    for (int i = 0; i < 2000; ++i) a.CopyFrom(b);
  });
  std::thread second([&] {
    for (int i = 0; i < 2000; ++i) b.CopyFrom(a);
  });
  first.join();
  second.join();
  EXPECT_EQ(1u, a.GetEntries().size());
}

TEST(Rights, BitsAndWord) {
  CFsFolderRights rights;
  EXPECT_EQ(1023u, rights.GetRights());
  rights.SetRight(4, false);
  EXPECT_FALSE(rights.HasRight(4));
  EXPECT_TRUE(rights.HasRight(512));
  EXPECT_EQ(1019u, rights.GetRights());
  rights.SetRight(4, true);
  EXPECT_EQ(1023u, rights.GetRights());
  rights.SetRights(0);
  EXPECT_FALSE(rights.HasRight(1));
}

// ---- children

struct ChildrenCase {
  const char* name;
  std::vector<std::string> sent;
  std::vector<std::string> held;
};

class ChildrenOrder : public testing::TestWithParam<ChildrenCase> {};

TEST_P(ChildrenOrder, HeldAndWrittenInKeyOrder) {
  Wire wire;
  wire.Folder("root").Children(static_cast<int32_t>(GetParam().sent.size()));
  int n = 0;
  for (const std::string& key : GetParam().sent) wire.Folder(key, "sent" + std::to_string(n++)).Children(0);
  CRefCountPtr<CFsFolderTreeDesc> tree = ReadTree(wire.Get());
  EXPECT_EQ(GetParam().held, ChildKeys(*tree));

  KyMemoryArchive again;
  tree->Write(again);
  Wire expected;
  expected.Folder("root").Children(static_cast<int32_t>(GetParam().held.size()));
  for (const std::string& key : GetParam().held) {
    // The last child sent under a key wins.
    int last = -1;
    for (size_t i = 0; i < GetParam().sent.size(); ++i) {
      if (GetParam().sent[i] == key) last = static_cast<int>(i);
    }
    expected.Folder(key, "sent" + std::to_string(last)).Children(0);
  }
  EXPECT_EQ(Hex(expected.Get()), Hex(ToBytes(again)));
}

INSTANTIATE_TEST_SUITE_P(Cases, ChildrenOrder,
                         testing::Values(ChildrenCase{"BThenA", {"b", "a"}, {"a", "b"}},
                                         ChildrenCase{"CaseMakesTwoKeys", {"a", "A"}, {"A", "a"}},
                                         ChildrenCase{"UpperBSortsBeforeLowerA", {"a", "B"}, {"B", "a"}},
                                         ChildrenCase{"LaterDuplicateReplaces", {"x", "y", "x"}, {"x", "y"}},
                                         ChildrenCase{"HighBytesAfterAscii", {"\xb9z", "z"}, {"z", "\xb9z"}}),
                         [](const testing::TestParamInfo<ChildrenCase>& info) { return std::string(info.param.name); });

TEST(TreeRead, NegativeChildCountReadsNoChildren) {
  Wire wire;
  wire.Folder("root").Children(-3).Folder("x").Children(0);
  uint32_t remaining = 0;
  CRefCountPtr<CFsFolderTreeDesc> tree = ReadTree(wire.Get(), &remaining);
  EXPECT_TRUE(tree->GetChildren().empty());
  EXPECT_GT(remaining, 0u);
}

TEST(TreeRead, HugeChildCountStopsAtDataEnd) {
  Wire wire;
  wire.Folder("root").Children(INT_MAX).Folder("only").Children(INT_MAX);
  CRefCountPtr<CFsFolderTreeDesc> tree = ReadTree(wire.Get());
  EXPECT_EQ(std::vector<std::string>{"only"}, ChildKeys(*tree));
}

// ---- nesting depth

Bytes NestedTree(int levels) {
  Wire wire;
  for (int level = 1; level <= levels; ++level) wire.Folder("L" + std::to_string(level)).Children(level < levels ? 1 : 0);
  return wire.Get();
}

TEST(TreeDepth, DeepestAllowedTreeReads) {
  CRefCountPtr<CFsFolderTreeDesc> tree = ReadTree(NestedTree(CFsFolderTreeDesc::kMaxDepth));
  int depth = 1;
  const CFsFolderTreeDesc* node = tree.Get();
  while (!node->GetChildren().empty()) {
    node = node->GetChildren().begin()->second.Get();
    ++depth;
  }
  EXPECT_EQ(CFsFolderTreeDesc::kMaxDepth, depth);
  KyMemoryArchive archive;
  tree->Write(archive);
  EXPECT_EQ(Hex(NestedTree(CFsFolderTreeDesc::kMaxDepth)), Hex(ToBytes(archive)));
}

TEST(TreeDepth, OneLevelTooDeepIsMalformed) {
  Wire body;
  body.Int(1).Int(1).Int(1).Int(1).Str("").Str("store").Append(NestedTree(CFsFolderTreeDesc::kMaxDepth + 1));
  try {
    ReadResponse(body.Message(kClassGetFoldersTreeResponse));
    FAIL() << "a tree nested too deeply must be refused";
  } catch (const Error::KyException& e) {
    EXPECT_EQ("Malformed folder tree: nested deeper than 256 levels.", e.GetText());
  }
}

TEST(TreeDepth, HostileDepthFailsWithoutExhaustingStack) {
  // A million levels in a few dozen megabytes would overflow any stack without the bound.
  Wire level;
  level.Folder("").Children(1);
  Bytes bytes;
  for (int i = 0; i < 200000; ++i) bytes.insert(bytes.end(), level.Get().begin(), level.Get().end());
  EXPECT_THROW(ReadTree(bytes), Error::KyException);
}

TEST(TreeDepth, WritingTooDeepATreeIsRefused) {
  CRefCountPtr<CFsFolderTreeDesc> root(new CFsFolderTreeDesc());
  CRefCountPtr<CFsFolderTreeDesc> node = root;
  for (int i = 1; i <= CFsFolderTreeDesc::kMaxDepth; ++i) {
    CRefCountPtr<CFsFolderTreeDesc> child(new CFsFolderTreeDesc("k", "", "", true, "", nullptr));
    node->AddChild(child);
    node = child;
  }
  KyMemoryArchive archive;
  EXPECT_THROW(root->Write(archive), Error::KyException);
}

// ---- responses

TEST(ResponseRead, HugeRootCountStopsAtDataEnd) {
  Wire body;
  body.Int(1).Int(INT_MAX).Int(1).Int(1).Str("").Str("store").Folder("r").Children(0);
  CRefCountPtr<CNotifGetFoldersTreeResponse> response = ReadResponse(body.Message(kClassGetFoldersTreeResponse));
  ASSERT_FALSE(response.IsNull());
  ASSERT_EQ(1u, response->GetRoots().size());
  EXPECT_EQ("store", response->GetRoots()[0].GetStoreDesc().GetName());
  EXPECT_EQ("r", response->GetRoots()[0].GetTree()->GetKey());
}

TEST(ResponseRead, NegativeOrZeroRootCountGivesNoRoots) {
  for (int32_t count : {0, -1, INT_MIN}) {
    Wire body;
    body.Int(1).Int(count).Int(1).Int(1).Str("").Str("store").Folder("r").Children(0);
    CRefCountPtr<CNotifGetFoldersTreeResponse> response = ReadResponse(body.Message(kClassGetFoldersTreeResponse));
    ASSERT_FALSE(response.IsNull());
    EXPECT_TRUE(response->GetRoots().empty()) << count;
  }
}

TEST(ResponseRead, ReadingAgainReplacesRoots) {
  CNotifGetFoldersTreeResponse source;
  source.AddRoot(CFsMsgStoreDesc(CFsMsgStoreName("one")), MakeTree(3, 2, 1));
  KyMemoryArchive archive;
  source.Write(archive);
  CNotifGetFoldersTreeResponse target;
  archive.Rewind();
  target.Read(archive);
  archive.Rewind();
  target.Read(archive);
  EXPECT_EQ(1u, target.GetRoots().size());
}

TEST(ResponseWrite, RootWithoutTreeIsRefused) {
  CNotifGetFoldersTreeResponse response;
  response.AddRoot(CFsMsgStoreDesc(CFsMsgStoreName("s")), CRefCountPtr<CFsFolderTreeDesc>());
  KyMemoryArchive archive;
  EXPECT_THROW(response.Write(archive), Error::KyException);
}

TEST(ResponseWrite, RootsShareTheirTrees) {
  CRootFolderDesc root;
  CRootFolderDesc copy = root;
  EXPECT_EQ(root.GetTree().Get(), copy.GetTree().Get());
  EXPECT_FALSE(root.GetTree().IsNull());
}

// A response of several roots, each with children and rights, as a server would send it.
class RealResponse : public testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 3; ++i) {
      CFsMsgStoreDesc store(CFsMsgStoreName("store" + std::to_string(i)));
      store.SetText("t" + std::to_string(i));
      m_response.AddRoot(store, MakeTree(6 + i, 3, 2, 100 + i));
    }
    KyMemoryArchive archive;
    FrameNotif(archive, m_response);
    m_message = ToBytes(archive);
    // Where each root ends: the header, version and count, then each root's own bytes.
    uint32_t end = 16 + 16;
    for (const CRootFolderDesc& root : m_response.GetRoots()) {
      KyMemoryArchive one;
      root.Write(one);
      end += one.GetSize();
      m_rootEnds.push_back(end);
    }
    ASSERT_EQ(m_message.size(), m_rootEnds.back());
  }

  CNotifGetFoldersTreeResponse m_response;
  Bytes m_message;
  std::vector<uint32_t> m_rootEnds;
};

TEST_F(RealResponse, TruncatedAtEveryByteKeepsWhatWasComplete) {
  for (size_t length = 0; length <= m_message.size(); ++length) {
    SCOPED_TRACE(length);
    KyMemoryArchive archive;
    Load(archive, m_message, length);
    CRefCountPtr<CNotif> notif;
    try {
      notif = RecreateNotif(archive);
    } catch (const Error::KyException& e) {
      // Only a message cut inside the class identifier names no known class.
      EXPECT_TRUE(length >= 8 && length < 16) << e.GetText();
      continue;
    }
    if (length < 8) {
      EXPECT_TRUE(notif.IsNull());
      continue;
    }
    auto* read = dynamic_cast<CNotifGetFoldersTreeResponse*>(notif.Get());
    ASSERT_NE(nullptr, read);
    const auto& roots = read->GetRoots();
    ASSERT_LE(roots.size(), m_response.GetRoots().size());
    for (size_t i = 0; i < m_rootEnds.size(); ++i) {
      if (m_rootEnds[i] > length) break;
      ASSERT_LT(i, roots.size());
      EXPECT_EQ(m_response.GetRoots()[i].GetStoreDesc().GetName(), roots[i].GetStoreDesc().GetName());
      EXPECT_EQ(m_response.GetRoots()[i].GetStoreDesc().GetText(), roots[i].GetStoreDesc().GetText());
      EXPECT_EQ("", DiffTrees(*m_response.GetRoots()[i].GetTree(), *roots[i].GetTree()));
    }
  }
}

TEST_F(RealResponse, GarbledBytesNeverCrash) {
  // Every byte in turn set to values that stress counts, lengths and markers.
  for (size_t at = 16; at < m_message.size(); ++at) {
    for (uint8_t value : {0x00, 0x02, 0x7f, 0x80, 0xff}) {
      Bytes garbled = m_message;
      garbled[at] = value;
      KyMemoryArchive archive;
      Load(archive, garbled);
      try {
        RecreateNotif(archive);
      } catch (const Error::KyException&) {
      }
    }
  }
}

// ---- round trip

TEST(RoundTrip, ThousandsOfFoldersReadBackEqual) {
  CNotifGetFoldersTreeResponse response;
  response.AddRoot(CFsMsgStoreDesc(CFsMsgStoreName("big")), MakeTree(5000, 6, 3, 1));
  response.AddRoot(CFsMsgStoreDesc(CFsMsgStoreName("__KyOrvella__")), MakeTree(1500, 2, 0, 2));
  KyMemoryArchive archive;
  const uint32_t total = FrameNotif(archive, response);
  uint32_t received = 0;
  CRefCountPtr<CNotif> notif = RecreateNotif(archive, &received);
  EXPECT_EQ(total, received);
  auto* read = dynamic_cast<CNotifGetFoldersTreeResponse*>(notif.Get());
  ASSERT_NE(nullptr, read);
  ASSERT_EQ(2u, read->GetRoots().size());
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(response.GetRoots()[i].GetStoreDesc().GetName(), read->GetRoots()[i].GetStoreDesc().GetName());
    EXPECT_EQ("", DiffTrees(*response.GetRoots()[i].GetTree(), *read->GetRoots()[i].GetTree()));
  }
  KyMemoryArchive again;
  FrameNotif(again, *read);
  EXPECT_TRUE(ToBytes(archive) == ToBytes(again)) << "written again byte for byte";
}

}  // namespace
