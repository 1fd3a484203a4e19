// Feeds arbitrary bytes to the PNG decoder. Any crash, out-of-bounds read (of the input or the
// bitmap), leak, or a bitmap whose size disagrees with the pixels it holds is a finding.

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "raster/PngDecode.h"

// libpng's default handlers report every rejected file on stderr. libFuzzer can silence stderr
// and keep its own and the sanitizers' reports (close_fd_mask=2); ask for that unless told otherwise.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static std::vector<char*> args;
  static char quiet[] = "-close_fd_mask=2";
  for (int i = 0; i < *argc; ++i) {
    if (std::strncmp((*argv)[i], "-close_fd_mask=", 15) == 0) return 0;
  }
  args.assign(*argv, *argv + *argc);
  args.push_back(quiet);
  args.push_back(nullptr);
  *argc += 1;
  *argv = args.data();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int length = size > INT_MAX ? INT_MAX : static_cast<int>(size);
  LICE_MemBitmap* bitmap = DecodePngImage(data, length);
  if (!bitmap) return 0;
  if (bitmap->Width() <= 0 || bitmap->Height() <= 0 || !bitmap->Pixels() ||
      bitmap->RowSpan() < bitmap->Width()) {
    std::abort();
  }
  // Touch the last pixel: the storage must hold every row.
  volatile LicePixel last =
      bitmap->Pixels()[static_cast<std::size_t>(bitmap->Height() - 1) * bitmap->RowSpan() + bitmap->Width() -
                       1];
  (void)last;
  delete bitmap;
  return 0;
}
