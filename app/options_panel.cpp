#include "app/options_panel.h"

#include "platform/handler_guard.h"
#include "widgets/radio_group.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QToolButton>

namespace {

QToolButton *ModeButton(const QString &caption, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setText(caption);
    button->setCheckable(true);
    button->setFocusPolicy(Qt::NoFocus);
    QFont face = button->font();
    face.setPixelSize(16);
    button->setFont(face);
    button->setStyleSheet(QStringLiteral("QToolButton { color: navy; background: #d4d0c8; border: 2px outset #ffffff; }"
                                         "QToolButton:checked { background: #9c9a94; border: 2px inset #404040; }"));
    return button;
}

} // namespace

OptionsPanel::OptionsPanel(OptionSet &defaultOptions, QWidget *parent) : QFrame(parent), defaultOptions_(defaultOptions)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("OptionsPanel { background: navy; }"
                                 "QGroupBox, QRadioButton, QCheckBox, QLabel { color: yellow; }"
                                 "QGroupBox { border: 1px solid #6070c0; margin-top: 6px; }"
                                 "QGroupBox::title { subcontrol-origin: margin; left: 6px; }"
                                 "QLineEdit { color: yellow; background: navy; border: 1px solid #6070c0; }"));

    butdefault = ModeButton(QStringLiteral("Default"), this);
    butdefault->setGeometry(92, 12, 77, 17);
    butcurrent = ModeButton(QStringLiteral("Current"), this);
    butcurrent->setGeometry(168, 12, 77, 17);
    modeGroup_.addButton(butdefault);
    modeGroup_.addButton(butcurrent);
    modeGroup_.setExclusive(true);
    butdefault->setChecked(true);

    rademu =
        new RadioGroup(QStringLiteral("Which EMU ?"), {QStringLiteral("KGen"), QStringLiteral("Genecyst")}, 2, this);
    rademu->setGeometry(56, 44, 209, 37);

    GroupBox1 = new QGroupBox(QStringLiteral("Frame Rate"), this);
    GroupBox1->setGeometry(8, 88, 173, 65);
    tbfskip = new QSlider(Qt::Horizontal, GroupBox1);
    tbfskip->setRange(1, 4);
    tbfskip->setSingleStep(1);
    tbfskip->setPageStep(1);
    tbfskip->setTickInterval(1);
    tbfskip->setTickPosition(QSlider::TicksBelow);
    tbfskip->setValue(1);
    tbfskip->setGeometry(8, 16, 161, 29);
    Label1 = new QLabel(QStringLiteral("1             2              3             4"), GroupBox1);
    Label1->setTextFormat(Qt::PlainText);
    Label1->move(16, 44);
    Label1->adjustSize();

    rgcountry = new RadioGroup(
        QStringLiteral("Country"),
        {QStringLiteral("Auto"), QStringLiteral("Japanese"), QStringLiteral("American"), QStringLiteral("European")}, 1,
        this);
    rgcountry->setGeometry(184, 88, 113, 101);
    rgcountry->setItemIndex(0);

    chkdissound = new QCheckBox(QStringLiteral("Disable Sound"), this);
    chkdissound->setLayoutDirection(Qt::RightToLeft);
    chkdissound->setGeometry(84, 160, 93, 21);

    Label3 = new QLabel(QStringLiteral("Extra Commands"), this);
    Label3->setTextFormat(Qt::PlainText);
    Label3->move(8, 188);
    Label3->adjustSize();
    Editextracmdline = new QLineEdit(this);
    Editextracmdline->setGeometry(8, 204, 289, 21);
    Label3->setBuddy(Editextracmdline);

    ConnectHandler(butdefault, &QToolButton::clicked, this, [this] {
        butdefault->setChecked(true);
        emit defaultClicked();
    });
    ConnectHandler(butcurrent, &QToolButton::clicked, this, [this] {
        butcurrent->setChecked(true);
        emit currentClicked();
    });
    ConnectHandler(rademu, &RadioGroup::itemIndexChanged, this, &OptionsPanel::rademuClick);
    ConnectHandler(tbfskip, &QSlider::valueChanged, this, &OptionsPanel::tbfskipChange);
    ConnectHandler(rgcountry, &RadioGroup::itemIndexChanged, this, &OptionsPanel::rgcountryClick);
    ConnectHandler(chkdissound, &QCheckBox::toggled, this, &OptionsPanel::chkdissoundClick);
    ConnectHandler(Editextracmdline, &QLineEdit::textChanged, this, &OptionsPanel::EditextracmdlineChange);
}

void OptionsPanel::putDefaultDown()
{
    butdefault->setChecked(true);
}

void OptionsPanel::putCurrentDown()
{
    butcurrent->setChecked(true);
}

bool OptionsPanel::isDefaultDown() const
{
    return butdefault->isChecked();
}

void OptionsPanel::setValues(const OptionSet &values)
{
    rademu->setItemIndex(values.usekgen);
    tbfskip->setValue(std::clamp(values.fskip, 1, 4));
    rgcountry->setItemIndex(values.country);
    chkdissound->setChecked(values.dissound);
    Editextracmdline->setText(values.extracmdline);
}

OptionSet OptionsPanel::values() const
{
    return OptionSet{rademu->itemIndex(), tbfskip->value(), rgcountry->itemIndex(), chkdissound->isChecked(),
                     Editextracmdline->text()};
}

void OptionsPanel::rademuClick()
{
    if (isDefaultDown())
        defaultOptions_.usekgen = rademu->itemIndex();
}

void OptionsPanel::tbfskipChange()
{
    if (isDefaultDown())
        defaultOptions_.fskip = tbfskip->value();
}

void OptionsPanel::rgcountryClick()
{
    if (isDefaultDown())
        defaultOptions_.country = rgcountry->itemIndex();
}

void OptionsPanel::chkdissoundClick()
{
    if (isDefaultDown())
        defaultOptions_.dissound = chkdissound->isChecked();
}

void OptionsPanel::EditextracmdlineChange()
{
    if (isDefaultDown())
        defaultOptions_.extracmdline = Editextracmdline->text();
}
