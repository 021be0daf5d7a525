#pragma once
#include <QAccessibleWidget>

class QComboBox;

// What assistive technology reads of a combo box that chooses from a list:
// its name as the program gives it, and the current choice as its value.
// Qt's own interface on this platform reads the current choice as the name,
// so that the program's names never reach a screen reader. Its child is the
// list it drops down.
class AccessibleComboBox : public QAccessibleWidget
{
public:
    explicit AccessibleComboBox(QComboBox *box);

    // Installed with QAccessible::installFactory: the interface of every combo box that cannot be typed in.
    static QAccessibleInterface *Factory(const QString &className, QObject *object);

    QString text(QAccessible::Text kind) const override;
    int childCount() const override { return 1; }
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QStringList actionNames() const override;
    void doAction(const QString &action) override;

private:
    QComboBox *box() const;
};
