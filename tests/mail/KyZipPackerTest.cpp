// The zip packer against real files under Wine. The archives are left in the build tree
// with a list of what each must hold; check_archives.py then checks them with unzip and
// Python's zipfile.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "config/KyZipPacker.h"
#include "kybase/KyException.h"
#include "mail/MailTestPaths.h"

namespace {

using MailTest::WindowsPath;

struct Expected {
  std::string entry;
  std::string source;    // Unix path of the file whose bytes the entry holds
  std::string dateTime;  // "Y M D h m s" or empty when not checked
};

class ZipPackerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_unixFolder = MailTest::OutputFolder() + "/zip/" + info->name();
    m_folder = WindowsPath(m_unixFolder);
    MailTest::RecreateFolder(m_folder);
  }

  // A file of size bytes of a pattern that does not compress to nothing.
  std::string MakeFile(const std::string& name, size_t size) {
    std::string data(size, '\0');
    uint32_t state = static_cast<uint32_t>(size) * 2654435761u + 1;
    for (size_t i = 0; i < size; ++i) {
      state = state * 1103515245u + 12345u;
      data[i] = (i % 3 == 0) ? static_cast<char>(state >> 24) : "Info: log line\r\n"[i % 16];
    }
    const std::string path = m_folder + "\\" + name;
    std::ofstream(path, std::ios::binary) << data;
    return path;
  }

  std::string UnixOf(const std::string& windowsPath) const {
    return m_unixFolder + "/" + windowsPath.substr(m_folder.size() + 1);
  }

  // The list check_archives.py reads: one line per entry, in archive order.
  void WriteExpectation(const std::string& archive, const std::vector<Expected>& entries) {
    std::ofstream out(archive + ".expect", std::ios::binary);
    for (const Expected& e : entries) out << e.entry << '\t' << e.source << '\t' << e.dateTime << '\n';
  }

  std::string PackFails(KyZipPacker& packer) {
    try {
      packer.Pack();
    } catch (const Error::KyException& error) {
      EXPECT_EQ(error.GetLine(), 0);
      return error.GetText();
    }
    return "(no failure)";
  }

  std::string m_folder;      // Windows path of this test's folder
  std::string m_unixFolder;  // the same, Unix side
};

// Sizes around the 16384-byte block, an empty file and one of several blocks.
TEST_F(ZipPackerTest, PacksFilesUnderTheirNamesWhateverTheirSize) {
  const size_t sizes[] = {0, 1, 16383, 16384, 16385, 200000};
  const std::string archive = m_folder + "\\logs.zip";
  KyZipPacker packer(archive);
  packer.SetStoreFullPath(false);
  std::vector<Expected> expected;
  for (size_t size : sizes) {
    const std::string name = "log" + std::to_string(size) + ".txt";
    const std::string path = MakeFile(name, size);
    packer.AddFile(path);
    expected.push_back({name, UnixOf(path), ""});
  }
  packer.Pack();
  WriteExpectation(archive, expected);
}

TEST_F(ZipPackerTest, FullPathIsTheEntryNameExactlyAsAdded) {
  const std::string path = MakeFile("full.txt", 100);
  const std::string archive = m_folder + "\\full.zip";
  KyZipPacker packer(archive);  // the full path is the default
  packer.AddFile(path);
  packer.Pack();
  ASSERT_EQ(path.substr(0, 3), "Z:\\");
  WriteExpectation(archive, {{path, UnixOf(path), ""}});
}

TEST_F(ZipPackerTest, SlashPathsAndTwiceAddedFiles) {
  std::string path = MakeFile("twice.log", 500);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  const std::string archive = m_folder + "\\twice.zip";
  KyZipPacker packer(archive);
  packer.SetStoreFullPath(false);
  packer.AddFile(path);
  packer.AddFile(path);
  packer.Pack();
  WriteExpectation(archive, {{"twice.log", UnixOf(MailTest::BackslashPath(path)), ""},
                             {"twice.log", UnixOf(MailTest::BackslashPath(path)), ""}});
}

TEST_F(ZipPackerTest, EmptyListGivesAnArchiveWithoutEntries) {
  const std::string archive = m_folder + "\\empty.zip";
  KyZipPacker(archive).Pack();
  WriteExpectation(archive, {});
}

TEST_F(ZipPackerTest, ExistingArchiveIsExtendedNotReplaced) {
  const std::string first = MakeFile("first.txt", 3000);
  const std::string second = MakeFile("second.txt", 40000);
  const std::string archive = m_folder + "\\extended.zip";
  KyZipPacker one(archive);
  one.SetStoreFullPath(false);
  one.AddFile(first);
  one.Pack();
  KyZipPacker two(archive);
  two.SetStoreFullPath(false);
  two.AddFile(second);
  two.AddFile(first);
  two.Pack();
  WriteExpectation(archive,
                   {{"first.txt", UnixOf(first), ""}, {"second.txt", UnixOf(second), ""}, {"first.txt", UnixOf(first), ""}});
}

// Local last-write time, cut to DOS time's two-second steps.
TEST_F(ZipPackerTest, EntryTimeIsTheLocalLastWriteTime) {
  const std::string path = MakeFile("dated.txt", 10);
  SYSTEMTIME local = {};
  local.wYear = 2024;
  local.wMonth = 3;
  local.wDay = 5;
  local.wHour = 10;
  local.wMinute = 20;
  local.wSecond = 31;
  FILETIME localTime;
  FILETIME utc;
  ASSERT_TRUE(SystemTimeToFileTime(&local, &localTime));
  ASSERT_TRUE(LocalFileTimeToFileTime(&localTime, &utc));
  {
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &utc));
    CloseHandle(file);
  }
  const std::string archive = m_folder + "\\dated.zip";
  KyZipPacker packer(archive);
  packer.SetStoreFullPath(false);
  packer.AddFile(path);
  packer.Pack();
  WriteExpectation(archive, {{"dated.txt", UnixOf(path), "2024 3 5 10 20 30"}});
}

struct FailureCase {
  const char* name;
  const char* archive;  // relative to the test folder
  bool archiveIsText;   // a file that is no archive already lies at the archive path
  const char* format;   // expected text; %s is the named path
  bool namesArchive;    // the %s is the archive path, else the missing file
};

class ZipPackerFailureTest : public ZipPackerTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ZipPackerFailureTest, FailsWithTheTextNamingThePath) {
  const FailureCase& c = GetParam();
  const std::string good = MakeFile("good.txt", 50);
  const std::string missing = m_folder + "\\missing.txt";
  const std::string archive = m_folder + "\\" + c.archive;
  if (c.archiveIsText) std::ofstream(archive, std::ios::binary) << "not a zip archive at all, but long enough";
  KyZipPacker packer(archive);
  packer.AddFile(good);
  packer.AddFile(missing);
  packer.AddFile(good);
  char expected[1024];
  snprintf(expected, sizeof(expected), c.format, (c.namesArchive ? archive : missing).c_str());
  EXPECT_EQ(PackFails(packer), expected);
}

const FailureCase kFailures[] = {
    {"MissingFile", "out.zip", false, "Error opening '%s' for reading", false},
    {"ArchiveFolderMissing", "no such folder\\out.zip", false, "Error opening '%s'", true},
    {"ExistingFileIsNoArchive", "text.zip", true, "Error opening '%s'", true},
};

INSTANTIATE_TEST_SUITE_P(Cases, ZipPackerFailureTest, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
