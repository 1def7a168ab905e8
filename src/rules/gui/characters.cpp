#include "rules/gui/characters.h"

#include <QListWidget>

#include "config/launcher_settings.h"
#include "gui_common/qt_text.h"
#include "platform/platform.h"

namespace zv {
namespace {

constexpr int kFaceSize = 48;
constexpr int kSmallFaceSize = 16;
// Where an item keeps its face while the plain list hides it.
constexpr int kFaceRole = Qt::UserRole + 1;

}  // namespace

QPixmap CharacterFace(const std::string& name) {
    return QPixmap(Q(CharacterFacePath(CurrentPlatform().InstallDir(), name, Settings().hicolorchar != 0)));
}

QPixmap CharacterPicture(const std::string& name) { return CharacterFace(name); }

std::string CharacterDescription(const std::string& name) {
    return CharacterDescriptionText(CurrentPlatform().InstallDir(), name);
}

CharacterListKind CharacterListStyle() { return CharacterListKindOf(Settings().liststyle); }

void FillCharacterList(QWidget* /*owner*/, QListWidget* list) {
    // Qt keeps its own colour tables, so no palette is realised for the owner.
    const bool faces = Settings().readface == 1;
    list->setIconSize(QSize(kFaceSize, kFaceSize));
    for (const std::string& name : ListCharacterNames(CurrentPlatform().InstallDir())) {
        auto* item = new QListWidgetItem(Q(name), list);
        if (!faces) continue;
        QPixmap face = CharacterFace(name);
        if (!face.isNull())
            face = face.scaled(kFaceSize, kFaceSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        item->setData(kFaceRole, QIcon(face));
        item->setIcon(QIcon(face));
    }
}

void ApplyCharacterListStyle(QListWidget* list, CharacterListKind kind) {
    list->setMovement(QListView::Static);
    list->setResizeMode(QListView::Adjust);
    list->setWrapping(true);
    list->setUniformItemSizes(true);
    switch (kind) {
        case CharacterListKind::LargeIcons:
            list->setViewMode(QListView::IconMode);
            list->setFlow(QListView::LeftToRight);
            list->setIconSize(QSize(kFaceSize, kFaceSize));
            list->setGridSize(QSize(96, kFaceSize + 2 * list->fontMetrics().height() + 8));
            list->setWordWrap(true);
            break;
        case CharacterListKind::SmallIcons:
            list->setViewMode(QListView::ListMode);
            list->setFlow(QListView::LeftToRight);
            list->setIconSize(QSize(kSmallFaceSize, kSmallFaceSize));
            list->setGridSize(QSize(120, qMax(kSmallFaceSize, list->fontMetrics().height()) + 6));
            list->setWordWrap(false);
            break;
        case CharacterListKind::PlainList:
            list->setViewMode(QListView::ListMode);
            list->setFlow(QListView::TopToBottom);
            list->setGridSize(QSize());
            list->setWordWrap(false);
            break;
    }
    // The plain list shows names only; the icon views show the faces again.
    for (int i = 0; i < list->count(); ++i) {
        QListWidgetItem* item = list->item(i);
        QVariant face = item->data(kFaceRole);
        if (!face.isValid()) continue;
        item->setIcon(kind == CharacterListKind::PlainList ? QIcon() : face.value<QIcon>());
    }
}

}  // namespace zv
