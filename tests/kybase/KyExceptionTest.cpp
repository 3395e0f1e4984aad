// The exception family: module and line, composed texts, the text ShowMessage shows.
#include <gtest/gtest.h>

#include "kybase/KyException.h"

using Error::KyException;
using Error::KyExceptionCommon;
using Error::KyExceptionText;

namespace {

struct ModuleCase {
  const char* name;
  const char* sourceFile;
  const char* module;
};

class ExceptionModule : public testing::TestWithParam<ModuleCase> {};

TEST_P(ExceptionModule, KeepsFileNamePart) {
  const KyExceptionText e("text", GetParam().sourceFile, 42);
  EXPECT_EQ(GetParam().module, e.GetModule());
  EXPECT_EQ(42, e.GetLine());
}

const ModuleCase kModuleCases[] = {
    {"NullFile", nullptr, ""},
    {"BackslashPath", "C:\\src\\kybase\\file.cpp", "file.cpp"},
    {"ForwardSlashesOnly", "/src/kybase/file.cpp", "file.cpp"},
    {"BareName", "file.cpp", "file.cpp"},
    {"EndsInSeparator", "C:\\src\\", ""},
};

INSTANTIATE_TEST_SUITE_P(Table, ExceptionModule, testing::ValuesIn(kModuleCases),
                         [](const testing::TestParamInfo<ModuleCase>& info) { return std::string(info.param.name); });

TEST(KyExceptionText, TextUnchangedAndCopiesKeepEverything) {
  const KyExceptionText original("Error opening 'x'", "a/b.cpp", 7);
  const KyExceptionText copy(original);
  EXPECT_EQ("Error opening 'x'", copy.GetText());
  EXPECT_EQ("b.cpp", copy.GetModule());
  EXPECT_EQ(7, copy.GetLine());
}

TEST(KyExceptionText, CaughtByBaseReference) {
  try {
    throw KyExceptionCommon(5, "access", nullptr, 0);
  } catch (const KyException& e) {
    EXPECT_NE(std::string::npos, e.GetText().find("(0x5) \n\naccess"));
  }
}

TEST(KyExceptionShownText, BlankTextShowsFallback) {
  EXPECT_EQ("Unknown error occured\nFile: , Line: 0", KyExceptionText(" \r\n\t ").GetShownText());
  EXPECT_EQ("Unknown error occured\nFile: x.cpp, Line: 3", KyExceptionText("", "d\\x.cpp", 3).GetShownText());
}

TEST(KyExceptionShownText, TrimmedButInnerLineBreaksKept) {
  EXPECT_EQ("a\n\nb", KyExceptionText("  a\n\nb \n").GetShownText());
}

}  // namespace
