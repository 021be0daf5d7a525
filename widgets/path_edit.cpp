#include "widgets/path_edit.h"

#include "platform/handler_guard.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

namespace {
constexpr int kBrowseButtonWidth = 20;
}

PathEdit::PathEdit(Kind kind, const QString &filters, QWidget *parent)
    : QWidget(parent), kind_(kind), filters_(filters), edit_(new QLineEdit(this)), browse_(new QToolButton(this))
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(edit_);
    browse_->setText(QStringLiteral("…"));
    browse_->setFixedWidth(kBrowseButtonWidth);
    browse_->setFocusPolicy(Qt::NoFocus);
    row->addWidget(browse_);
    setFocusProxy(edit_);
    ConnectHandler(edit_, &QLineEdit::textChanged, this, &PathEdit::textChanged);
    ConnectHandler(browse_, &QToolButton::clicked, this, &PathEdit::browse);
}

QString PathEdit::text() const
{
    return edit_->text();
}

void PathEdit::setText(const QString &text)
{
    edit_->setText(text);
}

void PathEdit::browse()
{
    QString chosen;
    if (kind_ == Kind::Folder) {
        chosen = QFileDialog::getExistingDirectory(window(), QString(), text(),
                                                   QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    } else {
        const QFileInfo current(text());
        chosen = QFileDialog::getOpenFileName(window(), QString(), current.absolutePath(), filters_, nullptr,
                                              QFileDialog::DontUseNativeDialog);
    }
    if (!chosen.isEmpty())
        setText(chosen);
}
