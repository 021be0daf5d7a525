#pragma once
#include <QWidget>

class QLineEdit;
class QToolButton;

// A one-line edit for a path with a browse button at its right end: a file
// dialog with the given filters, or the folder browser.
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
};
