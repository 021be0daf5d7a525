#include "widgets/url_label_accessible.h"

#include "platform/handler_guard.h"
#include "widgets/url_label.h"

URLLabelAccessible::URLLabelAccessible(TURLLabel *label) : QAccessibleWidget(label, QAccessible::Link) {}

QAccessibleInterface *URLLabelAccessible::Factory(const QString &, QObject *object)
{
    auto *label = qobject_cast<TURLLabel *>(object);
    return label ? new URLLabelAccessible(label) : nullptr;
}

TURLLabel *URLLabelAccessible::label() const
{
    return static_cast<TURLLabel *>(widget());
}

QAccessible::Role URLLabelAccessible::role() const
{
    return label()->HasLinkLook() ? QAccessible::Link : QAccessible::StaticText;
}

QAccessible::State URLLabelAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.linked = label()->HasLinkLook();
    return state;
}

QString URLLabelAccessible::text(QAccessible::Text kind) const
{
    if (kind == QAccessible::Name && label()->accessibleName().isEmpty())
        return label()->text();
    return QAccessibleWidget::text(kind);
}

QStringList URLLabelAccessible::actionNames() const
{
    return label()->HasLinkLook() ? QStringList{pressAction()} : QStringList();
}

void URLLabelAccessible::doAction(const QString &action)
{
    RunHandler([&] {
        if (action == pressAction() && label()->HasLinkLook())
            label()->click();
    });
}
