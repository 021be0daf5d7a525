#include "widgets/path_edit.h"

#include "platform/file_name_text.h"
#include "platform/handler_guard.h"
#include "platform/start_folder.h"

#include <QFile>
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
    ConnectHandler(edit_, &QLineEdit::textChanged, this, [this] { emit textChanged(text()); });
    ConnectHandler(browse_, &QToolButton::clicked, this, &PathEdit::browse);
}

QString PathEdit::text() const
{
    const QString typed = edit_->text();
    return typed == shown_ ? set_ : typed;
}

void PathEdit::setText(const QString &text)
{
    if (text == this->text())
        return;
    set_ = text;
    shown_ = QFile::decodeName(FileNameBytes(text));
    if (edit_->text() != shown_)
        edit_->setText(shown_);
    else
        emit textChanged(text); // other bytes that look the same
}

void PathEdit::browse()
{
    // Where the location points, a relative one from the start folder as
    // everywhere else: a launch makes another folder the working folder.
    const QString location = QFile::decodeName(LocationPath(text()));
    QString chosen;
    if (kind_ == Kind::Folder) {
        chosen = QFileDialog::getExistingDirectory(window(), QString(), location,
                                                   QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    } else {
        const QFileInfo current(location);
        chosen = QFileDialog::getOpenFileName(window(), QString(), current.absolutePath(), filters_, nullptr,
                                              QFileDialog::DontUseNativeDialog);
    }
    if (!chosen.isEmpty())
        setText(chosen);
}
