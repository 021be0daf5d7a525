#pragma once
#include <QAccessibleWidget>

class TURLLabel;

// What assistive technology reads of a TURLLabel: a link, named by its
// caption and described by its hint, that a reader can follow as a click
// does, while it has the link look; plain text otherwise.
class URLLabelAccessible : public QAccessibleWidget
{
public:
    explicit URLLabelAccessible(TURLLabel *label);

    // Installed with QAccessible::installFactory: the interface of every TURLLabel.
    static QAccessibleInterface *Factory(const QString &className, QObject *object);

    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text kind) const override;
    QStringList actionNames() const override;
    void doAction(const QString &action) override;

private:
    TURLLabel *label() const;
};
