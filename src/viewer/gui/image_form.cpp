#include "viewer/gui/image_form.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "gui_common/qt_text.h"
#include "viewer/drives.h"
#include "viewer/file_browsing.h"
#include "viewer/gui/browse_controls.h"
#include "viewer/gui/error_box.h"
#include "viewer/gui/view_form.h"
#include "viewer/picture_rules.h"

namespace zv::viewer {

namespace {

#ifdef _WIN32
constexpr bool kPlatformHasDrives = true;
#else
constexpr bool kPlatformHasDrives = false;
#endif

QString CurrentFolder() {
    std::error_code ec;
    auto path = std::filesystem::current_path(ec);
    if (ec) return QDir::homePath();
    return QDir::cleanPath(QString::fromStdString(path.string()));
}

QString HomeFolder() {
    const char* home = std::getenv("HOME");
    return home ? QString::fromUtf8(home) : QString();
}

}  // namespace

TImageForm::TImageForm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ImageForm"));
    setWindowTitle(QString::fromUtf8(kBrowserTitle));

    auto* fileLabel = new QLabel(QStringLiteral("ﾌｧｲﾙ"), this);
    fileLabel->setObjectName(QStringLiteral("FileLabel"));
    fileEdit_ = new QLineEdit(this);
    fileEdit_->setObjectName(QStringLiteral("FileEdit"));
    fileEdit_->setText(QString::fromUtf8(kDefaultMask));
    fileLabel->setBuddy(fileEdit_);

    fileListBox1_ = new FileListBox(this);
    fileListBox1_->setObjectName(QStringLiteral("FileListBox1"));
    directoryListBox1_ = new DirectoryListBox(this);
    directoryListBox1_->setObjectName(QStringLiteral("DirectoryListBox1"));
    filterComboBox1_ = new QComboBox(this);
    filterComboBox1_->setObjectName(QStringLiteral("FilterComboBox1"));
    filterComboBox1_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (const auto& filter : ParseFilterList(kFilterList))
        filterComboBox1_->addItem(Q(filter.description), Q(filter.mask));
    driveComboBox1_ = new DriveComboBox(this);
    driveComboBox1_->setObjectName(QStringLiteral("DriveComboBox1"));

    // Holds the loaded picture; never shown.
    image1_ = new QLabel(this);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setVisible(false);

    // The left column is as wide as the longest filter description.
    const int leftWidth = std::max(200, filterComboBox1_->sizeHint().width());
    fileListBox1_->setFixedSize(leftWidth, 200);
    directoryListBox1_->setFixedSize(220, 200);
    filterComboBox1_->setFixedWidth(leftWidth);
    driveComboBox1_->setFixedWidth(220);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    auto* editRow = new QHBoxLayout;
    editRow->setSpacing(8);
    editRow->addWidget(fileLabel);
    editRow->addWidget(fileEdit_, 1);
    grid->addLayout(editRow, 0, 0, 1, 2);
    grid->addWidget(fileListBox1_, 1, 0);
    grid->addWidget(directoryListBox1_, 1, 1);
    grid->addWidget(filterComboBox1_, 2, 0);
    grid->addWidget(driveComboBox1_, 2, 1);
    // Fixed border: the window takes exactly the size its controls need.
    grid->setSizeConstraint(QLayout::SetFixedSize);

    connect(driveComboBox1_, &DriveComboBox::DriveChosen, this, [this](const QString& root) {
        if (!directoryListBox1_->SetDirectory(root, root)) {
            ShowErrorBox(this, QStringLiteral("The drive \"%1\" cannot be opened.").arg(root));
            driveComboBox1_->ShowDriveOf(directoryListBox1_->Directory());
        }
    });
    connect(directoryListBox1_, &DirectoryListBox::DirectoryChanged, this, [this](const QString& folder) {
        fileListBox1_->SetDirectory(folder);
        driveComboBox1_->ShowDriveOf(folder);
    });
    connect(filterComboBox1_, &QComboBox::currentIndexChanged, this, [this] { FilterComboBox1Change(); });
    connect(fileListBox1_, &FileListBox::Click, this, [this] { FileListBox1Click(); });
    connect(fileListBox1_, &FileListBox::MaskChanged, fileEdit_, &QLineEdit::setText);
    fileEdit_->installEventFilter(this);

    // Start on the current drive and folder.
    OpenFolder(CurrentFolder());
    directoryListBox1_->setFocus();

    viewForm_ = std::make_unique<TViewForm>();
    captionPrefix_ = Q(zv::viewer::CaptionPrefix(kBrowserTitle));
}

TImageForm::~TImageForm() = default;

void TImageForm::OpenFolder(const QString& folder, const QString& root) {
    QString drive = root;
    if (drive.isEmpty()) {
        auto index = DriveOfFolder(driveComboBox1_->Roots(), S(folder));
        if (index) drive = Q(driveComboBox1_->Roots()[*index]);
    }
    const QString before = directoryListBox1_->Directory();
    // Opening the folder already shown reads it again.
    if (directoryListBox1_->SetDirectory(folder, drive) && directoryListBox1_->Directory() == before)
        fileListBox1_->Update();
}

void TImageForm::Start(const std::vector<std::string>& args) {
    StartRequest request = StartFolderFromArgs(args, kPlatformHasDrives);
    if (!request.folder) return;
    QString wanted = Q(ResolvePath(S(CurrentFolder()), *request.folder, S(HomeFolder())));
    QFileInfo info(wanted);
    if (!info.isDir() || !info.isExecutable()) {
        ShowErrorBox(this, QStringLiteral("The folder \"%1\" does not exist or cannot be opened.\n"
                                          "Showing \"%2\" instead.")
                               .arg(Q(*request.folder), directoryListBox1_->Directory()));
        return;
    }
    OpenFolder(wanted);
}

void TImageForm::FilterComboBox1Change() {
    fileListBox1_->SetMask(filterComboBox1_->currentData().toString());
}

void TImageForm::FileListBox1Click() {
    QString path = fileListBox1_->FileName();
    if (path.isEmpty()) return;
    fileEdit_->setText(QFileInfo(path).fileName());

    PictureKind kind = KindOfFile(S(path));
    if (kind != PictureKind::Other) {
        LoadResult result = LoadPictureFile(fileListBox1_->FilePath(), kind);
        if (!result.picture) {
            // The click stops here; both windows keep what they showed.
            ShowErrorBox(this, result.error);
            return;
        }
        image1Picture_ = *result.picture;
        image1_->setPixmap(QPixmap::fromImage(image1Picture_.image));
        setWindowTitle(Q(PictureCaption(S(captionPrefix_), S(path), kind, image1Picture_.width(),
                                        image1Picture_.height())));
        viewForm_->SetPicture(image1Picture_.image);
        if (kind == PictureKind::Bitmap) viewForm_->setWindowTitle(windowTitle());
    }
    // Any click, also on another kind of file, shows the picture loaded last.
    const int width = image1Picture_.width(), height = image1Picture_.height();
    viewForm_->SetScrollRange(width, height);
    viewForm_->SetClientSize(width, height);
    viewForm_->setWindowTitle(windowTitle());
    viewForm_->ShowNormal();
}

bool TImageForm::FileEditKeyPress(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) return false;
    auto isDirectory = [](const std::string& path) {
        QFileInfo info(Q(path));
        return info.isDir() && info.isExecutable();
    };
    FilePathRequest request =
        ApplyFilePath(S(directoryListBox1_->Directory()), S(fileEdit_->text()), isDirectory);
    if (request.missing) {
        ShowErrorBox(this, QStringLiteral("The folder \"%1\" does not exist.").arg(Q(*request.missing)));
        return true;
    }
    if (request.folder) OpenFolder(Q(*request.folder));
    if (request.mask) fileListBox1_->SetMask(Q(*request.mask));
    if (request.selectFile && !fileListBox1_->SelectFile(Q(*request.selectFile)))
        ShowErrorBox(this, QStringLiteral("The file \"%1\" is not in the list.").arg(Q(*request.selectFile)));
    return true;
}

bool TImageForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == fileEdit_ && event->type() == QEvent::KeyPress)
        return FileEditKeyPress(static_cast<QKeyEvent*>(event));
    return QWidget::eventFilter(watched, event);
}

void TImageForm::closeEvent(QCloseEvent* event) {
    viewForm_->hide();
    QWidget::closeEvent(event);
    emit Closed();
}

}  // namespace zv::viewer
