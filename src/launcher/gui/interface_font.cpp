#include "launcher/gui/interface_font.h"

#include <fontconfig/fontconfig.h>

#include <QApplication>
#include <QFont>

namespace zv {
namespace {

QString JapaneseSansFamily() {
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:lang=ja"));
    if (pattern == nullptr) return {};
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return {};

    // The best match may still lack Japanese when no such font is installed.
    QString family;
    FcLangSet* languages = nullptr;
    FcChar8* name = nullptr;
    if (FcPatternGetLangSet(match, FC_LANG, 0, &languages) == FcResultMatch &&
        FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>("ja")) == FcLangEqual &&
        FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch)
        family = QString::fromUtf8(reinterpret_cast<const char*>(name));
    FcPatternDestroy(match);
    return family;
}

}  // namespace

std::future<QString> FindJapaneseInterfaceFont() {
    return std::async(std::launch::async, JapaneseSansFamily);
}

void UseInterfaceFont(const QString& family) {
    if (family.isEmpty()) return;
    QFont font = QApplication::font();
    font.setFamilies({family});
    QApplication::setFont(font);
}

}  // namespace zv
