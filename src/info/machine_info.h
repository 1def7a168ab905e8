#pragma once
// The figures of the machine-information and credits dialogs.
#include <cstdint>
#include <string>

namespace zv {

struct MachineInfo {
    std::string User;
    std::string Comp;  // empty: the dialog keeps its own text
    std::string OS;
    std::string OSversion;
    std::string InstallFolder;
    std::string disp;
};

// Gathers the figures at program start. `bitsPerPixel` is
// the display's bits per pixel times its colour planes.
MachineInfo GatherMachineInfo(int bitsPerPixel);

// "Mono", "16 色", "256 色", "65535 色", "True Color" or "不明".
std::string ColorDepthName(int bitsPerPixel);

// Total physical memory in KB with thousands separators: "65,536 KB".
std::string FormatPhysicalMemory(std::uint64_t bytes);

// The memory load: "42 %".
std::string FormatMemoryLoad(int percent);

}  // namespace zv
