#pragma once
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

// Answers the modal windows a test opens, one after another, as a user would:
// while it lives, every modal window that comes up is recorded and handed to
// the answer given for it (by default: a message box gets its first button,
// any other window is closed).
class ModalAnswerer
{
public:
    using Answer = std::function<void(QWidget *modal)>;

    ModalAnswerer()
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start();
    }

    // Answers for the next modal windows, in order; later ones get the default.
    void thenAnswer(Answer answer) { answers_.push_back(std::move(answer)); }

    // "Caption|Text" of every message box seen; the class name of other windows.
    const QStringList &seen() const { return seen_; }

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            seen_ << box->windowTitle() + QLatin1Char('|') + box->text();
        else
            seen_ << QString::fromLatin1(modal->metaObject()->className());
        if (!answers_.empty()) {
            Answer answer = std::move(answers_.front());
            answers_.erase(answers_.begin());
            answer(modal);
        } else if (auto *box = qobject_cast<QMessageBox *>(modal); box && !box->buttons().isEmpty()) {
            box->buttons().front()->click();
        } else {
            modal->close();
        }
    }

    QTimer timer_;
    std::vector<Answer> answers_;
    QStringList seen_;
};
