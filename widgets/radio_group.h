#pragma once
#include <QButtonGroup>
#include <QGroupBox>
#include <QStringList>

class QRadioButton;

// A captioned group of radio items with an item index: -1 when no item is
// chosen, else the chosen item's position.
class RadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    RadioGroup(const QString &caption, const QStringList &items, int columns, QWidget *parent = nullptr);

    int itemIndex() const;
    // Clamps to -1..last item. Signals only a real change.
    void setItemIndex(int index);
    int itemCount() const { return static_cast<int>(buttons_.size()); }
    QRadioButton *item(int index) const { return buttons_[static_cast<std::size_t>(index)]; }

signals:
    // The item index changed, by a click or from code.
    void itemIndexChanged(int index);

private:
    QButtonGroup group_;
    std::vector<QRadioButton *> buttons_;
};
