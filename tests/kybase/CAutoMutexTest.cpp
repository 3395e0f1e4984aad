// The log's named mutex: absent, held elsewhere, abandoned by a process that ended.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "kybase/CAutoMutex.h"
#include "kybase/KyHandle.h"
#include "kybase/KyShell.h"
#include "tests/kybase/MutexProbe.h"

namespace {


TEST(CAutoMutex, WithoutTheMutexLockAndUnlockDoNothing) {
  CAutoMutex mutex;
  EXPECT_FALSE(mutex.IsOpen());
  CAutoMutexLock lock(&mutex);
  CAutoMutexLock nothing(nullptr);
}

TEST(CAutoMutex, OpensButNeverCreates) {
  { CAutoMutex mutex; }
  KyKernelHandle probe(OpenMutexA(SYNCHRONIZE, FALSE, CAutoMutex::kName));
  EXPECT_FALSE(probe.IsValid());
}

TEST(CAutoMutex, ScopedLockHoldsUntilItEnds) {
  KyKernelHandle created(CreateMutexA(nullptr, FALSE, CAutoMutex::kName));
  ASSERT_TRUE(created.IsValid());
  CAutoMutex mutex;
  ASSERT_TRUE(mutex.IsOpen());
  {
    CAutoMutexLock lock(&mutex);
    EXPECT_FALSE(FreeForOtherThread(created.Get()));
  }
  EXPECT_TRUE(FreeForOtherThread(created.Get()));
}

TEST(CAutoMutex, AbandonedMutexCountsAsAcquired) {
  KyKernelHandle created(CreateMutexA(nullptr, FALSE, CAutoMutex::kName));
  ASSERT_TRUE(created.IsValid());

  // A child takes the mutex and exits without releasing it.
  std::string command = "\"" + GetModulePath(nullptr).GetParent() + "MutexHolder.exe\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
  KyKernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(processHandle.Get(), 30000));
  DWORD exitCode = 1;
  GetExitCodeProcess(processHandle.Get(), &exitCode);
  ASSERT_EQ(0u, exitCode) << "the holder could not take the mutex";

  CAutoMutex mutex;
  {
    CAutoMutexLock lock(&mutex);
    EXPECT_FALSE(FreeForOtherThread(created.Get())) << "the abandoned mutex is ours now";
  }
  EXPECT_TRUE(FreeForOtherThread(created.Get())) << "and the matching unlock released it";
}

}  // namespace
