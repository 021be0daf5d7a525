#include "widgets/paced_caption.h"

#include <QWidget>

PacedCaption::PacedCaption(QWidget *window) : QObject(window), window_(window), text_(window->windowTitle()) {}

void PacedCaption::flush()
{
    if (window_->windowTitle() != text_)
        window_->setWindowTitle(text_);
}
