#pragma once
#include <QString>

class QPushButton;
class QWidget;

// The dialogs' flat button: a bold yellow caption, 11 pixels high, on a
// transparent face with a thin rim, so the window's background shows
// through. Enter in an edit of the dialog does not press it; Enter on the
// focused button does, as on Windows, where the focused button is the default.
QPushButton *MakeCaptionButton(const QString &caption, QWidget *parent);
