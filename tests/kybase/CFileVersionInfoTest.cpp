// The version reader on executables with and without a version resource.
#include <windows.h>

#include <gtest/gtest.h>

#include "kybase/CFileVersionInfo.h"
#include "kybase/KyShell.h"

namespace {

TEST(CFileVersionInfo, ReadsFileAndProductVersionOfThisExecutable) {
  CFileVersionInfo info(nullptr);
  std::string version;
  info.GetFileVersionString(version, 4);
  EXPECT_EQ("1.2.3.4", version);
  std::string two = "v";
  info.GetFileVersionString(two, 2);
  EXPECT_EQ("v1.2", two) << "appends the first parts only";
  // The product version string "7, 8 ,9,10" has commas and blanks between its numbers.
  const uint16_t* product = info.GetProductVersion();
  EXPECT_EQ(7, product[0]);
  EXPECT_EQ(8, product[1]);
  EXPECT_EQ(9, product[2]);
  EXPECT_EQ(10, product[3]);
}

TEST(CFileVersionInfo, WithoutResourceLoadFailsAndVersionIsZeros) {
  CFileVersionInfo info(nullptr);
  const KyFsPath probe = GetModulePath(nullptr).GetParent() + "MutexHolder.exe";
  EXPECT_FALSE(info.Load(probe.c_str()));
  std::string version;
  info.GetFileVersionString(version, 4);
  EXPECT_EQ("0.0.0.0", version);
  EXPECT_FALSE(info.Load("Z:\\no\\such\\file.exe"));
}

}  // namespace
