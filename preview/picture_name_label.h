#pragma once
#include <QByteArray>
#include <QLabel>

// The label that names the file a ROM's picture is expected under. A file
// name is bytes, and a name that is no valid UTF-8 shows with U+FFFD in place
// of its bytes: the label keeps the name's own bytes beside the text it
// shows, so that the picture is filed under the ROM's name and not under the
// text on the screen.
class PictureNameLabel : public QLabel
{
public:
    // Shows its name as plain text, even a name that reads like markup.
    explicit PictureNameLabel(QWidget *parent = nullptr);

    // Shows the name as text; an empty name empties the label.
    void setPictureName(const QByteArray &name);
    // The name's bytes; a text put on the label some other way names itself.
    QByteArray pictureName() const;

private:
    QByteArray name_;
};
