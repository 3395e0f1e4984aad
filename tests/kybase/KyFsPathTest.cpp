// The path rules as one table of cases.
#include <gtest/gtest.h>

#include "kybase/KyFsPath.h"

namespace {

struct PathCase {
  const char* name;
  const char* path;
  const char* parent;
  const char* fileName;
  const char* title;
};

class PathRules : public testing::TestWithParam<PathCase> {};

TEST_P(PathRules, ParentFileNameAndTitle) {
  const PathCase& c = GetParam();
  const KyFsPath path(c.path);
  EXPECT_EQ(c.parent, path.GetParent());
  EXPECT_EQ(c.fileName, path.GetFileName());
  EXPECT_EQ(c.title, path.GetTitle());
}

const PathCase kPathCases[] = {
    {"Empty", "", "", "", ""},
    {"FolderAndFile", "C:\\Logs\\2026.12.11_001.txt", "C:\\Logs\\", "2026.12.11_001.txt", "2026.12.11_001"},
    {"BareFileNameIsItsOwnParent", "file.txt", "file.txt", "file.txt", "file"},
    {"OnlySeparatorFirstKeepsWholePath", "\\file.txt", "\\file.txt", "file.txt", "file"},
    {"TrailingSeparatorHasNoFileName", "C:\\Logs\\", "C:\\Logs\\", "", ""},
    {"ForwardSlashesOnly", "a/b/c.txt", "a/b/", "c.txt", "c"},
    {"LastBackslashDecidesEvenBeforeSlash", "a\\b/c.txt", "a\\", "b/c.txt", "b/c"},
    {"DotFirstGivesEmptyTitle", "C:\\x\\.profile", "C:\\x\\", ".profile", ""},
    {"NoDotTitleIsName", "C:\\x\\README", "C:\\x\\", "README", "README"},
    {"TitleCutsAtLastDot", "C:\\x\\a.b.c", "C:\\x\\", "a.b.c", "a.b"},
};

INSTANTIATE_TEST_SUITE_P(Table, PathRules, testing::ValuesIn(kPathCases),
                         [](const testing::TestParamInfo<PathCase>& info) { return std::string(info.param.name); });

struct AppendCase {
  const char* name;
  const char* path;
  const char* appended;
  const char* expected;
};

class AppendRules : public testing::TestWithParam<AppendCase> {};

TEST_P(AppendRules, AppendAndJoin) {
  const AppendCase& c = GetParam();
  KyFsPath path(c.path);
  const KyFsPath joined = path.Join(c.appended);
  EXPECT_EQ(c.path, path) << "Join must leave the path unchanged";
  EXPECT_EQ(c.expected, joined);
  EXPECT_EQ(c.expected, path.Append(c.appended));
}

const AppendCase kAppendCases[] = {
    {"ToEmptyGivesBareName", "", "name", "name"},
    {"AfterBackslashNoSecondSeparator", "C:\\", "name", "C:\\name"},
    {"AfterSlashNoSecondSeparator", "C:/x/", "name", "C:/x/name"},
    {"OtherwiseOneBackslash", "C:\\x", "name", "C:\\x\\name"},
    {"NullNameAddsOnlySeparator", "C:\\x", nullptr, "C:\\x\\"},
};

INSTANTIATE_TEST_SUITE_P(Table, AppendRules, testing::ValuesIn(kAppendCases),
                         [](const testing::TestParamInfo<AppendCase>& info) { return std::string(info.param.name); });

TEST(KyFsPath, NullTextIsEmptyPath) { EXPECT_TRUE(KyFsPath(static_cast<const char*>(nullptr)).empty()); }

TEST(KyFsPath, RemoveTrailingRemovesOneOnly) {
  KyFsPath path("C:\\x\\\\");
  EXPECT_EQ("C:\\x\\", path.RemoveTrailing('\\'));
  EXPECT_EQ("C:\\x", KyFsPath("C:\\x").RemoveTrailing('\\'));
}

TEST(KyFsPath, AddSeparatorLeavesEmptyPathEmpty) {
  KyFsPath path;
  EXPECT_EQ("", path.AddSeparator('\\'));
}

}  // namespace
