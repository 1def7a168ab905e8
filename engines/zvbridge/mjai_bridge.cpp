#include "zvbridge/mjai_bridge.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <sstream>

#include "net/net_lines.h"
#include "net/net_protocol.h"
#include "net/seat_token.h"
#include "platform/stream_sockets.h"
#include "players/player.h"
#include "riichi/game.h"
#include "zvbridge/bot_process.h"

namespace zv::bridge {
namespace {

using riichi::Action;
using riichi::ActionType;
using riichi::TileId;

std::size_t Idx(int i) { return static_cast<std::size_t>(i); }

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

bool ToInt(const std::string& word, int& value) {
    try {
        std::size_t used = 0;
        value = std::stoi(word, &used);
        return used == word.size();
    } catch (...) {
        return false;
    }
}

// A tile of an answer: its kind and redness.
bool AnswerTile(const mjai::Json* value, riichi::Kind& kind, bool& red) {
    return value != nullptr && value->type == mjai::Json::Type::String &&
           mjai::ParseTile(value->string, kind, red);
}

bool SameTile(TileId tile, riichi::Kind kind, bool red, bool redFives) {
    return riichi::KindOf(tile) == kind && (!redFives || riichi::IsRedFive(tile) == red);
}

// "HAND WIND DEALER HONBA STICKS S0 S1 S2 S3 DORA TILES" as the start of a
// hand seen from `seat`; false when it cannot be read.
bool ParseHandLine(const std::vector<std::string>& w, int seat, riichi::HandStart& start) {
    if (w.size() != 11 || seat < 0 || seat > 3) return false;
    int values[9];
    for (int i = 0; i < 9; ++i)
        if (!ToInt(w[Idx(i + 1)], values[i])) return false;
    if (values[0] < riichi::kEast || values[0] > riichi::kNorth || values[1] < 0 || values[1] > 3)
        return false;
    start.roundWind = values[0];
    start.dealer = values[1];
    start.honba = values[2];
    start.sticks = values[3];
    for (int s = 0; s < 4; ++s) start.scores[Idx(s)] = values[4 + s];
    std::vector<TileId> dora, hand;
    if (!engine::ParseTileList(w[9], dora) || dora.size() != 1 || !engine::ParseTileList(w[10], hand) ||
        hand.size() != 13)
        return false;
    start.doraIndicator = dora[0];
    for (auto& h : start.hands) h.clear();
    start.hands[Idx(seat)] = hand;
    start.dealerDraw = riichi::TableEvent{};  // the DRAW line that follows tells it
    return true;
}

// The rules a bot may want to know, as members of one JSON object.
std::string RulesJson(const riichi::Rules& rules) {
    auto flag = [](bool on) { return on ? std::string("true") : std::string("false"); };
    return "{\"red_fives\":" + flag(!rules.noRedFives) +
           ",\"game_length\":" + mjai::Quote(rules.eastOnly ? "east" : "east_south") +
           ",\"start_points\":" + std::to_string(rules.startPoint) +
           ",\"swap_calls\":" + flag(!rules.noSwapCalling) + ",\"open_tanyao\":" + flag(!rules.noOpenTanyao) +
           ",\"head_bump\":" + flag(rules.headBump) + ",\"uma\":" + mjai::Quote(riichi::UmaWord(rules.uma)) +
           "}";
}

// The bridge's complaint about an answer that does not fit, for the bot.
std::string ErrorEvent(const std::string& message) {
    return "{\"type\":\"error\",\"message\":" + mjai::Quote(message) + "}";
}

// An answer's string members, to say what the bot chose.
std::string Described(const mjai::Json& answer) {
    std::string text;
    for (std::size_t i = 0; i < answer.keys.size(); ++i)
        if (answer.values[i].type == mjai::Json::Type::String)
            text += " " + answer.keys[i] + "=" + answer.values[i].string;
    return text;
}

// How long the bridge waits for the bot before it tells the server that the
// seat is still there.
constexpr std::chrono::seconds kKeepAlive{5};

class Bridge {
public:
    Bridge(const BridgeConfig& config, BotProcess& bot, BridgeReport& report, const engine::LogFn& log)
        : config_(config), report_(report), log_(log), bot_(bot) {}

    engine::NetStatus Play(engine::NetGameResult& result, std::string& message,
                           const std::atomic<bool>* cancel);

private:
    void Line(const std::string& line);
    void Send(const std::string& line);
    void Replace(const std::string& why);
    // Tells the bot one event and keeps its answer when it is an action.
    void Tell(const std::string& event);
    // The bot's answer to `event` within `waitMs` (the answer time when 0).
    // An answer that is not an mjai message gets an error event and is
    // asked for once more.
    std::optional<mjai::Json> Ask(const std::string& event, int waitMs = 0);
    std::optional<std::string> AnswerLine(int waitMs);
    // The table action the bot's answer stands for; false with `problem`
    // set when the answer does not fit the decision.
    bool BotAction(const mjai::Json& answer, const std::vector<Action>& legal, bool& declared, Action& action,
                   std::string& problem);
    Action Decide(const std::vector<Action>& legal);
    void EndHand();

    const BridgeConfig& config_;
    BridgeReport& report_;
    const engine::LogFn& log_;
    BotProcess& bot_;
    bool botPlays_ = false;
    int fd_ = -1;
    std::string out_;
    int seat_ = -1;
    std::array<std::string, 4> names_;  // the names the players joined with
    riichi::SeatView view_;
    std::vector<std::string> mjai_;  // event lines for the bot, written by `writer_`
    std::unique_ptr<mjai::Writer> writer_;
    std::optional<mjai::Json> pending_;  // the bot's action for the step
    bool riichiTold_ = false;            // the bot has seen its own "reach" already
    std::unique_ptr<players::Player> standIn_;
    engine::EndReader ends_;
    engine::NetGameResult result_;
    bool haveResult_ = false, haveYaku_ = false, over_ = false;
    engine::NetStatus status_ = engine::NetStatus::Played;
    std::string message_;
    bool failed_ = false;
};

void Bridge::Send(const std::string& line) {
    if (fd_ < 0) return;
    out_ += line + "\n";
    if (!engine::SendSome(fd_, out_)) {
        failed_ = true;
        status_ = engine::NetStatus::Lost;
        message_ = "the server closed the connection";
    }
}

void Bridge::Replace(const std::string& why) {
    if (!botPlays_) return;
    botPlays_ = false;
    report_.replaced = why;
    log_("the bot is replaced by the character player: " + why);
    bot_.Stop();
}

std::optional<std::string> Bridge::AnswerLine(int waitMs) {
    auto deadline = bot_.Now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        auto slice = std::min(deadline, bot_.Now() + kKeepAlive);
        std::string why;
        bool timedOut = false;
        if (auto line = bot_.Receive(slice, why, timedOut)) return line;
        if (!timedOut) {
            Replace(why);
            return std::nullopt;
        }
        if (bot_.Now() >= deadline) {
            Replace("the bot did not answer within " + std::to_string(waitMs) + " ms");
            return std::nullopt;
        }
        // A long wait (a bot loading at the start of a game): the server
        // must not take the seat for silent.
        Send("PONG");
    }
}

std::optional<mjai::Json> Bridge::Ask(const std::string& event, int waitMs) {
    if (!botPlays_) return std::nullopt;
    if (waitMs <= 0) waitMs = config_.botMs;
    std::string line = event;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!bot_.Send(line, bot_.Now() + std::chrono::milliseconds(config_.botMs))) {
            Replace("the bot no longer reads its input");
            return std::nullopt;
        }
        auto answer = AnswerLine(waitMs);
        if (!answer) return std::nullopt;
        mjai::Json json;
        std::string error;
        const mjai::Json* type = nullptr;
        if (mjai::ParseJson(*answer, json, error)) type = json.Find("type");
        if (type != nullptr && type->type == mjai::Json::Type::String) return json;
        std::string problem = "an answer that is not an mjai message: " + answer->substr(0, 80);
        if (attempt > 0) {
            Replace("the bot answered with " + problem);
            return std::nullopt;
        }
        log_("the bot sent " + problem + "; it is asked again");
        line = ErrorEvent(problem);
        waitMs = config_.botMs;
    }
    return std::nullopt;
}

void Bridge::Tell(const std::string& event) {
    auto answer = Ask(event);
    if (answer && answer->Find("type")->string != "none") pending_ = std::move(*answer);
}

bool Bridge::BotAction(const mjai::Json& answer, const std::vector<Action>& legal, bool& declared,
                       Action& action, std::string& problem) {
    const std::string& type = answer.Find("type")->string;
    if (type == "reach" && !declared) {
        bool allowed = std::any_of(legal.begin(), legal.end(),
                                   [](const Action& a) { return a.type == ActionType::Riichi; });
        if (!allowed) {
            problem = "the bot declared a riichi it may not declare now";
            return false;
        }
        // The bot sees its "reach" and then says what it discards.
        declared = true;
        auto discard = Ask("{\"type\":\"reach\",\"actor\":" + std::to_string(seat_) + "}");
        if (!discard) return false;
        return BotAction(*discard, legal, declared, action, problem);
    }
    if (ActionFromBot(answer, seat_, view_, legal, declared, action)) return true;
    problem = (declared ? "the bot chose a riichi discard that is not allowed now:"
                        : "the bot chose what is not allowed now:") +
              Described(answer);
    return false;
}

Action Bridge::Decide(const std::vector<Action>& legal) {
    view_.legal = legal;
    std::optional<mjai::Json> answer = std::move(pending_);
    pending_.reset();
    bool pass =
        std::any_of(legal.begin(), legal.end(), [](const Action& a) { return a.type == ActionType::Pass; });
    bool declared = false;
    std::string problem;
    // A second chance after an error event; then the character player.
    for (int attempt = 0; botPlays_ && attempt < 2; ++attempt) {
        if (attempt > 0) {
            log_(problem + "; the bot is asked again");
            answer = Ask(ErrorEvent(problem));
            if (!botPlays_) break;
        }
        Action action;
        if (answer && answer->Find("type")->string == "none" && pass) answer.reset();
        if (!answer) {
            if (pass) {
                ++report_.botDecisions;
                return Action{};
            }
            problem = "the bot did not answer the draw with an action";
        } else if (BotAction(*answer, legal, declared, action, problem)) {
            riichiTold_ = declared;
            ++report_.botDecisions;
            return action;
        }
    }
    Replace(problem);
    ++report_.fallbackDecisions;
    return standIn_->Decide(view_);
}

void Bridge::EndHand() {
    const riichi::HandResult& r = ends_.result();
    mjai_.clear();
    writer_->EndHand(r, r.revealed);
    for (const std::string& line : mjai_) Ask(line);
    pending_.reset();
}

void Bridge::Line(const std::string& line) {
    auto w = Words(line);
    if (w.empty()) return;
    const std::string& command = w[0];
    bool complete = false, bad = false;
    riichi::TableEvent event;
    if (command == "PING") {
        Send("PONG");
    } else if (command == "WELCOME") {
        if (w.size() < 2 || !ToInt(w[1], seat_) || seat_ < 0 || seat_ > 3) {
            failed_ = true;
            status_ = engine::NetStatus::Lost;
            message_ = "the server sent a bad seat";
            return;
        }
        result_.seat = seat_;
        if (w.size() > 2 && engine::IsSeatToken(w[2]) && config_.keepToken) config_.keepToken(w[2]);
        log_("seated at " + std::to_string(seat_) + ", waiting for the other players");
    } else if (command == "REFUSED") {
        std::string reason = w.size() > 1 ? w[1] : "";
        if (reason == "action" || reason == "turn") {
            log_("the server refused: " + line);
            return;
        }
        failed_ = true;
        status_ = engine::NetStatus::Refused;
        message_ = "the server refused: " + line.substr(std::min(line.size(), std::size_t{8}));
    } else if (command == "GAME") {
        if (w.size() > 1) ToInt(w[1], result_.gameNumber);
    } else if (command == "PLAYER") {
        int seat = -1;
        if (w.size() >= 5 && ToInt(w[1], seat) && seat >= 0 && seat < 4) {
            result_.seats[Idx(seat)] = {w[3], w[4]};
            names_[Idx(seat)] = w[3];
        }
    } else if (command == "RULES") {
        view_.rules = engine::ParseRulesWords(line.size() > 6 ? line.substr(6) : "");
        const riichi::Rules& rules = view_.rules;
        writer_ = std::make_unique<mjai::Writer>(mjai_, !view_.rules.noRedFives);
        standIn_ = players::MakeCharacterPlayer(
            config_.request.style,
            players::SeatSeed(engine::ChooseSeed() + static_cast<std::uint64_t>(result_.gameNumber), seat_));
        log_("the game starts");
        std::string start = "{\"type\":\"start_game\",\"id\":" + std::to_string(seat_) + ",\"names\":[";
        for (std::size_t s = 0; s < 4; ++s) start += (s > 0 ? "," : "") + mjai::Quote(names_[s]);
        start += "],\"kyoku_first\":" + std::string(rules.eastOnly ? "4" : "0") +
                 ",\"aka_flag\":" + (rules.noRedFives ? "false" : "true") +
                 ",\"zelvan_rules\":" + RulesJson(rules);
        // A bot may load what it plays with here: it has longer to answer.
        Ask(start + "}", config_.startMs);
    } else if (command == "HAND") {
        riichi::HandStart start;
        if (!ParseHandLine(w, seat_, start) || writer_ == nullptr) {
            failed_ = true;
            status_ = engine::NetStatus::Lost;
            message_ = "the server sent a hand that cannot be read";
            return;
        }
        mjai_.clear();
        writer_->StartHand(start, start.dealer + 1);
        pending_.reset();
        for (const std::string& l : mjai_) Tell(l);
    } else if (command == "VIEW") {
        riichi::SeatView v = view_;
        if (engine::ParseViewLine(line, v)) view_ = v;
    } else if (command == "ASK") {
        engine::Ask ask;
        if (!engine::ParseAskLine(line, ask)) return;
        if (ask.next) {
            Send("ACT " + std::to_string(ask.id) + " next");
            return;
        }
        if (standIn_ == nullptr) return;
        Send("ACT " + std::to_string(ask.id) + " " + engine::ActionWord(Decide(ask.actions)));
    } else if (command == "TIMEOUT") {
        log_("a decision was not answered in time");
    } else if (ends_.Take(line, complete, bad)) {
        if (bad) {
            failed_ = true;
            status_ = engine::NetStatus::Lost;
            message_ = "the server sent a hand's result that cannot be read";
        } else if (complete && writer_ != nullptr) {
            EndHand();
        }
    } else if (engine::ParseEventLine(line, event)) {
        if (writer_ == nullptr) return;
        if (event.type == riichi::EventType::Draw || event.type == riichi::EventType::Discard)
            pending_.reset();
        mjai_.clear();
        writer_->Event(event);
        std::size_t first = 0;
        // The bot saw its own "reach" when it declared.
        if (event.type == riichi::EventType::Discard && event.riichi && event.seat == seat_ && riichiTold_) {
            first = 1;
            riichiTold_ = false;
        }
        for (std::size_t i = first; i < mjai_.size(); ++i) Tell(mjai_[i]);
    } else if (command == "GAMEEND") {
        if (w.size() == 4) {
            ToInt(w[2], result_.leftoverSticks);
            result_.bustOut = w[3] == "1";
        }
    } else if (command == "STANDING") {
        int seat = -1;
        riichi::SeatTotals totals;
        if (engine::ParseStandingLine(line, seat, totals)) result_.standings[Idx(seat)] = totals;
    } else if (command == "REC") {
        if (result_.recordLines.size() < 100000) result_.recordLines.push_back(line.substr(4));
    } else if (command == "RESULT") {
        haveResult_ = engine::ParseResultWords(line.substr(7), result_.mine);
    } else if (command == "YAKU") {
        haveYaku_ = line.size() > 5 && engine::ParseYakuWord(line.substr(5), result_.mine);
    } else if (command == "END") {
        std::array<int, 4> finals{};
        for (std::size_t s = 0; s < 4; ++s) finals[s] = result_.standings[s].finalScore;
        if (writer_ != nullptr) {
            mjai_.clear();
            writer_->EndGame(finals);
            for (const std::string& l : mjai_) Ask(l);
        }
        over_ = true;
        if (!haveResult_ || !haveYaku_) {
            failed_ = true;
            status_ = engine::NetStatus::Lost;
            message_ = "the server sent no valid result";
        }
    }
}

engine::NetStatus Bridge::Play(engine::NetGameResult& result, std::string& message,
                               const std::atomic<bool>* cancel) {
    // The bot first, so that it inherits no connection of ours; one that
    // played the last game plays this one too.
    std::string error;
    botPlays_ = bot_.running() || bot_.Start(config_.bot, error);
    if (!botPlays_) {
        report_.replaced = error;
        log_("the bot cannot play, the character player plays: " + error);
    }
    fd_ = engine::ConnectTcp(config_.host, config_.port, 5000, message);
    if (fd_ < 0) return engine::NetStatus::ConnectFailed;
    log_("connected to " + config_.host + ":" + std::to_string(config_.port));
    Send(engine::JoinLine(config_.request));
    engine::LineReader reader;
    auto heard = std::chrono::steady_clock::now();
    while (!failed_ && !over_) {
        if (cancel != nullptr && cancel->load()) {
            Send("QUIT");
            engine::CloseSocket(fd_);
            message = "cancelled";
            return engine::NetStatus::Cancelled;
        }
        std::vector<SocketWait> waits(1);
        waits[0].socket = fd_;
        waits[0].read = true;
        waits[0].write = !out_.empty();
        int ready = CurrentStreamSockets().Wait(waits, std::chrono::milliseconds(200));
        if (!out_.empty() && !engine::SendSome(fd_, out_)) {
            message_ = "the server closed the connection";
            status_ = engine::NetStatus::Lost;
            break;
        }
        if (ready <= 0) {
            if (std::chrono::steady_clock::now() - heard > std::chrono::seconds(90)) {
                message_ = "the server stopped answering";
                status_ = engine::NetStatus::Lost;
                break;
            }
            continue;
        }
        std::vector<std::string> lines;
        bool tooLong = false;
        bool open = reader.ReadAvailable(fd_, lines, tooLong);
        if (!lines.empty()) heard = std::chrono::steady_clock::now();
        for (const std::string& line : lines) {
            Line(line);
            if (failed_ || over_) break;
        }
        if (!open && !over_) {
            message_ = tooLong ? "the server sent a line that is too long"
                               : "the server closed the connection before the game ended";
            status_ = engine::NetStatus::Lost;
            failed_ = true;
        }
    }
    if (!out_.empty()) engine::SendAll(fd_, out_, 1000);
    engine::CloseSocket(fd_);
    fd_ = -1;
    if (over_ && !failed_) {
        result = result_;
        return engine::NetStatus::Played;
    }
    message = message_;
    return status_;
}

}  // namespace

bool ActionFromBot(const mjai::Json& answer, int seat, const riichi::SeatView& view,
                   const std::vector<Action>& legal, bool riichi, Action& action) {
    const mjai::Json* typeValue = answer.Find("type");
    if (typeValue == nullptr || typeValue->type != mjai::Json::Type::String) return false;
    const std::string& type = typeValue->string;
    auto find = [&](auto fits) {
        for (const Action& a : legal)
            if (fits(a)) {
                action = a;
                return true;
            }
        return false;
    };
    if (type == "none") return find([](const Action& a) { return a.type == ActionType::Pass; });
    const mjai::Json* actor = answer.Find("actor");
    if (actor == nullptr || actor->type != mjai::Json::Type::Number || actor->number != seat) return false;
    const bool redFives = !view.rules.noRedFives;
    riichi::Kind kind = -1;
    bool red = false;
    if (type == "dahai") {
        if (!AnswerTile(answer.Find("pai"), kind, red)) return false;
        const mjai::Json* giri = answer.Find("tsumogiri");
        bool drawnTile = giri != nullptr && giri->type == mjai::Json::Type::Bool && giri->boolean;
        ActionType wanted = riichi ? ActionType::Riichi : ActionType::Discard;
        auto fits = [&](const Action& a) {
            return a.type == wanted && SameTile(a.tile, kind, red, redFives);
        };
        // The drawn tile when the bot says so, else one from the hand.
        if (find([&](const Action& a) { return fits(a) && (a.tile == view.drawn) == drawnTile; }))
            return true;
        return find(fits);
    }
    if (type == "pon" || type == "chi" || type == "daiminkan") {
        ActionType wanted = type == "pon"   ? ActionType::Pon
                            : type == "chi" ? ActionType::Chi
                                            : ActionType::OpenKan;
        if (wanted == ActionType::OpenKan) return find([&](const Action& a) { return a.type == wanted; });
        const mjai::Json* consumed = answer.Find("consumed");
        if (consumed == nullptr || consumed->type != mjai::Json::Type::Array || consumed->items.size() != 2)
            return false;
        std::array<std::pair<riichi::Kind, bool>, 2> own{};
        for (std::size_t i = 0; i < 2; ++i)
            if (!AnswerTile(&consumed->items[i], own[i].first, own[i].second)) return false;
        return find([&](const Action& a) {
            if (a.type != wanted) return false;
            bool straight = SameTile(a.with[0], own[0].first, own[0].second, redFives) &&
                            SameTile(a.with[1], own[1].first, own[1].second, redFives);
            bool crossed = SameTile(a.with[0], own[1].first, own[1].second, redFives) &&
                           SameTile(a.with[1], own[0].first, own[0].second, redFives);
            return straight || crossed;
        });
    }
    if (type == "ankan") {
        const mjai::Json* consumed = answer.Find("consumed");
        if (consumed == nullptr || consumed->type != mjai::Json::Type::Array || consumed->items.empty() ||
            !AnswerTile(&consumed->items[0], kind, red))
            return false;
        return find([&](const Action& a) {
            return a.type == ActionType::ClosedKan && riichi::KindOf(a.tile) == kind;
        });
    }
    if (type == "kakan") {
        if (!AnswerTile(answer.Find("pai"), kind, red)) return false;
        return find([&](const Action& a) {
            return a.type == ActionType::AddedKan && riichi::KindOf(a.tile) == kind;
        });
    }
    if (type == "hora")
        return find([](const Action& a) { return a.type == ActionType::Tsumo || a.type == ActionType::Ron; });
    if (type == "ryukyoku") return find([](const Action& a) { return a.type == ActionType::NineTerminals; });
    return false;
}

engine::NetStatus PlayBridgedGame(const BridgeConfig& config, BotProcess& bot, engine::NetGameResult& result,
                                  std::string& message, BridgeReport& report, const engine::LogFn& log,
                                  const std::atomic<bool>* cancel) {
    report = BridgeReport{};
    Bridge bridge(config, bot, report, log);
    return bridge.Play(result, message, cancel);
}

}  // namespace zv::bridge
