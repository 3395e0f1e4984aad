// Installed-product questions against packages really installed by Wine's msiexec, and
// the client package's own upgrade rule.
#include <gtest/gtest.h>

#include <windows.h>
#include <msi.h>

#include <string>

#include "ky_build_settings.h"
#include "setup/CProductFinder.h"
#include "setup/SetupTestSupport.h"

namespace {

const CProductNameSet kFamily = {"KyOrvellaClient", "Tolvern Orvella Client"};

struct TestPackage {
  const char* file;  // in KY_TEST_PACKAGES_DIR
  const char* productCode;
};

const TestPackage kOtherEditionFull = {"OtherEditionFull.msi", KY_TEST_CODE_OTHER_FULL};
const TestPackage kOtherEditionShort = {"OtherEditionShort.msi", KY_TEST_CODE_OTHER_SHORT};
const TestPackage kOtherName = {"OtherName.msi", KY_TEST_CODE_OTHER_NAME};
const TestPackage kOtherCase = {"OtherCase.msi", KY_TEST_CODE_OTHER_CASE};
const TestPackage kOlderClient = {"OlderClient.msi", KY_TEST_CODE_OLDER_CLIENT};

std::string PackagePath(const TestPackage& package) {
  return SetupTest::PathFromEnv("KY_TEST_PACKAGES_DIR") + "\\" + package.file;
}

// Every case starts and ends with none of the test products and no client installed.
class InstalledProductsTest : public testing::Test {
 protected:
  void SetUp() override { RemoveAll(); }
  void TearDown() override { RemoveAll(); }

  static void RemoveAll() {
    for (const TestPackage* package : {&kOtherEditionFull, &kOtherEditionShort, &kOtherName, &kOtherCase, &kOlderClient}) {
      SetupTest::UninstallIfInstalled(package->productCode);
    }
    SetupTest::UninstallIfInstalled(KY_PRODUCT_CODE_EN);
  }

  static void Install(const TestPackage& package) {
    ASSERT_TRUE(SetupTest::InstallPackage(PackagePath(package))) << package.file;
    ASSERT_TRUE(IsProductCodeInstalled(package.productCode)) << package.file;
  }
};

TEST_F(InstalledProductsTest, NothingInstalledAnswersNoToBoth) {
  CProductFinder finder;
  EXPECT_FALSE(finder.FindProduct(kFamily, KY_UPGRADE_CODE_PL));
  EXPECT_FALSE(finder.FindProduct(kFamily, KY_UPGRADE_CODE_EN));
  EXPECT_FALSE(IsProductCodeInstalled(KY_PRODUCT_CODE_EN));
}

struct OtherEditionCase {
  const char* name;
  const TestPackage* package;
  bool counts;
};

class OtherEditionTest : public InstalledProductsTest, public testing::WithParamInterface<OtherEditionCase> {};

TEST_P(OtherEditionTest, CountsOnlyAFamilyNameWithTheOtherUpgradeCode) {
  Install(*GetParam().package);
  CProductFinder finder;
  EXPECT_EQ(finder.FindProduct(kFamily, KY_UPGRADE_CODE_PL), GetParam().counts);
  // The product codes of other products are not the carried one.
  EXPECT_FALSE(IsProductCodeInstalled(KY_PRODUCT_CODE_EN));
}

const OtherEditionCase kOtherEditionCases[] = {
    {"FullFamilyName", &kOtherEditionFull, true},
    {"ShortFamilyName", &kOtherEditionShort, true},
    {"AnotherNameDoesNotCount", &kOtherName, false},
    {"NameDifferingOnlyInCaseDoesNotCount", &kOtherCase, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, OtherEditionTest, testing::ValuesIn(kOtherEditionCases),
                         [](const testing::TestParamInfo<OtherEditionCase>& info) { return std::string(info.param.name); });

TEST_F(InstalledProductsTest, TheCarriedClientIsFoundByProductCodeAndIsNotTheOtherEdition) {
  ASSERT_TRUE(SetupTest::InstallPackage(SetupTest::PathFromEnv("KY_CLIENT_PACKAGE")));
  EXPECT_TRUE(IsProductCodeInstalled(KY_PRODUCT_CODE_EN));
  EXPECT_FALSE(IsProductCodeInstalled("{00000000-0000-0000-0000-000000000000}"));
  // The product code is compared exactly, as the installer writes it.
  std::string lowerCase = KY_PRODUCT_CODE_EN;
  for (char& c : lowerCase) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  EXPECT_FALSE(IsProductCodeInstalled(lowerCase));

  CProductFinder finder;
  EXPECT_FALSE(finder.FindProduct(kFamily, KY_UPGRADE_CODE_PL));
  EXPECT_TRUE(finder.FindProduct(kFamily, KY_UPGRADE_CODE_EN));
  EXPECT_FALSE(finder.FindProduct({"KyOrvellaClient"}, KY_UPGRADE_CODE_EN));
}

TEST_F(InstalledProductsTest, FindProductPutsTheInstallerUiLevelBack) {
  MsiSetInternalUI(INSTALLUILEVEL_BASIC, nullptr);
  CProductFinder finder;
  finder.FindProduct(kFamily, KY_UPGRADE_CODE_PL);
  EXPECT_EQ(MsiSetInternalUI(INSTALLUILEVEL_DEFAULT, nullptr), INSTALLUILEVEL_BASIC);
}

TEST_F(InstalledProductsTest, TheClientPackageReplacesAnOlderVersionOfItsEdition) {
  Install(kOlderClient);
  ASSERT_TRUE(SetupTest::InstallPackage(SetupTest::PathFromEnv("KY_CLIENT_PACKAGE")));
  EXPECT_TRUE(IsProductCodeInstalled(KY_PRODUCT_CODE_EN));
  EXPECT_FALSE(IsProductCodeInstalled(kOlderClient.productCode));
}

}  // namespace
