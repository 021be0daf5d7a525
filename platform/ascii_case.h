#pragma once

// ASCII letter case, as the program's names compare without regard to it
// (settings names, picture names, file extensions, list texts): A-Z and a-z
// only; every other character, of any character type, stays as it is.
template <typename Char>
constexpr Char AsciiLower(Char c)
{
    return c >= Char('A') && c <= Char('Z') ? Char(c - 'A' + 'a') : c;
}

template <typename Char>
constexpr Char AsciiUpper(Char c)
{
    return c >= Char('a') && c <= Char('z') ? Char(c - 'a' + 'A') : c;
}
