// The computers browser with a stand-in network list (netapi32.dll beside this program):
// what it lists, keeps, selects and returns, and how it fails.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <ostream>
#include <string>
#include <vector>

#include "BrowserTestSupport.h"
#include "kyui/res/KyResIds.h"

namespace {

using Names = std::vector<std::string>;

std::string GetEnv(const char* name) {
  char buffer[1024] = {};
  const DWORD length = GetEnvironmentVariableA(name, buffer, sizeof(buffer));
  return length < sizeof(buffer) ? std::string(buffer, length) : std::string();
}

Names Keys(const KyComputerNames& names) { return Names(names.begin(), names.end()); }

class BrowserWithNetwork : public ::testing::Test {
 protected:
  void SetUp() override {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(GetModuleHandleA("netapi32.dll"), path, sizeof(path));
    ASSERT_NE(std::string(path).find("\\double\\"), std::string::npos) << "not the stand-in: " << path;
    UseResourceLibraryFolder();
    Answer(0, "");
    SetEnvironmentVariableA("KY_NETAPI_CALLS", "0");
  }
  static void Answer(int result, const char* namesUtf8) {
    SetEnvironmentVariableA("KY_NETAPI_RESULT", std::to_string(result).c_str());
    SetEnvironmentVariableA("KY_NETAPI_NAMES", namesUtf8);
  }
  static int Calls() { return std::stoi(GetEnv("KY_NETAPI_CALLS")); }
};

TEST_F(BrowserWithNetwork, ListsTheComputersInTheOrderGivenAndKeepsThemSorted) {
  Answer(0, "beta|Alpha|gamma|Delta");
  KyDlgComputersBrowser browser(nullptr);
  Names items;
  int selected = -1;
  std::string field;
  std::string heading;
  int images = 0;
  EXPECT_EQ(RunBrowser(browser,
                       [&](HWND dialog) {
                         items = GetListItems(dialog);
                         selected = GetSelectedItem(dialog);
                         field = GetNameField(dialog);
                         heading = GetColumnHeading(dialog);
                         HWND list = GetDlgItem(dialog, IDC_COMPUTER_LIST);
                         images = ImageList_GetImageCount(ListView_GetImageList(list, LVSIL_SMALL));
                         PressButton(dialog, IDOK);
                       }),
            IDOK);
  EXPECT_EQ(items, (Names{"beta", "Alpha", "gamma", "Delta"}));
  EXPECT_EQ(selected, 0);
  EXPECT_EQ(field, "beta");
  EXPECT_EQ(heading, "Komputer");
  EXPECT_EQ(images, 1);
  EXPECT_EQ(browser.GetSelectedName(), "beta");
  EXPECT_EQ(browser.GetError(), 0);
  // Byte order: capitals before small letters.
  EXPECT_EQ(Keys(browser.GetNames()), (Names{"Alpha", "Delta", "beta", "gamma"}));
  EXPECT_EQ(Calls(), 1);
  EXPECT_EQ(GetEnv("KY_NETAPI_LAST"), "server=null level=100 max=0xffffffff type=0x1000 domain=null resume=null");
}

struct ChoiceCase {
  const char* what;
  int select;         // -1: leave the first item selected
  const char* typed;  // null: leave the field as the selection wrote it
  const char* shownAfterSelect;
  const char* expected;
};

void PrintTo(const ChoiceCase& choice, std::ostream* out) { *out << choice.what; }

class BrowserChoice : public BrowserWithNetwork, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(BrowserChoice, OkReturnsTheSelectionOrWhatWasTypedAfterIt) {
  Answer(0, "one|two|three");
  KyDlgComputersBrowser browser(nullptr);
  std::string shown;
  EXPECT_EQ(RunBrowser(browser,
                       [&](HWND dialog) {
                         if (GetParam().select >= 0) SelectItem(dialog, GetParam().select);
                         shown = GetNameField(dialog);
                         if (GetParam().typed != nullptr) SetNameField(dialog, GetParam().typed);
                         PressButton(dialog, IDOK);
                       }),
            IDOK);
  EXPECT_EQ(shown, GetParam().shownAfterSelect);
  EXPECT_EQ(browser.GetSelectedName(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, BrowserChoice,
                         ::testing::Values(ChoiceCase{"First", -1, nullptr, "one", "one"},
                                           ChoiceCase{"Third", 2, nullptr, "three", "three"},
                                           ChoiceCase{"TypedAfterSelection", 1, "typed-host", "two", "typed-host"},
                                           ChoiceCase{"EmptiedField", 1, "", "two", ""}),
                         [](const ::testing::TestParamInfo<ChoiceCase>& info) { return info.param.what; });

TEST_F(BrowserWithNetwork, DoubleClickOnAnItemActsAsOk) {
  Answer(0, "one|two|three");
  KyDlgComputersBrowser browser(nullptr);
  EXPECT_EQ(RunBrowser(browser,
                       [&](HWND dialog) {
                         HWND list = GetDlgItem(dialog, IDC_COMPUTER_LIST);
                         RECT item = {};
                         item.left = LVIR_LABEL;
                         SendMessageA(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
                         const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
                         SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
                         SendMessageA(list, WM_LBUTTONUP, 0, at);
                         SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
                         SendMessageA(list, WM_LBUTTONUP, 0, at);
                       }),
            IDOK);
  EXPECT_EQ(browser.GetSelectedName(), "two");
}

TEST_F(BrowserWithNetwork, EmptyListStaysOpenAndReturnsTheTypedName) {
  KyDlgComputersBrowser browser(nullptr);
  Names items{"x"};
  std::string field = "x";
  EXPECT_EQ(RunBrowser(browser,
                       [&](HWND dialog) {
                         items = GetListItems(dialog);
                         field = GetNameField(dialog);
                         SetNameField(dialog, "192.168.1.20");
                         PressButton(dialog, IDOK);
                       }),
            IDOK);
  EXPECT_TRUE(items.empty());
  EXPECT_EQ(field, "");
  EXPECT_EQ(browser.GetError(), 0);
  EXPECT_EQ(browser.GetSelectedName(), "192.168.1.20");
}

TEST_F(BrowserWithNetwork, RefreshAfterAFailureEnumeratesAgainAndUpdatesTheError) {
  Answer(0, "one|two");
  KyDlgComputersBrowser browser(nullptr);
  Names afterFailure{"x"};
  std::string fieldAfterFailure;
  int errorAfterFailure = 0;
  Names afterRecovery;
  std::string fieldAfterRecovery;
  EXPECT_EQ(RunBrowser(browser,
                       [&](HWND dialog) {
                         Answer(53, "ignored");
                         PressButton(dialog, IDC_REFRESH);
                         afterFailure = GetListItems(dialog);
                         fieldAfterFailure = GetNameField(dialog);
                         errorAfterFailure = browser.GetError();
                         Answer(0, "three");
                         PressButton(dialog, IDC_REFRESH);
                         afterRecovery = GetListItems(dialog);
                         fieldAfterRecovery = GetNameField(dialog);
                         PressButton(dialog, IDCANCEL);
                       }),
            IDCANCEL);
  EXPECT_TRUE(afterFailure.empty());
  EXPECT_EQ(fieldAfterFailure, "one");
  EXPECT_EQ(errorAfterFailure, 53);
  EXPECT_EQ(afterRecovery, (Names{"three"}));
  EXPECT_EQ(fieldAfterRecovery, "three");
  EXPECT_EQ(browser.GetError(), 0);
  EXPECT_EQ(Keys(browser.GetNames()), (Names{"three"}));
  EXPECT_EQ(Calls(), 3);
}

class BrowserOpeningFailure : public BrowserWithNetwork, public ::testing::WithParamInterface<int> {};

TEST_P(BrowserOpeningFailure, EndsWithAbortBeforeShowingAndKeepsTheCode) {
  Answer(GetParam(), "partial|list");
  KyDlgComputersBrowser browser(nullptr);
  bool visible = true;
  EXPECT_EQ(RunBrowser(browser, [](HWND dialog) { PressButton(dialog, IDCANCEL); }, &visible), IDABORT);
  EXPECT_FALSE(visible);
  EXPECT_EQ(browser.GetError(), GetParam());
  EXPECT_TRUE(browser.GetNames().empty());
}

// No browser servers, more data than returned, network path not found.
INSTANTIATE_TEST_SUITE_P(Codes, BrowserOpeningFailure, ::testing::Values(6118, ERROR_MORE_DATA, 53));

TEST_F(BrowserWithNetwork, NamesOutsideTheCodePageAreShownAndReturnedInIt) {
  ASSERT_EQ(GetACP(), 1250u) << "run under a Polish locale";
  Answer(0, "\xC5\x81\xC3\xB3\x64\xC5\xBA-PC|\xE6\x97\xA5\xE6\x9C\xAC");  // "Łódź-PC", two CJK letters
  KyDlgComputersBrowser browser(nullptr);
  Names items;
  EXPECT_EQ(RunBrowser(browser,
                       [&](HWND dialog) {
                         items = GetListItems(dialog);
                         SelectItem(dialog, 1);
                         PressButton(dialog, IDOK);
                       }),
            IDOK);
  EXPECT_EQ(items, (Names{"\xA3\xF3\x64\x9F-PC", "??"}));
  EXPECT_EQ(browser.GetSelectedName(), "??");
}

TEST_F(BrowserWithNetwork, GivenNamesAreShownSortedWithoutEnumerating) {
  KyDlgComputersBrowser browser(KyComputerNames{"b", "A", "c"}, nullptr);
  Names items;
  std::string field;
  EXPECT_EQ(RunBrowser(browser,
                       [&](HWND dialog) {
                         items = GetListItems(dialog);
                         field = GetNameField(dialog);
                         PressButton(dialog, IDOK);
                       }),
            IDOK);
  EXPECT_EQ(items, (Names{"A", "b", "c"}));
  EXPECT_EQ(field, "A");
  EXPECT_EQ(browser.GetSelectedName(), "A");
  EXPECT_EQ(Calls(), 0);
}

}  // namespace
