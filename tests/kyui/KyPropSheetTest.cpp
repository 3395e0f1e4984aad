// The sheet and page bases: FindPage, page headers, the apply hook as the system calls it,
// the guard on apply, and the wizard buttons.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "KyUiTestIds.h"
#include "KyUiTestSupport.h"
#include "kybase/KyException.h"
#include "kyui/KyPropPage.h"
#include "kyui/KyPropSheet.h"

class KyTestSheet : public KyPropSheet {
 public:
  explicit KyTestSheet(const std::string& caption) : KyPropSheet(caption, nullptr, 0) {}

  std::vector<int> m_applied;  // page index of every apply, in call order
  BOOL m_applyResult = TRUE;
  bool m_throwInApply = false;

  BOOL OnApply() override {
    if (m_throwInApply) throw Error::KyExceptionText("apply failed");
    return m_applyResult;
  }
};

class KyTestPageA : public KyPropPage {
 public:
  KyTestPageA(KyTestSheet* sheet, UINT templateId = IDD_PAGE_A)
      : KyPropPage(sheet, templateId, std::string(), std::string(), 0, false), m_testSheet(sheet) {}

 protected:
  BOOL OnApply() override {
    m_testSheet->m_applied.push_back(m_testSheet->GetPageIndex(this));
    return KyPropPage::OnApply();
  }

 private:
  KyTestSheet* m_testSheet;
};

class KyTestPageB : public KyTestPageA {
 public:
  explicit KyTestPageB(KyTestSheet* sheet) : KyTestPageA(sheet, IDD_PAGE_B) {}
};

class KyTestPageC : public KyTestPageA {
 public:
  explicit KyTestPageC(KyTestSheet* sheet) : KyTestPageA(sheet, IDD_PAGE_C) {}
};

namespace {

constexpr int kWizardBack = 0x3023;
constexpr int kWizardNext = 0x3024;
constexpr int kWizardFinish = 0x3025;

void AddThreePages(KyTestSheet& sheet) {
  sheet.AddPage(new KyTestPageA(&sheet));
  sheet.AddPage(new KyTestPageB(&sheet));
  sheet.AddPage(new KyTestPageC(&sheet));
}

int CurrentPage(HWND sheet) {
  HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  return static_cast<int>(SendMessageA(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page), 0));
}

// Runs the sheet modally here while drive works on it from another thread.
INT_PTR RunSheet(KyTestSheet& sheet, const std::string& caption, const std::function<void(HWND)>& drive) {
  std::thread driver([&] {
    HWND window = nullptr;
    if (KyWaitFor([&] { return (window = sheet.GetSafeHwnd()) != nullptr && IsWindowVisible(window); })) {
      drive(window);
    } else {
      ADD_FAILURE() << "sheet '" << caption << "' did not appear";
      window = sheet.GetSafeHwnd();
    }
    // Whatever happened, the sheet must end.
    if (IsWindow(window)) SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
  });
  const INT_PTR result = sheet.DoModal();
  driver.join();
  return result;
}

}  // namespace

TEST(KyPropSheet, FindPageReturnsTheFirstPageOfTheClass) {
  KyTestSheet sheet("unused");
  AddThreePages(sheet);
  EXPECT_EQ(sheet.FindPage<KyTestPageA>(), sheet.GetPage(0));
  EXPECT_EQ(sheet.FindPage<KyTestPageC>(), sheet.GetPage(2));
}

TEST(KyPropSheet, FindPageWithoutSuchPageNamesTheClass) {
  KyTestSheet sheet("unused");
  sheet.AddPage(new KyTestPageA(&sheet));
  try {
    sheet.FindPage<KyTestPageB>();
    FAIL() << "no exception";
  } catch (const Error::KyException& e) {
    EXPECT_EQ(e.GetText(), "Failed to find page class KyTestPageB");
    EXPECT_EQ(e.GetModule(), "KyPropSheet.h");
    EXPECT_EQ(e.GetLine(), 35);
  }
}

TEST(KyPropPage, HeaderTextsFromStringsOrALibraryAndTheFlagsThatUseThem) {
  KyTestSheet sheet("unused");
  KyPropPage fromIds(&sheet, IDD_PAGE_A, IDS_TITLE, IDS_SUBTITLE, 0, true);
  EXPECT_EQ(fromIds.GetHeaderTitle(), "Header title");
  EXPECT_EQ(fromIds.GetHeaderSubtitle(), "Header subtitle");
  const PROPSHEETPAGEA& page = fromIds.GetPageDescription(GetModuleHandleA(nullptr));
  EXPECT_EQ(page.dwFlags & (PSP_USEHEADERTITLE | PSP_USEHEADERSUBTITLE), DWORD{PSP_USEHEADERTITLE | PSP_USEHEADERSUBTITLE});
  EXPECT_EQ(page.dwFlags & PSP_HASHELP, 0u);
  EXPECT_STREQ(page.pszHeaderTitle, "Header title");

  KyPropPage fromLibrary(&sheet, std::vector<std::string>{"KyUiNoSuchLibrary.dll", "KyUiTestRes.dll"}, IDD_PAGE_A,
                         156, 999, 0, false);
  EXPECT_EQ(fromLibrary.GetHeaderTitle(), "Computer");
  EXPECT_EQ(fromLibrary.GetHeaderSubtitle(), "");
  EXPECT_EQ(fromLibrary.GetPageDescription(GetModuleHandleA(nullptr)).dwFlags & PSP_USEHEADERTITLE, 0u);

  EXPECT_THROW(KyPropPage(&sheet, std::vector<std::string>{"KyUiNoSuchLibrary.dll"}, IDD_PAGE_A, 1, 2, 0, true),
               Error::KyException);
}

TEST(KyPropSheet, OkAppliesOnlyThePagesThatWereShownInPageOrder) {
  {
    KyTestSheet sheet("KyUi sheet only first");
    AddThreePages(sheet);
    EXPECT_EQ(RunSheet(sheet, "KyUi sheet only first", [](HWND w) { SendMessageA(w, WM_COMMAND, IDOK, 0); }), IDOK);
    EXPECT_EQ(sheet.m_applied, (std::vector<int>{0}));
  }
  {
    KyTestSheet sheet("KyUi sheet all pages");
    AddThreePages(sheet);
    EXPECT_EQ(RunSheet(sheet, "KyUi sheet all pages",
                       [](HWND w) {
                         SendMessageA(w, PSM_SETCURSEL, 2, 0);
                         SendMessageA(w, PSM_SETCURSEL, 1, 0);
                         SendMessageA(w, WM_COMMAND, IDOK, 0);
                       }),
              IDOK);
    EXPECT_EQ(sheet.m_applied, (std::vector<int>{0, 1, 2}));
  }
}

TEST(KyPropSheet, AnApplyThatFailsKeepsTheSheetOpenOnItsPage) {
  KyTestSheet sheet("KyUi sheet refused");
  AddThreePages(sheet);
  sheet.m_applyResult = FALSE;
  bool stayed = false;
  int page = -1;
  RunSheet(sheet, "KyUi sheet refused", [&](HWND w) {
    SendMessageA(w, PSM_SETCURSEL, 1, 0);
    SendMessageA(w, WM_COMMAND, IDOK, 0);
    stayed = IsWindow(w) && SendMessageA(w, PSM_GETCURRENTPAGEHWND, 0, 0) != 0;
    page = CurrentPage(w);
  });
  EXPECT_TRUE(stayed);
  EXPECT_EQ(page, 1);
  EXPECT_EQ(sheet.m_applied, (std::vector<int>{0}));  // the first refusal stops the round
}

TEST(KyPropSheet, AnApplyThatThrowsIsShownAndKeepsTheSheetOpen) {
  KyMessageBoxWatcher watcher;
  KyTestSheet sheet("KyUi sheet throwing");
  AddThreePages(sheet);
  sheet.m_throwInApply = true;
  bool stayed = false;
  RunSheet(sheet, "KyUi sheet throwing", [&](HWND w) {
    SendMessageA(w, WM_COMMAND, IDOK, 0);
    stayed = IsWindow(w) && SendMessageA(w, PSM_GETCURRENTPAGEHWND, 0, 0) != 0;
  });
  EXPECT_TRUE(stayed);
  const std::vector<KyShownBox> boxes = watcher.GetBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Error");
  EXPECT_EQ(boxes[0].text, "apply failed");
}

TEST(KyPropSheet, WizardButtonsFollowThePagePosition) {
  KyTestSheet sheet("KyUi wizard");
  AddThreePages(sheet);
  sheet.GetFlags() |= PSH_WIZARD;
  struct Expected {
    bool back;
    bool next;
    bool finish;
  };
  const Expected expected[] = {{false, true, false}, {true, true, false}, {true, false, true}};
  RunSheet(sheet, "KyUi wizard", [&](HWND w) {
    for (int page = 0; page < 3; ++page) {
      SendMessageA(w, PSM_SETCURSEL, static_cast<WPARAM>(page), 0);
      auto enabled = [w](int id) {
        HWND button = GetDlgItem(w, id);
        return button != nullptr && IsWindowVisible(button) && IsWindowEnabled(button);
      };
      const Expected& e = expected[page];
      // The buttons change when the sheet handles the page's posted request.
      const bool matched = KyWaitFor([&] {
        return enabled(kWizardBack) == e.back && enabled(kWizardNext) == e.next && enabled(kWizardFinish) == e.finish;
      });
      EXPECT_TRUE(matched) << "page " << page << ": back " << enabled(kWizardBack) << " next "
                           << enabled(kWizardNext) << " finish " << enabled(kWizardFinish);
    }
  });
}
