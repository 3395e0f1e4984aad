// The hyperlink's fallback command line, its error texts, the ".htm" fallback through the
// registry, and the control itself in a dialog; the header band's geometry and pixels.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "KyUiTestIds.h"
#include "KyUiTestSupport.h"
#include "kybase/KyFile.h"
#include "kybase/KyHandle.h"
#include "kybase/KyShell.h"
#include "kyui/KyDialog.h"
#include "kyui/KyDialogHeaderDrawer.h"
#include "kyui/KyHyperLink.h"

namespace {

struct CommandCase {
  const char* label;
  std::string command;
  std::string target;
  bool fits;
  std::string expected;
};

class KyHyperLinkCommandLine : public ::testing::TestWithParam<CommandCase> {};

std::string Repeat(char c, size_t count) { return std::string(count, c); }

}  // namespace

TEST_P(KyHyperLinkCommandLine, IsCutAtThePlaceholderAndBoundedToItsBuffer) {
  std::string line = "untouched";
  EXPECT_EQ(KyHyperLink::BuildOpenCommandLine(GetParam().command, GetParam().target, line), GetParam().fits);
  EXPECT_EQ(line, GetParam().fits ? GetParam().expected : std::string("untouched"));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, KyHyperLinkCommandLine,
    ::testing::Values(
        CommandCase{"QuotedPlaceholder", "\"C:\\b\\browser.exe\" -new \"%1\"", "http://a", true,
                    "\"C:\\b\\browser.exe\" -new  http://a"},
        CommandCase{"BarePlaceholder", "C:\\b\\browser.exe %1 -x", "http://a", true, "C:\\b\\browser.exe  http://a"},
        CommandCase{"NoPlaceholder", "C:\\b\\browser.exe -nohome", "http://a", true,
                    "C:\\b\\browser.exe -nohome http://a"},
        // 250 + 1 + 8 = 259 characters and the zero fill the 260-character buffer exactly.
        CommandCase{"FillsTheBuffer", Repeat('c', 250), "http://a", true, Repeat('c', 250) + " http://a"},
        CommandCase{"OneTooLong", Repeat('c', 251), "http://a", false, ""},
        CommandCase{"LongTarget", "b.exe \"%1\"", "http://" + Repeat('t', 400), false, ""}),
    [](const ::testing::TestParamInfo<CommandCase>& info) { return info.param.label; });

TEST(KyHyperLink, ErrorTextsByCode) {
  const std::string prefix = "Unable to open hyperlink:\n\n";
  EXPECT_EQ(KyHyperLink::GetErrorText(26), prefix + "A sharing violation occurred. ");
  EXPECT_EQ(KyHyperLink::GetErrorText(0), prefix + "The operating system is out\nof memory or resources.");
  EXPECT_EQ(KyHyperLink::GetErrorText(2), prefix + "The specified file was not found.");
  EXPECT_EQ(KyHyperLink::GetErrorText(11), prefix + "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).");
  EXPECT_EQ(KyHyperLink::GetErrorText(31),
            prefix + "There is no application associated\nwith the given filename extension.");
  EXPECT_EQ(KyHyperLink::GetErrorText(33), prefix + "Unknown Error (33) occurred.");
  EXPECT_EQ(KyHyperLink::GetErrorText(-1), prefix + "Unknown Error (-1) occurred.");
}

namespace {

// Points the ".htm" class of HKEY_CLASSES_ROOT at a test class for the life of the object.
class HtmClassOverride {
 public:
  explicit HtmClassOverride(const std::string& command) {
    m_hadValue = Read(".htm", m_saved);
    Write(".htm", "KyUiTestHtm");
    if (!command.empty()) Write("KyUiTestHtm\\shell\\open\\command", command);
  }
  ~HtmClassOverride() {
    if (m_hadValue) {
      Write(".htm", m_saved);
    } else {
      RegDeleteKeyA(HKEY_CLASSES_ROOT, ".htm");
    }
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "KyUiTestHtm\\shell\\open\\command");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "KyUiTestHtm\\shell\\open");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "KyUiTestHtm\\shell");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "KyUiTestHtm");
  }

 private:
  static bool Read(const char* key, std::string& value) {
    char buffer[1024] = {};
    LONG size = sizeof(buffer);
    if (RegQueryValueA(HKEY_CLASSES_ROOT, key, buffer, &size) != ERROR_SUCCESS) return false;
    value = buffer;
    return true;
  }
  static void Write(const char* key, const std::string& value) {
    ASSERT_EQ(RegSetValueA(HKEY_CLASSES_ROOT, key, REG_SZ, value.c_str(), static_cast<DWORD>(value.size())),
              ERROR_SUCCESS);
  }

  bool m_hadValue = false;
  std::string m_saved;
};

// A target the shell cannot open, so that the ".htm" fallback is tried.
const char kUnopenable[] = "Z:\\ky-no-such-folder\\page.htm";

std::string ReadWholeFile(const std::string& path) {
  KyFileRead file(path.c_str(), FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
  if (!file.IsOpen()) return std::string();
  std::string text(file.GetSize(), '\0');
  if (!text.empty()) file.Read(&text[0], static_cast<uint32_t>(text.size()));
  return text;
}

}  // namespace

TEST(KyHyperLink, GotoUrlRunsTheHtmOpenCommandCutBeforeTheQuotedPlaceholder) {
  const KyFsPath folder = GetModulePath(nullptr).GetParent();
  const std::string recorder = folder.Join("KyUiCommandRecorder.exe");
  const std::string output = folder.Join("ky-recorded-command.txt");
  DeleteFileA(output.c_str());
  SetEnvironmentVariableA("KY_RECORDER_OUTPUT", output.c_str());

  HtmClassOverride htm("\"" + recorder + "\" \"%1\"");
  const int result = KyHyperLink::GotoURL(kUnopenable, SW_SHOW);
  EXPECT_GT(result, 31);  // WinExec started the command
  ASSERT_TRUE(KyWaitFor([&] { return KyFsPath(output).Exists(); }, 20000));
  EXPECT_EQ(ReadWholeFile(output), "\"" + recorder + "\"  " + kUnopenable);
  DeleteFileA(output.c_str());
}

TEST(KyHyperLink, GotoUrlRefusesACommandLineThatDoesNotFit) {
  const std::string output = GetModulePath(nullptr).GetParent().Join("ky-recorded-command.txt");
  SetEnvironmentVariableA("KY_RECORDER_OUTPUT", output.c_str());
  HtmClassOverride htm("\"" + GetModulePath(nullptr).GetParent().Join("KyUiCommandRecorder.exe") + "\" \"%1\"");
  const std::string target = std::string("Z:\\ky-no-such-folder\\") + std::string(300, 'p') + ".htm";
  // The shell's own failure comes back (a code of 32 or less), so the click reports it.
  EXPECT_LE(KyHyperLink::GotoURL(target, SW_SHOW), 32);
}

namespace {

// A dialog whose first edit field's place is taken by a static text for the link.
class LinkDialog : public KyDialog {
 public:
  explicit LinkDialog(std::function<void(LinkDialog&)> body) : KyDialog(IDD_EXCHANGE, nullptr), m_body(std::move(body)) {}
  KyHyperLink m_link;
  HWND m_static = nullptr;

 protected:
  BOOL OnInitDialog() override {
    KyDialog::OnInitDialog();
    m_static = CreateWindowExA(0, "Static", "More...", WS_CHILD | WS_VISIBLE | SS_LEFT, 10, 100, 200, 20, m_hwnd,
                               reinterpret_cast<HMENU>(500), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(m_static, WM_SETFONT, SendMessageA(m_hwnd, WM_GETFONT, 0, 0), FALSE);
    m_body(*this);
    EndDialog(IDOK);
    return TRUE;
  }

 private:
  std::function<void(LinkDialog&)> m_body;
};

void PumpUntil(const std::function<bool()>& condition) {
  KyWaitFor([&] {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    return condition();
  });
}

}  // namespace

TEST(KyHyperLink, SubclassedStaticBecomesALinkThatHoversAndReportsAFailedClick) {
  KyMessageBoxWatcher watcher;
  HtmClassOverride htm("");  // no open command: the fallback fails too
  LinkDialog dialog([](LinkDialog& d) {
    ASSERT_TRUE(d.m_link.SubclassDlgItem(500, d.GetSafeHwnd()));
    EXPECT_FALSE(d.m_link.SubclassDlgItem(500, d.GetSafeHwnd()));
    EXPECT_EQ(d.m_link.GetURL(), "http://More...");
    EXPECT_NE(GetWindowLongA(d.m_static, GWL_STYLE) & SS_NOTIFY, 0);
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(d.m_static, WM_GETFONT, 0, 0)), sizeof(font), &font);
    EXPECT_TRUE(font.lfUnderline);
    RECT rect = {};
    GetClientRect(d.m_static, &rect);
    EXPECT_LT(rect.right, 200);  // sized to its text

    d.m_link.SetURL(kUnopenable, "tip");
    EXPECT_EQ(d.m_link.GetURL(), kUnopenable);
    EXPECT_NE(d.m_link.GetToolTip(), nullptr);

    SendMessageA(d.m_static, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    EXPECT_TRUE(d.m_link.IsOverControl());
    EXPECT_EQ(d.m_link.GetCurrentColour(), RGB(178, 32, 38));
    GetWindowRect(d.m_static, &rect);
    SetCursorPos(rect.right + 100, rect.bottom + 100);
    PumpUntil([&] { return !d.m_link.IsOverControl(); });
    EXPECT_FALSE(d.m_link.IsOverControl());
    EXPECT_EQ(d.m_link.GetCurrentColour(), RGB(0, 66, 255));

    // The dialog hands the click to the control.
    SendMessageA(d.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(500, STN_CLICKED), reinterpret_cast<LPARAM>(d.m_static));
    EXPECT_FALSE(d.m_link.IsVisited());
  });
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.m_link.GetSafeHwnd(), nullptr);  // released with its window
  const std::vector<KyShownBox> boxes = watcher.GetBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text.rfind("Unable to open hyperlink:\n\n", 0), 0u);
}

namespace {

// A 48 x 48 picture: red with a white (transparent) top-left quarter.
KyBitmap MakePicture() {
  HDC screen = GetDC(nullptr);
  KyBitmap bitmap(CreateCompatibleBitmap(screen, 48, 48));
  HDC dc = CreateCompatibleDC(screen);
  {
    KySelectObject select(dc, bitmap.Get());
    RECT all = {0, 0, 48, 48};
    KyBrush red(CreateSolidBrush(RGB(200, 0, 0)));
    FillRect(dc, &all, red.Get());
    RECT corner = {0, 0, 24, 24};
    FillRect(dc, &corner, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

}  // namespace

TEST(KyDialogHeaderDrawer, PlacesThePictureAndTheTextAreaAsTheBandRequires) {
  KyDialogHeaderDrawer header;
  EXPECT_EQ(header.GetHeight(), 100);
  KyBitmap picture = MakePicture();
  header.Init(GetDesktopWindow(), 85, "text", picture.Get(), RGB(255, 255, 255));
  const KyDialogHeaderDrawer::Layout layout = header.GetLayout(RECT{0, 0, 400, 300});
  EXPECT_TRUE(layout.hasPicture);
  EXPECT_EQ(layout.picture.x, 342);
  EXPECT_EQ(layout.picture.y, 18);
  EXPECT_EQ(layout.band.bottom, 85);
  EXPECT_EQ(layout.textArea.left, 10);
  EXPECT_EQ(layout.textArea.right, 322);
  EXPECT_EQ(layout.textArea.top, 10);
  EXPECT_EQ(layout.textArea.bottom, 75);

  LOGFONTA font = {};
  GetObjectA(header.GetFont(), sizeof(font), &font);
  EXPECT_STREQ(font.lfFaceName, "Tahoma");
  EXPECT_EQ(font.lfHeight, 13);
  EXPECT_EQ(font.lfWeight, FW_NORMAL);

  KyDialogHeaderDrawer plain;
  plain.Init(GetDesktopWindow(), 85, "text");
  const KyDialogHeaderDrawer::Layout noPicture = plain.GetLayout(RECT{0, 0, 400, 300});
  EXPECT_FALSE(noPicture.hasPicture);
  EXPECT_EQ(noPicture.textArea.right, 390);
}

TEST(KyDialogHeaderDrawer, PaintsTheBandTheRuleAndThePictureWithItsTransparentColour) {
  // A window of 400 x 200 client pixels to measure against, painted into a memory bitmap.
  KyWindow window(CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 400, 200, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr));
  ASSERT_TRUE(window.IsValid());
  KyBitmap picture = MakePicture();
  KyDialogHeaderDrawer header;
  header.Init(window.Get(), 85, "", picture.Get(), RGB(255, 255, 255));

  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  KyBitmap canvas(CreateCompatibleBitmap(screen, 400, 200));
  ReleaseDC(nullptr, screen);
  {
    KySelectObject select(dc, canvas.Get());
    RECT all = {0, 0, 400, 200};
    KyBrush black(CreateSolidBrush(RGB(0, 0, 0)));
    FillRect(dc, &all, black.Get());
    header.Paint(dc);
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(254, 254, 254));
    EXPECT_EQ(GetPixel(dc, 200, 83), RGB(128, 128, 128));        // the rule at height - 2
    EXPECT_EQ(GetPixel(dc, 200, 90), RGB(0, 0, 0));              // below the band nothing
    EXPECT_EQ(GetPixel(dc, 342 + 40, 18 + 40), RGB(200, 0, 0));   // the picture
    EXPECT_EQ(GetPixel(dc, 342 + 5, 18 + 5), RGB(254, 254, 254)); // its white is transparent
  }
  DeleteDC(dc);
}
