// The rule for an own server's name or address (the text after its leading blanks).
#include <gtest/gtest.h>

#include "config/CPropSheetSettings.h"

namespace {

struct AddressCase {
  const char* text;
  bool accepted;
};

class ServerAddressCases : public ::testing::TestWithParam<AddressCase> {};

}  // namespace

TEST_P(ServerAddressCases, HostNamesStartWithALetterAddressesHaveFourNumbersUpTo255) {
  EXPECT_EQ(CPropSheetSettings::IsValidServerAddress(GetParam().text), GetParam().accepted) << "'" << GetParam().text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ServerAddressCases,
    ::testing::Values(AddressCase{"10.0.0.1", true}, AddressCase{"server1", true}, AddressCase{"Server-x_y z", true},
                      AddressCase{"10.0..0.1", true}, AddressCase{"1.2.3.4.5", true}, AddressCase{".1.2.3.4.", true},
                      AddressCase{"255.255.255.255", true}, AddressCase{"0255.1.1.1", true},
                      AddressCase{"1.2.3.4.999", true},  // tokens after the fourth are not examined
                      AddressCase{"10.0.0.1 ", false}, AddressCase{"1.2.3", false}, AddressCase{"1..2.3", false},
                      AddressCase{"256.1.1.1", false}, AddressCase{"1.2.3.256", false},
                      AddressCase{"99999999999999999999.1.1.1", false}, AddressCase{"1server", false},
                      AddressCase{"", false}, AddressCase{"-1.2.3.4", false}, AddressCase{"1.2.3.4x", false},
                      AddressCase{"\xA5rodek", false}));  // a letter, but not an ASCII one
