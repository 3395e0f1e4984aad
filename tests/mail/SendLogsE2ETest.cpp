// The Send button of ClientConfig's Log files page end to end: the program runs from a folder
// holding the MAPI32.DLL double, which copies the offered archive away for check_archives.py.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "e2e/config/ConfigE2E.h"
#include "e2e/driver/UiDriver.h"
#include "ky_build_settings.h"
#include "mail/MailTestPaths.h"

namespace {

using namespace UiDriver;

constexpr int kLogPage = 1;

std::string TempArchive() {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  std::string path(folder);
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path + "OrvellaClientLogFiles.zip";
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

class SendLogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ConfigE2E::ProgramAvailable()) GTEST_SKIP() << "ClientConfig.exe not built";
    m_unixOut = MailTest::OutputFolder() + "/send/" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    m_out = MailTest::WindowsPath(m_unixOut);
    MailTest::RecreateFolder(m_out);
    MailTest::RecreateFolder(m_out + "\\copies");
    const std::string run = m_out + "\\run";
    MailTest::RecreateFolder(run);
    m_program = run + "\\ClientConfig.exe";
    ASSERT_TRUE(CopyFileA(WinePathFromUnix(GetEnv("KY_CLIENTCONFIG_EXE")).c_str(), m_program.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(WinePathFromUnix(GetEnv("KY_MAPI_DOUBLE")).c_str(), (run + "\\MAPI32.DLL").c_str(), FALSE));
    m_record = m_out + "\\record.txt";

    ConfigE2E::ResetClientState();
    m_logs = ConfigE2E::GetDataFolder() + "\\Logs";
    MailTest::RecreateFolder(m_logs + "\\sub");
    WriteFile(m_logs + "\\old.log", "01.02.2026 10:00:00 Info: an older day\r\n");
    WriteFile(m_logs + "\\earlier.zip", std::string("PK\x05\x06", 4) + std::string(18, '\0'));
    WriteFile(m_logs + "\\sub\\inner.log", "not packed\r\n");
  }

  void TearDown() override {
    if (!m_logs.empty()) ConfigE2E::ResetClientState();
  }

  ChildProcess Start() {
    LaunchOptions options;
    options.program = m_program;
    options.environment = {{"KY_MAPI_RECORD", m_record}, {"KY_MAPI_COPY_DIR", m_out + "\\copies"}, {"KY_MAPI_RESULT", ""}};
    return ChildProcess(options);
  }

  std::vector<std::string> Record() const {
    std::vector<std::string> lines;
    std::ifstream in(m_record, std::ios::binary);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  int Calls() const {
    int calls = 0;
    for (const std::string& line : Record()) calls += line == "call";
    return calls;
  }

  // The archive holds every file of the folder but nothing of the sub-folder; the client's
  // own log of today changes while it runs, so only its presence is checked.
  void ExpectArchiveOfLogFolder() {
    std::ofstream expect(m_out + "\\copies\\OrvellaClientLogFiles.zip.expect", std::ios::binary);
    expect << "#unordered\n";
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((m_logs + "\\*").c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    int files = 0;
    do {
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      const std::string name = data.cFileName;
      if (name == "old.log" || name == "earlier.zip") {
        const std::string copy = m_out + "\\copies\\source-" + name;
        ASSERT_TRUE(CopyFileA((m_logs + "\\" + name).c_str(), copy.c_str(), FALSE));
        expect << name << '\t' << m_unixOut << "/copies/source-" << name << "\t\n";
      } else {
        expect << name << "\t\t\n";
      }
      ++files;
    } while (FindNextFileA(find, &data));
    FindClose(find);
    EXPECT_EQ(files, 3) << "old.log, earlier.zip and today's log";
  }

  std::string m_unixOut;
  std::string m_out;
  std::string m_program;
  std::string m_record;
  std::string m_logs;
};

TEST_F(SendLogsTest, LogFilesGoToSupportAsOneArchive) {
  ChildProcess process = Start();
  SheetWindow sheet = ConfigE2E::WaitForSheet(process);
  sheet.SelectPage(kLogPage);
  EXPECT_EQ(sheet.PageControl(kLogPage, ConfigE2E::kIdLogFolder).GetText(), m_logs + "\\");
  sheet.PageControl(kLogPage, ConfigE2E::kIdSendLogs).Click();
  ASSERT_TRUE(WaitUntil([&] { return Calls() == 1 && !Exists(TempArchive()); })) << "no mail offered, or archive kept";
  EXPECT_FALSE(FindMessageBox(process.GetId()).has_value()) << "no message after a Send";

  const std::vector<std::string> record = Record();
  auto has = [&](const std::string& line) { return std::find(record.begin(), record.end(), line) != record.end(); };
  EXPECT_TRUE(has("subject=Tolvern Orvella client log files"));
  EXPECT_TRUE(has("recipients=1 set"));
  EXPECT_TRUE(has(std::string("recipient=1|TolvernSupport|smtp:") + KY_SUPPORT_MAIL_ADDRESS + "|0"));
  EXPECT_TRUE(has("note=(null)"));
  EXPECT_TRUE(has("flags=9"));
  EXPECT_TRUE(has("window=window"));
  EXPECT_TRUE(has("captured=1"));
  EXPECT_TRUE(has("files=1 set"));
  EXPECT_TRUE(has("copied=1"));
  bool fileLine = false;
  for (const std::string& line : record)
    fileLine |= line.rfind("file=-1|" + TempArchive() + "|OrvellaClientLogFiles.zip|0|null|", 0) == 0;
  EXPECT_TRUE(fileLine) << "attachment line";
  sheet.PressCancel();
  EXPECT_TRUE(process.WaitForExit());

  ExpectArchiveOfLogFolder();
}

// A file that cannot be read stops the Send with the packer's text; the archive left behind
// is replaced by the next Send.
TEST_F(SendLogsTest, UnreadableLogShowsTheErrorAndTheNextSendStillWorks) {
  const std::string locked = m_logs + "\\old.log";
  HANDLE lock = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  ChildProcess process = Start();
  SheetWindow sheet = ConfigE2E::WaitForSheet(process);
  sheet.SelectPage(kLogPage);
  sheet.PageControl(kLogPage, ConfigE2E::kIdSendLogs).Click();
  const MessageBoxInfo box = WaitForMessageBox(process.GetId());
  EXPECT_EQ(box.caption, ConfigE2E::kErrorCaption);
  EXPECT_EQ(box.text, "Error opening '" + locked + "' for reading");
  EXPECT_EQ(Calls(), 0);
  AnswerMessageBox(box);
  CloseHandle(lock);
  EXPECT_TRUE(Exists(TempArchive())) << "the unfinished archive stays until the next Send";

  sheet.PageControl(kLogPage, ConfigE2E::kIdSendLogs).Click();
  ASSERT_TRUE(WaitUntil([&] { return Calls() == 1 && !Exists(TempArchive()); }));
  EXPECT_FALSE(FindMessageBox(process.GetId()).has_value());
  sheet.PressCancel();
  EXPECT_TRUE(process.WaitForExit());
  ExpectArchiveOfLogFolder();
}

}  // namespace
