// A tiny mjai bot for the bridge tests: it reads one event per line and
// answers each with one line, discarding every tile it draws and declaring
// nothing. Its first argument makes it misbehave after that many events:
//   tsumogiri_bot            plays the whole game
//   tsumogiri_bot crash N    ends after N events
//   tsumogiri_bot hang N     stops answering after N events
//   tsumogiri_bot nonsense N answers N events, then a discard of a tile it
//                            does not hold, then text that is not JSON
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>

#include "mjai/mjai.h"

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "tsumogiri";
    long after = argc > 2 ? std::atol(argv[2]) : 0;
    int id = -1;
    long events = 0;
    bool odd = false;
    for (std::string line; std::getline(std::cin, line);) {
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
        if (type != nullptr && type->string == "start_game" && event.Find("id") != nullptr)
            id = static_cast<int>(event.Find("id")->number);
        if (type != nullptr && type->string == "tsumo" && actor != nullptr && actor->number == id) {
            answer = "{\"type\":\"dahai\",\"actor\":" + std::to_string(id) +
                     ",\"pai\":" + zv::mjai::Quote(event.Find("pai")->string) + ",\"tsumogiri\":true}";
            if (mode == "nonsense" && events > after) {
                answer = odd ? "this is not json"
                             : "{\"type\":\"dahai\",\"actor\":" + std::to_string(id) +
                                   ",\"pai\":\"?\",\"tsumogiri\":false}";
                odd = !odd;
            }
        }
        std::cout << answer << std::endl;
    }
    return 0;
}
