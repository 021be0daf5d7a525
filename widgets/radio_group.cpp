#include "widgets/radio_group.h"

#include "platform/handler_guard.h"

#include <QGridLayout>
#include <QRadioButton>

RadioGroup::RadioGroup(const QString &caption, const QStringList &items, int columns, QWidget *parent)
    : QGroupBox(caption, parent)
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(8, 2, 4, 2);
    grid->setVerticalSpacing(0);
    const int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], this);
        group_.addButton(button, i);
        buttons_.push_back(button);
        grid->addWidget(button, i % rows, i / rows);
    }
    ConnectHandler(&group_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            emit itemIndexChanged(id);
    });
}

int RadioGroup::itemIndex() const
{
    return group_.checkedId();
}

void RadioGroup::setItemIndex(int index)
{
    index = std::clamp(index, -1, itemCount() - 1);
    if (index == itemIndex())
        return;
    if (index >= 0) {
        buttons_[static_cast<std::size_t>(index)]->setChecked(true);
        return;
    }
    // An exclusive group cannot be emptied by unchecking its chosen item.
    group_.setExclusive(false);
    group_.checkedButton()->setChecked(false);
    group_.setExclusive(true);
    emit itemIndexChanged(-1);
}
