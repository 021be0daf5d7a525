#include "preview/picture_name_label.h"

#include <QFile>

PictureNameLabel::PictureNameLabel(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
}

void PictureNameLabel::setPictureName(const QByteArray &name)
{
    name_ = name;
    setText(QFile::decodeName(name));
}

QByteArray PictureNameLabel::pictureName() const
{
    return QFile::decodeName(name_) == text() ? name_ : QFile::encodeName(text());
}
