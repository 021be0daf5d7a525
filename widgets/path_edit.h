#pragma once
#include <QWidget>

class QLineEdit;
class QToolButton;

// A one-line edit for a path with a browse button at its right end: a file
// dialog with the given filters, or the folder browser. The path is text as
// FileNameText gives a name's bytes; the edit shows bytes that are no valid
// text as U+FFFD, and until the user edits it, the text read back is the one
// set, bytes and all.
class PathEdit : public QWidget
{
    Q_OBJECT
public:
    enum class Kind { File, Folder };

    PathEdit(Kind kind, const QString &filters, QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);
    QLineEdit *edit() const { return edit_; }
    QToolButton *browseButton() const { return browse_; }

signals:
    // Every change of the text, typed, chosen or set from code.
    void textChanged(const QString &text);

private:
    void browse();

    Kind kind_;
    QString filters_;
    QLineEdit *edit_;
    QToolButton *browse_;
    QString set_;   // the text last set
    QString shown_; // as the edit shows it
};
