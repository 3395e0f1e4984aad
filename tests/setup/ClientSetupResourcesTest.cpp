// What ClientSetup.exe carries: the client package as resource MSI 129, the manifest
// asking for administrator rights, the version block, the icon.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "kybase/KyHandle.h"
#include "setup/SetupTestSupport.h"

namespace {

class ClientSetupResourcesTest : public testing::Test {
 protected:
  void SetUp() override {
    m_path = SetupTest::PathFromEnv("KY_CLIENT_SETUP_EXE");
    m_module.Reset(LoadLibraryExA(m_path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(m_module.IsValid());
  }

  std::string Resource(const char* type, const char* name) const {
    const HRSRC resource = FindResourceA(m_module.Get(), name, type);
    if (resource == nullptr) return std::string();
    const HGLOBAL loaded = LoadResource(m_module.Get(), resource);
    const char* bytes = static_cast<const char*>(LockResource(loaded));
    return std::string(bytes, SizeofResource(m_module.Get(), resource));
  }

  std::string m_path;
  KyModuleHandle m_module;
};

TEST_F(ClientSetupResourcesTest, CarriesExactlyTheClientPackage) {
  const std::string package = SetupTest::ReadWholeFile(SetupTest::PathFromEnv("KY_CLIENT_PACKAGE"));
  ASSERT_FALSE(package.empty());
  EXPECT_TRUE(Resource("MSI", MAKEINTRESOURCEA(129)) == package);
}

TEST_F(ClientSetupResourcesTest, ManifestAsksForAdministratorRights) {
  const std::string manifest = Resource(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
  EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos) << manifest;
  EXPECT_NE(manifest.find("uiAccess=\"false\""), std::string::npos) << manifest;
}

TEST_F(ClientSetupResourcesTest, HasAnIcon) {
  EXPECT_FALSE(Resource(MAKEINTRESOURCEA(14), MAKEINTRESOURCEA(128)).empty());  // RT_GROUP_ICON
}

TEST_F(ClientSetupResourcesTest, VersionBlockIsEnglishUsWithCodePage1252) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(m_path.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(m_path.c_str(), 0, size, block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(1, 4));
  EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(5, 0));
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(1, 4));
  EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(5, 0));

  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
  ASSERT_GE(length, 4u);
  EXPECT_EQ(translation[0], 0x0409);
  EXPECT_EQ(translation[1], 1252);

  for (const char* name : {"FileVersion", "ProductVersion"}) {
    char* text = nullptr;
    const std::string query = std::string("\\StringFileInfo\\040904e4\\") + name;
    ASSERT_TRUE(VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &length)) << name;
    EXPECT_STREQ(text, "4, 1, 0, 5") << name;
  }
}

}  // namespace
