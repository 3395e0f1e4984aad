// KyExceptionCommon's text from the system's message table under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include "kybase/KyException.h"

using Error::KyExceptionCommon;

namespace {

TEST(KyExceptionCommon, KnownCodeGivesSentenceCodeAndText) {
  const std::string text = KyExceptionCommon(ERROR_FILE_NOT_FOUND, "Error opening 'x'").GetText();
  const std::string description = Error::GetSystemErrorDescription(ERROR_FILE_NOT_FOUND);
  ASSERT_FALSE(description.empty());
  EXPECT_EQ(description + " (0x2) \n\nError opening 'x'", text);
  EXPECT_NE('\n', description.back()) << "the system's line break is trimmed";
}

TEST(KyExceptionCommon, EmptyTextHasNoSeparator) {
  const std::string description = Error::GetSystemErrorDescription(ERROR_ACCESS_DENIED);
  EXPECT_EQ(description + " (0x5)", KyExceptionCommon(ERROR_ACCESS_DENIED, "").GetText());
}

TEST(KyExceptionCommon, CodeZeroPrintsWithoutPrefix) {
  const std::string text = KyExceptionCommon(0, "").GetText();
  EXPECT_EQ(Error::GetSystemErrorDescription(0) + " (0)", text);
  EXPECT_FALSE(Error::GetSystemErrorDescription(0).empty()) << "success has a sentence too";
}

TEST(KyExceptionCommon, UnknownCodeStartsWithTheBlank) {
  const int unknown = 0x2345678;
  EXPECT_EQ(" (0x2345678) \n\nwhat", KyExceptionCommon(unknown, "what").GetText());
  EXPECT_EQ("(0x2345678) \n\nwhat", KyExceptionCommon(unknown, "what").GetShownText());
}

TEST(KyExceptionCommon, HresultPrintsAsUnsignedHex) {
  const std::string text = KyExceptionCommon(static_cast<int>(0x80004005), "").GetText();
  EXPECT_NE(std::string::npos, text.find("(0x80004005)")) << text;
}

}  // namespace
