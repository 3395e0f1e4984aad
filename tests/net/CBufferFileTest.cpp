// The reader's temporary file: its name, its one life, and a temporary folder that is gone.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "kybase/KyString.h"
#include "net/CBufferFile.h"
#include "net/CSocketReader.h"
#include "net/CSocketScope.h"
#include "net/NetTestSupport.h"

using NetTest::Catch;

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(CBufferFileTest, TemporaryFileLivesAsLongAsItsObject) {
  std::string first;
  std::string second;
  {
    Net::Support::CBufferFile file;
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.GetPath(), "");
    ASSERT_TRUE(file.CreateTemp());
    first = file.GetPath();
    EXPECT_TRUE(file.IsOpen());
    EXPECT_EQ(Ky::CompareNoCase(first.substr(first.find_last_of('\\') + 1, 2), "ky"), 0) << first;
    EXPECT_TRUE(file.Write("abc", 3));
    // A second file replaces the first, which must not stay behind.
    ASSERT_TRUE(file.CreateTemp());
    second = file.GetPath();
    EXPECT_NE(first, second);
    EXPECT_FALSE(Exists(first));
    EXPECT_TRUE(Exists(second));
  }
  EXPECT_FALSE(Exists(second));
}

// Sets TMP for the life of the object and restores it afterwards.
class CTempFolderOverride {
 public:
  explicit CTempFolderOverride(const char* folder) {
    char old[1024] = {};
    m_hadValue = GetEnvironmentVariableA("TMP", old, sizeof(old)) != 0;
    m_old = old;
    SetEnvironmentVariableA("TMP", folder);
  }
  ~CTempFolderOverride() { SetEnvironmentVariableA("TMP", m_hadValue ? m_old.c_str() : nullptr); }

 private:
  bool m_hadValue = false;
  std::string m_old;
};

TEST(CBufferFileTest, LargeMessageWithoutATemporaryFolderRaisesTheCreationText) {
  Net::CSocketScope client(NetTest::ConnectToPeer("sized:5242881"));
  NetTest::SendRequest(client.Get());
  KyMemoryArchive archive;
  NetTest::Outcome outcome;
  {
    const CTempFolderOverride missing("C:\\no-such-folder-for-ky");
    Net::Support::CBufferFile probe;
    EXPECT_FALSE(probe.CreateTemp());
    outcome = Catch([&] { Net::CSocketReader(client.Get(), nullptr, true).Receive(archive); });
  }
  ASSERT_TRUE(outcome.common) << outcome.text;
  EXPECT_NE(outcome.code, 0);
  EXPECT_EQ(outcome.text, "Failed to create socket data file ''");
  EXPECT_EQ(archive.GetSize(), 0u);
}

}  // namespace
