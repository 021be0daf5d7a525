#include "platform/message_box.h"

#include <QApplication>
#include <QFileInfo>
#include <QScreen>

namespace {

QMessageBox::StandardButton RunCentred(QMessageBox &box)
{
    // Error texts hold paths: shown as they are, never as markup.
    box.setTextFormat(Qt::PlainText);
    // Laid out first, so that its final size is known when it is centred.
    box.adjustSize();
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        box.move(area.center() - QPoint(box.width() / 2, box.height() / 2));
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

QMessageBox::StandardButton ShowMessage(MessageType type, const QString &text, QMessageBox::StandardButtons buttons)
{
    static const struct
    {
        const char *caption;
        QMessageBox::Icon icon;
    } kinds[] = {
        {"Error", QMessageBox::Critical},
        {"Warning", QMessageBox::Warning},
        {"Information", QMessageBox::Information},
    };
    const auto &kind = kinds[static_cast<int>(type)];
    QMessageBox box(kind.icon, QString::fromLatin1(kind.caption), text, buttons);
    return RunCentred(box);
}

void ShowErrorBox(const QString &errorText)
{
    QMessageBox box(QMessageBox::Critical, ProgramTitle(), errorText + QLatin1Char('.'), QMessageBox::Ok);
    RunCentred(box);
}

QString ProgramTitle()
{
    QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    if (name.isEmpty())
        name = QStringLiteral("romdeck");
    return name.left(1).toUpper() + name.mid(1).toLower();
}
