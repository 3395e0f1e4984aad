// Data exchange and dialog-initialisation data in a real dialog, and the exception guard.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

#include "KyUiTestIds.h"
#include "KyUiTestSupport.h"
#include "kybase/KyException.h"
#include "kyui/KyDialog.h"
#include "kyui/KyWinApp.h"

namespace {

// Commands without a control: an edit field would send its own notifications.
constexpr int kThrowCommand = 600;
constexpr int kThrowOtherCommand = 601;

// Runs a test body inside the dialog's initialisation, on the dialog's own thread, then ends.
class ExchangeDialog : public KyDialog {
 public:
  explicit ExchangeDialog(std::function<void(ExchangeDialog&)> body)
      : KyDialog(IDD_EXCHANGE, nullptr), m_body(std::move(body)) {}

  std::string m_text = "hello";
  int m_radio = 1;
  int m_number = 42;
  int m_check = BST_CHECKED;
  int m_combo = 1;
  int m_handled = 0;

  void Throw() { throw Error::KyExceptionText("x"); }
  void ThrowOther() { throw std::runtime_error("other"); }
  void Count() { ++m_handled; }

  HWND Item(int id) const { return GetDlgItem(id); }
  void SetText(int id, const char* text) const { SetDlgItemTextA(m_hwnd, id, text); }
  LRESULT Command(int id) const { return SendMessageA(m_hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

 protected:
  void DoDataExchange(KyDataExchange& dx) override {
    KyDdxText(dx, IDC_TEXT, m_text);
    KyDdxRadio(dx, IDC_RADIO_FIRST, m_radio);
    KyDdxText(dx, IDC_NUMBER, m_number);
    KyDdxCheck(dx, IDC_CHECK, m_check);
    KyDdxCBIndex(dx, IDC_COMBO, m_combo);
  }
  BOOL OnInitDialog() override {
    KyDialog::OnInitDialog();
    m_body(*this);
    EndDialog(IDOK);
    return TRUE;
  }
  bool OnCommand(int id, int code, HWND control) override;

 private:
  std::function<void(ExchangeDialog&)> m_body;
};

const KyCommandEntry<ExchangeDialog> kCommands[] = {
    {1, BN_CLICKED, &ExchangeDialog::Count},  // IDOK: the table comes before the default
    {kThrowCommand, KyCommandEntry<ExchangeDialog>::kAnyCode, &ExchangeDialog::Throw},
    {kThrowOtherCommand, BN_CLICKED, &ExchangeDialog::ThrowOther},
};

bool ExchangeDialog::OnCommand(int id, int code, HWND control) { return KyDispatchCommand(this, kCommands, id, code); }

void RunDialog(std::function<void(ExchangeDialog&)> body) {
  ExchangeDialog dialog(std::move(body));
  ASSERT_EQ(dialog.DoModal(), IDOK);
}

std::string ComboItem(HWND combo, int index) {
  char text[64] = {};
  SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  return text;
}

}  // namespace

TEST(KyDataExchange, MembersReachTheControlsAndTheComboIsFilledFromTheInitialisationData) {
  RunDialog([](ExchangeDialog& d) {
    EXPECT_EQ(KyGetWindowText(d.Item(IDC_TEXT)), "hello");
    // Index 1 of the group is the second radio button: the label between them does not count.
    EXPECT_EQ(SendMessageA(d.Item(IDC_RADIO_FIRST), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(d.Item(IDC_RADIO_SECOND), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(d.Item(IDC_RADIO_THIRD), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(KyGetWindowText(d.Item(IDC_NUMBER)), "42");
    EXPECT_EQ(SendMessageA(d.Item(IDC_CHECK), BM_GETCHECK, 0, 0), BST_CHECKED);
    HWND combo = d.Item(IDC_COMBO);
    ASSERT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(ComboItem(combo, 0), "first");
    EXPECT_EQ(ComboItem(combo, 1), "second");
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
  });
}

TEST(KyDataExchange, ControlsReachTheMembers) {
  RunDialog([](ExchangeDialog& d) {
    d.SetText(IDC_TEXT, " typed ");
    SendMessageA(d.Item(IDC_RADIO_SECOND), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(d.Item(IDC_RADIO_THIRD), BM_SETCHECK, BST_CHECKED, 0);
    d.SetText(IDC_NUMBER, " -17 ");
    SendMessageA(d.Item(IDC_CHECK), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(d.Item(IDC_COMBO), CB_SETCURSEL, 0, 0);
    ASSERT_TRUE(d.UpdateData(true));
    EXPECT_EQ(d.m_text, " typed ");
    EXPECT_EQ(d.m_radio, 2);
    EXPECT_EQ(d.m_number, -17);
    EXPECT_EQ(d.m_check, BST_UNCHECKED);
    EXPECT_EQ(d.m_combo, 0);
  });
}

TEST(KyDataExchange, NothingChosenReadsAsMinusOne) {
  RunDialog([](ExchangeDialog& d) {
    SendMessageA(d.Item(IDC_RADIO_SECOND), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(d.Item(IDC_COMBO), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    ASSERT_TRUE(d.UpdateData(true));
    EXPECT_EQ(d.m_radio, -1);
    EXPECT_EQ(d.m_combo, -1);
  });
}

TEST(KyDataExchange, AComboIndexWithoutItemSelectsNothing) {
  RunDialog([](ExchangeDialog& d) {
    d.m_combo = 7;
    d.UpdateData(false);
    EXPECT_EQ(SendMessageA(d.Item(IDC_COMBO), CB_GETCURSEL, 0, 0), CB_ERR);
  });
}

class KyDataExchangeRejects : public ::testing::TestWithParam<const char*> {};

TEST_P(KyDataExchangeRejects, ANonIntegerOnceWithTheFocusOnTheField) {
  KyMessageBoxWatcher watcher;
  const char* const typed = GetParam();
  RunDialog([typed](ExchangeDialog& d) {
    d.SetText(IDC_NUMBER, typed);
    d.SetText(IDC_TEXT, "changed");
    EXPECT_FALSE(d.UpdateData(true));
    EXPECT_EQ(d.m_number, 42);
    EXPECT_EQ(d.m_text, "changed");  // fields before the rejected one are read
    EXPECT_EQ(GetFocus(), d.Item(IDC_NUMBER));
  });
  const std::vector<KyShownBox> boxes = watcher.GetBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Enter an integer.");
  EXPECT_EQ(boxes[0].caption, KyGetAppTitle());
}

INSTANTIATE_TEST_SUITE_P(Texts, KyDataExchangeRejects, ::testing::Values("", "abc", "12a", "99999999999"));

TEST(KyDialogGuard, AThrowingHandlerIsShownAndTheDialogStaysUsable) {
  KyMessageBoxWatcher watcher;
  RunDialog([](ExchangeDialog& d) {
    d.Command(kThrowCommand);
    d.Command(kThrowOtherCommand);
    EXPECT_TRUE(IsWindow(d.GetSafeHwnd()));
    d.Command(IDOK);
    EXPECT_EQ(d.m_handled, 1);
  });
  const std::vector<KyShownBox> boxes = watcher.GetBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].caption, "Error");
  EXPECT_EQ(boxes[0].text, "x");
  EXPECT_EQ(boxes[1].caption, KyGetAppTitle());
  EXPECT_EQ(boxes[1].text, "Unhandled exception in Ky window.");
}

TEST(KyLoadedDialog, MissingLibraryThrowsFromTheConstructor) {
  EXPECT_THROW(KyLoadedDialog(std::vector<std::string>{"KyUiNoSuchLibrary.dll"}, IDD_EXCHANGE, nullptr),
               Error::KyException);
}

TEST(KyLoadedDialog, TemplateMissingFromItsLibraryFailsAndTheHandleIsRestored) {
  const HINSTANCE before = KyGetResourceHandle();
  KyLoadedDialog dialog("KyUiTestRes.dll", IDD_EXCHANGE, nullptr);
  EXPECT_EQ(dialog.DoModal(), -1);
  EXPECT_EQ(KyGetResourceHandle(), before);
}
