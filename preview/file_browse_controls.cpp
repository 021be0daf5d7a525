#include "preview/file_browse_controls.h"

#include "platform/handler_guard.h"
#include "platform/mounted_volumes.h"
#include "platform/paths.h"
#include "preview/file_mask.h"

#include <QDir>
#include <QFile>
#include <QStorageInfo>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kLevelRole = Qt::UserRole + 1;
constexpr int kIndentPixels = 8;

void PaintNavyAndYellow(QWidget *control)
{
    QPalette colours = control->palette();
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Button, QPalette::Window})
        colours.setColor(role, QColor(0, 0, 128));
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText, QPalette::Highlight})
        colours.setColor(role, Qt::yellow);
    colours.setColor(QPalette::HighlightedText, QColor(0, 0, 128));
    control->setPalette(colours);
}

QListWidgetItem *PathItem(const QIcon &icon, const QByteArray &name, const QByteArray &path, int level)
{
    auto *item = new QListWidgetItem(icon, QFile::decodeName(name));
    item->setData(kPathRole, path);
    item->setData(kLevelRole, level);
    return item;
}

// Shifts each folder row right by its depth below the root.
class IndentDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem shifted(option);
        shifted.rect.setLeft(option.rect.left() + index.data(kLevelRole).toInt() * kIndentPixels);
        QStyledItemDelegate::paint(painter, shifted, index);
    }
};

} // namespace

DriveComboBox::DriveComboBox(QWidget *parent) : QComboBox(parent)
{
    PaintNavyAndYellow(this);
    const QStringList roots = MountedVolumeRoots();
    addItems(roots);
    setCurrentIndex(std::max<qsizetype>(0, roots.indexOf(QStorageInfo(QDir::currentPath()).rootPath())));
    ConnectHandler(this, &QComboBox::currentIndexChanged, this, &DriveComboBox::changed);
}

DirectoryListBox::DirectoryListBox(QWidget *parent) : QListWidget(parent)
{
    PaintNavyAndYellow(this);
    setItemDelegate(new IndentDelegate(this));
    // A folder that cannot be entered (gone since it was listed, or refused)
    // raises here: the error box tells it, and the list stays as it was.
    ConnectHandler(this, &QListWidget::itemActivated, this,
                   [this](QListWidgetItem *item) { setDirectory(item->data(kPathRole).toByteArray()); });
}

bool DirectoryListBox::setDirectory(const QByteArray &folder)
{
    if (folder.isEmpty())
        return false;
    listing_.start(
        folder, [this](const FolderContents &contents) { showContents(contents); }, [this] { emit listingFailed(); });
    return true;
}

void DirectoryListBox::hideEvent(QHideEvent *event)
{
    RunHandler([&] {
        listing_.cancel();
        QListWidget::hideEvent(event);
    });
}

void DirectoryListBox::showContents(const FolderContents &contents)
{
    const bool moved = contents.folder != contents_.folder;
    contents_ = contents;
    if (moved) {
        clear();
        const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
        addItem(PathItem(open, "/", "/", 0));
        QByteArray path;
        int level = 0;
        for (const QByteArray &part : contents.folder.split('/')) {
            if (part.isEmpty())
                continue;
            path += '/' + part;
            addItem(PathItem(open, part, path, ++level));
        }
        setCurrentRow(count() - 1);
        const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
        for (const QByteArray &name : contents.subFolders)
            addItem(PathItem(closed, name, path + '/' + name, level + 1));
        emit changed();
    }
    emit listed();
}

QByteArray DirectoryListBox::pathAt(int row) const
{
    const QListWidgetItem *entry = item(row);
    return entry ? entry->data(kPathRole).toByteArray() : QByteArray();
}

FileListBox::FileListBox(QWidget *parent) : QListWidget(parent)
{
    PaintNavyAndYellow(this);
    ConnectHandler(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!settingFromCode_ && row >= 0)
            emit clicked();
    });
}

void FileListBox::setFiles(const QByteArray &folder, const QList<QByteArray> &files)
{
    if (folder == directory_ && files == files_)
        return;
    directory_ = folder;
    files_ = files;
    fill();
}

void FileListBox::setMask(const QString &mask)
{
    if (mask == mask_)
        return;
    mask_ = mask;
    fill();
}

void FileListBox::fill()
{
    settingFromCode_ = true;
    clear();
    for (const QByteArray &name : files_) {
        if (!MatchesMask(mask_, QFile::decodeName(name)))
            continue;
        auto *entry = new QListWidgetItem(QFile::decodeName(name), this);
        entry->setData(kPathRole, name);
    }
    settingFromCode_ = false;
}

QByteArray FileListBox::fileName() const
{
    const QListWidgetItem *entry = currentItem();
    if (!entry)
        return {};
    return WithFinalSlash(directory_) + entry->data(kPathRole).toByteArray();
}

void FileListBox::setItemIndex(int row)
{
    settingFromCode_ = true;
    setCurrentRow(row);
    settingFromCode_ = false;
}

FilterComboBox::FilterComboBox(QWidget *parent) : QComboBox(parent)
{
    PaintNavyAndYellow(this);
    setFilter(QStringLiteral("All files (*.*)|*.*"));
    ConnectHandler(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!rebuilding_)
            emit maskChanged(mask());
    });
}

void FilterComboBox::setFilter(const QString &filter)
{
    if (!filter_.isNull() && filter.compare(filter_, Qt::CaseInsensitive) == 0)
        return;
    filter_ = filter;
    rebuilding_ = true;
    clear();
    for (const FilterEntry &entry : ParseFilterText(filter))
        addItem(entry.description, entry.mask);
    setCurrentIndex(0);
    rebuilding_ = false;
    emit maskChanged(mask());
}
