// The client identifier on this machine, and the WMI query it starts from.
#include <windows.h>

#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kybase/CWmiQuery.h"
#include "kybase/KyString.h"
#include "net/NetTestSupport.h"
#include "protocol/CClientIdGenerator.h"

using NetTest::Catch;

namespace {

std::string ExpectedDiskPart() {
  try {
    const std::vector<uint32_t> signatures =
        CWmiQuery("ROOT\\CIMV2").QueryValues("SELECT * FROM Win32_DiskDrive", "Signature");
    if (!signatures.empty()) return Ky::Format("0%u", signatures.front());
  } catch (const Error::KyException&) {
  }
  DWORD serial = 0;
  if (!GetVolumeInformationA("C:\\", nullptr, 0, &serial, nullptr, nullptr, nullptr, 0)) return "";
  return Ky::Format("1%u", static_cast<unsigned int>(serial));
}

TEST(CClientIdGeneratorTest, NamesComputerDiskAndUser) {
  char computer[1024] = {};
  DWORD computerLength = sizeof(computer) - 1;
  ASSERT_TRUE(GetComputerNameA(computer, &computerLength));
  char user[1024] = {};
  DWORD userLength = sizeof(user) - 1;
  ASSERT_TRUE(GetUserNameA(user, &userLength));

  const std::string id = CClientIdGenerator::Instance().GetClientId();
  RecordProperty("ClientId", id);
  EXPECT_TRUE(std::regex_match(id, std::regex(R"(\{[^{}]+\}\{([01][0-9]+)?\}\{[^{}]+\})"))) << id;
  EXPECT_EQ(id, Ky::Format("{%s}{%s}{%s}", computer, ExpectedDiskPart().c_str(), user));
}

TEST(CClientIdGeneratorTest, SecondCallReturnsTheFirstResult) {
  CClientIdGenerator& generator = CClientIdGenerator::Instance();
  EXPECT_EQ(&generator, &CClientIdGenerator::Instance());
  const std::string first = generator.GetClientId();
  EXPECT_EQ(generator.GetClientId(), first);
}

TEST(CWmiQueryTest, CollectsUnsignedValuesAndConvertibleTexts) {
  CWmiQuery query("ROOT\\CIMV2");
  // DriveType is an unsigned number; a fixed disk C: is type 3.
  const std::vector<uint32_t> types = query.QueryValues("SELECT * FROM Win32_LogicalDisk WHERE DeviceID = 'C:'", "DriveType");
  EXPECT_EQ(types, std::vector<uint32_t>{3});
  // BuildNumber is a text of digits, converted to a number.
  const std::vector<uint32_t> builds = query.QueryValues("SELECT * FROM Win32_OperatingSystem", "BuildNumber");
  ASSERT_EQ(builds.size(), 1u);
  EXPECT_GT(builds[0], 0u);
}

TEST(CWmiQueryTest, SkipsMissingAndUnconvertibleValues) {
  CWmiQuery query("ROOT\\CIMV2");
  EXPECT_TRUE(query.QueryValues("SELECT * FROM Win32_LogicalDisk WHERE DeviceID = 'C:'", "DeviceID").empty());
  EXPECT_TRUE(query.QueryValues("SELECT * FROM Win32_LogicalDisk", "NoSuchProperty").empty());
}

TEST(CWmiQueryTest, FailuresCarryTheirTexts) {
  auto outcome = Catch([] { CWmiQuery("ROOT\\NOSUCHNAMESPACE"); });
  ASSERT_TRUE(outcome.common) << outcome.text;
  EXPECT_EQ(outcome.text, "Failed to connect to server using namespace 'ROOT\\NOSUCHNAMESPACE'");
  EXPECT_LT(outcome.code, 0) << "an HRESULT";

  outcome = Catch([] { CWmiQuery("ROOT\\CIMV2").QueryValues("NOT A QUERY", "Value"); });
  ASSERT_TRUE(outcome.common) << outcome.text;
  EXPECT_EQ(outcome.text, "Failed to execute query 'NOT A QUERY'");
}

}  // namespace
