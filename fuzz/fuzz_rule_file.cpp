// Reads arbitrary bytes as a CP932 rules file (personal-file format),
// writes the rules back and checks that the written file reads back to the
// same parameters, and that every written line is one the reader takes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/codec.h"
#include "config/file_io.h"
#include "config/personal_file.h"
#include "rules/rule_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text = zv::FromCp932(std::string_view(reinterpret_cast<const char*>(data), size));
    zv::LocalRules rules;
    std::size_t applied = 0;
    zv::ApplyPersonalText(text, [&](const std::string& key, const std::string& value) {
        zv::ApplyRuleParam(rules, key, value);
        ++applied;
    });
    if (applied > text.size()) std::abort();

    // Exactly one placement bonus stays checked.
    int checked = 0;
    for (bool on : rules.uma) checked += on ? 1 : 0;
    if (checked != 1) std::abort();

    zv::PersonalParams params = zv::RuleParams(rules);
    if (params.size() != zv::kRuleKeys.size()) std::abort();
    auto lines = zv::PersonalFileLines(zv::PersonalFileKind::Rules, params);
    std::string written;  // the lines as the file holds them
    for (const auto& line : lines) {
        written += line;
        written += "\r\n";
    }
    if (zv::IsCp932Encodable(written)) {
        zv::LocalRules again;
        zv::PersonalParams seen;
        zv::ApplyPersonalText(zv::FromCp932(zv::EncodeCrLfLines(lines)),
                              [&](const std::string& key, const std::string& value) {
                                  zv::ApplyRuleParam(again, key, value);
                                  seen.emplace_back(key, value);
                              });
        if (seen != params) std::abort();
        if (zv::RuleParams(again) != params) std::abort();
    }
    return 0;
}
