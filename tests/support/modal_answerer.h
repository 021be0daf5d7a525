#pragma once
#include "support/message_box_probe.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
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
        ++living();
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start();
    }

    ~ModalAnswerer() { --living(); }
    ModalAnswerer(const ModalAnswerer &) = delete;
    ModalAnswerer &operator=(const ModalAnswerer &) = delete;

    // How many answerers live: while one does, its test expects modal windows.
    static int &living()
    {
        static int count = 0;
        return count;
    }

    // Answers for the next modal windows, in order; later ones get the default.
    void thenAnswer(Answer answer) { answers_.push_back(std::move(answer)); }

    // "Caption|Text" of every message box seen; the class name of other windows.
    const QStringList &seen() const { return seen_; }

private:
    void poll()
    {
        // An answer that lets events run sees its window still up: it is not
        // answered twice.
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || answering_.contains(modal))
            return;
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            seen_ << box->windowTitle() + QLatin1Char('|') + box->text();
        else
            seen_ << QString::fromLatin1(modal->metaObject()->className());
        if (!answers_.empty()) {
            Answer answer = std::move(answers_.front());
            answers_.erase(answers_.begin());
            answering_ << modal;
            answer(modal);
            answering_.removeOne(modal);
        } else if (auto *box = qobject_cast<QMessageBox *>(modal); box && !box->buttons().isEmpty()) {
            box->buttons().front()->click();
        } else {
            modal->close();
        }
    }

    QTimer timer_;
    std::vector<Answer> answers_;
    QStringList seen_;
    QList<QWidget *> answering_;
};

// A message box that comes up while no ModalAnswerer lives is one the test
// did not expect: nobody would answer it, and the test would wait for
// ctest's time limit. It is answered at once (Cancel, else its first
// button), so that the test goes on, and the test fails with the box's text.
// Installed for every test by test_main.cpp.
class UnexpectedBoxAnswerer : public ::testing::EmptyTestEventListener
{
public:
    UnexpectedBoxAnswerer()
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (ModalAnswerer::living() > 0 || !box || !box->isVisible())
                return;
            ADD_FAILURE() << "a message box came up that the test does not answer: "
                          << DescribeMessageBox(*box).toStdString();
            const QList<QAbstractButton *> buttons = box->buttons();
            const auto cancel = std::find_if(buttons.begin(), buttons.end(), [box](QAbstractButton *button) {
                return box->buttonRole(button) == QMessageBox::RejectRole;
            });
            (cancel != buttons.end() ? *cancel : buttons.front())->click();
        });
    }

    void OnTestStart(const ::testing::TestInfo &) override { timer_.start(); }
    void OnTestEnd(const ::testing::TestInfo &) override { timer_.stop(); }

private:
    QTimer timer_;
};
