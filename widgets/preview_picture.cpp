#include "widgets/preview_picture.h"

#include <QPixmap>

PreviewPicture::PreviewPicture(QWidget *parent) : QLabel(parent)
{
    setScaledContents(true);
    showStandIn();
}

void PreviewPicture::showPicture(const QImage &picture)
{
    setPixmap(QPixmap::fromImage(picture));
    setAccessibleName(picture.isNull() ? QStringLiteral("No picture")
                                       : QStringLiteral("Preview picture of ") + subject_);
}

void PreviewPicture::showStandIn(const QImage &standIn)
{
    setPixmap(QPixmap::fromImage(standIn));
    setAccessibleName(QStringLiteral("No picture"));
}
