#pragma once
// The browser's three linked file controls: the drive chooser, the folder
// tree of the chosen drive and the list of the folder's matching files.
// Paths are absolute, use '/', and carry no trailing separator (except "/").
#include <QComboBox>
#include <QListWidget>
#include <QTreeWidget>
#include <filesystem>
#include <string>
#include <vector>

namespace zv::viewer {

class DriveComboBox : public QComboBox {
    Q_OBJECT
public:
    // Lists the drives of this machine (see DriveRoots).
    explicit DriveComboBox(QWidget* parent = nullptr);

    void SetRoots(const std::vector<std::string>& roots);
    const std::vector<std::string>& Roots() const { return roots_; }
    QString Drive() const;
    // Selects the entry holding the folder, without announcing a change.
    void ShowDriveOf(const QString& folder);

signals:
    // The user chose another drive.
    void DriveChosen(const QString& root);

private:
    std::vector<std::string> roots_;
};

class DirectoryListBox : public QTreeWidget {
    Q_OBJECT
public:
    explicit DirectoryListBox(QWidget* parent = nullptr);

    // Opens the folder, shown below `root` when it lies there (else below
    // "/"). False, with nothing changed, when it is not a readable folder.
    bool SetDirectory(const QString& folder, const QString& root = QString());
    QString Directory() const { return directory_; }
    QString Root() const { return root_; }
    // The folders shown, in order, for tests and keyboard users.
    QStringList ShownFolders() const;

signals:
    void DirectoryChanged(const QString& folder);

protected:
    // The open folders are always expanded; no expand arrows are drawn.
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}

private:
    void Rebuild();
    QString directory_;
    QString root_ = QStringLiteral("/");
};

class FileListBox : public QListWidget {
    Q_OBJECT
public:
    explicit FileListBox(QWidget* parent = nullptr);

    void SetDirectory(const QString& folder);
    void SetMask(const QString& mask);
    QString Directory() const { return directory_; }
    QString Mask() const { return mask_; }
    // Reads the folder again.
    void Update();
    // The selected file with its folder, or empty: as shown, and as the
    // bytes that open it (which differ when the name is not valid UTF-8).
    QString FileName() const;
    std::filesystem::path FilePath() const;
    // Selects the named file; false when it is not in the list.
    bool SelectFile(const QString& name);

signals:
    // A file was clicked, or chosen with the keyboard.
    void Click();
    void MaskChanged(const QString& mask);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString directory_;
    QString mask_;
};

}  // namespace zv::viewer
