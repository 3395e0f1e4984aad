// The log writer's file byte for byte: banner, entries, line ends, appending, roll-over.
#include <windows.h>

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "kybase/CAutoMutex.h"
#include "kybase/KyClientRegistry.h"
#include "kybase/KyException.h"
#include "kybase/KyHandle.h"
#include "kybase/KyLogFile.h"
#include "kybase/KyShell.h"
#include "tests/kybase/TempFolder.h"
#include "tests/log/LogTestUtil.h"
#include "tests/kybase/MutexProbe.h"

namespace {

using LogTest::ReadAll;

const char kRule[] = "-----------------------------------------------------------------------------";
// This executable carries the product's version block.
const std::string kBanner = std::string(kRule) + "\r\nTolvern Orvella 4.1.0.5 log file\r\n" + kRule + "\r\n\r\n";

// The client log with a time stamp the test can predict.
class StampedLog : public CLogFile {
 public:
  explicit StampedLog(const KyFsPath& folder) : CLogFile(folder) {}
  std::string GetTimeStamp() override { return "07.03.2026 12:00:00 "; }
};

class ClientLog : public testing::Test {
 protected:
  void SetUp() override {
    KyKernelHandle mutex(OpenMutexA(SYNCHRONIZE, FALSE, CAutoMutex::kName));
    ASSERT_FALSE(mutex.IsValid()) << "these cases write without the inter-process mutex";
  }
  TempFolder m_temp;
};

TEST_F(ClientLog, FileByteForByte) {
  std::string path;
  {
    StampedLog log(m_temp.Path());
    path = log.GetLogFilePath();
    log.LogInfo("Loading client settings.");
    log.LogError("Cannot connect.");
    log.LogInfo("one\r\ntwo\nthree\rfour");
    log.LogInfo("100% sure, %d %s %n unchanged");
    log.LogInfoFormat("%d%% of %s", 50, "lines");
    log.LogErrorFormat("code %#x", 5u);
    log.LogInfo(static_cast<const char*>(nullptr));
  }
  const std::string s = "07.03.2026 12:00:00 ";
  EXPECT_EQ(kBanner + s + "Info: Loading client settings.\r\n" + s + "Error: Cannot connect.\r\n" + s +
                "Info: onetwothreefour\r\n" + s + "Info: 100% sure, %d %s %n unchanged\r\n" + s +
                "Info: 50% of lines\r\n" + s + "Error: code 0x5\r\n" + s + "Info: \r\n",
            ReadAll(path));
}

TEST_F(ClientLog, FileIsTodaysFirstInTheGivenFolder) {
  CLogFile log(m_temp.Path());
  const KyFsPath path(log.GetLogFilePath());
  EXPECT_EQ(m_temp.Path().Join("").c_str(), path.GetParent());
  EXPECT_TRUE(std::regex_match(path.GetFileName(), std::regex(R"(\d{4}\.\d\d\.\d\d_001\.txt)"))) << path;
  EXPECT_EQ(kBanner, ReadAll(path)) << "a new file starts with the banner and an empty line";
}

TEST_F(ClientLog, TimeStampIsLocalDayMonthYearAndTime) {
  CLogFile log(m_temp.Path());
  SYSTEMTIME before;
  GetLocalTime(&before);
  const std::string stamp = log.GetTimeStamp();
  std::smatch m;
  ASSERT_TRUE(std::regex_match(stamp, m, std::regex(R"((\d\d)\.(\d\d)\.(\d{4}) (\d\d):(\d\d):(\d\d) )"))) << stamp;
  const int year = std::stoi(m[3]);
  EXPECT_TRUE(year == before.wYear || year == before.wYear + 1) << "four-digit local year";

  log.LogInfo("x");
  const std::string content = ReadAll(log.GetLogFilePath());
  EXPECT_TRUE(std::regex_search(content, std::regex(R"(\r\n\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d Info: x\r\n$)")));
}

struct ExceptionCase {
  const char* name;
  const char* sourceFile;
  int line;
  const char* context;
  const char* expected;
};

class LogExceptionCases : public testing::TestWithParam<ExceptionCase> {
 protected:
  TempFolder m_temp;
};

TEST_P(LogExceptionCases, OneErrorLine) {
  const ExceptionCase& c = GetParam();
  std::string path;
  {
    StampedLog log(m_temp.Path());
    path = log.GetLogFilePath();
    log.LogException(Error::KyExceptionText("Cannot open 'a.txt'.", c.sourceFile, c.line), c.context);
  }
  EXPECT_EQ(kBanner + "07.03.2026 12:00:00 Error: " + c.expected + "\r\n", ReadAll(path));
}

const ExceptionCase kExceptionCases[] = {
    {"ContextAndModule", "C:\\src\\net\\Reader.cpp", 42, "while testing",
     "Cannot open 'a.txt'. while testing module: Reader.cpp, line: 42"},
    {"ModuleWithoutContext", "C:\\src\\net\\Reader.cpp", 42, nullptr, "Cannot open 'a.txt'. module: Reader.cpp, line: 42"},
    {"NoModuleNoContextLeavesOneBlank", nullptr, 0, nullptr, "Cannot open 'a.txt'. "},
    {"ContextWithoutModuleLeavesATrailingBlank", nullptr, 0, "ctx", "Cannot open 'a.txt'. ctx "},
    {"PercentInContextIsNoFormat", nullptr, 0, "100%s", "Cannot open 'a.txt'. 100%s "},
};

INSTANTIATE_TEST_SUITE_P(Table, LogExceptionCases, testing::ValuesIn(kExceptionCases),
                         [](const testing::TestParamInfo<ExceptionCase>& info) { return std::string(info.param.name); });

TEST_F(ClientLog, SystemErrorExceptionOnOneLine) {
  const Error::KyExceptionCommon e(ERROR_ACCESS_DENIED, "Error opening 'a.txt'");
  ASSERT_NE(std::string::npos, e.GetText().find(" \n\n")) << "the thrower's text follows after a blank and two line feeds";
  std::string path;
  {
    StampedLog log(m_temp.Path());
    path = log.GetLogFilePath();
    log.LogException(e, nullptr);
  }
  std::string expected = Error::GetSystemErrorDescription(ERROR_ACCESS_DENIED) + " (0x5) Error opening 'a.txt' ";
  EXPECT_EQ(kBanner + "07.03.2026 12:00:00 Error: " + expected + "\r\n", ReadAll(path));
}

TEST_F(ClientLog, ResourceTextsAndMissingResource) {
  std::string path;
  {
    StampedLog log(m_temp.Path());
    path = log.GetLogFilePath();
    log.LogInfo(101u);
    log.LogErrorFormat(102u, 7, "b");
    log.LogError(9999u);
  }
  const std::string s = "07.03.2026 12:00:00 ";
  EXPECT_EQ(kBanner + s + "Info: Text from the resource.\r\n" + s + "Error: Format 7 and b.\r\n" + s + "Error: \r\n",
            ReadAll(path));
}

TEST_F(ClientLog, SecondWriterAppendsWithoutASecondBanner) {
  std::string first, second;
  {
    StampedLog log(m_temp.Path());
    first = log.GetLogFilePath();
    log.LogInfo("one");
  }
  {
    StampedLog log(m_temp.Path());
    second = log.GetLogFilePath();
    log.LogInfo("two");
  }
  if (first != second) GTEST_SKIP() << "midnight passed between the two writers";
  EXPECT_EQ(kBanner + "07.03.2026 12:00:00 Info: one\r\n07.03.2026 12:00:00 Info: two\r\n", ReadAll(first));
}

TEST_F(ClientLog, FolderThatCannotBeCreatedLosesLinesSilently) {
  ASSERT_TRUE(LogTest::MakeFile(m_temp.Path().Join("file"), 1));
  const KyFsPath folder = m_temp.Path().Join("file").Join("Logs");
  CLogFile log(folder);
  log.LogInfo("lost");
  log.LogException(Error::KyExceptionText("lost too"));
  EXPECT_EQ(folder, KyFsPath(log.GetLogFilePath()).GetParent().RemoveTrailing('\\'));
  EXPECT_FALSE(KyFsPath(log.GetLogFilePath()).Exists());
  EXPECT_FALSE(log.OpenCurrent()) << "the folder is still not there";
}

TEST(ClientLogInstance, OneWriterInThePerUserFolder) {
  CLogFile& log = CLogFile::Instance();
  EXPECT_EQ(&log, &CLogFile::Instance());
  const KyFsPath expectedFolder = GetAppDataSubfolder("Tolvern\\KyOrvellaClient").Join("Logs");
  ASSERT_FALSE(expectedFolder.empty());
  EXPECT_EQ(expectedFolder, CLogFile::GetDefaultFolder());
  const KyFsPath path(log.GetLogFilePath());
  EXPECT_EQ(expectedFolder.Join(""), path.GetParent());
  log.LogInfo("Instance test line.");
  const std::string content = ReadAll(path);
  EXPECT_EQ(0u, content.find(kRule));
  EXPECT_NE(std::string::npos, content.find("Info: Instance test line.\r\n"));
}


TEST(ClientLogMutex, EveryOperationReleasesWhatItTook) {
  TempFolder temp;
  KyKernelHandle mutex(CreateMutexA(nullptr, FALSE, CAutoMutex::kName));
  ASSERT_TRUE(mutex.IsValid());
  StampedLog log(temp.Path());
  EXPECT_TRUE(FreeForOtherThread(mutex.Get())) << "after opening";
  log.LogInfo("a");
  log.LogErrorFormat("%s", "b");
  // Takes the mutex again inside, through LogErrorFormat.
  log.LogException(Error::KyExceptionText("c", "x.cpp", 1), "ctx");
  log.LogInfo(9999u);
  EXPECT_TRUE(FreeForOtherThread(mutex.Get())) << "after logging";
  EXPECT_FALSE(log.RollOver());
  EXPECT_TRUE(log.OpenCurrent());
  EXPECT_TRUE(FreeForOtherThread(mutex.Get())) << "after roll-over and reopening";
  EXPECT_EQ(kBanner + "07.03.2026 12:00:00 Info: a\r\n07.03.2026 12:00:00 Error: b\r\n"
                      "07.03.2026 12:00:00 Error: c ctx module: x.cpp, line: 1\r\n07.03.2026 12:00:00 Info: \r\n",
            ReadAll(log.GetLogFilePath()));
}

// The registry value "LogLevel" under HKEY_CURRENT_USER, restored afterwards.
class LogLevelValue : public testing::Test {
 protected:
  void SetUp() override { Delete(); }
  void TearDown() override { Delete(); }
  static void Delete() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ClientRegistry::kKeyPath, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
      RegDeleteValueA(key, ClientRegistry::kLogLevel);
      RegCloseKey(key);
    }
  }
  static void Set(DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, ClientRegistry::kKeyPath, 0, nullptr, 0,
                                             KEY_SET_VALUE, nullptr, &key, nullptr));
    RegSetValueExA(key, ClientRegistry::kLogLevel, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
  }
  TempFolder m_temp;
};

TEST_F(LogLevelValue, MissingGivesZero) { EXPECT_EQ(0u, CLogFile(m_temp.Path()).GetLogLevel()); }

TEST_F(LogLevelValue, DwordIsRead) {
  const DWORD level = 1;
  Set(REG_DWORD, &level, sizeof(level));
  EXPECT_EQ(1u, CLogFile(m_temp.Path()).GetLogLevel());
}

TEST_F(LogLevelValue, OtherTypesGiveZero) {
  Set(REG_SZ, "1", 2);
  EXPECT_EQ(0u, CLogFile(m_temp.Path()).GetLogLevel());
  const BYTE bytes[4] = {1, 0, 0, 0};
  Set(REG_BINARY, bytes, sizeof(bytes));
  EXPECT_EQ(0u, CLogFile(m_temp.Path()).GetLogLevel());
}

TEST_F(LogLevelValue, LevelZeroFiltersNothing) {
  const DWORD level = 0;
  Set(REG_DWORD, &level, sizeof(level));
  std::string path;
  {
    StampedLog log(m_temp.Path());
    path = log.GetLogFilePath();
    log.LogInfo("info");
    log.LogError("error");
  }
  EXPECT_EQ(kBanner + "07.03.2026 12:00:00 Info: info\r\n07.03.2026 12:00:00 Error: error\r\n", ReadAll(path));
}

// The managed writer on a fixed clock: opening, the generic Open, roll-over.
class ManagedLog : public testing::Test {
 protected:
  KyFsPath Named(const char* name) const { return m_temp.Path().Join(name); }
  int64_t m_now = LogTest::LocalMoment(2026, 3, 7);
  TempFolder m_temp;
};

TEST_F(ManagedLog, EmptyFileOfTodayGetsTheHeaderFirst) {
  ASSERT_TRUE(LogTest::MakeFile(Named("2026.03.07_003.txt"), 0));
  LogTest::TestLog log(m_temp.Path(), &m_now);
  log.LogInfo("a");
  EXPECT_EQ(Named("2026.03.07_003.txt"), log.GetLogFilePath());
  EXPECT_EQ("HEADER\r\n\r\nTS Info: a\r\n", ReadAll(log.GetLogFilePath()));
}

TEST_F(ManagedLog, NonEmptyFileOfTodayIsAppendedTo) {
  ASSERT_TRUE(LogTest::MakeFile(Named("2026.03.07_003.txt"), std::string("earlier\r\n")));
  LogTest::TestLog log(m_temp.Path(), &m_now);
  log.LogError("b");
  EXPECT_EQ("earlier\r\nTS Error: b\r\n", ReadAll(Named("2026.03.07_003.txt")));
}

TEST_F(ManagedLog, LinesLandAtTheEndWhateverOthersWroteMeanwhile) {
  LogTest::TestLog log(m_temp.Path(), &m_now);
  log.LogInfo("a");
  {
    KyFileHandle other(CreateFileA(log.GetLogFilePath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(other.IsValid());
    DWORD written = 0;
    WriteFile(other.Get(), "other\r\n", 7, &written, nullptr);
  }
  log.LogInfo("b");
  EXPECT_EQ("HEADER\r\n\r\nTS Info: a\r\nother\r\nTS Info: b\r\n", ReadAll(log.GetLogFilePath()));
}

TEST_F(ManagedLog, OpenWithTruncateEmptiesAndWritesTheHeader) {
  LogTest::TestLog log(m_temp.Path(), &m_now);
  log.LogInfo("a");
  EXPECT_TRUE(log.Open(true)) << "already open: only moves to the end";
  log.Close();
  EXPECT_TRUE(log.Open(false));
  log.LogInfo("b");
  EXPECT_EQ("HEADER\r\n\r\nTS Info: a\r\nTS Info: b\r\n", ReadAll(log.GetLogFilePath()));
  log.Close();
  EXPECT_TRUE(log.Open(true));
  log.LogInfo("c");
  EXPECT_EQ("HEADER\r\n\r\nTS Info: c\r\n", ReadAll(log.GetLogFilePath()));
}

TEST_F(ManagedLog, RollOverKeepsASmallFileOfToday) {
  LogTest::TestLog log(m_temp.Path(), &m_now);
  EXPECT_FALSE(log.RollOver());
  EXPECT_EQ(Named("2026.03.07_001.txt"), log.GetLogFilePath());
}

TEST_F(ManagedLog, RollOverAfterMidnightStartsTheNewDay) {
  m_now = LogTest::LocalMoment(2026, 3, 7, 23, 59, 59);
  LogTest::TestLog log(m_temp.Path(), &m_now);
  log.LogInfo("late");
  m_now += 2;
  EXPECT_TRUE(log.RollOver());
  log.LogInfo("early");
  EXPECT_EQ(Named("2026.03.08_001.txt"), log.GetLogFilePath());
  EXPECT_EQ("HEADER\r\n\r\nTS Info: early\r\n", ReadAll(Named("2026.03.08_001.txt")));
  EXPECT_EQ("HEADER\r\n\r\nTS Info: late\r\n", ReadAll(Named("2026.03.07_001.txt")));
}

struct GrowCase {
  const char* name;
  int64_t grownTo;
  bool rolls;
};

class RollOverBySize : public testing::TestWithParam<GrowCase> {
 protected:
  int64_t m_now = LogTest::LocalMoment(2026, 3, 7);
  TempFolder m_temp;
};

TEST_P(RollOverBySize, OnlyPastTheLimit) {
  const GrowCase& c = GetParam();
  LogTest::TestLog log(m_temp.Path(), &m_now);
  ASSERT_TRUE(LogTest::GrowTo(log.GetLogFilePath(), c.grownTo));
  EXPECT_EQ(c.rolls, log.RollOver());
  EXPECT_EQ(m_temp.Path().Join(c.rolls ? "2026.03.07_002.txt" : "2026.03.07_001.txt"), log.GetLogFilePath());
  log.LogInfo("x");
  if (c.rolls) {
    EXPECT_EQ("HEADER\r\n\r\nTS Info: x\r\n", ReadAll(log.GetLogFilePath()));
  }
}

const GrowCase kGrowCases[] = {
    {"AtTheLimitStays", 0x200000, false},
    {"OneBytePastTheLimitRolls", 0x200001, true},
};

INSTANTIATE_TEST_SUITE_P(Table, RollOverBySize, testing::ValuesIn(kGrowCases),
                         [](const testing::TestParamInfo<GrowCase>& info) { return std::string(info.param.name); });

TEST_F(ManagedLog, RollOverOntoAFileAnotherProgramBeganKeepsItsLines) {
  LogTest::TestLog log(m_temp.Path(), &m_now);
  // Another program of the product rolled over first; this writer's list does not know it.
  ASSERT_TRUE(LogTest::MakeFile(Named("2026.03.07_002.txt"), std::string("HEADER\r\n\r\nTS Info: other\r\n")));
  ASSERT_TRUE(LogTest::GrowTo(log.GetLogFilePath(), 0x200001));
  EXPECT_TRUE(log.RollOver());
  log.LogInfo("mine");
  EXPECT_EQ(Named("2026.03.07_002.txt"), log.GetLogFilePath());
  EXPECT_EQ("HEADER\r\n\r\nTS Info: other\r\nTS Info: mine\r\n", ReadAll(log.GetLogFilePath()));
}

TEST_F(ManagedLog, RollOverBeforeAnyOpenDoesNothing) {
  ASSERT_TRUE(LogTest::MakeFile(m_temp.Path().Join("file"), 1));
  LogTest::TestLog log(m_temp.Path().Join("file").Join("Logs"), &m_now);
  EXPECT_FALSE(log.IsGood());
  EXPECT_FALSE(log.RollOver());
}

}  // namespace
