#pragma once
#include "platform/folder_reader_background.h"

#include <QByteArray>
#include <QComboBox>
#include <QListWidget>

// The four controls with which the picture picker browses the disks. Folder
// and file paths are kept as the system's own bytes, so that any name the
// folder gives can be moved; only the display decodes them. Hidden entries
// (names beginning with ".") are not listed, and "." and ".." never. Folders
// are listed off the window's thread, so that a slow or hung share never
// stops the window.

// The drive box: the mounted volumes by their root folders.
class DriveComboBox : public QComboBox
{
    Q_OBJECT
public:
    // Lists the volumes and shows the one holding the working folder.
    explicit DriveComboBox(QWidget *parent = nullptr);
    // The root folder of the volume shown.
    QString drive() const { return currentText(); }

signals:
    // The user chose another volume.
    void changed();
};

// The folder list: the folder's path from the root, one row per folder, then
// its sub-folders; a double click (or Enter) on a row enters that folder.
class DirectoryListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit DirectoryListBox(QWidget *parent = nullptr);

    // The folder shown, absolute and without symbolic links; empty before the first.
    const QByteArray &directory() const { return contents_.folder; }
    // Its files, as its last listing found them.
    const QList<QByteArray> &files() const { return contents_.files; }
    // Lists the folder, and shows it once listed. A folder that cannot be
    // entered or listed tells its IoError in the general error box, and the
    // list stays as it was. False for an empty text, which changes nothing.
    bool setDirectory(const QByteArray &folder);
    // A folder is being listed.
    bool isListing() const { return listing_.busy(); }
    // The folder a row stands for.
    QByteArray pathAt(int row) const;

signals:
    // Another folder is shown.
    void changed();
    // A listing asked for is shown, its folder new or the same as before.
    void listed();
    void listingFailed();

protected:
    // A listing under way when the window closes is dropped: its folder
    // changes nothing, and its error shows over no one.
    void hideEvent(QHideEvent *event) override;

private:
    void showContents(const FolderContents &contents);

    FolderContents contents_;
    BackgroundListing listing_{this};
};

// The file list: the files (no folders) of a folder whose names match the
// mask, sorted by name ignoring case, from the folder list's listing.
class FileListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit FileListBox(QWidget *parent = nullptr);

    // Shows the folder's files (sorted, no folders) that match the mask.
    void setFiles(const QByteArray &folder, const QList<QByteArray> &files);
    void setMask(const QString &mask);
    const QString &mask() const { return mask_; }

    // The selected file's full path; empty when none is selected.
    QByteArray fileName() const;
    // Selects a row from code, which is not a click.
    void setItemIndex(int row);

signals:
    // The user selected a file, by mouse or keys.
    void clicked();

private:
    void fill();

    QByteArray directory_;
    QList<QByteArray> files_;
    QString mask_ = QStringLiteral("*.*");
    bool settingFromCode_ = false;
};

// The file-type box: entries from a filter text, each applying its mask.
class FilterComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit FilterComboBox(QWidget *parent = nullptr);

    const QString &filter() const { return filter_; }
    // Lists the filter text's entries and applies the first. A text equal to
    // the one in force, ignoring case, changes nothing: the entry the user
    // chose stays.
    void setFilter(const QString &filter);
    QString mask() const { return currentData().toString(); }

signals:
    // The mask in force changed, by setFilter or by the user's choice.
    void maskChanged(const QString &mask);

private:
    QString filter_;
    bool rebuilding_ = false;
};
