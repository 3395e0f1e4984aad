// Two processes write the same log at once while this one keeps the created mutex in existence.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <string>
#include <vector>

#include "kybase/CAutoMutex.h"
#include "kybase/KyFile.h"
#include "kybase/KyHandle.h"
#include "kybase/KyShell.h"
#include "tests/kybase/TempFolder.h"
#include "tests/log/LogTestUtil.h"

namespace {

constexpr int kLines = 1500;

struct Child {
  KyKernelHandle process;
  KyKernelHandle thread;
};

bool Start(const std::string& folder, const char* tag, Child& child) {
  std::string command = "\"" + GetModulePath(nullptr).GetParent() + "LogWriterChild.exe\" \"" + folder + "\" " + tag +
                        " " + std::to_string(kLines);
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return false;
  child.process.Reset(info.hProcess);
  child.thread.Reset(info.hThread);
  return true;
}

TEST(LogProcesses, TwoWritersUnderTheMutexLoseAndTearNothing) {
  TempFolder temp;
  // Owned at first, so that both children queue up on it and then race for every line.
  KyKernelHandle mutex(CreateMutexA(nullptr, TRUE, CAutoMutex::kName));
  ASSERT_TRUE(mutex.IsValid());
  ASSERT_NE(ERROR_ALREADY_EXISTS, GetLastError());

  Child a, b;
  ASSERT_TRUE(Start(temp.Path(), "A", a));
  ASSERT_TRUE(Start(temp.Path(), "B", b));
  ReleaseMutex(mutex.Get());
  for (Child* child : {&a, &b}) {
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(child->process.Get(), 120000));
    DWORD code = 1;
    GetExitCodeProcess(child->process.Get(), &code);
    EXPECT_EQ(0u, code);
  }

  const std::regex entry(R"(\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d Info: ([AB]) (\d{6}) ([AB]+))");
  std::map<std::string, int> next = {{"A", 0}, {"B", 0}};
  int banners = 0;
  // Normally one file; two when midnight passes during the run.
  for (const std::string& name : LogTest::FileNames(temp.Path())) {
    std::vector<std::string> lines;
    ASSERT_TRUE(LogTest::SplitCrLf(LogTest::ReadAll(temp.Path().Join(name.c_str())), lines)) << name;
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ("Tolvern Orvella 4.1.0.5 log file", lines[1]);
    EXPECT_EQ("", lines[3]);
    ++banners;
    for (size_t i = 4; i < lines.size(); ++i) {
      std::smatch m;
      ASSERT_TRUE(std::regex_match(lines[i], m, entry)) << name << " line " << i << ": " << lines[i];
      const std::string tag = m[1];
      EXPECT_EQ(std::string(160, tag[0]), m[3].str()) << lines[i];
      ASSERT_EQ(next[tag], std::stoi(m[2])) << "lines of " << tag << " lost or out of order at " << lines[i];
      ++next[tag];
    }
  }
  EXPECT_GE(banners, 1);
  EXPECT_EQ(kLines, next["A"]);
  EXPECT_EQ(kLines, next["B"]);
}

}  // namespace
