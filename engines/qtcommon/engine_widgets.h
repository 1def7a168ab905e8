#pragma once
// Qt helpers of the engines' windows.
#include <QPixmap>
#include <QString>
#include <cstdio>
#include <string>
#include <vector>

class QWidget;

namespace zv::engine {

inline QString Q(const std::string& text) { return QString::fromStdString(text); }

// The face picture at `path`, scaled to size x size; a drawn placeholder
// (a coloured square with the name's first letter) when there is none.
QPixmap FacePixmap(const std::string& path, const std::string& name, int size);

// Lines joined with '\n'.
QString JoinLines(const std::vector<std::string>& lines);

// Shows a notice ("麻雀  お知らせ") over `parent` without blocking it: the
// game goes on while the player reads it.
void ShowNotice(QWidget* parent, const QString& text);

// Asks a question over `parent` with the buttons "はい" and "いいえ" (the
// default); true only for "はい".
bool AskYesNo(QWidget* parent, const QString& title, const QString& question);

// The note of a window that shows only a game's result: the game is played
// in full, the player's seat by the computer player of the player's own
// character, while the window has no table to show.
QString ComputerSeatNote();

// Prints each warning as "<program>: <warning>" on standard error.
void PrintWarnings(const char* program, const std::vector<std::string>& warnings);

// Reports a failed start on standard error (with the usage when the options
// were wrong). Started for a window (no ZV_ENGINE_AUTOPLAY), the program has
// no console when the launcher started it, so the error is shown in a window
// with `title` too. Returns the exit code, 2.
int ReportStartFailure(int argc, char** argv, const char* program, const char* title,
                       const std::string& error, void (*printUsage)(std::FILE*), bool badOptions,
                       int autoplay);

}  // namespace zv::engine
