// Writing a resource of the program to a file: exact copy, replacement, failures.
#include <gtest/gtest.h>

#include <string>

#include "setup/CKyOrvellaStoreSetupBootENApp.h"
#include "setup/SetupTestSupport.h"

namespace {

constexpr WORD kPackageId = 129;  // this test program carries a package there, as ClientSetup does

class WriteResourceToFileTest : public testing::Test {
 protected:
  void SetUp() override {
    m_folder = SetupTest::MakeScratchFolder("write-resource");
    m_path = m_folder + "\\OrvellaStoreSetupEN.msi";
    m_expected = SetupTest::ReadWholeFile(SetupTest::PathFromEnv("KY_TEST_RESOURCE_PACKAGE"));
    ASSERT_GT(m_expected.size(), 1000u);
  }

  std::string m_folder;
  std::string m_path;
  std::string m_expected;
};

TEST_F(WriteResourceToFileTest, WritesAnExactCopy) {
  EXPECT_TRUE(WriteResourceToFile(m_path, kPackageId, "MSI"));
  EXPECT_TRUE(SetupTest::ReadWholeFile(m_path) == m_expected);
}

TEST_F(WriteResourceToFileTest, ReplacesALongerFileOfTheSameName) {
  SetupTest::WriteWholeFile(m_path, std::string(m_expected.size() + 5000, 'x'));
  EXPECT_TRUE(WriteResourceToFile(m_path, kPackageId, "MSI"));
  EXPECT_TRUE(SetupTest::ReadWholeFile(m_path) == m_expected);
}

TEST_F(WriteResourceToFileTest, AMissingResourceFailsAndTheOldFileIsGone) {
  SetupTest::WriteWholeFile(m_path, "left from an earlier run");
  EXPECT_FALSE(WriteResourceToFile(m_path, kPackageId + 1, "MSI"));
  EXPECT_FALSE(SetupTest::FileExists(m_path));
}

TEST_F(WriteResourceToFileTest, AFolderInTheWayFails) {
  ASSERT_TRUE(CreateDirectoryA(m_path.c_str(), nullptr));
  EXPECT_FALSE(WriteResourceToFile(m_path, kPackageId, "MSI"));
  EXPECT_TRUE(SetupTest::FolderExists(m_path));
}

TEST_F(WriteResourceToFileTest, AMissingFolderFails) {
  EXPECT_FALSE(WriteResourceToFile(m_folder + "\\missing\\OrvellaStoreSetupEN.msi", kPackageId, "MSI"));
}

}  // namespace
