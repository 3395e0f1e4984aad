// The computers browser with the system's own network list (Wine has no browser servers)
// and without its resource libraries.
#include <gtest/gtest.h>

#include <windows.h>

#include "BrowserTestSupport.h"
#include "kybase/KyException.h"

namespace {

constexpr int kNoBrowserServersFound = 6118;

TEST(BrowserWithoutResources, ConstructorNamesBothLibraries) {
  SetDllDirectoryA(nullptr);
  try {
    KyDlgComputersBrowser browser(nullptr);
    FAIL() << "constructed without KyRes.dll and KyResEN.dll";
  } catch (const Error::KyException& e) {
    EXPECT_EQ(e.GetText(), "Failed to load resource from modules: 'KyRes.dll, KyResEN.dll'");
  }
}

TEST(BrowserOnThisNetwork, FailedListOnOpeningEndsWithAbortAndTheCode) {
  UseResourceLibraryFolder();
  KyDlgComputersBrowser browser(nullptr);
  bool visible = true;
  EXPECT_EQ(RunBrowser(browser, [](HWND dialog) { PressButton(dialog, IDCANCEL); }, &visible), IDABORT);
  EXPECT_FALSE(visible);
  EXPECT_EQ(browser.GetError(), kNoBrowserServersFound);
  EXPECT_TRUE(browser.GetNames().empty());
  EXPECT_EQ(browser.GetSelectedName(), "");
}

}  // namespace
