// The layout of every record is checked at compile time inside the header; these check the byte
// order facts that a compile-time size check cannot see.
#include "adapters/vst2/VstInterface.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(VstInterface, MagicIsStoredAsPtsVInMemory) {
  AEffect effect;
  std::memset(&effect, 0, sizeof(effect));
  effect.magic = kEffectMagic;
  unsigned char bytes[4];
  std::memcpy(bytes, &effect, 4);
  EXPECT_EQ(bytes[0], 0x50);
  EXPECT_EQ(bytes[1], 0x74);
  EXPECT_EQ(bytes[2], 0x73);
  EXPECT_EQ(bytes[3], 0x56);
}

TEST(VstInterface, FourCharacterCodesPutTheFirstCharacterHighest) {
  EXPECT_EQ(FourCC('N', 'v', 'E', 'f'), 0x4E764566);
  EXPECT_EQ(FourCC('t', 'f', 'f', 'p'), 0x74666670);
  // Characters above 0x7F must not sign-extend into the higher bytes.
  EXPECT_EQ(static_cast<uint32_t>(FourCC('\xF0', 0, 0, '\x80')), 0xF0000080u);
}
