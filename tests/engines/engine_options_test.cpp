// Options as the launcher passes them, split the way the engines receive them.
#include "app/engine_options.h"

#include <gtest/gtest.h>

namespace zv::engine {
namespace {

using Words = std::vector<std::string>;

TEST(EngineOptionsTest, OnePlayerLineOfTheLauncher) {
    // zelvan1.exe  -T small -B "C:\GAME\usr\guest" -c  -n guest -Q  -l "...\zelvan1.fu" -u _todo -u _min -u
    // _wizard
    auto parsed =
        ParseEngineOptions({"-T", "small", "-B", "/g/usr/guest", "-c", "-n", "guest", "-Q", "-l",
                            "/g/usr/guest/zelvan1.fu", "-u", "_todo", "-u", "_min", "-u", "_wizard"},
                           "BncTuQHl");
    EXPECT_TRUE(parsed.error.empty());
    EXPECT_TRUE(parsed.warnings.empty());
    const auto& o = parsed.options;
    EXPECT_EQ(o.layout, "small");
    EXPECT_EQ(o.baseDir, "/g/usr/guest");
    EXPECT_TRUE(o.computerOpponents);
    EXPECT_EQ(o.name, "guest");
    EXPECT_EQ(o.length, 1);
    EXPECT_EQ(o.recordFile, "/g/usr/guest/zelvan1.fu");
    EXPECT_EQ(o.opponents, (Words{"_todo", "_min", "_wizard"}));
}

TEST(EngineOptionsTest, ClientServerAndComputerPlayerLines) {
    auto client = ParseEngineOptions({"-T", "large", "-B", "/g/usr/guest", "-c", "-n", "guest", "-p", "4112",
                                      "-h", "localhost", "-l", "/g/c.fu", "-C", "-k"},
                                     "TBcnphlSCk");
    EXPECT_TRUE(client.error.empty());
    EXPECT_TRUE(client.warnings.empty());
    EXPECT_EQ(client.options.port, "4112");
    EXPECT_EQ(client.options.host, "localhost");
    EXPECT_TRUE(client.options.talk);
    EXPECT_TRUE(client.options.eucMessages);

    auto server = ParseEngineOptions({"-S", "-p", "2FFF", "-H", "-B", "/g/usr/guest", "-X"}, "pQHlBXS");
    EXPECT_TRUE(server.options.nonTcp);
    EXPECT_EQ(server.options.length, 2);
    EXPECT_TRUE(server.options.resident);
    EXPECT_EQ(ParsePort(server.options.port), 0);
}

TEST(EngineOptionsTest, UnknownOrUnusedOptionsAreWarningsNotErrors) {
    auto parsed = ParseEngineOptions({"-Z", "-n", "guest", "stray", "-X", "-B", "/d", "-longer"}, "Bn");
    EXPECT_TRUE(parsed.error.empty());
    EXPECT_EQ(parsed.options.name, "guest");
    EXPECT_EQ(parsed.options.baseDir, "/d");
    EXPECT_FALSE(parsed.options.resident);  // -X is not this program's
    ASSERT_EQ(parsed.warnings.size(), 4u);
    EXPECT_NE(parsed.warnings[0].find("-Z"), std::string::npos);
    EXPECT_NE(parsed.warnings[1].find("stray"), std::string::npos);
    EXPECT_NE(parsed.warnings[2].find("-X"), std::string::npos);
}

TEST(EngineOptionsTest, AnOptionWithoutItsValueIsAnError) {
    auto parsed = ParseEngineOptions({"-n", "guest", "-B"}, "Bn");
    EXPECT_NE(parsed.error.find("-B"), std::string::npos);
    // A value that looks like an option is still the value.
    auto dashed = ParseEngineOptions({"-n", "-c"}, "nc");
    EXPECT_TRUE(dashed.error.empty());
    EXPECT_EQ(dashed.options.name, "-c");
    EXPECT_FALSE(dashed.options.computerOpponents);
}

TEST(EngineOptionsTest, HelpWordsAndPorts) {
    EXPECT_TRUE(ParseEngineOptions({"--help"}, "").options.help);
    EXPECT_TRUE(ParseEngineOptions({"-help"}, "").options.help);
    EXPECT_EQ(ParsePort("1"), 1);
    EXPECT_EQ(ParsePort("65535"), 65535);
    for (const char* bad : {"", "0", "65536", "-1", "12a", "999999", " 80"})
        EXPECT_EQ(ParsePort(bad), 0) << bad;
}

}  // namespace
}  // namespace zv::engine
