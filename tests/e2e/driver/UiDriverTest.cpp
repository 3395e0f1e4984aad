// The driver against its probe program: windows, controls, message boxes, sheets, processes.
#include "e2e/driver/UiDriver.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace UiDriver;

namespace {

std::string ProbePath() { return WinePathFromUnix(GetEnv("KY_DRIVER_PROBE_EXE")); }

class ProbeTest : public ::testing::Test {
 protected:
  void Start(const std::string& arguments = std::string(),
             std::vector<std::pair<std::string, std::string>> environment = {}, const std::string& folder = {}) {
    LaunchOptions options;
    options.program = ProbePath();
    options.arguments = arguments;
    options.environment = std::move(environment);
    options.workingFolder = folder;
    m_process.emplace(options);
  }
  Window Dialog() { return WaitForTopLevel(m_process->GetId(), "#32770", "Driver probe"); }

  std::optional<ChildProcess> m_process;
};

TEST_F(ProbeTest, EnvironmentAndWorkingFolderReachTheChild) {
  Start("", {{"KY_DRIVER_PROBE", "Zażółć gęślą jaźń"}}, "C:\\windows");
  Window dialog = Dialog();
  // Polish letters survive the round trip through the child's ANSI code page (1250 here).
  EXPECT_EQ("Zażółć gęślą jaźń", dialog.Control(100).GetText());
  EXPECT_EQ("C:\\windows", dialog.Control(107).GetText());
}

TEST_F(ProbeTest, SetTextAndReadItBackThroughAMessageBox) {
  Start();
  Window dialog = Dialog();
  dialog.Control(100).SetText("Więcej...");
  dialog.Control(101).Click();
  MessageBoxInfo box = WaitForMessageBox(m_process->GetId());
  EXPECT_EQ("Probe box", box.caption);
  EXPECT_EQ("Więcej...", box.text);
  EXPECT_EQ(std::vector<int>{IDOK}, box.buttons);
  EXPECT_TRUE(box.hasIcon);
  EXPECT_EQ(dialog, box.owner);
  AnswerMessageBox(box);
  // The dialog is usable again: a second box appears and can be answered.
  dialog.Control(101).Click();
  AnswerMessageBox(WaitForMessageBox(m_process->GetId()));
  EXPECT_FALSE(FindMessageBox(m_process->GetId()).has_value());
  EXPECT_TRUE(m_process->IsRunning());
}

TEST_F(ProbeTest, RadioCheckAndComboControls) {
  Start();
  Window dialog = Dialog();
  EXPECT_TRUE(dialog.Control(102).IsChecked());
  dialog.Control(103).Click();
  ASSERT_TRUE(WaitUntil([&] { return dialog.Control(103).IsChecked(); }, 5000));
  EXPECT_FALSE(dialog.Control(102).IsChecked());

  Window check = dialog.Control(104);
  EXPECT_FALSE(check.IsChecked());
  check.SetCheck(true);
  EXPECT_TRUE(check.IsChecked());

  Window combo = dialog.Control(105);
  EXPECT_EQ((std::vector<std::string>{"One", "Szczegółowy"}), combo.GetComboItems());
  EXPECT_EQ(-1, combo.GetComboSelection());
  combo.SelectComboIndex(1);
  EXPECT_EQ(1, combo.GetComboSelection());
  EXPECT_THROW(combo.SelectComboIndex(5), DriverError);
}

TEST_F(ProbeTest, DisabledButtonsCannotBeClicked) {
  Start();
  Window dialog = Dialog();
  Window disabled = dialog.Control(108);
  EXPECT_FALSE(disabled.IsEnabled());
  EXPECT_THROW(disabled.Click(), DriverError);
  // While a box is open its owner is disabled, so its buttons cannot be clicked either.
  dialog.Control(101).Click();
  MessageBoxInfo box = WaitForMessageBox(m_process->GetId());
  EXPECT_THROW(dialog.Control(IDOK).Click(), DriverError);
  AnswerMessageBox(box);
  EXPECT_FALSE(FindMessageBox(m_process->GetId()).has_value());
}

TEST_F(ProbeTest, AnInputDialogIsNotAMessageBoxAndFocusIsVisible) {
  Start();
  Window dialog = Dialog();
  dialog.Control(106).Click();
  Window nested = WaitForTopLevel(m_process->GetId(), "#32770", "Nested");
  EXPECT_FALSE(IsMessageBox(nested));
  EXPECT_FALSE(IsMessageBox(dialog));
  nested.Control(IDOK).Click();
  MessageBoxInfo box = WaitForMessageBox(m_process->GetId());
  EXPECT_EQ("Nested check", box.caption);
  EXPECT_EQ("Empty value", box.text);
  EXPECT_EQ(nested, box.owner);
  AnswerMessageBox(box);
  ASSERT_TRUE(WaitUntil([&] { return nested.Control(300).HasFocus(); }, 5000));
  nested.Control(IDCANCEL).Click();
  EXPECT_TRUE(WaitForGone(nested));
  EXPECT_TRUE(dialog.IsVisible());
}

TEST_F(ProbeTest, MissingControlAndWindowAreReportedNotAwaitedForever) {
  Start();
  Window dialog = Dialog();
  EXPECT_THROW(dialog.Control(4242), DriverError);
  EXPECT_THROW(WaitForTopLevel(m_process->GetId(), "#32770", "No such window", 300), DriverError);
  EXPECT_THROW(WaitForMessageBox(m_process->GetId(), 300), DriverError);
  // A process that keeps running is reported as not ended within a short bound.
  EXPECT_FALSE(m_process->WaitForExit(300));
}

struct EndCase {
  const char* name;
  int button;
  DWORD exitCode;
};

class ProbeEndTest : public ProbeTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(ProbeEndTest, ButtonEndsTheProcessWithItsCode) {
  Start();
  Dialog().Control(GetParam().button).Click();
  ASSERT_TRUE(m_process->WaitForExit());
  EXPECT_EQ(GetParam().exitCode, m_process->GetExitCode());
}

INSTANTIATE_TEST_SUITE_P(Buttons, ProbeEndTest,
                         ::testing::Values(EndCase{"Ok", IDOK, IDOK}, EndCase{"Cancel", IDCANCEL, IDCANCEL}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProbeTest, WaitForExitAnsweringBoxesRecordsEveryBox) {
  Start();
  Window dialog = Dialog();
  dialog.Control(100).SetText("first");
  dialog.Control(101).Click();
  WaitForMessageBox(m_process->GetId());
  std::vector<MessageBoxInfo> boxes;
  // The box is answered by the helper; then the dialog can be closed.
  EXPECT_FALSE(WaitForExitAnsweringBoxes(*m_process, boxes, 2000));
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ("first", boxes[0].text);
  dialog.Control(IDCANCEL).Click();
  EXPECT_TRUE(WaitForExitAnsweringBoxes(*m_process, boxes));
  EXPECT_EQ(1u, boxes.size());
}

class ProbeSheetTest : public ProbeTest {
 protected:
  SheetWindow Sheet() {
    Start("sheet");
    return SheetWindow(WaitForTopLevel(m_process->GetId(), "#32770", "Probe sheet"));
  }
};

TEST_F(ProbeSheetTest, PagesAreCreatedOnFirstVisitAndSwitched) {
  SheetWindow sheet = Sheet();
  EXPECT_EQ(3, sheet.GetPageCount());
  EXPECT_EQ((std::vector<std::string>{"Alpha", "Beta", "Gamma"}), sheet.GetTabTexts());
  EXPECT_EQ(0, sheet.GetCurrentIndex());
  EXPECT_TRUE(sheet.GetPage(0));
  EXPECT_FALSE(sheet.GetPage(2));
  EXPECT_THROW(sheet.PageControl(2, 400), DriverError);

  sheet.PageControl(0, 400).SetText("kept");
  sheet.SelectPage(2);
  EXPECT_EQ(2, sheet.GetCurrentIndex());
  EXPECT_TRUE(sheet.GetPage(2));
  EXPECT_EQ(sheet.GetPage(2), sheet.GetCurrentPage());
  sheet.SelectPage(0);
  EXPECT_EQ("kept", sheet.PageControl(0, 400).GetText());
}

TEST_F(ProbeSheetTest, PageButtonBoxAndOk) {
  SheetWindow sheet = Sheet();
  sheet.PageControl(0, 401).Click();
  MessageBoxInfo box = WaitForMessageBox(m_process->GetId());
  EXPECT_EQ("Page box", box.text);
  EXPECT_EQ(sheet, box.owner);
  AnswerMessageBox(box);
  sheet.PressOk();
  ASSERT_TRUE(m_process->WaitForExit());
  EXPECT_EQ(static_cast<DWORD>(IDOK), m_process->GetExitCode());
}

TEST_F(ProbeSheetTest, CancelEndsTheSheet) {
  SheetWindow sheet = Sheet();
  sheet.PressCancel();
  ASSERT_TRUE(m_process->WaitForExit());
  EXPECT_EQ(static_cast<DWORD>(IDCANCEL), m_process->GetExitCode());
}

}  // namespace
