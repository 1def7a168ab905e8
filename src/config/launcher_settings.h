#pragma once
// The launcher's settings record: 40 stored keys, read once from
// usr/<user>/launch.nuc when the main window is created and written once when
// it closes, the power-up switch (stored only while it is on), plus run-time
// fields that are never stored.
#include <cstdint>
#include <string>
#include <vector>

#include "config/nuclear.h"

namespace zv {

class MessageDialogs;

struct LauncherSettings {
    // Stored keys, in file order.
    std::string protocol = "TCP/IP";
    std::string hostname = "localhost";
    std::string port = "4112";
    std::string nodenum = "000000000000";
    std::string socknum = "2FFF";
    std::int32_t servertonpu = 1;
    std::int32_t serverhaihu = 1;
    std::int32_t clienthaihu = 1;
    std::int32_t zelvan1tonpu = 1;
    std::int32_t zelvan1haihu = 1;
    std::int32_t launchpage = 0;
    std::int32_t execdlg_server = 1;
    std::int32_t execdlg_auto = 1;
    std::int32_t execdlg_client = 1;
    std::int32_t execdlg_zelvan1 = 1;
    std::int32_t launchleft = 50;
    std::int32_t launchtop = 50;
    std::string bgm = "jan#7.mid";
    std::int32_t playbgm = 1;
    std::string liststyle = "normal";
    std::int32_t autononterm = 1;
    std::int32_t clienttalk = 1;
    std::string player1 = "_todo";
    std::string player2 = "_min";
    std::string player3 = "_wizard";
    std::string auto1 = "auto";
    std::string auto2 = "auto";
    std::string auto3 = "auto";
    std::string auto4 = "auto";
    std::int32_t readhosts = 1;
    std::int32_t readface = 1;
    std::int32_t real1 = 0;
    std::int32_t real4 = 0;
    std::string kanji = "euc";
    std::string zv1form = "small";
    std::string zv4form = "small";
    std::int32_t count = 0;
    std::int32_t hicolorchar = 1;
    const NucNode* charassoc = nullptr;  // list of ("character" "program") pairs
    std::int32_t resident = 0;

    // The power-up edition's controls and menus (key "powerup_edition").
    // Written only while on, so that launch.nuc stays as before until the
    // switch is used; readers that do not know the key skip it.
    std::int32_t powerup_edition = 0;

    // Run-time fields.
    std::string UserOverride;  // -u name
    std::string UserName;
    std::string UserDir;           // <install>usr/<UserName>, no trailing separator
    std::string LayoutOption;      // " -T " + layout word
    bool ConfirmCommands = false;  // -d
    bool DisplayHiColor = true;
};

// The process-wide record.
LauncherSettings& Settings();

// The start count after one more start: one more, except at the largest
// value the key holds, where it stays (instead of wrapping to a negative
// number).
std::int32_t NextStartCount(std::int32_t count);

// Path of launch.nuc in the user directory.
std::string LaunchNucPath(const LauncherSettings& settings);

// Fills the record from launch.nuc; a missing or unreadable file keeps the
// defaults, malformed content keeps what was read before it.
void ReadLauncherSettings(LauncherSettings& settings);

// Applies the forms of a launch.nuc text (UTF-8) to the record.
void ApplyLaunchNuc(LauncherSettings& settings, const std::string& text);

// The lines of launch.nuc (UTF-8, without line ends): the 40 keys, then the
// power-up switch when it is on.
std::vector<std::string> LaunchNucLines(const LauncherSettings& settings);

// Writes launch.nuc atomically; failures are reported through `dialogs`.
void WriteLauncherSettings(const LauncherSettings& settings, MessageDialogs& dialogs);

// True when a text setting can be stored and read back unchanged: the nuc
// format has no escapes, so a double quote would end the value early.
// Dialogs refuse input that fails this check.
bool IsStorableText(const std::string& text);

// What the writer stores for a text: the part before any double quote, which
// is what a reader would take from it anyway, so other keys stay intact.
std::string StorableText(const std::string& text);
// Appends StorableText(text) to `out` (writers build long texts this way).
void AppendStorableText(std::string& out, const std::string& text);

}  // namespace zv
