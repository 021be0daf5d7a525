#pragma once
#include <optional>
#include <string>

// What `romdeck --version` and `romdeck --help` print on standard output
// before the program ends without opening a window, as Linux programs answer;
// the first of the two among the arguments wins. Any other arguments get no
// answer: the program starts as always and reads none of them.
std::optional<std::string> CommandLineAnswer(int argc, const char *const *argv);
