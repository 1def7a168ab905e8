// The zvscore command line: words of the arguments, one per line, and
// optionally "\0" followed by the text a --rules file would hold. Whatever
// the words, the command ends with 0 and a line on standard output, or with
// 1 and one "zvscore: " line on standard error; a scored hand's payments add
// up to its points (two payers of a self-draw with three players).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "zvscore/score_command.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    std::optional<std::string> rulesText;
    if (auto nul = input.find('\0'); nul != std::string::npos) {
        rulesText = input.substr(nul + 1);
        input.resize(nul);
    }
    std::vector<std::string> args;
    std::string word;
    for (char c : input) {
        if (c == '\n') {
            args.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) args.push_back(word);
    zv::riichi::RulesReader reader = [&](const std::string&) { return rulesText; };

    auto result = zv::riichi::RunScoreCommand(args, reader);
    if (result.exitCode == 0) {
        if (result.out.empty() || result.out.back() != '\n' || !result.err.empty()) std::abort();
    } else {
        if (result.exitCode != 1 || !result.out.empty()) std::abort();
        if (result.err.rfind("zvscore: ", 0) != 0 || result.err.find('\n') != result.err.size() - 1)
            std::abort();
    }

    zv::riichi::WinSituation win;
    zv::riichi::Rules rules;
    std::string error;
    if (zv::riichi::ParseScoreRequest(args, reader, win, rules, error)) {
        auto score = zv::riichi::ScoreWin(win, rules);
        if (score.won) {
            // Two payers besides the dealer with four players, one with three;
            // the counters are what a hand worth nothing would pay.
            using zv::riichi::Payer;
            int others = rules.Players() - 2;
            auto counters = [&](Payer payer) {
                return zv::riichi::TsumoPayment(0, score.dealer, payer, win.honba, rules);
            };
            int paid = win.tsumo ? score.tsumoDealerPays + others * score.tsumoOthersPay : score.ronPayment;
            int honba =
                win.tsumo ? counters(Payer::Dealer) + others * counters(Payer::NonDealer) : 300 * win.honba;
            if (paid - honba != score.points || score.points <= 0) std::abort();
        } else if (score.error.empty()) {
            std::abort();
        }
    }
    return 0;
}
