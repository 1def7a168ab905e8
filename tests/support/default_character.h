#pragma once
// The file a new character "abc" saved without changes must give, byte for
// byte (CR LF line ends).
#include <string>

namespace zv::test {

inline std::string DefaultAbcCharacterFile() {
    const char* lines[] = {
        "#!/bin/sh",
        "# zelvan personal file",
        "",
        "",
        "param: yaku = 1000",
        "param: chitoi = 0",
        "param: kokushi = 700",
        "param: toitoi = 1000",
        "param: tanyao = 1000",
        "param: kyusyu = 700",
        "param: random = 50",
        "param: dora = 100",
        "param: color = 300",
        "param: suji = 100",
        "param: zone = 300",
        "param: deep = 500",
        "param: reach = 700",
        "param: kan = 0",
        "param: pon = 50",
        "param: tie = 200",
        "param: yomi = 500",
        "param: zone = 300",
        "param: tsuyoki = 200",
        "param: chitoi = 0",
        "param: kokushi = 700",
        "param: toitoi = 1000",
        "param: tanyao = 1000",
        "param: yaku = 1000",
        "param: noisy = 0",
        "param: name = abc",
        "",
    };
    std::string text;
    for (const char* line : lines) text += std::string(line) + "\r\n";
    return text;
}

}  // namespace zv::test
