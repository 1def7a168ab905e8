#pragma once
// Shared set-up of the viewer's window tests: a temporary picture folder,
// a recorder in place of the error box, and a browser started in a folder.
#include <gtest/gtest.h>
#include <QBuffer>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <memory>
#include <string>

#include "support/temp_dir.h"
#include "viewer/gui/error_box.h"
#include "viewer/gui/image_form.h"
#include "viewer/gui/view_form.h"

namespace zv::viewer::test {

// Makes `folder` the current folder for the object's lifetime.
class CurrentFolderScope {
public:
    explicit CurrentFolderScope(const std::string& folder) : saved_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~CurrentFolderScope() { std::filesystem::current_path(saved_); }

private:
    std::filesystem::path saved_;
};

// Collects the texts of every error box instead of showing them.
class ErrorRecorder {
public:
    ErrorRecorder() {
        SetErrorBoxHook([this](QWidget*, const QString& text) { texts << text; });
    }
    ~ErrorRecorder() { SetErrorBoxHook({}); }
    QStringList texts;
};

inline QString SamplePath(const char* name) {
    return QString::fromUtf8(ZV_SOURCE_DIR) + QStringLiteral("data/image/") + QString::fromUtf8(name);
}

inline void CopySample(const zv::test::TempDir& dir, const char* name, const std::string& as) {
    std::filesystem::copy_file(SamplePath(name).toStdString(), dir.Path(as));
}

inline void SaveBitmap(const zv::test::TempDir& dir, const std::string& name, int width, int height,
                       QColor color = Qt::darkCyan) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    ASSERT_TRUE(image.save(QString::fromStdString(dir.Path(name)), "BMP"));
}

// The bytes of a bitmap file of one colour, for names a QString cannot hold.
inline std::string BitmapBytes(int width, int height, QColor color = Qt::darkCyan) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "BMP"));
    return bytes.toStdString();
}

template <typename T>
T* Find(const QWidget& parent, const char* name) {
    T* found = parent.findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

inline QStringList ListedFiles(const TImageForm& form) {
    QStringList names;
    auto* list = form.findChild<QListWidget*>(QStringLiteral("FileListBox1"));
    for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
    return names;
}

// Selects the file in the list and acts as if the user clicked it.
inline void ClickFile(TImageForm& form, const QString& name) {
    auto* list = form.findChild<QListWidget*>(QStringLiteral("FileListBox1"));
    auto found = list->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString() << " is not listed";
    list->setCurrentItem(found.first());
    emit list->itemClicked(found.first());
}

inline void ChooseFilter(TImageForm& form, int index) {
    Find<QComboBox>(form, "FilterComboBox1")->setCurrentIndex(index);
}

}  // namespace zv::viewer::test
