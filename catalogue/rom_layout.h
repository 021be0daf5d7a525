#pragma once

// Where the cartridge header keeps the game's titles, in a plain image and in
// the SMD interleave. An SMD file is a 512-byte file header, then blocks of
// 16384 cartridge bytes, each block holding the cartridge's odd-numbered bytes
// in its first half and the even-numbered ones in its second.
namespace rom_layout {

constexpr int kFirstTitle = 0x120;  // the domestic title
constexpr int kSecondTitle = 0x150; // the overseas title
constexpr int kTitleField = 48;
constexpr int kHeaderNameMax = 47; // the longest title the program keeps

constexpr int kSmdFileHeader = 512;
constexpr int kSmdBlock = 16384;
// The second title of the first block, as two runs of 24 bytes each.
constexpr int kSmdRunLength = kTitleField / 2;
constexpr int kSmdOddRun = kSmdFileHeader + kSecondTitle / 2;                  // cartridge bytes 0x151, 0x153, ...
constexpr int kSmdEvenRun = kSmdFileHeader + kSmdBlock / 2 + kSecondTitle / 2; // cartridge bytes 0x150, 0x152, ...

} // namespace rom_layout
