// The Simple MAPI sender with the MAPI32.DLL double beside the test program, loaded by
// name as the system library would be; the double records what MAPISendMail received.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "config/CSimpleMapiMailSender.h"
#include "kybase/KyException.h"
#include "mail/MailTestPaths.h"

namespace {

using MailTest::WindowsPath;

std::string ExeFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\'));
}

class MapiSenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_folder = WindowsPath(MailTest::OutputFolder() + "/mapi");
    MailTest::RecreateFolder(m_folder);
    MailTest::RecreateFolder(m_folder + "\\copies");
    m_record = m_folder + "\\record.txt";
    SetEnvironmentVariableA("KY_MAPI_RECORD", m_record.c_str());
    SetEnvironmentVariableA("KY_MAPI_COPY_DIR", (m_folder + "\\copies").c_str());
    SetEnvironmentVariableA("KY_MAPI_RESULT", nullptr);
    m_window = CreateWindowExA(0, "STATIC", "sender test", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                               nullptr, nullptr);
    ASSERT_NE(m_window, nullptr);
  }
  void TearDown() override {
    DestroyWindow(m_window);
    SetEnvironmentVariableA("KY_MAPI_RECORD", nullptr);
  }

  // The lines the double recorded; empty when it was not called.
  std::vector<std::string> Record() const {
    std::vector<std::string> lines;
    std::ifstream in(m_record, std::ios::binary);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  std::string MakeFile(const std::string& name, const std::string& content) {
    const std::string path = m_folder + "\\" + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }

  std::string m_folder;
  std::string m_record;
  HWND m_window = nullptr;
};

// What the double records before the recipient lines: the call as the sender must make it.
std::vector<std::string> Header(const char* subject, const char* recipients) {
  return {"call",         "session=0",   "window=window",         "captured=1",   "focus=null",
          "flags=9",      "reserved=0",  std::string("subject=") + subject,
          "note=(null)",  "type=(null)", "originator=null",       "messageflags=0",
          std::string("recipients=") + recipients};
}

TEST_F(MapiSenderTest, MailProgramGetsTheMessageWhileTheWindowIsHeld) {
  const std::string archive = MakeFile("Archive on disk.zip", "PK archive bytes");
  CSimpleMapiMailSender sender;
  sender.SetSubject("Tolvern Orvella client log files");
  sender.AddRecipient("TolvernSupport", "smtp:support@orvella.example");
  sender.AddRecipient("Second", "smtp:second@orvella.example");
  sender.AddAttachment("Shown name.zip", archive);
  SetFocus(m_window);
  sender.Send(m_window);

  std::vector<std::string> expected = Header("Tolvern Orvella client log files", "2 set");
  expected.push_back("recipient=1|TolvernSupport|smtp:support@orvella.example|0");
  expected.push_back("recipient=1|Second|smtp:second@orvella.example|0");
  expected.push_back("files=1 set");
  expected.push_back("file=-1|" + archive + "|Shown name.zip|0|null|16");
  expected.push_back("copied=1");
  EXPECT_EQ(Record(), expected);
  EXPECT_NE(GetCapture(), m_window) << "the capture ends with the call";
  std::ifstream copy(m_folder + "\\copies\\Shown name.zip", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(copy), {}), "PK archive bytes");
}

TEST_F(MapiSenderTest, EmptyListsAreNullAndAnEmptySubjectIsStillGiven) {
  CSimpleMapiMailSender sender;
  sender.Send(m_window);
  std::vector<std::string> expected = Header("", "0 null");
  expected.push_back("files=0 null");
  EXPECT_EQ(Record(), expected);
}

// Cancelling and failures end the same way; the lists stay for another Send.
TEST_F(MapiSenderTest, ResultIsIgnoredAndSendCanBeRepeated) {
  SetEnvironmentVariableA("KY_MAPI_RESULT", "1");  // MAPI_USER_ABORT
  CSimpleMapiMailSender sender;
  sender.AddRecipient("A", "smtp:a@orvella.example");
  sender.Send(m_window);
  SetEnvironmentVariableA("KY_MAPI_RESULT", "3");  // MAPI_E_LOGIN_FAILURE
  sender.Send(m_window);
  int calls = 0;
  int recipients = 0;
  for (const std::string& line : Record()) {
    calls += line == "call";
    recipients += line == "recipient=1|A|smtp:a@orvella.example|0";
  }
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(recipients, 2);
}

TEST_F(MapiSenderTest, LongestTextArrivesWholeAndLongerIsRefused) {
  const std::string longest(CSimpleMapiMailSender::kMaxText, 'n');
  CSimpleMapiMailSender sender;
  sender.AddRecipient(longest, "smtp:" + std::string(CSimpleMapiMailSender::kMaxText - 5, 'a'));
  const std::string tooLong = longest + "x";
  const auto refused = [&](auto add) {
    try {
      add();
    } catch (const Error::KyException& error) {
      return error.GetText().find("too long") != std::string::npos;
    }
    return false;
  };
  EXPECT_TRUE(refused([&] { sender.AddRecipient(tooLong, "smtp:a@b.example"); }));
  EXPECT_TRUE(refused([&] { sender.AddRecipient("A", tooLong); }));
  EXPECT_TRUE(refused([&] { sender.AddAttachment(tooLong, "C:\\a.zip"); }));
  EXPECT_TRUE(refused([&] { sender.AddAttachment("a.zip", tooLong); }));
  sender.Send(m_window);
  std::vector<std::string> expected = Header("", "1 set");
  expected.push_back("recipient=1|" + longest + "|smtp:" + std::string(CSimpleMapiMailSender::kMaxText - 5, 'a') + "|0");
  expected.push_back("files=0 null");
  EXPECT_EQ(Record(), expected);
}

struct MissingCase {
  const char* name;
  const char* library;  // relative to the program's folder
  bool loads;           // the library exists (without the export)
};

class MapiMissingTest : public MapiSenderTest, public ::testing::WithParamInterface<MissingCase> {};

// Without the library or its export nothing is called and nothing is shown.
TEST_P(MapiMissingTest, SendDoesNothing) {
  const std::string library = ExeFolder() + "\\" + GetParam().library;
  CSimpleMapiWrapper wrapper(library.c_str());
  EXPECT_EQ(wrapper.IsLoaded(), GetParam().loads);
  MapiMessage message = {};
  EXPECT_EQ(wrapper.MAPISendMail(0, 0, &message, 0, 0), 0u);
  CSimpleMapiMailSender sender;
  sender.AddRecipient("A", "smtp:a@orvella.example");
  sender.Send(m_window, library.c_str());
  EXPECT_TRUE(Record().empty());
  EXPECT_NE(GetCapture(), m_window);
}

const MissingCase kMissing[] = {
    {"NoLibrary", "no such folder\\MAPI32.DLL", false},
    {"NoExport", "noexport\\MAPI32.DLL", true},
};

INSTANTIATE_TEST_SUITE_P(Cases, MapiMissingTest, ::testing::ValuesIn(kMissing),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MapiWrapperTest, SystemNameLoadsTheDoubleBesideTheProgram) {
  CSimpleMapiWrapper wrapper;
  ASSERT_TRUE(wrapper.IsLoaded());
  char path[MAX_PATH] = {};
  GetModuleFileNameA(GetModuleHandleA("MAPI32.DLL"), path, MAX_PATH);
  EXPECT_EQ(std::string(path), ExeFolder() + "\\MAPI32.DLL");
  EXPECT_NE(GetProcAddress(GetModuleHandleA("MAPI32.DLL"), "KyMapiDouble"), nullptr) << "Wine's own mapi32 was loaded";
}

}  // namespace
