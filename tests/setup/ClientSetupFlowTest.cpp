// ClientSetup.exe end to end under Wine: real packages installed by msiexec, its message
// boxes read and answered from outside, stand-in Outlook processes.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "doubles/outlook/OutlookStandIn.h"
#include "ky_build_settings.h"
#include "setup/CProductFinder.h"
#include "setup/SetupTestSupport.h"

namespace {

using UiDriver::ChildProcess;
using UiDriver::MessageBoxInfo;

constexpr char kCaption[] = "Tolvern Orvella Client Setup";
constexpr char kPackageName[] = "OrvellaStoreSetupEN.msi";
constexpr char kOutlookText[] =
    "The Installer detected that Microsoft Outlook is running. Please exit Microsoft Outlook, disconnect all "
    "mobile PDA devices from the computer and retry.\nThe Installer may attempt to close Microsoft Outlook "
    "automatically.\n\nDo you want the Installer to close Microsoft Outlook?";
constexpr char kOtherEditionText[] =
    "You have already installed polish version of this product. Please use polish version of the setup "
    "program to update this product.";

struct TestPackage {
  const char* file;  // in KY_TEST_PACKAGES_DIR
  const char* productCode;
};

const TestPackage kOtherEditionFull = {"OtherEditionFull.msi", KY_TEST_CODE_OTHER_FULL};
const TestPackage kOtherEditionShort = {"OtherEditionShort.msi", KY_TEST_CODE_OTHER_SHORT};

class ClientSetupFlowTest : public testing::Test {
 protected:
  void SetUp() override {
    RemoveAll();
    m_folder = SetupTest::MakeScratchFolder("flow");
    m_package = SetupTest::ReadWholeFile(SetupTest::PathFromEnv("KY_CLIENT_PACKAGE"));
    ASSERT_GT(m_package.size(), 1000u);
  }

  void TearDown() override {
    EXPECT_TRUE(SetupTest::WaitForInstallersToEnd()) << "an installer was still running";
    RemoveAll();
  }

  static void RemoveAll() {
    SetupTest::WaitForInstallersToEnd();
    for (const TestPackage* package : {&kOtherEditionFull, &kOtherEditionShort}) {
      SetupTest::UninstallIfInstalled(package->productCode);
    }
    SetupTest::UninstallIfInstalled(KY_PRODUCT_CODE_EN);
  }

  static void Install(const TestPackage& package) {
    const std::string path = SetupTest::PathFromEnv("KY_TEST_PACKAGES_DIR") + "\\" + package.file;
    ASSERT_TRUE(SetupTest::InstallPackage(path)) << package.file;
  }

  // A temporary folder for ClientSetup inside this case's scratch folder.
  std::string MakeTempFolder(const std::string& name) const {
    const std::string folder = m_folder + "\\" + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
  }

  static ChildProcess StartSetup(const std::string& tempFolder) {
    UiDriver::LaunchOptions options;
    options.program = SetupTest::PathFromEnv("KY_CLIENT_SETUP_EXE");
    options.environment = {{"TMP", tempFolder}, {"TEMP", tempFolder}};
    return ChildProcess(options);
  }

  // Runs ClientSetup to its end; every message box it shows is recorded.
  static std::vector<MessageBoxInfo> RunSetup(const std::string& tempFolder) {
    ChildProcess setup = StartSetup(tempFolder);
    std::vector<MessageBoxInfo> boxes;
    EXPECT_TRUE(UiDriver::WaitForExitAnsweringBoxes(setup, boxes)) << "ClientSetup did not end";
    EXPECT_EQ(setup.GetExitCode(), 0u);
    return boxes;
  }

  static void ExpectOutlookQuestion(const MessageBoxInfo& box) {
    EXPECT_EQ(box.caption, kCaption);
    EXPECT_EQ(box.text, kOutlookText);
    EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_TRUE(box.hasIcon);
    // The default button carries the default push-button style and has the focus.
    EXPECT_EQ(box.window.Control(IDNO).GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_DEFPUSHBUTTON));
    EXPECT_EQ(box.window.Control(IDYES).GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON));
    EXPECT_EQ(UiDriver::GetFocusWindow(box.window), box.window.Control(IDNO)) << "No must be the default button";
  }

  static void ExpectOtherEditionMessage(const MessageBoxInfo& box) {
    EXPECT_EQ(box.caption, kCaption);
    EXPECT_EQ(box.text, kOtherEditionText);
    EXPECT_EQ(box.buttons, (std::vector<int>{IDOK}));
    EXPECT_TRUE(box.hasIcon);
  }

  // Nothing written, no installer started, nothing installed.
  static void ExpectNothingDone(const std::string& tempFolder) {
    EXPECT_FALSE(SetupTest::FileExists(tempFolder + "\\" + kPackageName));
    EXPECT_EQ(SetupTest::CountInstallerProcesses(), 0u);
    EXPECT_FALSE(IsProductCodeInstalled(KY_PRODUCT_CODE_EN));
  }

  // Runs ClientSetup, which must show no window, and returns what it started.
  static std::vector<std::string> RunSetupWatchingLaunches(const std::string& tempFolder) {
    const SetupTest::WatchedRun run =
        SetupTest::RunWatchingLaunches(SetupTest::PathFromEnv("KY_CLIENT_SETUP_EXE"), tempFolder);
    EXPECT_TRUE(run.ended) << "ClientSetup did not end";
    EXPECT_EQ(run.exitCode, 0u);
    return run.launched;
  }

  static bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
  }

  // The file in the temporary folder is the built package, byte for byte.
  void ExpectPackageCopy(const std::string& tempFolder) const {
    const std::string copy = SetupTest::ReadWholeFile(tempFolder + "\\" + kPackageName);
    EXPECT_TRUE(copy == m_package) << "copy of " << copy.size() << " bytes, package of " << m_package.size();
  }

  // The package copy is exact and the installer started on it installs the client.
  void ExpectInstalledFrom(const std::string& tempFolder) const {
    ExpectPackageCopy(tempFolder);
    EXPECT_TRUE(SetupTest::WaitForProductInstalled(KY_PRODUCT_CODE_EN));
    EXPECT_TRUE(SetupTest::WaitForInstallersToEnd());
    EXPECT_TRUE(SetupTest::FileExists(SetupTest::GetClientInstallFolder() + "\\ClientConfig.exe"));
    EXPECT_TRUE(SetupTest::ClientShortcutExists());
  }

  std::string m_folder;
  std::string m_package;
};

// --- First installation -------------------------------------------------------------

struct FirstInstallCase {
  const char* name;
  const char* tempFolder;
  bool oldPackageThere;
};

class FirstInstallTest : public ClientSetupFlowTest, public testing::WithParamInterface<FirstInstallCase> {};

TEST_P(FirstInstallTest, WritesThePackageAndItsInstallerInstallsTheClient) {
  const std::string temp = MakeTempFolder(GetParam().tempFolder);
  if (GetParam().oldPackageThere) {
    SetupTest::WriteWholeFile(temp + "\\" + kPackageName, std::string(m_package.size() + 4096, 'x'));
  }
  const std::vector<std::string> launched = RunSetupWatchingLaunches(temp);
  // The shell's open action for the package: Windows Installer's registered command.
  ASSERT_EQ(launched.size(), 1u);
  const std::string package = temp + "\\" + kPackageName;
  EXPECT_NE(launched[0].find("msiexec.exe"), std::string::npos) << launched[0];
  EXPECT_NE(launched[0].find("\"" + package + "\""), std::string::npos) << launched[0];
  EXPECT_EQ(launched[0].find("REINSTALL"), std::string::npos) << launched[0];
  ExpectInstalledFrom(temp);
}

const FirstInstallCase kFirstInstallCases[] = {
    {"PlainTemporaryFolder", "tmp", false},
    {"OldPackageOfTheSameNameIsReplaced", "temp with blank", true},
};

INSTANTIATE_TEST_SUITE_P(Cases, FirstInstallTest, testing::ValuesIn(kFirstInstallCases),
                         [](const testing::TestParamInfo<FirstInstallCase>& info) { return std::string(info.param.name); });

// --- Reinstallation -----------------------------------------------------------------

TEST_F(ClientSetupFlowTest, InstalledClientIsReinstalledFromATemporaryFolderWithABlank) {
  ASSERT_TRUE(SetupTest::InstallPackage(SetupTest::PathFromEnv("KY_CLIENT_PACKAGE")));
  const std::string installed = SetupTest::GetClientInstallFolder() + "\\ClientConfig.exe";
  ASSERT_TRUE(DeleteFileA(installed.c_str()));

  const std::string temp = MakeTempFolder("temp with blank");
  const std::vector<std::string> launched = RunSetupWatchingLaunches(temp);
  ASSERT_EQ(launched.size(), 1u);
  const std::string package = temp + "\\" + kPackageName;
  EXPECT_NE(launched[0].find("msiexec.exe"), std::string::npos) << launched[0];
  EXPECT_TRUE(EndsWith(launched[0], " /i \"" + package + "\" REINSTALL=ALL REINSTALLMODE=vomus")) << launched[0];
  ExpectPackageCopy(temp);
  EXPECT_TRUE(SetupTest::WaitForInstallersToEnd());
  EXPECT_TRUE(SetupTest::FileExists(installed)) << "the reinstallation restores a removed file";
  EXPECT_TRUE(IsProductCodeInstalled(KY_PRODUCT_CODE_EN));
}

// --- A package that cannot be written -----------------------------------------------

TEST_F(ClientSetupFlowTest, NoInstallerIsStartedWhenThePackageCannotBeWritten) {
  const std::string temp = MakeTempFolder("tmp");
  const std::string blocker = temp + "\\" + kPackageName;
  ASSERT_TRUE(CreateDirectoryA(blocker.c_str(), nullptr));
  EXPECT_TRUE(RunSetupWatchingLaunches(temp).empty()) << "nothing may be started";
  EXPECT_FALSE(IsProductCodeInstalled(KY_PRODUCT_CODE_EN));
}

// --- The other edition --------------------------------------------------------------

class OtherEditionTest : public ClientSetupFlowTest, public testing::WithParamInterface<const TestPackage*> {};

TEST_P(OtherEditionTest, IsRefusedWithTheEditionMessage) {
  Install(*GetParam());
  const std::string temp = MakeTempFolder("tmp");
  const std::vector<MessageBoxInfo> boxes = RunSetup(temp);
  ASSERT_EQ(boxes.size(), 1u);
  ExpectOtherEditionMessage(boxes[0]);
  ExpectNothingDone(temp);
}

INSTANTIATE_TEST_SUITE_P(Cases, OtherEditionTest, testing::Values(&kOtherEditionFull, &kOtherEditionShort),
                         [](const testing::TestParamInfo<const TestPackage*>& info) {
                           return info.param == &kOtherEditionFull ? std::string("FullFamilyName")
                                                                   : std::string("ShortFamilyName");
                         });

// --- A running Outlook --------------------------------------------------------------

class OutlookNameTest : public ClientSetupFlowTest, public testing::WithParamInterface<const char*> {};

TEST_P(OutlookNameTest, NoEndsTheSetupAndLeavesOutlookRunning) {
  ChildProcess outlook = SetupTest::StartOutlookStandIn(m_folder, GetParam(), false);
  const std::string temp = MakeTempFolder("tmp");
  ChildProcess setup = StartSetup(temp);
  const MessageBoxInfo question = UiDriver::WaitForMessageBox(setup.GetId());
  ExpectOutlookQuestion(question);
  UiDriver::AnswerMessageBox(question, IDNO);

  std::vector<MessageBoxInfo> more;
  ASSERT_TRUE(UiDriver::WaitForExitAnsweringBoxes(setup, more));
  EXPECT_TRUE(more.empty());
  EXPECT_EQ(setup.GetExitCode(), 0u);
  ExpectNothingDone(temp);
  EXPECT_TRUE(outlook.IsRunning());
}

INSTANTIATE_TEST_SUITE_P(Names, OutlookNameTest, testing::Values("outlook.exe", "OUTLOOK.EXE", "Outlook.Exe"),
                         [](const testing::TestParamInfo<const char*>& info) {
                           std::string name = info.param;
                           return name == "outlook.exe" ? std::string("LowerCase")
                                  : name == "OUTLOOK.EXE" ? std::string("Capitals")
                                                          : std::string("MixedCase");
                         });

struct OutlookYesCase {
  const char* name;
  bool ignoresClose;
  DWORD expectedExitCode;
};

class OutlookYesTest : public ClientSetupFlowTest, public testing::WithParamInterface<OutlookYesCase> {};

TEST_P(OutlookYesTest, YesClosesOutlookAndTheSetupGoesOn) {
  ChildProcess outlook = SetupTest::StartOutlookStandIn(m_folder, "outlook.exe", GetParam().ignoresClose);
  const std::string temp = MakeTempFolder("tmp");
  ChildProcess setup = StartSetup(temp);
  const MessageBoxInfo question = UiDriver::WaitForMessageBox(setup.GetId());
  ExpectOutlookQuestion(question);
  const DWORD answered = GetTickCount();
  UiDriver::AnswerMessageBox(question, IDYES);

  ASSERT_TRUE(outlook.WaitForExit());
  const DWORD closedAfter = GetTickCount() - answered;
  EXPECT_EQ(outlook.GetExitCode(), GetParam().expectedExitCode);
  if (GetParam().ignoresClose) {
    EXPECT_GE(closedAfter, 4900u) << "terminated before the grace period ended";
  }

  std::vector<MessageBoxInfo> more;
  ASSERT_TRUE(UiDriver::WaitForExitAnsweringBoxes(setup, more));
  EXPECT_TRUE(more.empty());
  EXPECT_EQ(setup.GetExitCode(), 0u);
  ExpectInstalledFrom(temp);
}

const OutlookYesCase kOutlookYesCases[] = {
    {"HonouredCloseIsNotTerminated", false, kOutlookStandInClosedExitCode},
    {"IgnoredCloseIsTerminatedWithExitCodeZero", true, 0},
};

INSTANTIATE_TEST_SUITE_P(Cases, OutlookYesTest, testing::ValuesIn(kOutlookYesCases),
                         [](const testing::TestParamInfo<OutlookYesCase>& info) { return std::string(info.param.name); });

TEST_F(ClientSetupFlowTest, YesClosesOutlookBeforeTheOtherEditionIsRefused) {
  Install(kOtherEditionFull);
  ChildProcess outlook = SetupTest::StartOutlookStandIn(m_folder, "outlook.exe", false);
  const std::string temp = MakeTempFolder("tmp");
  ChildProcess setup = StartSetup(temp);
  const MessageBoxInfo question = UiDriver::WaitForMessageBox(setup.GetId());
  ExpectOutlookQuestion(question);
  UiDriver::AnswerMessageBox(question, IDYES);

  const MessageBoxInfo refusal = UiDriver::WaitForMessageBox(setup.GetId());
  EXPECT_FALSE(outlook.IsRunning()) << "Outlook must be closed before the edition check";
  EXPECT_EQ(outlook.GetExitCode(), kOutlookStandInClosedExitCode);
  ExpectOtherEditionMessage(refusal);
  UiDriver::AnswerMessageBox(refusal, IDOK);

  ASSERT_TRUE(setup.WaitForExit());
  EXPECT_EQ(setup.GetExitCode(), 0u);
  ExpectNothingDone(temp);
}

}  // namespace
