// A tiny mjai bot for the bridge tests: it reads one event per line and
// answers each with one line, discarding every tile it draws and declaring
// nothing. Its first argument makes it misbehave after that many events:
//   tsumogiri_bot            plays the whole game
//   tsumogiri_bot crash N    ends after N events
//   tsumogiri_bot hang N     stops answering after N events
//   tsumogiri_bot nonsense N answers N events, then a discard of a tile it
//                            does not hold, then text that is not JSON
//   tsumogiri_bot mistakes N after N events, answers its next draw with text
//                            that is not JSON and the one after with a tile it
//                            does not hold, each time the right discard after
//                            the bridge's error event
//   tsumogiri_bot slow MS    takes MS milliseconds to answer start_game
//   tsumogiri_bot log FILE   appends every event it reads to FILE
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

#include "mjai/mjai.h"

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "tsumogiri";
    std::string arg = argc > 2 ? argv[2] : "";
    long after = std::atol(arg.c_str());
    std::ofstream log;
    if (mode == "log") log.open(arg, std::ios::app);
    int mistakes = 0;
    std::string corrected;
    int id = -1;
    long events = 0;
    bool odd = false;
    for (std::string line; std::getline(std::cin, line);) {
        if (log.is_open()) log << line << std::endl;
        if (mode != "tsumogiri" && events++ >= after) {
            if (mode == "crash") return 3;
            if (mode == "hang")
                for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
        }
        zv::mjai::Json event;
        std::string error;
        if (!zv::mjai::ParseJson(line, event, error)) return 4;
        const zv::mjai::Json* type = event.Find("type");
        const zv::mjai::Json* actor = event.Find("actor");
        std::string answer = "{\"type\":\"none\"}";
        if (type != nullptr && type->string == "start_game" && event.Find("id") != nullptr) {
            id = static_cast<int>(event.Find("id")->number);
            if (mode == "slow") std::this_thread::sleep_for(std::chrono::milliseconds(after));
        }
        if (type != nullptr && type->string == "error" && !corrected.empty()) {
            std::cout << corrected << std::endl;
            corrected.clear();
            continue;
        }
        if (type != nullptr && type->string == "tsumo" && actor != nullptr && actor->number == id) {
            answer = "{\"type\":\"dahai\",\"actor\":" + std::to_string(id) +
                     ",\"pai\":" + zv::mjai::Quote(event.Find("pai")->string) + ",\"tsumogiri\":true}";
            if (mode == "nonsense" && events > after) {
                answer = odd ? "this is not json"
                             : "{\"type\":\"dahai\",\"actor\":" + std::to_string(id) +
                                   ",\"pai\":\"?\",\"tsumogiri\":false}";
                odd = !odd;
            }
            if (mode == "mistakes" && events > after && mistakes < 2) {
                corrected = answer;
                answer = mistakes++ == 0 ? "oops"
                                         : "{\"type\":\"dahai\",\"actor\":" + std::to_string(id) +
                                               ",\"pai\":\"?\",\"tsumogiri\":false}";
            }
        }
        std::cout << answer << std::endl;
    }
    return 0;
}
