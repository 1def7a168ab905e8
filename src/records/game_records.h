#pragma once
// Game records (".fu" files written by the engines below usr/): finding them
// and the command lines of the programs that show, analyse and replay them.
// The launcher never opens a record itself.
#include <string>
#include <vector>

namespace zv {

// Every file below `folder` whose name ends in ".fu" (case-sensitive), depth
// first in the order the file system lists the entries; each result is the
// folder path + "/" + name. Folders that cannot be read are skipped, and
// symbolic links to folders are not followed (they could loop).
std::vector<std::string> CollectRecordFiles(const std::string& folder);

// The same below the installation directory's usr folder.
std::vector<std::string> CollectUserRecords();

// The program that shows a text file: the ZELVAN_TEXT_VIEWER environment
// variable when set (it may carry its own options), else the desktop's
// "open with the default program" command.
std::string TextViewerProgram();

// `text` in double quotes, escaped so that the Windows command-line split
// gives `text` back whole (quotes and the backslashes before them escaped).
std::string QuoteArgument(const std::string& text);

// Text viewer, one blank, the quoted path.
std::string ViewRecordCommand(const std::string& path);
// "pad.exe", one blank, the quoted path.
std::string AnalyseRecordCommand(const std::string& path);
// "pad.exe" on its own.
std::string AnalyserCommand();
// "plview.exe", one blank, the path as it is (not quoted).
std::string ReplayRecordCommand(const std::string& path);

}  // namespace zv
