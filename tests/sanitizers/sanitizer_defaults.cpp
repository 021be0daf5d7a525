// Linked into every program of a sanitizer build, so that the tests, the
// program the whole-program tests start and the fuzz targets all run with the
// same rules, however they are started.

extern "C" {

// Any report ends the program with a failure, a leak included.
const char *__asan_default_options()
{
    return "halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:"
           "strict_init_order=1";
}

const char *__ubsan_default_options()
{
    return "halt_on_error=1:print_stacktrace=1";
}

// Leaks proven to lie inside Qt or the libraries under it, never in our code.
const char *__lsan_default_suppressions()
{
    // On a real display QtDBus runs a thread of its own that reads the session
    // bus through libdbus; the read buffer libdbus allocates there is still held
    // when that thread is torn down at exit (seen with fast_unwind_on_malloc=0:
    // _dbus_read <- QtDBus <- QThread::exec, no frame of ours).
    return "leak:libdbus-1.so\n";
}
}
