// The memory buffer and archive: byte images, growth, reads that do not fit, file loading.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <functional>

#include "kybase/KyException.h"
#include "protocol/KyMemoryArchive.h"
#include "ProtocolTestUtil.h"

using ProtoTest::Bytes;
using ProtoTest::Hex;
using ProtoTest::Load;
using ProtoTest::ToBytes;
using ProtoTest::Wire;

namespace {

// ---- golden byte images of single writes

struct GoldenCase {
  const char* name;
  std::function<void(KyMemoryArchive&)> write;
  Bytes expected;
};

class ArchiveGolden : public testing::TestWithParam<GoldenCase> {};

TEST_P(ArchiveGolden, WritesExactBytes) {
  KyMemoryArchive archive;
  GetParam().write(archive);
  EXPECT_EQ(Hex(GetParam().expected), Hex(ToBytes(archive)));
}

INSTANTIATE_TEST_SUITE_P(
    Values, ArchiveGolden,
    testing::Values(
        GoldenCase{"Int7", [](KyMemoryArchive& a) { a.WriteInt(7); }, {4, 0, 0, 0, 7, 0, 0, 0}},
        GoldenCase{"IntNegative", [](KyMemoryArchive& a) { a.WriteInt(-2); }, {4, 0, 0, 0, 0xfe, 0xff, 0xff, 0xff}},
        GoldenCase{"BoolTrue", [](KyMemoryArchive& a) { a.WriteBool(true); }, {1, 0, 0, 0, 1}},
        GoldenCase{"BoolFalse", [](KyMemoryArchive& a) { a.WriteBool(false); }, {1, 0, 0, 0, 0}},
        GoldenCase{"StringAbc", [](KyMemoryArchive& a) { a.WriteString("abc"); }, {1, 3, 0, 0, 0, 0x61, 0x62, 0x63}},
        GoldenCase{"StringEmpty", [](KyMemoryArchive& a) { a.WriteString(""); }, {1, 0, 0, 0, 0}},
        GoldenCase{"StringHighBytesUnconverted", [](KyMemoryArchive& a) { a.WriteString("\xb9\xea"); },
                   {1, 2, 0, 0, 0, 0xb9, 0xea}},
        GoldenCase{"Sequence", [](KyMemoryArchive& a) { a.WriteInt(1).WriteBool(false).WriteString("x"); },
                   {4, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0, 0, 'x'}}),
    [](const testing::TestParamInfo<GoldenCase>& info) { return std::string(info.param.name); });

// ---- growth

TEST(ArchiveGrowth, GrowsAdditivelyByStepOrRequest) {
  const uint8_t block[300] = {};
  KyMemoryBuffer buffer;
  EXPECT_EQ(0u, buffer.GetCapacity());
  buffer.Write(block, 256);
  EXPECT_EQ(256u, buffer.GetCapacity()) << "a write of 256 into a new buffer allocates 256";
  buffer.Write(block, 1);
  EXPECT_EQ(512u, buffer.GetCapacity()) << "one byte more grows by the step";
  EXPECT_EQ(257u, buffer.GetSize());

  KyMemoryBuffer large;
  large.Write(block, 300);
  EXPECT_EQ(300u, large.GetCapacity()) << "a write larger than the step grows by the write";

  KyMemoryBuffer exact;
  exact.Write(block, 100);
  exact.Write(block, 156);  // reaches the end exactly: still grows
  EXPECT_EQ(512u, exact.GetCapacity());
}

TEST(ArchiveGrowth, StepIsAdditiveNotDoubling) {
  KyMemoryBuffer buffer;
  buffer.SetGrowBy(65536);
  std::vector<uint8_t> chunk(1000, 0x5a);
  for (int i = 0; i < 200; ++i) buffer.Write(chunk.data(), static_cast<uint32_t>(chunk.size()));
  EXPECT_EQ(200000u, buffer.GetSize());
  EXPECT_EQ(4u * 65536u, buffer.GetCapacity());
  EXPECT_EQ(0x5a, buffer.GetData()[199999]);
}

TEST(ArchiveGrowth, OverwriteAtFrontKeepsSize) {
  KyMemoryArchive archive;
  archive.WriteInt(0).WriteString("body").WriteBool(true);
  const uint32_t size = archive.GetSize();
  archive.Rewind();
  archive.WriteInt(1234);
  EXPECT_EQ(size, archive.GetSize());
  EXPECT_EQ(8u, archive.GetPosition());
  const Bytes bytes = ToBytes(archive);
  EXPECT_EQ(Hex(Wire().Int(1234).Get()), Hex(Bytes(bytes.begin(), bytes.begin() + 8)));
}

TEST(ArchiveGrowth, FreeKeepsGrowStep) {
  KyMemoryArchive archive;
  archive.SetGrowBy(4096);
  archive.WriteInt(5);
  archive.Free();
  EXPECT_EQ(0u, archive.GetSize());
  EXPECT_EQ(0u, archive.GetCapacity());
  EXPECT_EQ(nullptr, archive.GetData());
  EXPECT_EQ(4096u, archive.GetGrowBy());
  archive.WriteInt(5);
  EXPECT_EQ(4096u, archive.GetCapacity());
}

// A heap that refuses to grow beyond a limit.
class LimitedArchive : public KyMemoryArchive {
 public:
  explicit LimitedArchive(size_t limit) : m_limit(limit) {}

 protected:
  void* ReallocateBlock(void* block, size_t bytes) override {
    return bytes > m_limit ? nullptr : KyMemoryArchive::ReallocateBlock(block, bytes);
  }

 private:
  size_t m_limit;
};

TEST(ArchiveGrowth, RefusedMemoryIsReportedAndBufferKept) {
  LimitedArchive archive(256);
  archive.WriteString(std::string(200, 'x'));
  const Bytes before = ToBytes(archive);
  try {
    archive.WriteString(std::string(100, 'y'));
    FAIL() << "a refused reallocation must be reported";
  } catch (const Error::KyException& e) {
    EXPECT_NE(std::string::npos, e.GetText().find("Not enough memory")) << e.GetText();
  }
  // The marker and length fitted; nothing was written past the old block.
  EXPECT_EQ(256u, archive.GetCapacity());
  EXPECT_EQ(Hex(before), Hex(Bytes(archive.GetData(), archive.GetData() + before.size())));
}

TEST(ArchiveGrowth, ThirtyTwoBitLimitIsReportedWithoutAllocating) {
  LimitedArchive archive(4096);
  archive.SetGrowBy(16);
  archive.WriteInt(1);               // capacity 16
  archive.SetGrowBy(0xFFFFFFF8u);  // 16 + step passes 2^32 - 1
  try {
    archive.WriteInt(3);
    FAIL() << "growth past 32 bits must be reported";
  } catch (const Error::KyException& e) {
    EXPECT_NE(std::string::npos, e.GetText().find("4 GiB")) << e.GetText();
  }
  EXPECT_EQ(16u, archive.GetCapacity());
  EXPECT_EQ(12u, archive.GetSize()) << "the count fitted, the value would fill the block";
}

// ---- reading values

TEST(ArchiveRead, RoundTripsIntegersAndBooleans) {
  const int32_t values[] = {0, 1, -1, 7, INT_MAX, INT_MIN, 123456789};
  KyMemoryArchive archive;
  for (int32_t v : values) archive.WriteInt(v);
  archive.WriteBool(true).WriteBool(false);
  archive.Rewind();
  for (int32_t v : values) {
    int32_t read = 42;
    archive.ReadValue(read);
    EXPECT_EQ(v, read);
  }
  bool first = false, second = true;
  archive.ReadValue(first).ReadValue(second);
  EXPECT_TRUE(first);
  EXPECT_FALSE(second);
  EXPECT_EQ(0u, archive.GetRemaining());
}

TEST(ArchiveRead, NewArchiveLeavesDestinationsUnchanged) {
  KyMemoryArchive archive;
  int32_t value = 99;
  bool flag = true;
  std::string text = "keep";
  archive.ReadValue(value).ReadValue(flag).ReadString(text);
  EXPECT_EQ(99, value);
  EXPECT_TRUE(flag);
  EXPECT_EQ("keep", text);
  EXPECT_EQ(0u, archive.GetSize());
  uint8_t byte = 0;
  EXPECT_FALSE(archive.Read(&byte, 1));
}

struct ValueCase {
  const char* name;
  Bytes input;
  int32_t expected;    // destination starts at 0x11223344
  uint32_t consumed;
};

class ArchiveReadValue : public testing::TestWithParam<ValueCase> {};

TEST_P(ArchiveReadValue, ReadsOrKeepsDestination) {
  KyMemoryArchive archive;
  Load(archive, GetParam().input);
  int32_t value = 0x11223344;
  archive.ReadValue(value);
  EXPECT_EQ(GetParam().expected, value);
  EXPECT_EQ(GetParam().consumed, archive.GetPosition());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArchiveReadValue,
    testing::Values(
        ValueCase{"Whole", Wire().Int(-5).Get(), -5, 8},
        ValueCase{"CountZeroConsumesFour", Wire().U32(0).U32(7).Get(), 0x11223344, 4},
        ValueCase{"CountNegativeConsumesFour", Wire().U32(0xFFFFFFFFu).U32(7).Get(), 0x11223344, 4},
        ValueCase{"CountShortOfHeader", Bytes{4, 0, 0}, 0x11223344, 0},
        ValueCase{"ValueCutShort", Bytes{4, 0, 0, 0, 1, 2}, 0x11223344, 4},
        ValueCase{"NarrowerValueFillsLowBytes", Bytes{1, 0, 0, 0, 0x99}, 0x11223399, 5},
        ValueCase{"WiderValueSkippedUnchanged", Wire().U32(8).U32(1).U32(2).Int(3).Get(), 0x11223344, 12},
        ValueCase{"WiderValueCutShortConsumesCount", Wire().U32(8).U32(1).Get(), 0x11223344, 4},
        ValueCase{"HugeCountNoOverrun", Wire().U32(0x7FFFFFFF).U32(1).Get(), 0x11223344, 4}),
    [](const testing::TestParamInfo<ValueCase>& info) { return std::string(info.param.name); });

TEST(ArchiveRead, BooleanByteOtherThanOneReadsTrue) {
  KyMemoryArchive archive;
  Load(archive, Bytes{1, 0, 0, 0, 0xC8});
  bool flag = false;
  archive.ReadValue(flag);
  EXPECT_TRUE(flag);
}

struct StringCase {
  const char* name;
  Bytes input;
  std::string expected;  // destination starts as "old"
  uint32_t consumed;
};

class ArchiveReadString : public testing::TestWithParam<StringCase> {};

TEST_P(ArchiveReadString, ReadsOrKeepsString) {
  KyMemoryArchive archive;
  Load(archive, GetParam().input);
  std::string text = "old";
  archive.ReadString(text);
  EXPECT_EQ(GetParam().expected, text);
  EXPECT_EQ(GetParam().consumed, archive.GetPosition());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArchiveReadString,
    testing::Values(
        StringCase{"Whole", Wire().Str("abc").Get(), "abc", 8},
        StringCase{"EmptyKeepsOld", Wire().Str("").Get(), "old", 5},
        StringCase{"NegativeLengthKeepsOld", Wire().Raw({1}).U32(0xFFFFFFFEu).Get(), "old", 5},
        StringCase{"MarkerNotOneConsumesOneByte", Bytes{2, 3, 0, 0, 0, 'a', 'b', 'c'}, "old", 1},
        StringCase{"MarkerZeroConsumesOneByte", Bytes{0, 1, 0, 0, 0, 'a'}, "old", 1},
        StringCase{"NoMarker", Bytes{}, "old", 0},
        StringCase{"LengthCutShort", Bytes{1, 3, 0}, "old", 1},
        StringCase{"PastEndEmptiesAndStops", Bytes{1, 4, 0, 0, 0, 'a', 'b', 'c'}, "", 5},
        StringCase{"HugeLengthEmptiesAndStops", Wire().Raw({1}).U32(0x7FFFFFFF).Raw({'a'}).Get(), "", 5},
        StringCase{"CutAtNul", Bytes{1, 5, 0, 0, 0, 'a', 'b', 0, 'c', 'd'}, "ab", 10},
        StringCase{"LeadingNul", Bytes{1, 2, 0, 0, 0, 0, 'z'}, "", 7}),
    [](const testing::TestParamInfo<StringCase>& info) { return std::string(info.param.name); });

TEST(ArchiveRead, NextReadStartsAfterBadMarker) {
  KyMemoryArchive archive;
  Wire wire;
  wire.Raw({7}).Str("next");
  Load(archive, wire.Get());
  std::string first = "a", second;
  archive.ReadString(first).ReadString(second);
  EXPECT_EQ("a", first);
  EXPECT_EQ("next", second);
}

TEST(ArchiveRead, ReadDoesNotCopyPartially) {
  KyMemoryBuffer buffer;
  const uint8_t bytes[3] = {1, 2, 3};
  buffer.Write(bytes, 3);
  buffer.Rewind();
  uint8_t out[4] = {9, 9, 9, 9};
  EXPECT_FALSE(buffer.Read(out, 4));
  EXPECT_EQ(9, out[0]);
  EXPECT_EQ(0u, buffer.GetPosition());
  EXPECT_TRUE(buffer.Read(out, 3));
  EXPECT_EQ(3, out[2]);
  buffer.SeekToEnd();
  EXPECT_EQ(3u, buffer.GetPosition());
}

// ---- LoadFromFile

class ArchiveFile : public testing::Test {
 protected:
  void SetUp() override {
    m_path = testing::TempDir() + "ky_archive_" +
             testing::UnitTest::GetInstance()->current_test_info()->name() + ".bin";
    std::remove(m_path.c_str());
  }
  void TearDown() override { std::remove(m_path.c_str()); }
  void WriteFile(const Bytes& bytes) {
    std::ofstream file(m_path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  std::string m_path;
};

TEST_F(ArchiveFile, LoadsWholeFileExactly) {
  Bytes bytes(70000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7);
  WriteFile(bytes);
  KyMemoryArchive archive;
  archive.WriteString("previous contents");
  ASSERT_TRUE(archive.LoadFromFile(m_path));
  EXPECT_EQ(70000u, archive.GetSize());
  EXPECT_EQ(70000u, archive.GetCapacity());
  EXPECT_EQ(0u, archive.GetPosition());
  EXPECT_TRUE(bytes == ToBytes(archive));
}

TEST_F(ArchiveFile, MissingOrEmptyFileLeavesBufferEmpty) {
  KyMemoryArchive archive;
  archive.WriteInt(3);
  EXPECT_FALSE(archive.LoadFromFile(m_path)) << "missing";
  EXPECT_EQ(0u, archive.GetSize());
  WriteFile(Bytes());
  archive.WriteInt(3);
  EXPECT_FALSE(archive.LoadFromFile(m_path)) << "empty";
  EXPECT_EQ(0u, archive.GetSize());
  EXPECT_EQ(nullptr, archive.GetData());
}

}  // namespace
