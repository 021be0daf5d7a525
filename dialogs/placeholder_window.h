#pragma once
#include "widgets/borderless_dialog.h"

// A secondary window whose contents come later: its title and a close button.
class PlaceholderWindow : public BorderlessDialog
{
    Q_OBJECT
public:
    PlaceholderWindow(const QString &title, QWidget *parent = nullptr);
};
