#pragma once
// The browser's file choosing: the filter list, file masks, the text typed
// into the file name box, and the start folder taken from the command line.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zv::viewer {

// The filter list offered by the file-type chooser, as "description|pattern"
// pairs joined by '|'.
inline constexpr const char* kFilterList =
    "Image Files (*.bmp, *.ico, *.wmf, *.emf)|*.bmp;*.ico;*.wmf;*.emf|Bitmap Files (*.bmp)|*.bmp|"
    "Icons (*.ico)|*.ico|Metafiles (*.wmf, *.emf)|*.wmf;*.emf|All files (*.*)|*.*";
inline constexpr const char* kDefaultMask = "*.bmp;*.ico;*.wmf;*.emf";

struct Filter {
    std::string description;
    std::string mask;
};

// Splits a filter list into its pairs; a trailing description without a
// pattern is dropped.
std::vector<Filter> ParseFilterList(const std::string& list);

// The patterns of a mask separated by ';' (blanks around them ignored,
// empty ones dropped).
std::vector<std::string> SplitMask(const std::string& mask);

// True when the name matches one of the mask's patterns. '*' stands for any
// run of characters, '?' for one; letters match regardless of case, and
// "*.*" matches every name, also one without a dot.
bool MatchesMask(const std::string& name, const std::string& mask);

bool HasWildcards(const std::string& text);

// What the text typed into the file name box asks for.
struct FilePathRequest {
    std::optional<std::string> folder;      // change to this folder
    std::optional<std::string> mask;        // use this mask
    std::optional<std::string> selectFile;  // select this file of the list
    std::optional<std::string> missing;     // a folder part that does not exist
};

// Interprets the text relative to the current folder: a folder part (before
// the last '/', or the whole text when it names a folder) changes the folder;
// a last part with wildcards becomes the mask; a last part naming a file
// selects it. `isDirectory` tells whether a path is an existing folder.
FilePathRequest ApplyFilePath(const std::string& currentFolder, const std::string& text,
                              const std::function<bool(const std::string&)>& isDirectory);

// Joins a folder and a relative path, resolving "." and ".." components; an
// absolute path is only normalised. A leading "~" stands for `home`.
std::string ResolvePath(const std::string& folder, const std::string& path, const std::string& home = "");

// The start folder named on the command line, if any. Where the platform has
// drive letters only an argument longer than one character counts, and a
// second character ':' also names the drive to select first.
struct StartRequest {
    std::optional<char> drive;
    std::optional<std::string> folder;
};
StartRequest StartFolderFromArgs(const std::vector<std::string>& args, bool platformHasDrives);

}  // namespace zv::viewer
