#include "core/HostId.h"

#include <gtest/gtest.h>

#include <string>

TEST(HostId, RecognisesHostsInAnyLetterCase) {
  EXPECT_EQ(IdentifyHost("SONAR by CAKEWALK"), HostId::Cakewalk);
  EXPECT_EQ(IdentifyHost("REAPER"), HostId::Reaper);
  EXPECT_EQ(IdentifyHost("Ardour"), HostId::Ardour);
  EXPECT_EQ(IdentifyHost("VST3PluginTestHost"), HostId::Vst3PluginTestHost);
  EXPECT_EQ(IdentifyHost("Pro Tools"), HostId::Unknown) << "the blank keeps it from matching";
  EXPECT_EQ(IdentifyHost("protools"), HostId::ProTools);
}

TEST(HostId, EarlierNameInTheSearchOrderWins) {
  EXPECT_EQ(IdentifyHost("Cubase Live"), HostId::Cubase);
  EXPECT_EQ(IdentifyHost("nuendo and cubase"), HostId::Cubase);
  EXPECT_EQ(IdentifyHost("Reaper Nuendo"), HostId::Reaper);
  EXPECT_EQ(IdentifyHost("Ableton Live"), HostId::Live);
  EXPECT_EQ(IdentifyHost("Digital Performer Standalone"), HostId::Digital);
  EXPECT_EQ(IdentifyHost("audiomulch forte"), HostId::Forte) << "forte is searched before audiomulch";
}

TEST(HostId, NoKnownNameGivesUnknown) {
  EXPECT_EQ(IdentifyHost(""), HostId::Unknown);
  EXPECT_EQ(IdentifyHost(nullptr), HostId::Unknown);
  EXPECT_EQ(IdentifyHost("Some Other Host"), HostId::Unknown);
}

TEST(HostId, OnlyTheFirst255CharactersAreSearched) {
  const std::string padded = std::string(250, 'x') + "reaper";
  EXPECT_EQ(IdentifyHost(padded.c_str()), HostId::Unknown);
  const std::string fits = std::string(249, 'x') + "reaper";
  EXPECT_EQ(IdentifyHost(fits.c_str()), HostId::Reaper);
}

TEST(HostId, DecimalHostVersionIsPackedLikeTheVersionWord) {
  EXPECT_EQ(PackHostVersion(51203), (5 << 16) | (12 << 8) | 3);
  EXPECT_EQ(PackHostVersion(0), 0);
}
