// Process list, lookup by image name, ToolHelp binding and the closing sequence against
// stand-in Outlook processes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "doubles/outlook/OutlookStandIn.h"
#include "setup/CProcessesEnum.h"
#include "setup/CToolHelp32Wrapper.h"
#include "setup/SetupTestSupport.h"

namespace {

PROCESSENTRY32 MakeEntry(DWORD id, const char* exeFile) {
  PROCESSENTRY32 entry;
  std::memset(&entry, 0, sizeof(entry));
  entry.dwSize = sizeof(entry);
  entry.th32ProcessID = id;
  entry.cntThreads = id * 2;
  std::strncpy(entry.szExeFile, exeFile, sizeof(entry.szExeFile) - 1);
  return entry;
}

// A list filled by the test instead of a snapshot.
class ListedProcesses : public CProcessesEnum {
 public:
  explicit ListedProcesses(const std::vector<PROCESSENTRY32>& entries) { m_processes = entries; }
};

struct FindCase {
  const char* name;
  std::vector<const char*> exeFiles;  // ids 1, 2, ... in this order
  const char* wanted;
  DWORD expectedId;  // 0: not found
};

class FindProcessTest : public testing::TestWithParam<FindCase> {};

TEST_P(FindProcessTest, AnswersAndCopiesTheFirstMatch) {
  const FindCase& c = GetParam();
  std::vector<PROCESSENTRY32> entries;
  for (size_t i = 0; i < c.exeFiles.size(); ++i) entries.push_back(MakeEntry(static_cast<DWORD>(i + 1), c.exeFiles[i]));
  const ListedProcesses processes(entries);

  // Without an output entry it only answers.
  EXPECT_EQ(processes.FindProcess(c.wanted, nullptr), c.expectedId != 0);

  PROCESSENTRY32 found = MakeEntry(999, "untouched.exe");
  const bool answer = processes.FindProcess(c.wanted, &found);
  EXPECT_EQ(answer, c.expectedId != 0);
  if (c.expectedId != 0) {
    // The whole entry is copied, not only its id.
    EXPECT_EQ(std::memcmp(&found, &entries[c.expectedId - 1], sizeof(found)), 0);
  } else {
    EXPECT_EQ(found.th32ProcessID, 999u);
    EXPECT_STREQ(found.szExeFile, "untouched.exe");
  }
}

const FindCase kFindCases[] = {
    {"EmptyListAnswersNo", {}, "outlook.exe", 0},
    {"BareNameMatches", {"explorer.exe", "outlook.exe"}, "outlook.exe", 2},
    {"CapitalsMatch", {"OUTLOOK.EXE"}, "outlook.exe", 1},
    {"MixedCaseWantedMatches", {"outlook.exe"}, "OutLook.Exe", 1},
    {"FullPathWithBackslashesMatches", {"C:\\Program Files\\Microsoft Office\\OUTLOOK.EXE"}, "outlook.exe", 1},
    {"FullPathWithSlashesMatches", {"C:/Office/outlook.exe"}, "outlook.exe", 1},
    {"LongerNameBeforeDoesNotMatch", {"myoutlook.exe"}, "outlook.exe", 0},
    {"LongerNameAfterDoesNotMatch", {"outlook.exe.bak", "outlook.exe2"}, "outlook.exe", 0},
    {"FolderNamedLikeTheImageDoesNotMatch", {"C:\\outlook.exe\\other.exe"}, "outlook.exe", 0},
    {"FirstOfTwoInListOrder", {"svchost.exe", "OUTLOOK.EXE", "outlook.exe"}, "outlook.exe", 2},
    {"EmptyImageNameMatchesOnlyEmpty", {""}, "outlook.exe", 0},
};

INSTANTIATE_TEST_SUITE_P(Cases, FindProcessTest, testing::ValuesIn(kFindCases),
                         [](const testing::TestParamInfo<FindCase>& info) { return std::string(info.param.name); });

TEST(ToolHelp32WrapperTest, BindsTheKernelExportsAndWalksProcesses) {
  CToolHelp32Wrapper toolHelp;
  ASSERT_TRUE(toolHelp.IsLoaded());
  KyFileHandle snapshot(toolHelp.CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  ASSERT_TRUE(snapshot.IsValid());
  PROCESSENTRY32 entry;
  std::memset(&entry, 0, sizeof(entry));
  entry.dwSize = sizeof(entry);
  ASSERT_TRUE(toolHelp.Process32First(snapshot.Get(), &entry));
  EXPECT_TRUE(toolHelp.Process32Next(snapshot.Get(), &entry));
}

TEST(ProcessesEnumTest, RefreshListsThisProcessAndStartsEmpty) {
  CProcessesEnum processes;
  EXPECT_TRUE(processes.GetProcesses().empty());
  EXPECT_FALSE(processes.FindProcess("test_setup.exe", nullptr));

  processes.Refresh();
  PROCESSENTRY32 found;
  std::memset(&found, 0, sizeof(found));
  ASSERT_TRUE(processes.FindProcess("TEST_SETUP.EXE", &found));
  EXPECT_EQ(found.th32ProcessID, GetCurrentProcessId());

  // A second refresh replaces the list rather than adding to it.
  const size_t count = processes.GetProcesses().size();
  processes.Refresh();
  EXPECT_LT(processes.GetProcesses().size(), 2 * count);
}

// The closing sequence on real stand-in processes (needs a display).
class ClosingSequenceTest : public testing::Test {
 protected:
  void SetUp() override { m_folder = SetupTest::MakeScratchFolder("closing"); }

  static PROCESSENTRY32 FindById(DWORD id) {
    CProcessesEnum processes;
    processes.Refresh();
    for (const PROCESSENTRY32& entry : processes.GetProcesses()) {
      if (entry.th32ProcessID == id) return entry;
    }
    ADD_FAILURE() << "process " << id << " is not in the snapshot";
    return MakeEntry(id, "");
  }

  std::string m_folder;
};

TEST_F(ClosingSequenceTest, AProcessThatHonoursCloseEndsByItself) {
  UiDriver::ChildProcess standIn = SetupTest::StartOutlookStandIn(m_folder, "outlook.exe", false);
  CloseProcessAndWait(FindById(standIn.GetId()));
  ASSERT_TRUE(standIn.WaitForExit(0)) << "still running after the closing sequence";
  EXPECT_EQ(standIn.GetExitCode(), kOutlookStandInClosedExitCode);
}

TEST_F(ClosingSequenceTest, AProcessThatIgnoresCloseIsTerminatedAfterTheGracePeriod) {
  UiDriver::ChildProcess standIn = SetupTest::StartOutlookStandIn(m_folder, "OUTLOOK.EXE", true);
  const DWORD start = GetTickCount();
  CloseProcessAndWait(FindById(standIn.GetId()));
  const DWORD elapsed = GetTickCount() - start;
  ASSERT_TRUE(standIn.WaitForExit(0)) << "still running after the closing sequence";
  EXPECT_EQ(standIn.GetExitCode(), 0u);
  EXPECT_GE(elapsed, 4900u);
}

TEST_F(ClosingSequenceTest, OnlyTheProcessAskedIsHandledNeverASecondOne) {
  UiDriver::ChildProcess first = SetupTest::StartOutlookStandIn(m_folder, "outlook.exe", false);
  const std::string secondFolder = SetupTest::MakeScratchFolder("closing-second");
  UiDriver::ChildProcess second = SetupTest::StartOutlookStandIn(secondFolder, "outlook.exe", false);

  // The setup hands over the first Outlook of the snapshot.
  CProcessesEnum processes;
  processes.Refresh();
  PROCESSENTRY32 outlook;
  ASSERT_TRUE(processes.FindProcess("outlook.exe", &outlook));
  UiDriver::ChildProcess& asked = outlook.th32ProcessID == first.GetId() ? first : second;
  UiDriver::ChildProcess& other = outlook.th32ProcessID == first.GetId() ? second : first;
  ASSERT_EQ(outlook.th32ProcessID, asked.GetId());

  CloseProcessAndWait(outlook);
  ASSERT_TRUE(asked.WaitForExit(0));
  EXPECT_EQ(asked.GetExitCode(), kOutlookStandInClosedExitCode);
  // The other one was neither asked to close nor terminated.
  EXPECT_TRUE(other.IsRunning());
}

}  // namespace
