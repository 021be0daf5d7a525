#pragma once
#include <QRect>
#include <QString>

class QLabel;
class QWidget;

// A label as the dialogs show them: yellow text in the program's face at the
// given pixel size, transparent, no shadow. Its place is widened when the
// text needs more room, so that nothing of the text is cut off.
QLabel *MakeYellowLabel(const QString &text, const QRect &place, int pixelSize, QWidget *parent);
