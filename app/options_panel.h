#pragma once
#include "settings/option_set.h"

#include <QButtonGroup>
#include <QFrame>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSlider;
class QToolButton;
class RadioGroup;

// The options panel: the five launch options and the Default/Current pair.
// While "Default" is down every change of a control is copied into the
// Default set; while "Current" is down the controls alone hold the ROM's set.
class OptionsPanel : public QFrame
{
    Q_OBJECT
public:
    OptionsPanel(OptionSet &defaultOptions, QWidget *parent = nullptr);

    // From code: puts a button of the pair down without running its handler.
    void putDefaultDown();
    void putCurrentDown();
    bool isDefaultDown() const;

    // Fills the controls in the order emulator, frame rate, country, sound,
    // extra text, each clamped to what its control holds.
    void setValues(const OptionSet &values);
    OptionSet values() const;

    QToolButton *butdefault;
    QToolButton *butcurrent;
    RadioGroup *rademu;
    QGroupBox *GroupBox1;
    QSlider *tbfskip;
    QLabel *Label1;
    RadioGroup *rgcountry;
    QCheckBox *chkdissound;
    QLabel *Label3;
    QLineEdit *Editextracmdline;

signals:
    // The user pressed a button of the pair (also one already down).
    void defaultClicked();
    void currentClicked();

private:
    void rademuClick();
    void tbfskipChange();
    void rgcountryClick();
    void chkdissoundClick();
    void EditextracmdlineChange();

    OptionSet &defaultOptions_;
    QButtonGroup modeGroup_;
};
