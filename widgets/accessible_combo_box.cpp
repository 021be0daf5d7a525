#include "widgets/accessible_combo_box.h"

#include "platform/handler_guard.h"

#include <QAbstractItemView>
#include <QComboBox>

AccessibleComboBox::AccessibleComboBox(QComboBox *box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

QAccessibleInterface *AccessibleComboBox::Factory(const QString &className, QObject *object)
{
    // Asked first under the object's own class, before Qt's factory is asked under QComboBox.
    auto *box = qobject_cast<QComboBox *>(object);
    if (!box || box->isEditable() || className != QLatin1StringView(object->metaObject()->className()))
        return nullptr;
    return new AccessibleComboBox(box);
}

QComboBox *AccessibleComboBox::box() const
{
    return static_cast<QComboBox *>(widget());
}

QString AccessibleComboBox::text(QAccessible::Text kind) const
{
    if (kind == QAccessible::Value || (kind == QAccessible::Name && box()->accessibleName().isEmpty()))
        return box()->currentText();
    return QAccessibleWidget::text(kind);
}

QAccessibleInterface *AccessibleComboBox::child(int index) const
{
    return index == 0 ? QAccessible::queryAccessibleInterface(box()->view()) : nullptr;
}

int AccessibleComboBox::indexOfChild(const QAccessibleInterface *child) const
{
    return child && child->object() == box()->view() ? 0 : -1;
}

QStringList AccessibleComboBox::actionNames() const
{
    return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
}

void AccessibleComboBox::doAction(const QString &action)
{
    RunHandler([&] {
        if (action != showMenuAction() && action != pressAction())
            QAccessibleWidget::doAction(action);
        else if (box()->view()->isVisible())
            box()->hidePopup();
        else
            box()->showPopup();
    });
}
