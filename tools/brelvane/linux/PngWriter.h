#pragma once
// Encodes a bitmap as an 8-bit RGBA PNG in memory (libpng).
#include <vector>

class LICE_IBitmap;

namespace brel::cmd {

// False when libpng fails; `out` then holds nothing useful.
bool EncodePng(LICE_IBitmap& bitmap, std::vector<unsigned char>& out);

}  // namespace brel::cmd
