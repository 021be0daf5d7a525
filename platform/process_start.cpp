#include "platform/process_start.h"

#include "platform/executable_kind.h"
#include "platform/file_name_text.h"

#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

extern char **environ;

namespace {

struct ProgramAndArguments
{
    QString program;      // the file to start, as a path the system takes
    QString argumentText; // the rest of the line, still to be split
};

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// A Windows program needs no run bit, as Wine reads it rather than the system.
bool IsStartableFile(const QString &path)
{
    const QByteArray bytes = FileNameBytes(path);
    struct stat info;
    if (stat(bytes.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    switch (ExecutableKindOf(path)) {
    case ExecutableKind::WindowsProgram: return true;
    case ExecutableKind::WindowsOther: return false;
    case ExecutableKind::Native: break;
    }
    return access(bytes.constData(), X_OK) == 0;
}

// The runnable path that a candidate names, or an empty text. As with a shell,
// a bare name is looked up in PATH, anything with a '/' is taken as a path.
QString ResolveProgram(const QString &candidate)
{
    if (candidate.isEmpty())
        return {};
    if (!candidate.contains(u'/'))
        return QStandardPaths::findExecutable(candidate);
    return IsStartableFile(candidate) ? candidate : QString();
}

// Splits off the program the way CreateProcessA does when it is given no
// application name. The program is empty when none is found.
ProgramAndArguments FindProgram(const QString &commandLine)
{
    qsizetype start = 0;
    while (start < commandLine.size() && IsBlank(commandLine[start]))
        ++start;
    const QString line = commandLine.mid(start);

    if (line.startsWith(u'"')) {
        const qsizetype closing = line.indexOf(u'"', 1);
        const QString quoted = closing < 0 ? line.mid(1) : line.mid(1, closing - 1);
        // Like the C runtime reading argv[0], text stuck to the closing quote
        // still belongs to the program's word, not to the arguments.
        qsizetype end = closing < 0 ? line.size() : closing + 1;
        while (end < line.size() && !IsBlank(line[end]))
            ++end;
        return {ResolveProgram(quoted), line.mid(end)};
    }

    for (qsizetype i = 0; i < line.size(); ++i) {
        if (!IsBlank(line[i]))
            continue;
        const QString program = ResolveProgram(line.left(i));
        if (!program.isEmpty())
            return {program, line.mid(i)};
    }
    return {ResolveProgram(line), QString()};
}

// Marks every descriptor above stderr close-on-exec, so that only 0, 1 and 2
// reach the program. Runs between fork and exec: system calls only.
void KeepOnlyStandardDescriptors()
{
    if (close_range(3U, ~0U, CLOSE_RANGE_CLOEXEC) == 0)
        return;
    struct rlimit limit;
    const rlim_t highest =
        getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY ? limit.rlim_cur : 65536;
    for (rlim_t fd = 3; fd < highest; ++fd)
        fcntl(static_cast<int>(fd), F_SETFD, FD_CLOEXEC);
}

// Gives the program the signal state of a freshly started one: nothing
// blocked, nothing ignored. Runs between fork and exec: system calls only.
void ResetSignals()
{
    struct sigaction defaultAction
    {
    };
    defaultAction.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal)
        sigaction(signal, &defaultAction, nullptr);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
}

void ReportAndExit(int errorPipe, int error)
{
    ssize_t ignored = write(errorPipe, &error, sizeof error);
    (void)ignored;
    _exit(127);
}

} // namespace

bool RunCommandLine(const QString &commandLine)
{
    const ProgramAndArguments found = FindProgram(commandLine);
    if (found.program.isEmpty())
        return false;

    // Everything the children need is made before the fork: after it only
    // async-signal-safe calls are allowed. The words start with /bin/sh, which
    // runs the program only when the system cannot run it itself, as execvp
    // does; the system is given the words from the second on.
    std::vector<QByteArray> words{QByteArrayLiteral("/bin/sh")};
    if (ExecutableKindOf(found.program) == ExecutableKind::WindowsProgram) {
        // Wine builds the program's Windows command line back from its
        // arguments, so the program receives the words that it would on Windows.
        const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
        if (wine.isEmpty())
            return false;
        words.push_back(QFile::encodeName(wine));
    }
    // Names that are no valid text travel in the line as FileNameText made
    // them, and reach the program as the very bytes they were.
    words.push_back(FileNameBytes(found.program));
    for (const QString &argument : SplitWindowsCommandLine(found.argumentText))
        words.push_back(FileNameBytes(argument));
    std::vector<char *> shellArgv;
    for (QByteArray &word : words)
        shellArgv.push_back(word.data());
    shellArgv.push_back(nullptr);
    char *const *argv = shellArgv.data() + 1;

    // The pipe closes unread when exec succeeds; otherwise it carries errno.
    int errorPipe[2];
    if (pipe2(errorPipe, O_CLOEXEC) != 0)
        return false;

    // Two forks: the middle child ends at once and is reaped here, so the
    // program becomes a child of init, which reaps it when it ends.
    const pid_t middle = fork();
    if (middle < 0) {
        close(errorPipe[0]);
        close(errorPipe[1]);
        return false;
    }
    if (middle == 0) {
        close(errorPipe[0]);
        setsid();
        const pid_t program = fork();
        if (program < 0)
            ReportAndExit(errorPipe[1], errno);
        if (program == 0) {
            ResetSignals();
            KeepOnlyStandardDescriptors();
            execve(argv[0], argv, environ);
            // A file without "#!" that is no binary either: a script for sh.
            if (errno == ENOEXEC)
                execve(shellArgv[0], shellArgv.data(), environ);
            ReportAndExit(errorPipe[1], errno);
        }
        _exit(0);
    }

    close(errorPipe[1]);
    while (waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
    }
    int childError = 0;
    ssize_t got;
    do {
        got = read(errorPipe[0], &childError, sizeof childError);
    } while (got < 0 && errno == EINTR);
    close(errorPipe[0]);
    return got == 0;
}
