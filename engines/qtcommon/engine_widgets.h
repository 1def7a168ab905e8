#pragma once
// Qt helpers of the stand-in engines' windows.
#include <QPixmap>
#include <QString>
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

// The note every stand-in window shows.
QString StandInNote();

}  // namespace zv::engine
