#pragma once
// The browser window: choose a drive, a folder and a picture file; a click
// on a file loads it and shows it in the viewer window.
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "viewer/gui/picture_loader.h"

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;

namespace zv::viewer {

class DirectoryListBox;
class DriveComboBox;
class FileListBox;
class TViewForm;

class TImageForm : public QWidget {
    Q_OBJECT
public:
    // Creates the browser, then the viewer (hidden), and fixes the caption
    // prefix. The browser starts on the current folder.
    explicit TImageForm(QWidget* parent = nullptr);
    ~TImageForm() override;

    // Acts on the command line (without the program name): a first argument
    // names the start folder. A folder that cannot be opened is reported and
    // the browser stays on the current folder.
    void Start(const std::vector<std::string>& args);

    // Handlers.
    void FileListBox1Click();
    // Enter applies the edit's text to the file list; true when the key was
    // taken.
    bool FileEditKeyPress(QKeyEvent* event);
    void FilterComboBox1Change();

    TViewForm* ViewForm() const { return viewForm_.get(); }
    QString CaptionPrefix() const { return captionPrefix_; }
    // The picture last loaded into the hidden picture holder.
    const LoadedPicture& Image1Picture() const { return image1Picture_; }

signals:
    void Closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void OpenFolder(const QString& folder, const QString& root = QString());

    DriveComboBox* driveComboBox1_;
    DirectoryListBox* directoryListBox1_;
    QComboBox* filterComboBox1_;
    FileListBox* fileListBox1_;
    QLineEdit* fileEdit_;
    QLabel* image1_;
    LoadedPicture image1Picture_;
    QString captionPrefix_;
    std::unique_ptr<TViewForm> viewForm_;
};

}  // namespace zv::viewer
