// The exception guard of kyui's dialogs and pages, seen from outside: a throwing handler shows
// its text in an "Error" box (or the generic text for foreign exceptions) and the window goes on.
#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/driver/UiDriver.h"

using namespace UiDriver;

namespace {

struct GuardCase {
  const char* name;
  const char* argument;
  const char* caption;
};

class GuardTest : public ::testing::TestWithParam<GuardCase> {};

TEST_P(GuardTest, ThrowingHandlersAreShownAndTheWindowStaysUsable) {
  const GuardCase& c = GetParam();
  LaunchOptions options;
  options.program = WinePathFromUnix(GetEnv("KY_GUARD_PROBE_EXE"));
  options.arguments = c.argument;
  ChildProcess process(options);
  Window top = WaitForTopLevel(process.GetId(), "#32770", c.caption);
  Window window = top;
  if (std::string(c.argument) == "page") window = SheetWindow(top).GetCurrentPage();
  ASSERT_TRUE(window);

  window.Control(10).Click();
  MessageBoxInfo box = WaitForMessageBox(process.GetId());
  EXPECT_EQ("Error", box.caption);
  EXPECT_EQ("Probe failure: the handler threw.", box.text);
  EXPECT_TRUE(box.hasIcon);
  AnswerMessageBox(box);

  window.Control(11).Click();
  box = WaitForMessageBox(process.GetId());
  EXPECT_EQ("Unhandled exception in Ky window.", box.text);
  AnswerMessageBox(box);

  // Still usable: typing and another handler work, and the window closes normally.
  window.Control(13).SetText("yes");
  window.Control(12).Click();
  box = WaitForMessageBox(process.GetId());
  EXPECT_EQ("Alive: yes", box.text);
  EXPECT_EQ("Guard probe", box.caption);
  AnswerMessageBox(box);
  top.Control(IDOK).Click();
  std::vector<MessageBoxInfo> more;
  EXPECT_TRUE(WaitForExitAnsweringBoxes(process, more));
  EXPECT_TRUE(more.empty());
}

INSTANTIATE_TEST_SUITE_P(Windows, GuardTest,
                         ::testing::Values(GuardCase{"Dialog", "", "Guard probe"},
                                           GuardCase{"Page", "page", "Guard probe sheet"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
