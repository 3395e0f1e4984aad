// The resources as built: Polish texts in the program (with their non-ASCII letters), the
// English library under the same identifiers, pictures, manifest and version.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "config/res/resource.h"
#include "kybase/KyHandle.h"
#include "tests/kybase/WideText.h"

namespace {

// A Unix path of the build as Wine sees it.
std::string FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  std::string path = value != nullptr ? value : "";
  if (!path.empty() && path[0] == '/') {
    for (char& c : path) {
      if (c == '/') c = '\\';
    }
    path = "Z:" + path;
  }
  return path;
}

std::wstring LoadWide(HMODULE module, UINT id) {
  const wchar_t* text = nullptr;
  const int length = LoadStringW(module, id, reinterpret_cast<wchar_t*>(&text), 0);
  return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

std::vector<unsigned char> ResourceBytes(HMODULE module, UINT id, const char* type, WORD language) {
  HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(id), language);
  if (found == nullptr) return {};
  const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
  return std::vector<unsigned char>(data, data + SizeofResource(module, found));
}

bool Contains(const std::vector<unsigned char>& bytes, const std::wstring& text) {
  const auto* begin = reinterpret_cast<const unsigned char*>(text.data());
  const std::vector<unsigned char> needle(begin, begin + text.size() * sizeof(wchar_t));
  return std::search(bytes.begin(), bytes.end(), needle.begin(), needle.end()) != bytes.end();
}

// The log level items as the dialog-initialisation data stores them.
std::vector<unsigned char> DlgInit(const std::vector<std::string>& items) {
  std::vector<unsigned char> data;
  auto add16 = [&](unsigned value) {
    data.push_back(static_cast<unsigned char>(value & 0xFF));
    data.push_back(static_cast<unsigned char>(value >> 8));
  };
  for (const std::string& item : items) {
    add16(IDC_LOG_LEVEL);
    add16(0x0403);
    add16(static_cast<unsigned>(item.size() + 1));
    add16(0);
    data.insert(data.end(), item.begin(), item.end());
    data.push_back(0);
  }
  add16(0);
  return data;
}

constexpr WORD kNeutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
constexpr WORD kPolish = MAKELANGID(LANG_POLISH, SUBLANG_DEFAULT);

class BuiltModule : public ::testing::Test {
 protected:
  static KyModuleHandle Open(const char* variable) {
    const std::string path = FromEnvironment(variable);
    return KyModuleHandle(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  }
};

struct StringCase {
  UINT id;
  const char* polish;
};

}  // namespace

TEST_F(BuiltModule, ProgramCarriesThePolishStringsAsPolishCharacters) {
  KyModuleHandle program = Open("KY_CLIENTCONFIG_EXE");
  ASSERT_TRUE(program.IsValid());
  const StringCase cases[] = {
      {IDS_CHANGES_NEXT_START, u8"Zmiany zostaną zastosowane przy następnym uruchomieniu programu Microsoft Outlook.   "},
      {IDS_BROWSE_FAILED, u8"Nie można pobrać nazw komputerów w sieci (%d).\nWpisz nazwę komputera lub jego IP ręcznie."},
      {IDS_SERVER_NAME_INVALID, u8"Podaj nazwę lub adres IP serwera   "},
      {IDS_PORT_OUT_OF_RANGE, u8"Podaj numer portu w zakresie od 1024 do 49151   "},
      {IDS_SHEET_CAPTION, u8"Opcje"},
      {IDS_HEADER_OTHER, u8"Inne ustawienia programu"},
      {IDS_TIP_LOGFILES, u8"Przeczytaj więcej na temat plików dziennika programu"},
      {IDS_TEST_SUCCEEDED, u8"Test połączenia z serwerem został pomyślnie ukończony."},
  };
  for (const StringCase& c : cases) EXPECT_EQ(LoadWide(program.Get(), c.id), Utf16(c.polish)) << c.id;
  for (UINT id = IDS_CHANGES_NEXT_START; id <= IDS_TEST_SUCCEEDED; ++id) {
    const bool unused = id == 133 || id == 134 || id == 137;
    EXPECT_EQ(LoadWide(program.Get(), id).empty(), unused) << id;
  }
  // The string table is stored as Polish (language 1045).
  EXPECT_NE(FindResourceExA(program.Get(), RT_STRING, MAKEINTRESOURCEA(IDS_SERVER_NAME_INVALID / 16 + 1), kPolish),
            nullptr);
}

TEST_F(BuiltModule, ProgramDialogsAreLanguageNeutralWithPolishTextsAndCodePage1250Items) {
  KyModuleHandle program = Open("KY_CLIENTCONFIG_EXE");
  ASSERT_TRUE(program.IsValid());
  for (UINT id : {IDD_SERVER_PAGE, IDD_LOGFILE_PAGE, IDD_OTHER_PAGE, IDD_TCP_PORTS})
    EXPECT_FALSE(ResourceBytes(program.Get(), id, RT_DIALOG, kNeutral).empty()) << id;
  EXPECT_TRUE(Contains(ResourceBytes(program.Get(), IDD_SERVER_PAGE, RT_DIALOG, kNeutral), Utf16(u8"Więcej...")));
  EXPECT_TRUE(Contains(ResourceBytes(program.Get(), IDD_LOGFILE_PAGE, RT_DIALOG, kNeutral),
                       Utf16(u8"na \"Szczegółowy\".")));
  EXPECT_EQ(ResourceBytes(program.Get(), IDD_LOGFILE_PAGE, MAKEINTRESOURCEA(RT_KY_DLGINIT), kNeutral),
            DlgInit({"Standardowy", "Szczeg\xF3\xB3owy"}));
}

TEST_F(BuiltModule, EnglishLibraryCarriesTheSameIdentifiersInEnglish) {
  KyModuleHandle english = Open("KY_CONFIG_RESEN_DLL");
  ASSERT_TRUE(english.IsValid());
  EXPECT_EQ(LoadWide(english.Get(), IDS_SHEET_CAPTION), L"Options");
  for (UINT id = IDS_CHANGES_NEXT_START; id <= IDS_TEST_SUCCEEDED; ++id) {
    const bool unused = id == 133 || id == 134 || id == 137;
    EXPECT_EQ(LoadWide(english.Get(), id).empty(), unused) << id;
  }
  EXPECT_EQ(LoadWide(english.Get(), IDS_SERVER_NAME_INVALID), L"Enter the server's name or IP address   ");
  for (UINT id : {IDD_SERVER_PAGE, IDD_LOGFILE_PAGE, IDD_OTHER_PAGE, IDD_TCP_PORTS})
    EXPECT_FALSE(ResourceBytes(english.Get(), id, RT_DIALOG, kNeutral).empty()) << id;
  EXPECT_EQ(ResourceBytes(english.Get(), IDD_LOGFILE_PAGE, MAKEINTRESOURCEA(RT_KY_DLGINIT), kNeutral),
            DlgInit({"Standard", "Detailed"}));
}

TEST_F(BuiltModule, HeaderPicturesAre48By48With24Bits) {
  for (const char* variable : {"KY_CLIENTCONFIG_EXE", "KY_CONFIG_RESEN_DLL"}) {
    KyModuleHandle module = Open(variable);
    ASSERT_TRUE(module.IsValid()) << variable;
    for (UINT id : {IDB_HEADER_SERVER, IDB_HEADER_LOGFILES, IDB_HEADER_OTHER}) {
      const std::vector<unsigned char> bytes = ResourceBytes(module.Get(), id, RT_BITMAP, kNeutral);
      ASSERT_GE(bytes.size(), sizeof(BITMAPINFOHEADER)) << variable << " " << id;
      BITMAPINFOHEADER header = {};
      memcpy(&header, bytes.data(), sizeof(header));
      EXPECT_EQ(header.biWidth, 48);
      EXPECT_EQ(header.biHeight, 48);
      EXPECT_EQ(header.biBitCount, 24);
    }
  }
}

TEST_F(BuiltModule, ProgramAsksForCommonControls6AsInvokerAndBothAreVersion4105) {
  KyModuleHandle program = Open("KY_CLIENTCONFIG_EXE");
  ASSERT_TRUE(program.IsValid());
  const std::vector<unsigned char> manifest = ResourceBytes(program.Get(), 1, RT_MANIFEST, kNeutral);
  const std::string text(manifest.begin(), manifest.end());
  EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(text.find("version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(text.find("level=\"asInvoker\""), std::string::npos);

  for (const char* variable : {"KY_CLIENTCONFIG_EXE", "KY_CONFIG_RESEN_DLL"}) {
    const std::string path = FromEnvironment(variable);
    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeA(path.c_str(), &ignored));
    ASSERT_FALSE(block.empty()) << variable;
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &size));
    EXPECT_EQ(info->dwFileVersionMS, DWORD{0x00040001});
    EXPECT_EQ(info->dwFileVersionLS, DWORD{0x00000005});
  }
}
