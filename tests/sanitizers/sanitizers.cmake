# Sanitizer builds, each in a build folder of its own. Every target of the
# project is compiled and linked with the sanitizers; Qt's own libraries are not.
#   ROMDECK_SANITIZE  the program and its tests under AddressSanitizer and
#                     UndefinedBehaviorSanitizer
#   ROMDECK_FUZZ      the same, plus the libFuzzer targets of fuzz/ (clang only)
option(ROMDECK_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(ROMDECK_FUZZ "Build the libFuzzer targets in fuzz/ (clang)" OFF)

if(ROMDECK_SANITIZE OR ROMDECK_FUZZ)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
  # Any report ends the program with an error; the suppressions live there too.
  add_library(romdeck_sanitizer_defaults OBJECT ${CMAKE_CURRENT_LIST_DIR}/sanitizer_defaults.cpp)
  link_libraries(romdeck_sanitizer_defaults)
endif()

if(ROMDECK_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "ROMDECK_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  # The project's code reports its coverage to libFuzzer; fuzz/ adds the driver.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
