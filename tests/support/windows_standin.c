/* A stand-in emulator built as a Windows program for launch tests and
   benchmarks.
   - When STANDIN_SIGNAL names a file, it first writes one byte into it (the
     benchmarks' start signal).
   - When STANDIN_RECORDS names a folder, it writes there, as launch.<pid>,
     its command line as GetCommandLineA gives it, its working folder, and
     each argument as the C runtime split it, one per line in brackets,
     followed by " opens" when the argument names a file that it can open for
     reading. All bytes are in the program's code page, unconverted. */
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

static void signal_start(void)
{
    const char *signal = getenv("STANDIN_SIGNAL");
    if (!signal || !*signal)
        return;
    FILE *fifo = fopen(signal, "wb");
    if (fifo) {
        fputc('x', fifo);
        fclose(fifo);
    }
}

static int opens(const char *path)
{
    FILE *file = fopen(path, "rb");
    if (!file)
        return 0;
    fclose(file);
    return 1;
}

int main(int argc, char **argv)
{
    signal_start();
    const char *records = getenv("STANDIN_RECORDS");
    if (!records || !*records)
        return 0;

    char part[MAX_PATH * 2], done[MAX_PATH * 2];
    snprintf(done, sizeof done, "%s\\launch.%lu", records, (unsigned long)GetCurrentProcessId());
    snprintf(part, sizeof part, "%s.tmp", done);
    FILE *out = fopen(part, "wb");
    if (!out)
        return 1;
    char folder[MAX_PATH * 2];
    if (!GetCurrentDirectoryA(sizeof folder, folder))
        folder[0] = '\0';
    fprintf(out, "commandline=%s\n", GetCommandLineA());
    fprintf(out, "folder=%s\n", folder);
    for (int i = 1; i < argc; ++i)
        fprintf(out, "[%s]%s\n", argv[i], opens(argv[i]) ? " opens" : "");
    fclose(out);
    return MoveFileA(part, done) ? 0 : 1;
}
