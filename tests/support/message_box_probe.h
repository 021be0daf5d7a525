#pragma once
#include <QAbstractButton>
#include <QMessageBox>
#include <QStringList>

// A message box as its user sees it: caption, text, icon and the buttons'
// texts, "Caption|Text|icon|OK,Cancel", the icon as QMessageBox::Icon's number.
inline QString DescribeMessageBox(const QMessageBox &box)
{
    QStringList buttons;
    for (const QAbstractButton *button : box.buttons())
        buttons << button->text().remove(u'&');
    return box.windowTitle() + u'|' + box.text() + u'|' + QString::number(int(box.icon())) + u'|' + buttons.join(u',');
}
