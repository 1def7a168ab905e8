#include "net/seat_token.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace zv::engine {
namespace {

TEST(SeatToken, NewTokensAreHexAndDiffer) {
    std::string a = NewSeatToken(), b = NewSeatToken();
    EXPECT_TRUE(IsSeatToken(a)) << a;
    EXPECT_TRUE(IsSeatToken(b)) << b;
    EXPECT_NE(a, b);
    EXPECT_FALSE(IsSeatToken(""));
    EXPECT_FALSE(IsSeatToken(a.substr(1)));
    EXPECT_FALSE(IsSeatToken(std::string(32, 'A')));  // lowercase only
    EXPECT_FALSE(IsSeatToken(std::string(31, '0') + "g"));
    EXPECT_TRUE(SameSeatToken(a, a));
    EXPECT_FALSE(SameSeatToken(a, b));
    EXPECT_FALSE(SameSeatToken(a, ""));
    EXPECT_FALSE(SameSeatToken("", a));
}

TEST(SeatToken, FileKeepsOneTokenPerServerAndName) {
    test::TempDir dir;
    const std::string path = SeatTokenPath(dir.path());
    EXPECT_EQ(path, dir.Path("zvclient.tok"));
    const std::string t1(32, '1'), t2(32, '2'), t3(32, '3');
    EXPECT_EQ(ReadSeatToken(path, "127.0.0.1:4112", "guest"), "");  // no file yet
    ASSERT_EQ(KeepSeatToken(path, "127.0.0.1:4112", "guest", t1), "");
    ASSERT_EQ(KeepSeatToken(path, "127.0.0.2:4113", "guest", t2), "");
    ASSERT_EQ(KeepSeatToken(path, "127.0.0.1:4112", "auto", t3), "");
    EXPECT_EQ(ReadSeatToken(path, "127.0.0.1:4112", "guest"), t1);
    EXPECT_EQ(ReadSeatToken(path, "127.0.0.2:4113", "guest"), t2);
    EXPECT_EQ(ReadSeatToken(path, "127.0.0.1:4112", "auto"), t3);
    // A new token for one server replaces only its own line.
    ASSERT_EQ(KeepSeatToken(path, "127.0.0.1:4112", "guest", t2), "");
    EXPECT_EQ(ReadSeatToken(path, "127.0.0.1:4112", "guest"), t2);
    EXPECT_EQ(ReadSeatToken(path, "127.0.0.2:4113", "guest"), t2);
    EXPECT_EQ(ReadSeatToken(path, "127.0.0.1:4112", "auto"), t3);
    EXPECT_EQ(dir.Read("zvclient.tok"), "127.0.0.2:4113 guest " + t2 + "\n127.0.0.1:4112 auto " + t3 +
                                            "\n127.0.0.1:4112 guest " + t2 + "\n");
    EXPECT_FALSE(std::filesystem::exists(path + ".new"));
}

TEST(SeatToken, MalformedLinesAreSkipped) {
    test::TempDir dir;
    const std::string t1(32, 'a'), t2(32, 'b');
    const std::string path = dir.Write("zvclient.tok",
                                       "garbage\n"
                                       "127.0.0.1:4112 guest short\n"
                                       "127.0.0.1:4112 guest " +
                                           t1 +
                                           " extra\n"
                                           "nocolon guest " +
                                           t1 +
                                           "\n"
                                           "\xFF\xFE\x01\r\n"
                                           "127.0.0.1:4112 guest " +
                                           t1 +
                                           "\r\n"
                                           "127.0.0.1:4112 ../x " +
                                           t2 + "\n");
    EXPECT_EQ(ReadSeatToken(path, "127.0.0.1:4112", "guest"), t1);
    EXPECT_EQ(ReadSeatToken(path, "127.0.0.1:4112", "../x"), "");
    EXPECT_EQ(ReadSeatToken(path, "nocolon", "guest"), "");
    ASSERT_EQ(KeepSeatToken(path, "127.0.0.3:1", "other", t2), "");
    EXPECT_EQ(dir.Read("zvclient.tok"), "127.0.0.1:4112 guest " + t1 + "\n127.0.0.3:1 other " + t2 + "\n");
    // A directory where the file should be: a message, no crash.
    test::TempDir blocked;
    std::filesystem::create_directory(blocked.Path("zvclient.tok"));
    EXPECT_EQ(ReadSeatToken(SeatTokenPath(blocked.path()), "127.0.0.1:4112", "guest"), "");
    EXPECT_NE(KeepSeatToken(SeatTokenPath(blocked.path()), "127.0.0.1:4112", "guest", t1), "");
}

}  // namespace
}  // namespace zv::engine
