// Linked into every program of a sanitizer build, so that the tests, the
// program the whole-program tests start and the fuzz targets all run with the
// same rules, however they are started.

extern "C" {

// Any report ends the program with a failure, a leak included.
const char *__asan_default_options()
{
    return "halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:"
           "strict_init_order=1:strict_string_checks=1";
}

const char *__ubsan_default_options()
{
    return "halt_on_error=1:print_stacktrace=1";
}

// Leaks proven to lie inside Qt or the libraries under it, never in our code.
const char *__lsan_default_suppressions()
{
    return "";
}
}
