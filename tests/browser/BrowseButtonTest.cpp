// The Server page's Browse button in ClientConfig, end to end: the system's network list
// (no browser servers here), a stand-in network list beside the program, and no resource
// library of the computers browser. The program inherits WINEDLLOVERRIDES="netapi32=n,b":
// only the folder with the stand-in has a netapi32.dll of its own.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "e2e/config/ConfigE2E.h"
#include "e2e/driver/UiDriver.h"

namespace {

using namespace UiDriver;
using namespace ConfigE2E;

const char kBrowseFailed[] =
    "Nie można pobrać nazw komputerów w sieci (6118).\nWpisz nazwę komputera lub jego IP ręcznie.";
const char kBrowserCaptionUtf8[] = "Komputery w sieci";
constexpr int kIdBrowserName = 1009;

enum class Network { System, StandIn, NoResources };

std::string Folder(const std::string& unixPath) { return WinePathFromUnix(unixPath); }

void Copy(const std::string& from, const std::string& toFolder) {
  const std::string to = toFolder + from.substr(from.find_last_of('\\'));
  if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) throw DriverError("cannot copy " + from);
}

// ClientConfig in a folder of its own with what the case puts beside it.
std::string PrepareFolder(Network network) {
  static const char* const kNames[] = {"system", "stand-in", "no-resources"};
  std::string folder = Folder(GetEnv("KY_BINARY_DIR")) + "\\browser-e2e";
  CreateDirectoryA(folder.c_str(), nullptr);
  folder += std::string("\\") + kNames[static_cast<int>(network)];
  CreateDirectoryA(folder.c_str(), nullptr);
  Copy(Folder(GetEnv("KY_CLIENTCONFIG_EXE")), folder);
  if (network != Network::NoResources) Copy(Folder(GetEnv("KY_KYRES_DLL")), folder);
  if (network == Network::StandIn) Copy(Folder(GetEnv("KY_NETAPI_DOUBLE")), folder);
  return folder + "\\ClientConfig.exe";
}

class BrowseButton : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetClientState();
    WriteOwnServer("oldhost", 5000);
  }
  void TearDown() override {
    if (m_process) m_process->Terminate();
  }

  SheetWindow Start(Network network, std::vector<std::pair<std::string, std::string>> environment = {}) {
    LaunchOptions options;
    options.program = PrepareFolder(network);
    options.environment = std::move(environment);
    m_process.emplace(options);
    m_sheet = WaitForSheet(*m_process);
    return m_sheet;
  }
  DWORD Pid() const { return m_process->GetId(); }
  Window Address() const { return m_sheet.PageControl(0, kIdAddress); }
  Window OpenBrowser() {
    m_sheet.PageControl(0, kIdBrowse).Click();
    return WaitForTopLevel(Pid(), "#32770", kBrowserCaptionUtf8);
  }
  void CancelUntilExit() {
    m_sheet.PressCancel();
    std::vector<MessageBoxInfo> boxes;
    EXPECT_TRUE(WaitForExitAnsweringBoxes(*m_process, boxes));
    EXPECT_TRUE(boxes.empty());
  }

  std::optional<ChildProcess> m_process;
  SheetWindow m_sheet;
};

TEST_F(BrowseButton, NoBrowserServersShowsTheCodeAndSendsTheUserToTheAddressField) {
  Start(Network::System);
  m_sheet.PageControl(0, kIdBrowse).Click();
  MessageBoxInfo box = WaitForMessageBox(Pid());
  EXPECT_EQ(box.text, kBrowseFailed);
  EXPECT_TRUE(box.hasIcon);
  AnswerMessageBox(box);
  Sync(m_sheet);
  EXPECT_TRUE(GetFocusWindow(m_sheet) == Address());
  EXPECT_EQ(Address().GetText(), "oldhost");
  CancelUntilExit();
}

TEST_F(BrowseButton, ChosenComputerReplacesTheAddressAndIsSaved) {
  Start(Network::StandIn, {{"KY_NETAPI_NAMES", "srv-b|srv-a"}});
  Window browser = OpenBrowser();
  EXPECT_EQ(browser.Control(kIdBrowserName).GetText(), "srv-b");
  browser.Control(IDOK).Click();
  ASSERT_TRUE(WaitForGone(browser));
  Sync(m_sheet);
  EXPECT_EQ(Address().GetText(), "srv-b");
  m_sheet.PressOk();
  std::vector<MessageBoxInfo> boxes;
  EXPECT_TRUE(WaitForExitAnsweringBoxes(*m_process, boxes));
  EXPECT_EQ(ReadIni("ServerAddress").value_or("<missing>"), "srv-b");
}

TEST_F(BrowseButton, CancelledBrowserLeavesTheAddress) {
  Start(Network::StandIn, {{"KY_NETAPI_NAMES", "srv-b"}});
  Window browser = OpenBrowser();
  browser.Control(kIdBrowserName).SetText("typed-but-cancelled");
  browser.Control(IDCANCEL).Click();
  ASSERT_TRUE(WaitForGone(browser));
  Sync(m_sheet);
  EXPECT_EQ(Address().GetText(), "oldhost");
  CancelUntilExit();
}

TEST_F(BrowseButton, MissingResourceLibraryShowsTheErrorAndTheSheetStays) {
  Start(Network::NoResources);
  m_sheet.PageControl(0, kIdBrowse).Click();
  MessageBoxInfo box = WaitForMessageBox(Pid());
  EXPECT_EQ(box.caption, kErrorCaption);
  EXPECT_EQ(box.text, "Failed to load resource from modules: 'KyRes.dll, KyResEN.dll'");
  AnswerMessageBox(box);
  Sync(m_sheet);
  EXPECT_FALSE(FindMessageBox(Pid()).has_value());
  EXPECT_EQ(Address().GetText(), "oldhost");
  CancelUntilExit();
}

}  // namespace
