#include "preview/picker_names.h"

namespace {

// The first `count` characters, never splitting a surrogate pair.
QString LeftCharacters(const QString &text, int count)
{
    qsizetype end = 0;
    for (int taken = 0; taken < count && end < text.size(); ++taken) {
        const bool pair = text[end].isHighSurrogate() && end + 1 < text.size() && text[end + 1].isLowSurrogate();
        end += pair ? 2 : 1;
    }
    return text.left(end);
}

} // namespace

QString PickerBaseName(const QString &expectedName)
{
    return LeftCharacters(expectedName.section(u'.', 0, 0), 9);
}

QString PickerTitle(const QString &expectedName)
{
    return QStringLiteral("PIX for ") + PickerBaseName(expectedName) + QStringLiteral(" ROM");
}

QString PickerFilterText(const QString &expectedName)
{
    QString prefix = LeftCharacters(PickerBaseName(expectedName), 5);
    prefix.replace(u'|', u'?').replace(u';', u'?');
    return prefix + QStringLiteral("*.pcx,snap*.pcx|") + prefix +
        QStringLiteral("*.pcx;snap*.pcx|All PCX (*.pcx)|*.pcx|All files (*.*)|*.*");
}

bool HasPcxExtension(const QByteArray &path)
{
    const QByteArray name = path.mid(path.lastIndexOf('/') + 1);
    const qsizetype dot = name.lastIndexOf('.');
    return dot >= 0 && name.mid(dot).toUpper() == ".PCX";
}
