// ClientConfig in a real window, driven from outside: start-up and resource library, OK and
// what it writes, server-name validation, change notices, the port dialog, the connection test.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "e2e/config/ConfigE2E.h"
#include "kybase/KyClientRegistry.h"

using namespace UiDriver;
using namespace ConfigE2E;

namespace {

const std::vector<std::string> kPolishTabs = {" Serwer ", " Pliki dziennika ", " Inne "};
const char kDemoServerPl[] = "&Połącz się z internetowym serwerem demonstracyjnym Tolvern";
const char kOwnServerPl[] = "P&ołącz się z własnym serwerem";

std::vector<std::string> Texts(const std::vector<MessageBoxInfo>& boxes) {
  std::vector<std::string> texts;
  for (const MessageBoxInfo& box : boxes) texts.push_back(box.text);
  return texts;
}

// Every case starts from nothing: no INI file, no client key, no log folder.
class ClientConfigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ProgramAvailable()) GTEST_SKIP() << "ClientConfig.exe is not built in this tree";
    ResetClientState();
  }

  SheetWindow Start(Library library = Library::None) {
    m_process.emplace(StartClientConfig(library));
    m_sheet = WaitForSheet(*m_process);
    return m_sheet;
  }

  DWORD Pid() const { return m_process->GetId(); }

  // Presses OK and answers every box until the program ends; returns the boxes' texts.
  std::vector<MessageBoxInfo> OkUntilExit() {
    m_sheet.PressOk();
    return AnswerUntilExit();
  }

  std::vector<MessageBoxInfo> AnswerUntilExit() {
    std::vector<MessageBoxInfo> boxes;
    EXPECT_TRUE(WaitForExitAnsweringBoxes(*m_process, boxes)) << "the program did not end";
    return boxes;
  }

  void CancelUntilExit() {
    m_sheet.PressCancel();
    std::vector<MessageBoxInfo> boxes = AnswerUntilExit();
    EXPECT_TRUE(boxes.empty()) << "unexpected box: " << boxes[0].text;
  }

  // Chooses the own server and types address into field 1003.
  void TypeOwnServer(const std::string& address) {
    Window page = m_sheet.GetPage(0);
    page.Control(kIdOwnServer).Click();
    Sync(page);
    page.Control(kIdAddress).SetText(address);
  }

  std::optional<ChildProcess> m_process;
  SheetWindow m_sheet;
};

// ---- Start: resource library, texts, ending

struct StartCase {
  const char* name;
  Library library;
  bool pressOk;
};

class StartTest : public ClientConfigTest, public ::testing::WithParamInterface<StartCase> {};

// The texts of dialog 138 and string 138 as the English library carries them, read here by
// creating the page's dialog hidden in this process.
struct LibraryTexts {
  std::string caption;
  std::string demoServer;
  std::string ownServer;
  std::string pageCaption;
};

LibraryTexts ReadLibraryTexts(const std::string& path) {
  LibraryTexts texts;
  HMODULE library = ::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!library) throw DriverError("cannot load " + path + " as data");
  wchar_t buffer[512] = {};
  if (::LoadStringW(library, 138, buffer, 512) > 0) texts.caption = Utf8FromWide(buffer);
  HRSRC resource = ::FindResourceA(library, MAKEINTRESOURCEA(138), reinterpret_cast<LPCSTR>(RT_DIALOG));
  if (resource) {
    auto* dialogTemplate = static_cast<LPCDLGTEMPLATEA>(::LockResource(::LoadResource(library, resource)));
    // The page template is a child dialog: it needs a parent, a hidden one will do.
    HWND parent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND dialog = ::CreateDialogIndirectParamA(
        ::GetModuleHandleA(nullptr), dialogTemplate, parent,
        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    if (dialog) {
      Window window(dialog);
      texts.pageCaption = window.GetText();
      texts.demoServer = window.Control(kIdDemoServer).GetText();
      texts.ownServer = window.Control(kIdOwnServer).GetText();
      ::DestroyWindow(dialog);
    }
    ::DestroyWindow(parent);
  }
  ::FreeLibrary(library);
  return texts;
}

TEST_P(StartTest, TextsComeFromTheRightResourcesAndBothButtonsEndTheProgram) {
  const StartCase& c = GetParam();
  SheetWindow sheet = Start(c.library);
  EXPECT_EQ(3, sheet.GetPageCount());
  EXPECT_EQ(0, sheet.GetCurrentIndex());
  Window server = sheet.GetPage(0);
  if (c.library == Library::English) {
    LibraryTexts english = ReadLibraryTexts(GetBuiltEnglishLibrary());
    ASSERT_FALSE(english.caption.empty());
    EXPECT_EQ(english.caption, sheet.GetText());
    EXPECT_NE(kSheetCaptionPl, sheet.GetText());
    EXPECT_EQ(english.demoServer, server.Control(kIdDemoServer).GetText());
    EXPECT_EQ(english.ownServer, server.Control(kIdOwnServer).GetText());
    EXPECT_NE(kDemoServerPl, server.Control(kIdDemoServer).GetText());
    std::vector<std::string> tabs = sheet.GetTabTexts();
    ASSERT_EQ(3u, tabs.size());
    EXPECT_EQ(english.pageCaption, tabs[0]);
    for (size_t i = 0; i < tabs.size(); ++i) EXPECT_NE(kPolishTabs[i], tabs[i]);
  } else {
    // Without a usable library every text comes from the executable, Polish letters intact.
    EXPECT_EQ(kSheetCaptionPl, sheet.GetText());
    EXPECT_EQ(kPolishTabs, sheet.GetTabTexts());
    EXPECT_EQ(kDemoServerPl, server.Control(kIdDemoServer).GetText());
    EXPECT_EQ(kOwnServerPl, server.Control(kIdOwnServer).GetText());
  }
  // A fresh state uses the demonstration server: its radio is on and the own-server controls are off.
  EXPECT_TRUE(server.Control(kIdDemoServer).IsChecked());
  for (int id : {kIdAddress, kIdBrowse, kIdTcpPort, kIdTest}) EXPECT_FALSE(server.Control(id).IsEnabled()) << id;

  if (c.pressOk) {
    std::vector<MessageBoxInfo> boxes = OkUntilExit();
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(IniExists());
  } else {
    CancelUntilExit();
    EXPECT_FALSE(IniExists()) << "Cancel must write nothing";
    EXPECT_FALSE(ReadClientDword(ClientRegistry::kLogLevel).has_value());
  }
  EXPECT_EQ(0u, m_process->GetExitCode());
}

INSTANTIATE_TEST_SUITE_P(Libraries, StartTest,
                         ::testing::Values(StartCase{"PolishOk", Library::None, true},
                                           StartCase{"PolishCancel", Library::None, false},
                                           StartCase{"BrokenLibrarySkipped", Library::Broken, false},
                                           StartCase{"EnglishCancel", Library::English, false},
                                           StartCase{"EnglishOk", Library::English, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- OK straight after start

struct StraightOkCase {
  const char* name;
  std::function<void()> arrange;
  // INI after OK: port, address, demo flag, read flag.
  const char* port;
  const char* address;
  const char* useDemo;
  const char* synchronize;
  uint32_t logLevel;
  uint32_t showStatusWindow;
};

class StraightOkTest : public ClientConfigTest, public ::testing::WithParamInterface<StraightOkCase> {};

TEST_P(StraightOkTest, WritesBackWhatItReadWithoutAMessage) {
  const StraightOkCase& c = GetParam();
  if (c.arrange) c.arrange();
  Start();
  std::vector<MessageBoxInfo> boxes = OkUntilExit();
  EXPECT_EQ(std::vector<std::string>{}, Texts(boxes));
  EXPECT_EQ(c.port, ReadIni("ServerPort").value_or("<missing>"));
  EXPECT_EQ(c.address, ReadIni("ServerAddress").value_or("<missing>"));
  EXPECT_EQ(c.useDemo, ReadIni("UseDemoServer").value_or("<missing>"));
  EXPECT_EQ(c.synchronize, ReadIni("SynchronizeReadFlag").value_or("<missing>"));
  EXPECT_EQ(c.logLevel, ReadClientDword(ClientRegistry::kLogLevel).value_or(0xBAD));
  EXPECT_EQ(c.showStatusWindow, ReadClientDword(ClientRegistry::kShowStatusWindow).value_or(0xBAD));
  EXPECT_FALSE(ReadClientDword(ClientRegistry::kAskAgainAboutStatusWindow).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    States, StraightOkTest,
    ::testing::Values(
        StraightOkCase{"NothingStored", nullptr, "5002", "", "1", "0", 0, 1},
        StraightOkCase{"OwnServerAndStoredOptions",
                       [] {
                         WriteOwnServer("srv1", 6001, true);
                         WriteClientDword(ClientRegistry::kLogLevel, 1);
                         WriteClientDword(ClientRegistry::kShowStatusWindow, 0);
                       },
                       "6001", "srv1", "0", "1", 1, 0},
        // An empty address means the demonstration server whatever the flag says.
        StraightOkCase{"EmptyAddressWithDemoOff", [] { WriteOwnServer("", 5002); }, "5002", "", "1", "0", 0, 1},
        // Only the port dialog checks the range: a stored port outside it is kept.
        StraightOkCase{"PortOutsideRangeKept", [] { WriteOwnServer("srv1", 80); }, "80", "srv1", "0", "0", 0, 1},
        // A log level the combo box does not know round-trips when its page is never opened.
        StraightOkCase{"UnknownLogLevelKept", [] { WriteClientDword(ClientRegistry::kLogLevel, 7); }, "5002", "",
                       "1", "0", 7, 1}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Server names

struct ServerNameCase {
  const char* name;
  const char* typed;
  bool accepted;
  int okOnPage;         // the page shown when OK is pressed
  const char* saved;    // null: as typed
};

class ServerNameTest : public ClientConfigTest, public ::testing::WithParamInterface<ServerNameCase> {};

TEST_P(ServerNameTest, AcceptedNamesAreSavedAsTypedRejectedOnesKeepTheSheetOpen) {
  const ServerNameCase& c = GetParam();
  Start();
  TypeOwnServer(c.typed);
  if (c.okOnPage != 0) m_sheet.SelectPage(c.okOnPage);
  if (c.accepted) {
    std::vector<MessageBoxInfo> boxes = OkUntilExit();
    // Leaving the demonstration server changes the connection settings: one notice.
    ASSERT_EQ(std::vector<std::string>{kChangesTakeEffect}, Texts(boxes));
    EXPECT_EQ(kNoticeCaption, boxes[0].caption);
    EXPECT_EQ(c.saved ? c.saved : c.typed, ReadIni("ServerAddress").value_or("<missing>"));
    EXPECT_EQ("0", ReadIni("UseDemoServer").value_or("<missing>"));
    return;
  }
  m_sheet.PressOk();
  MessageBoxInfo box = WaitForMessageBox(Pid());
  EXPECT_EQ(kNoticeCaption, box.caption);
  EXPECT_EQ(kEnterServerName, box.text);
  EXPECT_EQ(m_sheet, box.owner);
  AnswerMessageBox(box);
  Sync(m_sheet);
  EXPECT_FALSE(FindMessageBox(Pid()).has_value()) << "a second box after the rejection";
  EXPECT_TRUE(m_sheet.IsVisible());
  EXPECT_EQ(c.okOnPage, m_sheet.GetCurrentIndex());
  Window address = m_sheet.PageControl(0, kIdAddress);
  EXPECT_TRUE(WaitUntil([&] { return address.HasFocus(); }, 5000)) << "the address field has no focus";
  EXPECT_EQ(c.typed, address.GetText());
  CancelUntilExit();
  EXPECT_FALSE(IniExists());
}

INSTANTIATE_TEST_SUITE_P(
    Names, ServerNameTest,
    // The leading blank passes the check; Wine's WritePrivateProfileStringA then drops the blanks
    // in front of a value, so the file here holds the address without it.
    ::testing::Values(ServerNameCase{"LeadingBlankAccepted", " 10.0.0.1", true, 0, "10.0.0.1"},
                      ServerNameCase{"TrailingBlank", "10.0.0.1 ", false, 0, nullptr},
                      ServerNameCase{"EmptyTokenSkipped", "10.0..0.1", true, 0, nullptr},
                      ServerNameCase{"FifthTokenIgnored", "1.2.3.4.5", true, 0, nullptr},
                      ServerNameCase{"HostName", "server1", true, 0, nullptr},
                      ServerNameCase{"ThreeTokens", "1.2.3", false, 0, nullptr},
                      ServerNameCase{"TokenAbove255", "256.1.1.1", false, 0, nullptr},
                      ServerNameCase{"DigitFirstName", "1server", false, 0, nullptr},
                      ServerNameCase{"Empty", "", false, 0, nullptr},
                      ServerNameCase{"OnlyBlanks", "   ", false, 0, nullptr},
                      ServerNameCase{"RejectedFromLogPage", "1.2.3", false, 1, nullptr},
                      ServerNameCase{"RejectedFromOtherPage", "", false, 2, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Changes and their notices

struct ChangeCase {
  const char* name;
  std::function<void()> arrange;
  std::function<void(const SheetWindow&)> act;
  std::vector<std::string> boxes;
  std::function<void()> check;
};

class ChangeTest : public ClientConfigTest, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(ChangeTest, SavesTheChangeAndShowsTheNoticeOnlyForConnectionSettings) {
  const ChangeCase& c = GetParam();
  if (c.arrange) c.arrange();
  SheetWindow sheet = Start();
  c.act(sheet);
  EXPECT_EQ(c.boxes, Texts(OkUntilExit()));
  c.check();
}

void SetPortThroughDialog(const SheetWindow& sheet, const std::string& port) {
  sheet.PageControl(0, kIdTcpPort).Click();
  Window dialog = WaitForTopLevel(sheet.GetProcessId(), "#32770", "Port TCP");
  dialog.Control(kIdPortField).SetText(port);
  dialog.Control(IDOK).Click();
  if (!WaitForGone(dialog)) throw DriverError("the port dialog stayed open");
}

void ToggleCheckBox(const SheetWindow& sheet, int id, bool expectedBefore) {
  sheet.SelectPage(2);
  Window box = sheet.PageControl(2, id);
  EXPECT_EQ(expectedBefore, box.IsChecked());
  box.Click();
  Sync(box);
  EXPECT_EQ(!expectedBefore, box.IsChecked());
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ChangeTest,
    ::testing::Values(
        ChangeCase{"PortAfterVisitingAllPagesNoticeOnce", [] { WriteOwnServer("srv1", 5002); },
                   [](const SheetWindow& sheet) {
                     sheet.SelectPage(1);
                     sheet.SelectPage(2);
                     sheet.SelectPage(0);
                     SetPortThroughDialog(sheet, "6000");
                   },
                   {kChangesTakeEffect}, [] { EXPECT_EQ("6000", ReadIni("ServerPort").value_or("")); }},
        ChangeCase{"LogLevelAloneNoNotice", nullptr,
                   [](const SheetWindow& sheet) {
                     sheet.SelectPage(1);
                     Window combo = sheet.PageControl(1, kIdLogLevel);
                     EXPECT_EQ((std::vector<std::string>{"Standardowy", "Szczegółowy"}), combo.GetComboItems());
                     EXPECT_EQ(0, combo.GetComboSelection());
                     combo.SelectComboIndex(1);
                   },
                   {}, [] { EXPECT_EQ(1u, ReadClientDword(ClientRegistry::kLogLevel).value_or(0xBAD)); }},
        ChangeCase{"StatusWindowOffToOnAsksAgain", [] { WriteClientDword(ClientRegistry::kShowStatusWindow, 0); },
                   [](const SheetWindow& sheet) { ToggleCheckBox(sheet, kIdShowStatusWindow, false); }, {},
                   [] {
                     EXPECT_EQ(1u, ReadClientDword(ClientRegistry::kShowStatusWindow).value_or(0xBAD));
                     EXPECT_EQ(1u, ReadClientDword(ClientRegistry::kAskAgainAboutStatusWindow).value_or(0xBAD));
                   }},
        ChangeCase{"StatusWindowOnToOffOnlyShowWritten", [] { WriteClientDword(ClientRegistry::kShowStatusWindow, 1); },
                   [](const SheetWindow& sheet) { ToggleCheckBox(sheet, kIdShowStatusWindow, true); }, {},
                   [] {
                     EXPECT_EQ(0u, ReadClientDword(ClientRegistry::kShowStatusWindow).value_or(0xBAD));
                     EXPECT_FALSE(ReadClientDword(ClientRegistry::kAskAgainAboutStatusWindow).has_value());
                   }},
        ChangeCase{"ReadFlagIsAConnectionSetting", nullptr,
                   [](const SheetWindow& sheet) { ToggleCheckBox(sheet, kIdSynchronizeReadFlag, false); },
                   {kChangesTakeEffect}, [] { EXPECT_EQ("1", ReadIni("SynchronizeReadFlag").value_or("")); }},
        ChangeCase{"AddressCaseOnlyIsNoChange", [] { WriteOwnServer("srv1", 5002); },
                   [](const SheetWindow& sheet) { sheet.PageControl(0, kIdAddress).SetText("SRV1"); }, {},
                   [] { EXPECT_EQ("SRV1", ReadIni("ServerAddress").value_or("")); }}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Port dialog

struct PortCase {
  const char* name;
  const char* typed;
  const char* rejection;  // null: accepted
};

class PortDialogTest : public ClientConfigTest, public ::testing::WithParamInterface<PortCase> {};

TEST_P(PortDialogTest, RangeAndIntegerChecks) {
  const PortCase& c = GetParam();
  WriteOwnServer("srv1", 5002);
  SheetWindow sheet = Start();
  sheet.PageControl(0, kIdTcpPort).Click();
  Window dialog = WaitForTopLevel(Pid(), "#32770", "Port TCP");
  EXPECT_FALSE(IsMessageBox(dialog));
  Window field = dialog.Control(kIdPortField);
  EXPECT_EQ("5002", field.GetText());
  field.SetText(c.typed);
  dialog.Control(IDOK).Click();
  if (!c.rejection) {
    ASSERT_TRUE(WaitForGone(dialog));
    std::vector<MessageBoxInfo> boxes = OkUntilExit();
    EXPECT_EQ(std::vector<std::string>{kChangesTakeEffect}, Texts(boxes));
    EXPECT_EQ(c.typed, ReadIni("ServerPort").value_or(""));
    return;
  }
  MessageBoxInfo box = WaitForMessageBox(Pid());
  EXPECT_EQ(c.rejection, box.text);
  if (std::string(c.rejection) == kPortRange) {
    EXPECT_EQ(kNoticeCaption, box.caption);
  }
  EXPECT_EQ(dialog, box.owner);
  AnswerMessageBox(box);
  Sync(dialog);
  EXPECT_FALSE(FindMessageBox(Pid()).has_value()) << "the message came more than once";
  EXPECT_TRUE(dialog.IsVisible());
  EXPECT_TRUE(WaitUntil([&] { return field.HasFocus(); }, 5000)) << "the port field has no focus";
  dialog.Control(IDCANCEL).Click();
  ASSERT_TRUE(WaitForGone(dialog));
  // Cancel kept the page's port: OK saves nothing new and shows no notice.
  EXPECT_EQ(std::vector<std::string>{}, Texts(OkUntilExit()));
  EXPECT_EQ("5002", ReadIni("ServerPort").value_or(""));
}

INSTANTIATE_TEST_SUITE_P(Ports, PortDialogTest,
                         ::testing::Values(PortCase{"BelowRange", "1023", kPortRange},
                                           PortCase{"AboveRange", "49152", kPortRange},
                                           PortCase{"LowestAccepted", "1024", nullptr},
                                           PortCase{"HighestAccepted", "49151", nullptr},
                                           PortCase{"EmptyIsNoInteger", "", kEnterInteger}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Connection test against the protocol test peer

struct PeerPort {
  int port = 0;
  size_t bytes = 0;
};

// The ports file the peer fixture wrote: "<scenario> <port> <bytes>" per line.
std::optional<PeerPort> FindPeerScenario(const std::string& scenario) {
  std::string file = GetEnv("KY_E2E_PEER_PORTS");
  if (file.empty()) return std::nullopt;
  std::ifstream in(WinePathFromUnix(file));
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string name;
    PeerPort peer;
    if (fields >> name >> peer.port >> peer.bytes && name == scenario) return peer;
  }
  return std::nullopt;
}

// A loopback socket bound to a port but not listening: connecting to it is refused at once.
class RefusingPort {
 public:
  RefusingPort() {
    WSADATA data;
    ::WSAStartup(MAKEWORD(2, 2), &data);
    m_socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    if (m_socket == INVALID_SOCKET || ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
      throw DriverError("cannot bind a loopback socket");
    m_port = ntohs(address.sin_port);
  }
  ~RefusingPort() {
    ::closesocket(m_socket);
    ::WSACleanup();
  }
  int GetPort() const { return m_port; }

 private:
  SOCKET m_socket = INVALID_SOCKET;
  int m_port = 0;
};

enum class Answer { Good, Class19, NothingListening };

struct TestButtonCase {
  const char* name;
  Answer answer;
};

class TestButtonTest : public ClientConfigTest, public ::testing::WithParamInterface<TestButtonCase> {};

TEST_P(TestButtonTest, ShowsTheOutcomeAndTheSheetStaysUsable) {
  const TestButtonCase& c = GetParam();
  std::optional<RefusingPort> refusing;
  int port = 0;
  std::string expectedText;
  std::string expectedCaption;
  if (c.answer == Answer::NothingListening) {
    refusing.emplace();
    port = refusing->GetPort();
    expectedCaption = kErrorCaption;
  } else {
    std::optional<PeerPort> peer = FindPeerScenario(c.answer == Answer::Good ? "good" : "class19");
    if (!peer) GTEST_SKIP() << "the protocol test peer is not running for this test";
    port = peer->port;
    if (c.answer == Answer::Good) {
      expectedText = kTestSucceeded;
    } else {
      expectedCaption = kErrorCaption;
      expectedText = "Failed to instantiate object from socket stream. Stream size: '" + std::to_string(peer->bytes) + "'";
    }
  }
  // The port comes from the INI file: the peer's ports may lie above the dialog's range.
  WriteOwnServer("127.0.0.1", static_cast<uint32_t>(port));
  SheetWindow sheet = Start();
  Window test = sheet.PageControl(0, kIdTest);
  ASSERT_TRUE(test.IsEnabled());
  test.Click();
  MessageBoxInfo box = WaitForMessageBox(Pid());
  if (c.answer == Answer::NothingListening) {
    std::string refused = "TCP socket failed to connect to '127.0.0.1' using port " + std::to_string(port) + ".";
    EXPECT_NE(std::string::npos, box.text.find("(0x274d)")) << box.text;
    ASSERT_GE(box.text.size(), refused.size());
    EXPECT_EQ(refused, box.text.substr(box.text.size() - refused.size())) << box.text;
  } else {
    EXPECT_EQ(expectedText, box.text);
  }
  if (!expectedCaption.empty()) {
    EXPECT_EQ(expectedCaption, box.caption);
  } else {
    EXPECT_NE(kErrorCaption, box.caption);
  }
  AnswerMessageBox(box);
  Sync(sheet);
  EXPECT_FALSE(FindMessageBox(Pid()).has_value());
  // Usable afterwards: the pages still switch and Cancel ends the program without saving.
  sheet.SelectPage(1);
  sheet.SelectPage(0);
  CancelUntilExit();
  EXPECT_EQ(std::to_string(port), ReadIni("ServerPort").value_or(""));
}

INSTANTIATE_TEST_SUITE_P(Answers, TestButtonTest,
                         ::testing::Values(TestButtonCase{"FolderTreeResponse", Answer::Good},
                                           TestButtonCase{"RequestClassAnswered", Answer::Class19},
                                           TestButtonCase{"NothingListening", Answer::NothingListening}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
