#pragma once
// A Wine folder of its own for a benchmark, prepared before the clock runs and
// with Wine's server kept running, so that a measured start through Wine is a
// warm one; the server ends and the folder goes with the object.

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

class WineSession
{
public:
    WineSession()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("wine")).isEmpty()) {
            error_ = "wine is not installed";
            return;
        }
        qputenv("WINEPREFIX", QFile::encodeName(prefix_.path()));
        ownsPrefix_ = true;
        qputenv("WINEDEBUG", "-all");
        // No offer to install Wine's Mono or Gecko: nobody is there to answer.
        qputenv("WINEDLLOVERRIDES", "mscoree,mshtml=");
        // The server first, kept running; the folder's preparation then uses it.
        if (!Run(QStringLiteral("wineserver"), {QStringLiteral("-p")}) ||
            !Run(QStringLiteral("wineboot"), {QStringLiteral("-i")}))
            error_ = "Wine's folder could not be prepared";
    }
    ~WineSession()
    {
        if (ownsPrefix_)
            Run(QStringLiteral("wineserver"), {QStringLiteral("-k")});
    }
    WineSession(const WineSession &) = delete;
    WineSession &operator=(const WineSession &) = delete;

    // Why the session cannot be used, or null when it can.
    const char *error() const { return error_; }

private:
    static bool Run(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        process.start(program, arguments);
        // The first preparation of a folder takes seconds, more on a busy machine.
        return process.waitForFinished(300000) && process.exitStatus() == QProcess::NormalExit &&
            process.exitCode() == 0;
    }

    QTemporaryDir prefix_;
    const char *error_ = nullptr;
    bool ownsPrefix_ = false;
};
