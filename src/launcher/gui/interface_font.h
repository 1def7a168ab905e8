#pragma once
// The launcher's texts are Japanese, so its windows use the font the system
// prefers for Japanese sans-serif text rather than the desktop's general
// font (which usually has no Japanese letters, so that every text would go
// through the font fallback).
//
// Looking the font up also loads the font configuration, the slowest part of
// showing the first text; it runs on a thread of its own while the
// application object is built.
#include <QString>
#include <future>

namespace zv {

// Starts the look-up; the answer is the family name, or empty when the
// system has no font for Japanese.
std::future<QString> FindJapaneseInterfaceFont();

// Makes `family` the application's font family, keeping the size; nothing
// when it is empty. Call before the first window is created.
void UseInterfaceFont(const QString& family);

}  // namespace zv
