// Resource modules, the application's resource loader, string loading and integer parsing.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "KyUiTestIds.h"
#include "kybase/KyException.h"
#include "kybase/KyFile.h"
#include "kybase/KyShell.h"
#include "kyui/KyDataExchange.h"
#include "kyui/KyResourceLoader.h"
#include "kyui/KyResourceModule.h"
#include "kyui/KyWinApp.h"
#include "tests/kybase/WideText.h"

namespace {

const char kTestLibrary[] = "KyUiTestRes.dll";
constexpr UINT kLibraryString = 156;
constexpr UINT kLibraryBitmap = 134;

KyFsPath TestFolder() { return GetModulePath(nullptr).GetParent(); }

// A file with a library's name that is no library.
class BrokenLibrary {
 public:
  explicit BrokenLibrary(const char* name) : m_path(TestFolder().Join(name)) {
    KyFileWrite file(m_path.c_str(), 0);
    const char text[] = "not a library";
    file.Write(text, sizeof(text));
  }
  ~BrokenLibrary() { DeleteFileA(m_path.c_str()); }

 private:
  KyFsPath m_path;
};

}  // namespace

TEST(KyResourceModule, NoLoadableLibraryThrowsWithEveryNameInOrder) {
  try {
    KyResourceModule module(std::vector<std::string>{"KyRes.dll", "KyResEN.dll"});
    FAIL() << "loaded " << module.GetHandle();
  } catch (const Error::KyException& e) {
    EXPECT_EQ(e.GetText(), "Failed to load resource from modules: 'KyRes.dll, KyResEN.dll'");
    EXPECT_EQ(e.GetModule(), "");
    EXPECT_EQ(e.GetLine(), 0);
  }
}

TEST(KyResourceModule, BrokenLibraryBesideTheProgramIsPassedOverForTheNextName) {
  BrokenLibrary broken("KyUiBroken.dll");
  KyResourceModule module(std::vector<std::string>{"KyUiBroken.dll", kTestLibrary});
  ASSERT_NE(module.GetHandle(), nullptr);
  EXPECT_EQ(module.LoadString(kLibraryString), "Computer");
}

TEST(KyResourceModule, HandsOutStringsBitmapsAndNothingForMissingOnes) {
  KyResourceModule module(kTestLibrary);
  EXPECT_EQ(module.LoadString(kLibraryString), "Computer");
  EXPECT_EQ(module.LoadString(999), "");
  HBITMAP bitmap = module.LoadBitmap(kLibraryBitmap);
  ASSERT_NE(bitmap, nullptr);
  BITMAP description = {};
  GetObjectA(bitmap, sizeof(description), &description);
  EXPECT_EQ(description.bmWidth, 48);
  EXPECT_EQ(description.bmHeight, 48);
  DeleteObject(bitmap);
  EXPECT_EQ(module.LoadIcon(146), nullptr);
}

TEST(KyResourceModule, FallsBackToTheSystemSearchOrder) {
  // A full path is no name beside the program, so only the second pass can load it.
  const std::string fullPath = TestFolder().Join(kTestLibrary);
  KyResourceModule module(std::vector<std::string>{fullPath});
  EXPECT_NE(module.GetHandle(), nullptr);
}

namespace {

struct RecordingTraits {
  static HINSTANCE s_handle;
  static HINSTANCE GetInstanceHandle() { return GetModuleHandleA(nullptr); }
  static HINSTANCE GetResourceHandle() { return s_handle; }
  static void SetResourceHandle(HINSTANCE module) { s_handle = module; }
};
HINSTANCE RecordingTraits::s_handle = nullptr;

HINSTANCE Sentinel() { return GetModuleHandleA(nullptr); }

struct LoaderCase {
  const char* label;
  const char* name;
  bool switches;
};

class KyResourceLoaderCases : public ::testing::TestWithParam<LoaderCase> {};

}  // namespace

TEST_P(KyResourceLoaderCases, SwitchesOnlyToALoadableLibraryBesideTheProgram) {
  BrokenLibrary broken("KyUiBroken.dll");
  RecordingTraits::s_handle = Sentinel();
  {
    KyResourceLoaderT<RecordingTraits> loader(GetParam().name);
    loader.Load();
    if (GetParam().switches) {
      EXPECT_NE(RecordingTraits::s_handle, Sentinel());
      EXPECT_EQ(RecordingTraits::s_handle, loader.GetModule());
      EXPECT_EQ(loader.GetLoadedPath(), TestFolder().Join(GetParam().name));
      EXPECT_EQ(KyLoadString(RecordingTraits::s_handle, kLibraryString), "Computer");
    } else {
      EXPECT_EQ(RecordingTraits::s_handle, Sentinel());
      EXPECT_EQ(loader.GetModule(), nullptr);
      EXPECT_EQ(loader.GetLoadedPath(), "");
    }
  }
  // The destructor sets the previous handle back.
  EXPECT_EQ(RecordingTraits::s_handle, Sentinel());
}

INSTANTIATE_TEST_SUITE_P(Names, KyResourceLoaderCases,
                         ::testing::Values(LoaderCase{"Present", kTestLibrary, true},
                                           LoaderCase{"Missing", "KyUiNoSuchLibrary.dll", false},
                                           LoaderCase{"NotALibrary", "KyUiBroken.dll", false}),
                         [](const ::testing::TestParamInfo<LoaderCase>& info) { return info.param.label; });

TEST(KyResourceLoader, ApplicationTraitsSwitchTemplatesAndStringsAndUnloadRestoresBoth) {
  const HINSTANCE resources = KyGetResourceHandle();
  const HINSTANCE strings = KyGetStringResourceHandle();
  EXPECT_EQ(KyLoadString(IDS_TITLE), "Header title");

  KyResourceLoaderT<KyResourceLoaderTraitsApp> loader(kTestLibrary);
  loader.Load();
  EXPECT_EQ(KyGetResourceHandle(), loader.GetModule());
  EXPECT_EQ(KyGetStringResourceHandle(), loader.GetModule());
  EXPECT_EQ(KyLoadString(kLibraryString), "Computer");
  EXPECT_EQ(KyLoadString(IDS_TITLE), "");

  loader.Load();  // a second Load first undoes the first
  EXPECT_EQ(KyGetResourceHandle(), loader.GetModule());

  loader.Unload();
  EXPECT_EQ(KyGetResourceHandle(), resources);
  EXPECT_EQ(KyGetStringResourceHandle(), strings);
  EXPECT_EQ(KyLoadString(IDS_TITLE), "Header title");
}

namespace {

struct IntCase {
  const char* text;
  bool accepted;
  int value;
};

class KyParseIntCases : public ::testing::TestWithParam<IntCase> {};

}  // namespace

TEST_P(KyParseIntCases, AcceptsOnlyAWholeDecimalIntegerWithinRange) {
  int value = -12345;
  EXPECT_EQ(KyParseInt(GetParam().text, value), GetParam().accepted) << "'" << GetParam().text << "'";
  if (GetParam().accepted) {
    EXPECT_EQ(value, GetParam().value);
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, KyParseIntCases,
                         ::testing::Values(IntCase{"1024", true, 1024}, IntCase{" 49151 ", true, 49151},
                                           IntCase{"-5", true, -5}, IntCase{"+3", true, 3},
                                           IntCase{"2147483647", true, 2147483647}, IntCase{"", false, 0},
                                           IntCase{"   ", false, 0}, IntCase{"-", false, 0},
                                           IntCase{"12a", false, 0}, IntCase{"1 2", false, 0},
                                           IntCase{"0x10", false, 0}, IntCase{"2147483648", false, 0},
                                           IntCase{"99999999999999999999", false, 0}));

namespace {

struct LibraryCase {
  const char* label;
  const char* name;
  const char* column;  // UTF-8
  const char* refresh;
};

class KyResLibraries : public ::testing::TestWithParam<LibraryCase> {};

}  // namespace

TEST_P(KyResLibraries, CarryTheBrowserTemplateItsColumnHeadingAndItsPicture) {
  const char* folder = std::getenv("KY_KYRES_DIR");
  ASSERT_NE(folder, nullptr);
  std::string path = std::string("Z:") + folder + "/" + GetParam().name;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  KyResourceModule module(std::vector<std::string>{path});
  const wchar_t* column = nullptr;
  const int length = LoadStringW(module.GetHandle(), 156, reinterpret_cast<wchar_t*>(&column), 0);
  EXPECT_EQ(std::wstring(column, static_cast<size_t>(length > 0 ? length : 0)), Utf16(GetParam().column));

  HRSRC dialog = FindResourceA(module.GetHandle(), MAKEINTRESOURCEA(133), RT_DIALOG);
  ASSERT_NE(dialog, nullptr);
  const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module.GetHandle(), dialog)));
  const std::string data(bytes, SizeofResource(module.GetHandle(), dialog));
  const std::wstring refresh = Utf16(GetParam().refresh);
  EXPECT_NE(data.find(std::string(reinterpret_cast<const char*>(refresh.data()), refresh.size() * 2)), std::string::npos);

  HBITMAP bitmap = module.LoadBitmap(134);
  ASSERT_NE(bitmap, nullptr);
  BITMAP description = {};
  GetObjectA(bitmap, sizeof(description), &description);
  EXPECT_EQ(description.bmWidth, 16);
  EXPECT_EQ(description.bmHeight, 16);
  DeleteObject(bitmap);
}

INSTANTIATE_TEST_SUITE_P(Languages, KyResLibraries,
                         ::testing::Values(LibraryCase{"Polish", "KyRes.dll", u8"Komputer", u8"&Odśwież"},
                                           LibraryCase{"English", "KyResEN.dll", u8"Computer", u8"&Refresh"}),
                         [](const ::testing::TestParamInfo<LibraryCase>& info) { return info.param.label; });
