#pragma once

// The emulators that Debian ships for the Genesis, each started through an
// adapter of ours that reads Romdeck's KGen and Genecyst command lines. The
// adapters are installed together, in the install's folder of private
// programs (lib/romdeck of its prefix).
struct EmulatorAdapter
{
    const char *adapter;  // the adapter's file name
    const char *emulator; // the emulator's program, also the name of its package
};

inline constexpr EmulatorAdapter kBlastEmAdapter{"romdeck-blastem", "blastem"};
inline constexpr EmulatorAdapter kMednafenAdapter{"romdeck-mednafen", "mednafen"};
