#pragma once
// The words both sides of the network game's protocol spell alike: action
// types, meld types, hand ends and limits. Only net_protocol_write.cpp and
// net_protocol_read.cpp use them; others go through net_protocol.h.
#include <cstddef>

#include "riichi/score.h"
#include "riichi/table.h"

namespace zv::engine::protocol {

inline std::size_t Idx(int i) { return static_cast<std::size_t>(i); }

struct TypeName {
    riichi::ActionType type;
    const char* word;
};
inline constexpr TypeName kActionWords[] = {
    {riichi::ActionType::Discard, "discard"}, {riichi::ActionType::Riichi, "riichi"},
    {riichi::ActionType::Tsumo, "tsumo"},     {riichi::ActionType::Ron, "ron"},
    {riichi::ActionType::Pon, "pon"},         {riichi::ActionType::Chi, "chi"},
    {riichi::ActionType::OpenKan, "kan"},     {riichi::ActionType::ClosedKan, "ankan"},
    {riichi::ActionType::AddedKan, "kakan"},  {riichi::ActionType::NineTerminals, "kyushu"},
    {riichi::ActionType::Pass, "pass"},
};

struct MeldName {
    riichi::MeldType type;
    const char* word;
};
inline constexpr MeldName kMeldWords[] = {{riichi::MeldType::Chi, "chi"},
                                          {riichi::MeldType::Pon, "pon"},
                                          {riichi::MeldType::OpenKan, "kan"},
                                          {riichi::MeldType::ClosedKan, "ankan"},
                                          {riichi::MeldType::AddedKan, "kakan"}};

struct EndName {
    riichi::HandEnd end;
    const char* word;
};
inline constexpr EndName kEndWords[] = {
    {riichi::HandEnd::Tsumo, "tsumo"},
    {riichi::HandEnd::Ron, "ron"},
    {riichi::HandEnd::Exhaustive, "exhaustive"},
    {riichi::HandEnd::NagashiMangan, "nagashi"},
    {riichi::HandEnd::NineTerminals, "nineterminals"},
    {riichi::HandEnd::FourWinds, "fourwinds"},
    {riichi::HandEnd::FourKans, "fourkans"},
    {riichi::HandEnd::FourRiichi, "fourriichi"},
    {riichi::HandEnd::TripleRon, "tripleron"},
};

// Indexed by riichi::Limit.
inline constexpr const char* kLimitWords[] = {"-", "mangan", "haneman", "baiman", "sanbaiman", "yakuman"};

}  // namespace zv::engine::protocol
