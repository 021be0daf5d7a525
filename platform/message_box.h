#pragma once
#include <QMessageBox>
#include <QString>

// The typed message boxes: the type gives the caption and the icon.
enum class MessageType { Error, Warning, Information };

// Shows a modal message box centred on the screen and returns the button pressed.
QMessageBox::StandardButton ShowMessage(MessageType type, const QString &text,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// The general error box: the error's text and a full stop, captioned with the
// program's title, stop icon, one "OK".
void ShowErrorBox(const QString &errorText);

// The program's title: its executable's name without extension, first letter
// upper case, the rest lower case ("Romdeck").
QString ProgramTitle();
