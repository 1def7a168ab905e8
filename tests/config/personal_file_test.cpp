#include "config/personal_file.h"

#include <gtest/gtest.h>

#include <map>

#include "support/temp_dir.h"

namespace zv {
namespace {

std::map<std::string, std::string> ReadAll(const std::string& path) {
    std::map<std::string, std::string> values;
    ReadPersonalFile(path, [&](const std::string& k, const std::string& v) { values[k] = v; });
    return values;
}

TEST(PersonalFile, RulesFileLayout) {
    test::TempDir dir;
    ASSERT_EQ(WritePersonalFile(dir.Path("zelvan1.pf"), PersonalFileKind::Rules,
                                {{"tonpu", "1"}, {"uma", "10-20"}}),
              SaveResult::Saved);
    EXPECT_EQ(
        dir.Read("zelvan1.pf"),
        "#!/bin/sh\r\n# zelvan personal file\r\n# params\r\n\r\nparam: tonpu = 1\r\nparam: uma = 10-20\r\n");
}

TEST(PersonalFile, CharacterFileLayout) {
    test::TempDir dir;
    WritePersonalFile(dir.Path("a.pf"), PersonalFileKind::Character, {{"name", "花子"}});
    EXPECT_EQ(dir.Read("a.pf"),
              "#!/bin/sh\r\n# zelvan personal file\r\n\r\n\r\nparam: name = \x89\xD4\x8E\x71\r\n\r\n");
    EXPECT_EQ(ReadAll(dir.Path("a.pf"))["name"], "花子");
}

TEST(PersonalFile, ReadingRules) {
    test::TempDir dir;
    dir.Write("x.pf",
              "#!/bin/sh\n# param: hidden = 1\n#param: no = 1\nParam: no = 1\n"
              "param: nofly = 1\r\nparam: a=1\nparam: name two words\n"
              "param: twice = 1\nparam: twice = 2\nparam: empty =\n");
    auto values = ReadAll(dir.Path("x.pf"));
    EXPECT_EQ(values["nofly"], "1");
    EXPECT_EQ(values.count("no"), 0u);
    EXPECT_EQ(values.count("hidden"), 0u);
    EXPECT_EQ(values["a=1"], "");
    EXPECT_EQ(values["name"], "words");  // "=" is not checked; word 4 is the value
    EXPECT_EQ(values["twice"], "2");
    EXPECT_EQ(values["empty"], "");
}

TEST(PersonalFile, MissingFileReportsFailure) {
    test::TempDir dir;
    bool called = false;
    EXPECT_FALSE(ReadPersonalFile(dir.Path("none.pf"), [&](auto&, auto&) { called = true; }));
    EXPECT_FALSE(called);
}

}  // namespace
}  // namespace zv
