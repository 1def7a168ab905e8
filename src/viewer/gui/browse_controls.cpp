#include "viewer/gui/browse_controls.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "config/file_io.h"
#include "gui_common/qt_text.h"
#include "viewer/drives.h"
#include "viewer/file_browsing.h"

namespace zv::viewer {

namespace fs = std::filesystem;

namespace {

bool LessIgnoringCase(const QString& a, const QString& b) {
    int order = QString::compare(a, b, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a < b;
}

QString Clean(const QString& folder) {
    QString path = QDir::cleanPath(folder);
    return path.isEmpty() ? QStringLiteral("/") : path;
}

// Folders and files whose names begin with a dot are hidden on this system.
bool Hidden(const QString& name) { return name.startsWith(QLatin1Char('.')); }

}  // namespace

// ------------------------------------------------------------ drives

DriveComboBox::DriveComboBox(QWidget* parent) : QComboBox(parent) {
    const char* home = std::getenv("HOME");
    SetRoots(DriveRoots(ReadWholeFile("/proc/mounts").value_or(""), home ? home : ""));
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(roots_.size())) emit DriveChosen(Q(roots_[index]));
    });
}

void DriveComboBox::SetRoots(const std::vector<std::string>& roots) {
    roots_ = roots;
    QSignalBlocker blocker(this);
    clear();
    const QIcon icon = style()->standardIcon(QStyle::SP_DriveHDIcon);
    for (const auto& root : roots_) addItem(icon, Q(root));
}

QString DriveComboBox::Drive() const {
    int index = currentIndex();
    if (index < 0 || index >= static_cast<int>(roots_.size())) return {};
    return Q(roots_[index]);
}

void DriveComboBox::ShowDriveOf(const QString& folder) {
    auto index = DriveOfFolder(roots_, S(folder));
    QSignalBlocker blocker(this);
    setCurrentIndex(index ? static_cast<int>(*index) : -1);
}

// ------------------------------------------------------------ folders

DirectoryListBox::DirectoryListBox(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setIndentation(10);
    setColumnCount(1);
    setUniformRowHeights(true);
    setExpandsOnDoubleClick(false);
    // Double click or Enter opens a folder, as in a folder list.
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (item) SetDirectory(item->data(0, Qt::UserRole).toString(), root_);
    });
}

bool DirectoryListBox::SetDirectory(const QString& folder, const QString& root) {
    QString path = Clean(folder);
    QFileInfo info(path);
    if (!info.isAbsolute() || !info.isDir() || !info.isExecutable()) return false;
    QString wantedRoot = root.isEmpty() ? root_ : Clean(root);
    root_ = FolderIsBelow(S(path), S(wantedRoot)) ? wantedRoot : QStringLiteral("/");
    bool changed = path != directory_;
    directory_ = path;
    Rebuild();
    if (changed) emit DirectoryChanged(directory_);
    return true;
}

void DirectoryListBox::Rebuild() {
    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);

    // The chain of open folders from the root down to the current one.
    QStringList chain;
    for (QString p = directory_;; p = QFileInfo(p).path()) {
        chain.prepend(p);
        if (p == root_ || p == QStringLiteral("/")) break;
    }
    QTreeWidgetItem* parent = nullptr;
    for (const QString& p : chain) {
        QString label = p == root_ ? p : QFileInfo(p).fileName();
        auto* item = parent ? new QTreeWidgetItem(parent, QStringList{label})
                            : new QTreeWidgetItem(this, QStringList{label});
        item->setIcon(0, open);
        item->setData(0, Qt::UserRole, p);
        parent = item;
    }
    QTreeWidgetItem* current = parent;

    // The current folder's subfolders, closed.
    QStringList names;
    std::error_code ec;
    for (fs::directory_iterator it(S(directory_), fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_directory(typeError)) continue;
        QString name = QFile::decodeName(QByteArray::fromStdString(it->path().filename().string()));
        if (!Hidden(name)) names << name;
    }
    std::sort(names.begin(), names.end(), LessIgnoringCase);
    QString base = directory_ == QStringLiteral("/") ? QString() : directory_;
    for (const QString& name : names) {
        auto* item = new QTreeWidgetItem(current, QStringList{name});
        item->setIcon(0, closed);
        item->setData(0, Qt::UserRole, base + QLatin1Char('/') + name);
    }
    expandAll();
    setCurrentItem(current);
    scrollToItem(current);
}

QStringList DirectoryListBox::ShownFolders() const {
    QStringList folders;
    for (QTreeWidgetItemIterator it(const_cast<DirectoryListBox*>(this)); *it; ++it)
        folders << (*it)->data(0, Qt::UserRole).toString();
    return folders;
}

// ------------------------------------------------------------ files

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent), mask_(QString::fromUtf8(kDefaultMask)) {
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem*) { emit Click(); });
}

void FileListBox::SetDirectory(const QString& folder) {
    directory_ = Clean(folder);
    Update();
}

void FileListBox::SetMask(const QString& mask) {
    mask_ = mask;
    Update();
    emit MaskChanged(mask_);
}

void FileListBox::Update() {
    clear();
    if (directory_.isEmpty()) return;
    // Each file's name as shown, and as its bytes on disk: a name that is
    // not valid UTF-8 is shown with replacement characters but opened by
    // its own bytes.
    std::vector<std::pair<QString, QByteArray>> files;
    std::error_code ec;
    const std::string mask = S(mask_);
    for (fs::directory_iterator it(S(directory_), fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError)) continue;
        QByteArray bytes = QByteArray::fromStdString(it->path().filename().native());
        QString name = QFile::decodeName(bytes);
        if (!Hidden(name) && MatchesMask(S(name), mask)) files.emplace_back(name, bytes);
    }
    std::sort(files.begin(), files.end(),
              [](const auto& a, const auto& b) { return LessIgnoringCase(a.first, b.first); });
    for (const auto& [name, bytes] : files) {
        auto* item = new QListWidgetItem(name, this);
        item->setData(Qt::UserRole, bytes);
    }
    setCurrentRow(-1);
}

QString FileListBox::FileName() const {
    QListWidgetItem* item = currentItem();
    if (!item || !item->isSelected()) return {};
    QString base = directory_ == QStringLiteral("/") ? QString() : directory_;
    return base + QLatin1Char('/') + item->text();
}

std::filesystem::path FileListBox::FilePath() const {
    QListWidgetItem* item = currentItem();
    if (!item || !item->isSelected()) return {};
    return std::filesystem::path(QFile::encodeName(directory_).toStdString()) /
           item->data(Qt::UserRole).toByteArray().toStdString();
}

bool FileListBox::SelectFile(const QString& name) {
    auto found = findItems(name, Qt::MatchExactly);
    if (found.isEmpty()) return false;
    setCurrentItem(found.first());
    return true;
}

void FileListBox::keyPressEvent(QKeyEvent* event) {
    int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before && currentRow() >= 0) emit Click();
}

}  // namespace zv::viewer
