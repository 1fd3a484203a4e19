// Writes the command's manual page, from the same table its help is read from:
// brelvane_manpage_writer OUTPUT.
#include <fstream>
#include <iostream>

#include "tools/brelvane/HelpText.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: brelvane_manpage_writer OUTPUT\n";
    return 2;
  }
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out << brel::cmd::ManPage();
  out.close();
  if (!out) {
    std::cerr << "brelvane_manpage_writer: cannot write '" << argv[1] << "'\n";
    return 1;
  }
  return 0;
}
