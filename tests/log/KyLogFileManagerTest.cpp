// The log manager over prepared folders: which file it reuses, which name comes next, what it prunes.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "kybase/KyLogFileManager.h"
#include "kybase/KyShell.h"
#include "kybase/KyString.h"
#include "tests/kybase/TempFolder.h"
#include "tests/log/LogTestUtil.h"

namespace {

using LogTest::FileNames;
using LogTest::MakeFile;

struct PreparedFile {
  const char* name;
  size_t size;
};

struct ManagerCase {
  const char* name;
  std::vector<PreparedFile> files;
  const char* expectedCurrent;            // file name GetCurrentFile gives
  std::set<std::string> expectedDeleted;  // prepared files that are gone afterwards
};

// The tests stand at noon on 7 March 2026.
const int64_t kToday = LogTest::LocalMoment(2026, 3, 7);

std::vector<PreparedFile> TenOlderDays() {
  static const char* const kNames[] = {"2026.02.25_001.txt", "2026.02.26_001.txt", "2026.02.27_001.txt",
                                       "2026.02.28_001.txt", "2026.03.01_001.txt", "2026.03.02_001.txt",
                                       "2026.03.03_001.txt", "2026.03.04_001.txt", "2026.03.05_001.txt",
                                       "2026.03.06_002.txt"};
  std::vector<PreparedFile> files;
  for (const char* name : kNames) files.push_back({name, 10});
  return files;
}

std::vector<PreparedFile> With(std::vector<PreparedFile> files, std::vector<PreparedFile> more) {
  files.insert(files.end(), more.begin(), more.end());
  return files;
}

const std::vector<PreparedFile> kForeign = {
    {"readme.txt", 10},          {"2026.13.01_001.txt", 10}, {"1970.01.02_001.txt", 10},
    {"2091.01.01_001.txt", 10},  {"2026.03.07.txt", 10},     {"00.txt", 10},
};

const ManagerCase kCases[] = {
    {"EmptyFolderGivesNumberOneOfToday", {}, "2026.03.07_001.txt", {}},
    {"TodaysSmallFileIsReused", {{"2026.03.07_004.txt", 100}}, "2026.03.07_004.txt", {}},
    {"TodaysFileJustBelowTheLimitIsReused", {{"2026.03.07_004.txt", 2097151}}, "2026.03.07_004.txt", {}},
    {"TodaysFullFileGivesTheNextNumber", {{"2026.03.07_004.txt", 2097152}}, "2026.03.07_005.txt", {}},
    {"OlderDayGivesNumberOneWhateverItsNumber", {{"2026.03.06_007.txt", 10}}, "2026.03.07_001.txt", {}},
    {"NewestByNameDecides",
     {{"2026.03.07_002.txt", 10}, {"2026.03.07_010.txt", 10}, {"2026.03.07_003.txt", 10}},
     "2026.03.07_010.txt",
     {}},
    {"TenFilesAndANewOneDeletesTheSmallestName", TenOlderDays(), "2026.03.07_001.txt", {"2026.02.25_001.txt"}},
    {"ForeignFilesAreNeitherCountedNorDeleted", With(TenOlderDays(), kForeign), "2026.03.07_001.txt",
     {"2026.02.25_001.txt"}},
    {"ForeignFilesAloneAreNotReused", kForeign, "2026.03.07_001.txt", {}},
    {"SingleDigitMonthAndDayAccepted", {{"2026.3.7_002.txt", 10}}, "2026.3.7_002.txt", {}},
    {"TextAfterTheNumberDoesNotMatter", {{"2026.03.07_003-copy.txt", 10}}, "2026.03.07_003-copy.txt", {}},
    {"OtherExtensionsAreNotScanned", {{"2026.03.07_003.log", 10}}, "2026.03.07_001.txt", {}},
    {"YearsAtTheEdgesOfTheRangeCount",
     {{"1971.06.01_001.txt", 10}, {"2090.06.01_001.txt", 10}},
     "2026.03.07_001.txt",
     {}},
};

class ManagerCases : public testing::TestWithParam<ManagerCase> {
 protected:
  TempFolder m_temp;
};

TEST_P(ManagerCases, CurrentFileAndPruning) {
  const ManagerCase& c = GetParam();
  std::set<std::string> prepared;
  for (const PreparedFile& file : c.files) {
    ASSERT_TRUE(MakeFile(m_temp.Path().Join(file.name), file.size)) << file.name;
    prepared.insert(file.name);
  }

  LogTest::FixedClockManager manager(m_temp.Path(), &kToday);
  EXPECT_EQ(m_temp.Path().Join(c.expectedCurrent), manager.GetCurrentFile());

  std::set<std::string> expectedOnDisk;
  for (const std::string& name : prepared) {
    if (c.expectedDeleted.count(name) == 0) expectedOnDisk.insert(name);
  }
  EXPECT_EQ(expectedOnDisk, FileNames(m_temp.Path())) << "a new name is not created on disk; only pruned files go";
}

INSTANTIATE_TEST_SUITE_P(Folders, ManagerCases, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<ManagerCase>& info) { return std::string(info.param.name); });

class Manager : public testing::Test {
 protected:
  TempFolder m_temp;
};

TEST_F(Manager, SuccessiveNewFilesCountOnAndKeepTen) {
  LogTest::FixedClockManager manager(m_temp.Path(), &kToday);
  for (int n = 1; n <= 12; ++n) {
    const std::string path = manager.CreateNewFile();
    ASSERT_EQ(m_temp.Path().Join(Ky::Format("2026.03.07_%03d.txt", n).c_str()), path);
    ASSERT_TRUE(MakeFile(path, 1));
  }
  const std::set<std::string> names = FileNames(m_temp.Path());
  EXPECT_EQ(10u, manager.size());
  EXPECT_EQ(10u, names.size());
  EXPECT_EQ(0u, names.count("2026.03.07_001.txt"));
  EXPECT_EQ(0u, names.count("2026.03.07_002.txt"));
}

TEST_F(Manager, NewDayAfterMidnightStartsAtOne) {
  int64_t now = LogTest::LocalMoment(2026, 3, 7, 23, 59, 59);
  LogTest::FixedClockManager manager(m_temp.Path(), &now);
  EXPECT_EQ(m_temp.Path().Join("2026.03.07_001.txt"), manager.GetCurrentFile());
  EXPECT_EQ(m_temp.Path().Join("2026.03.07_002.txt"), manager.CreateNewFile());
  now += 1;
  EXPECT_EQ(m_temp.Path().Join("2026.03.08_001.txt"), manager.CreateNewFile());
}

TEST_F(Manager, AFileThatCannotBeDeletedLeavesTheListButStays) {
  const std::vector<PreparedFile> files = TenOlderDays();
  for (const PreparedFile& file : files) ASSERT_TRUE(MakeFile(m_temp.Path().Join(file.name), file.size));
  // Held open without delete sharing, as by a program that still writes it.
  KyFileRead holder(m_temp.Path().Join("2026.02.25_001.txt").c_str(), FILE_SHARE_READ | FILE_SHARE_WRITE);
  ASSERT_TRUE(holder.IsOpen());

  LogTest::FixedClockManager manager(m_temp.Path(), &kToday);
  manager.CreateNewFile();
  EXPECT_EQ(10u, manager.size());
  EXPECT_EQ(1u, FileNames(m_temp.Path()).count("2026.02.25_001.txt"));
  manager.CreateNewFile();
  EXPECT_EQ(0u, FileNames(m_temp.Path()).count("2026.02.26_001.txt")) << "the next oldest goes";
  EXPECT_EQ(1u, FileNames(m_temp.Path()).count("2026.02.25_001.txt"));
}

TEST_F(Manager, FolderIsCreatedWithEveryMissingLevel) {
  const KyFsPath folder = m_temp.Path().Join("a").Join("Logs");
  LogTest::FixedClockManager manager(folder, &kToday);
  EXPECT_TRUE(folder.FolderExists());
  EXPECT_EQ(folder.Join("2026.03.07_001.txt"), manager.GetCurrentFile());
}

TEST_F(Manager, FolderThatCannotBeCreatedStillNamesNumberOne) {
  ASSERT_TRUE(MakeFile(m_temp.Path().Join("file"), 1));
  const KyFsPath folder = m_temp.Path().Join("file").Join("Logs");
  LogTest::FixedClockManager manager(folder, &kToday);
  EXPECT_TRUE(manager.empty());
  EXPECT_EQ(folder.Join("2026.03.07_001.txt"), manager.GetCurrentFile());
}

TEST_F(Manager, DefaultFolderIsLogsBesideTheExecutable) {
  const KyFsPath expected = GetModulePath(nullptr).GetParent().Join("Logs");
  Error::KyLogFileManager manager(10, 0x200000, "txt");
  EXPECT_EQ(expected, manager.GetFolder());
  EXPECT_TRUE(expected.FolderExists());
  RemoveDirectoryA(expected.c_str());
}

TEST_F(Manager, ScannedDateIsLocalMidnightAndSizeIsRead) {
  ASSERT_TRUE(MakeFile(m_temp.Path().Join("2026.03.05_002.txt"), 1234));
  LogTest::FixedClockManager manager(m_temp.Path(), &kToday);
  ASSERT_EQ(1u, manager.size());
  EXPECT_EQ(LogTest::LocalMoment(2026, 3, 5, 0, 0, 0), manager.front().date);
  EXPECT_EQ(1234u, manager.front().size);
  EXPECT_EQ(2, manager.front().index);
}

}  // namespace
