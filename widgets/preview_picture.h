#pragma once
#include <QLabel>

// A preview picture, scaled to its box. Screen readers hear what it shows:
// "Preview picture of" its subject while it shows a picture of the subject,
// "No picture" while it shows nothing or a stand-in such as the default picture.
class PreviewPicture : public QLabel
{
public:
    explicit PreviewPicture(QWidget *parent = nullptr);

    // What the pictures shown next are of: a game's title, a file's name.
    // Header titles come padded with blanks, which a reader would speak.
    void setSubject(const QString &subject) { subject_ = subject.trimmed(); }
    // A picture of the subject; a null one (a file that did not decode) shows nothing.
    void showPicture(const QImage &picture);
    // A picture that is not of the subject; a null one shows nothing.
    void showStandIn(const QImage &standIn = QImage());

private:
    QString subject_;
};
