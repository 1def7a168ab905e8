// The help pages and the rule book that the launcher's help buttons open:
// every page is well-formed UTF-8 HTML that declares its encoding, every link
// between the pages leads to a page and an anchor that exist, every page can
// be reached from the two index pages, and the rule book explains every
// local rule that the rule editor offers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string kData = std::string(ZV_SOURCE_DIR) + "data/";

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Strict UTF-8: no stray continuation bytes, no overlong forms, no
// surrogates, nothing beyond U+10FFFF.
bool IsValidUtf8(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        int more = 0;
        unsigned code = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            more = 1;
            code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            more = 2;
            code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            more = 3;
            code = c & 0x07;
        } else {
            return false;
        }
        if (i + more >= text.size()) return false;
        for (int k = 1; k <= more; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        static const unsigned kMin[] = {0, 0x80, 0x800, 0x10000};
        if (code < kMin[more] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += more + 1;
    }
    return true;
}

struct Page {
    fs::path path;
    std::string text;
};

// Every HTML page of the help pages and the rule book, by canonical path.
std::map<fs::path, Page> AllPages() {
    std::map<fs::path, Page> pages;
    for (const char* folder : {"help", "rulebook"}) {
        for (const auto& entry : fs::directory_iterator(kData + folder)) {
            if (entry.path().extension() != ".html") continue;
            fs::path path = fs::weakly_canonical(entry.path());
            pages[path] = Page{path, ReadAll(path)};
        }
    }
    return pages;
}

std::set<std::string> Ids(const std::string& text) {
    std::set<std::string> ids;
    static const std::regex id(R"re(\sid="([^"]+)")re");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), id); it != std::sregex_iterator(); ++it)
        ids.insert((*it)[1]);
    return ids;
}

// Relative links (href and stylesheet) of a page; external ones are refused
// by the test below, since the pages are read without a network.
std::vector<std::string> Links(const std::string& text) {
    std::vector<std::string> links;
    static const std::regex href(R"re(href="([^"]*)")re");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), href); it != std::sregex_iterator(); ++it)
        links.push_back((*it)[1]);
    return links;
}

TEST(HelpPagesTest, BothIndexPagesExist) {
    EXPECT_TRUE(fs::is_regular_file(kData + "help/index.html"));
    EXPECT_TRUE(fs::is_regular_file(kData + "rulebook/index.html"));
}

TEST(HelpPagesTest, EveryPageIsUtf8HtmlThatSaysSo) {
    auto pages = AllPages();
    ASSERT_GE(pages.size(), 2u);
    for (const auto& [path, page] : pages) {
        SCOPED_TRACE(path.string());
        EXPECT_TRUE(IsValidUtf8(page.text));
        EXPECT_EQ(page.text.rfind("<!DOCTYPE html>", 0), 0u);
        EXPECT_NE(page.text.find("<html lang=\"ja\">"), std::string::npos);
        // The charset must come early: browsers look at the first 1024 bytes.
        std::size_t charset = page.text.find("<meta charset=\"UTF-8\">");
        ASSERT_NE(charset, std::string::npos);
        EXPECT_LT(charset, 1024u);
        EXPECT_NE(page.text.find("<title>"), std::string::npos);
        EXPECT_NE(page.text.find("</html>"), std::string::npos);
    }
}

TEST(HelpPagesTest, EveryLinkLeadsToAnExistingPageAndAnchor) {
    auto pages = AllPages();
    for (const auto& [path, page] : pages) {
        for (const std::string& link : Links(page.text)) {
            SCOPED_TRACE(path.string() + " -> " + link);
            ASSERT_FALSE(link.empty());
            EXPECT_EQ(link.find("://"), std::string::npos) << "pages must work without a network";
            std::string file = link.substr(0, link.find('#'));
            std::string anchor = link.find('#') == std::string::npos ? "" : link.substr(link.find('#') + 1);
            fs::path target = file.empty() ? path : fs::weakly_canonical(path.parent_path() / file);
            ASSERT_TRUE(fs::is_regular_file(target));
            if (!anchor.empty()) {
                auto found = pages.find(target);
                ASSERT_NE(found, pages.end());
                EXPECT_TRUE(Ids(found->second.text).count(anchor)) << "no id \"" << anchor << "\"";
            }
        }
    }
}

TEST(HelpPagesTest, EveryPageCanBeReachedFromTheIndexPages) {
    auto pages = AllPages();
    std::set<fs::path> reached;
    std::vector<fs::path> todo = {fs::weakly_canonical(kData + "help/index.html"),
                                  fs::weakly_canonical(kData + "rulebook/index.html")};
    while (!todo.empty()) {
        fs::path next = todo.back();
        todo.pop_back();
        if (!reached.insert(next).second) continue;
        auto page = pages.find(next);
        if (page == pages.end()) continue;
        for (const std::string& link : Links(page->second.text)) {
            std::string file = link.substr(0, link.find('#'));
            if (file.empty() || file.find(".html") == std::string::npos) continue;
            todo.push_back(fs::weakly_canonical(next.parent_path() / file));
        }
    }
    for (const auto& [path, page] : pages) EXPECT_TRUE(reached.count(path)) << path << " is not linked";
}

TEST(HelpPagesTest, TheRuleBookExplainsEveryLocalRuleOfTheRuleEditor) {
    const std::string local = ReadAll(kData + "rulebook/local.html");
    const std::string help = ReadAll(kData + "help/rules.html");
    // The captions the rule editor shows, check boxes, fields and choices.
    for (const char* caption : {"東風戦",
                                "東南戦",
                                "ピンヅモなし",
                                "赤ドラなし",
                                "なきタンなし",
                                "カンウラなし",
                                "飛びなし",
                                "箱下計算あり",
                                "赤ドラは面前のみ",
                                "オールスターなし",
                                "ゲーム開始時の持ち点",
                                "役満御祝儀の枚数",
                                "一発御祝儀の枚数",
                                "ウラドラ御祝儀の枚数",
                                "赤ドラ御祝儀の枚数",
                                "頭ハネ",
                                "三家和なし",
                                "喰いかえなし",
                                "包あり",
                                "7700点満貫",
                                "ゴットー",
                                "ワンツー",
                                "ワンスリー",
                                "シチゴサン",
                                "沈みウマ"}) {
        EXPECT_NE(local.find(caption), std::string::npos) << "rule book lacks " << caption;
        EXPECT_NE(help.find(caption), std::string::npos) << "help page lacks " << caption;
    }
    // Each rule has a section of its own that the summary links to.
    for (const char* id : {"tonpu", "nopintumo", "noakadora", "nonakitan", "nokanura", "nofly", "under",
                           "nonakiaka", "noallstars", "startpoint", "chips", "atamahane", "nosancyaho",
                           "nokuikae", "pao", "mangan77", "uma"}) {
        EXPECT_TRUE(Ids(local).count(id)) << "no section " << id;
        EXPECT_NE(local.find(std::string("href=\"#") + id + "\""), std::string::npos)
            << "summary lacks " << id;
    }
}

TEST(HelpPagesTest, TheHelpPagesCoverEveryWindowOfTheLauncher) {
    std::string all;
    for (const auto& [path, page] : AllPages())
        if (path.parent_path().filename() == "help") all += page.text;
    // Window titles as the launcher shows them (two blanks kept as &nbsp;).
    for (const char* title :
         {"ゼルバンライト", "麻雀&nbsp; ひとり遊び", "麻雀&nbsp; 牌譜設定", "麻雀&nbsp; 盤設定",
          "麻雀&nbsp; ローカルルール設定", "麻雀キャラクタのカスタマイズ", "麻雀&nbsp; キャラクタ作成",
          "麻雀&nbsp; キャラクタ選択", "麻雀&nbsp; キャラクタの関連づけ", "麻雀&nbsp; サウンド設定",
          "麻雀&nbsp; コンピュータについて", "ゼルバンライトについて", "麻雀&nbsp; ゲームサーバの起動",
          "麻雀&nbsp; ネットワーク対戦", "麻雀&nbsp; ネットワークの設定", "麻雀&nbsp; 牌譜の分析"}) {
        EXPECT_NE(all.find(title), std::string::npos) << "no help for " << title;
    }
}

TEST(HelpPagesTest, Utf8CheckRejectsBrokenText) {
    EXPECT_TRUE(IsValidUtf8("麻雀 abc"));
    EXPECT_FALSE(IsValidUtf8("\x81\x40"));      // Shift-JIS, not UTF-8
    EXPECT_FALSE(IsValidUtf8("\xE9\xBA"));      // cut off
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));      // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // surrogate
}

}  // namespace
