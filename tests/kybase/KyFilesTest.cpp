// Folders, files and the finder on the real file system under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "kybase/KyFile.h"
#include "kybase/KyFsPath.h"
#include "kybase/KyShell.h"
#include "tests/kybase/TempFolder.h"

namespace {

class KyFiles : public testing::Test {
 protected:
  TempFolder m_temp;

  void MakeFile(const KyFsPath& path, const std::string& content) {
    KyFileWrite file(path.c_str(), FILE_SHARE_READ);
    ASSERT_TRUE(file.IsOpen()) << path;
    ASSERT_TRUE(file.Write(content.data(), static_cast<uint32_t>(content.size())));
  }
};

TEST_F(KyFiles, CreateFoldersMakesEveryMissingLevel) {
  const KyFsPath deep = m_temp.Path().Join("one").Join("two").Join("three");
  ASSERT_FALSE(deep.FolderExists());
  EXPECT_TRUE(deep.CreateFolders());
  EXPECT_TRUE(deep.FolderExists());
  EXPECT_TRUE(deep.CreateFolders()) << "existing folders are no failure";
}

TEST_F(KyFiles, CreateFoldersAcceptsForwardSlashesAndDoubledSeparators) {
  KyFsPath mixed = m_temp.Path();
  mixed += "//a/b\\\\c";
  EXPECT_TRUE(mixed.CreateFolders());
  EXPECT_TRUE(m_temp.Path().Join("a").Join("b").Join("c").FolderExists());
}

TEST_F(KyFiles, CreateFoldersFailsAtAComponentThatIsAFile) {
  MakeFile(m_temp.Path().Join("file"), "x");
  EXPECT_FALSE(m_temp.Path().Join("file").Join("below").CreateFolders());
  EXPECT_FALSE(m_temp.Path().Join("file").Join("below").FolderExists());
}

TEST_F(KyFiles, CreateFoldersNeverCreatesASingleComponent) {
  EXPECT_FALSE(KyFsPath("ky_never_created_here").CreateFolders());
  EXPECT_FALSE(KyFsPath("ky_never_created_here").Exists());
}

TEST_F(KyFiles, ExistsIgnoresOneTrailingBackslash) {
  KyFsPath folder = m_temp.Path().Join("sub");
  ASSERT_TRUE(folder.CreateFolders());
  folder += "\\";
  EXPECT_TRUE(folder.Exists());
  EXPECT_FALSE(m_temp.Path().Join("missing").Exists());
}

TEST_F(KyFiles, CreateTruncatesAnExistingFile) {
  const KyFsPath path = m_temp.Path().Join("data.bin");
  MakeFile(path, "a longer first content");
  {
    KyFileWrite file;
    ASSERT_TRUE(file.Create(path.c_str(), FILE_SHARE_READ));
    ASSERT_TRUE(file.Write("new", 3));
  }
  KyFileRead read(path.c_str(), FILE_SHARE_READ | FILE_SHARE_WRITE);
  ASSERT_TRUE(read.IsOpen());
  ASSERT_EQ(3u, read.GetSize());
  char buffer[3] = {};
  EXPECT_TRUE(read.Read(buffer, 3));
  EXPECT_EQ("new", std::string(buffer, 3));
}

TEST_F(KyFiles, MissingFileIsNotOpenAndFailsQuietly) {
  KyFileRead read(m_temp.Path().Join("missing").c_str(), FILE_SHARE_READ);
  EXPECT_FALSE(read.IsOpen());
  EXPECT_EQ(0xFFFFFFFFu, read.GetSize());
  char byte = 0;
  EXPECT_FALSE(read.Read(&byte, 1));
  KyFileWrite write(m_temp.Path().Join("no").Join("such").Join("file").c_str(), FILE_SHARE_READ);
  EXPECT_FALSE(write.IsOpen());
  EXPECT_FALSE(write.Write("x", 1));
}

TEST_F(KyFiles, FinderWalksFilesSkippingDotsAndFolders) {
  MakeFile(m_temp.Path().Join("a.txt"), "a");
  MakeFile(m_temp.Path().Join("b.txt"), "b");
  MakeFile(m_temp.Path().Join("c.log"), "c");
  ASSERT_TRUE(m_temp.Path().Join("folder.txt").Join("inner").CreateFolders());

  std::vector<std::string> all, files;
  KyFileFind find(m_temp.Path().Join("*").c_str());
  while (find.Next()) {
    all.push_back(find.GetFilePath());
    if (find.IsDots() || find.IsDirectory()) continue;
    files.push_back(find.GetFilePath());
  }
  std::sort(files.begin(), files.end());
  const std::vector<std::string> expected = {m_temp.Path().Join("a.txt"), m_temp.Path().Join("b.txt"),
                                             m_temp.Path().Join("c.log")};
  EXPECT_EQ(expected, files);
  EXPECT_EQ(6u, all.size()) << "'.', '..', three files and one folder";

  KyFileFind none(m_temp.Path().Join("*.none").c_str());
  EXPECT_FALSE(none.Next());
}

TEST(KyShell, AppDataSubfolderIsCreatedUnderTheProfile) {
  const KyFsPath appData = GetSpecialFolderPath(0x001a /* CSIDL_APPDATA */, true);
  ASSERT_FALSE(appData.empty());
  const KyFsPath sub = GetAppDataSubfolder("KyTest\\Sub");
  EXPECT_EQ(appData.Join("KyTest\\Sub"), sub);
  EXPECT_TRUE(sub.FolderExists());
  EXPECT_TRUE(GetAppDataSubfolder("").empty());
  EXPECT_TRUE(GetAppDataSubfolder(nullptr).empty());
  RemoveDirectoryA(sub.c_str());
  RemoveDirectoryA(appData.Join("KyTest").c_str());
}

TEST(KyShell, ModulePathIsTheExecutable) {
  const KyFsPath path = GetModulePath(nullptr);
  EXPECT_TRUE(path.Exists());
  EXPECT_EQ("test_kybase.exe", path.GetFileName());
}

TEST(KyShell, WrapperAnswersEFailWithoutTheLibraryFunction) {
  KyShellWrapper shell;
  ASSERT_TRUE(shell.IsLoaded());
  char buffer[4096] = {};
  EXPECT_EQ(S_OK, shell.GetFolderPath(nullptr, 0x001a, nullptr, 1, buffer));
  EXPECT_NE('\0', buffer[0]);
}

}  // namespace
