// The one program ("-") as a host sees it: its name, renaming, choosing it again, and the
// program-name buffers hosts hand in.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/adapters/vst2/ModuleFixture.h"

using vst2test::PluginTest;
using vst2test::ProgramValues;

namespace {

class Programs : public PluginTest {};

// What hosts reserve for a program name: 24 bytes, terminator included.
constexpr int kProgramNameBytes = 24;

}  // namespace

TEST_F(Programs, TheOnlyProgramIsCalledDash) {
  EXPECT_EQ(mHost.NumPrograms(), 1);
  EXPECT_EQ(mHost.GetProgram(), 0);
  EXPECT_EQ(mHost.ProgramName(), "-");
  EXPECT_EQ(mHost.ProgramNameIndexed(0), "-");
  char name[64] = {};
  EXPECT_EQ(mHost.Dispatch(effGetProgramNameIndexed, 0, 0, name), 1);
  EXPECT_EQ(mHost.Dispatch(effGetProgramName, 0, 0, name), 0);
}

TEST_F(Programs, ProgramsBeyondTheListHaveNoName) {
  for (VstInt32 index : {1, 2, -1, 0x7FFFFFFF}) {
    char name[64];
    std::memset(name, 'x', sizeof(name));
    EXPECT_EQ(mHost.Dispatch(effGetProgramNameIndexed, index, 0, name), 0) << index;
    EXPECT_STREQ(name, "") << index;
  }
}

TEST_F(Programs, RenamingTheProgramShowsEverywhere) {
  mHost.SetProgramName("Lead vocal");
  EXPECT_EQ(mHost.ProgramName(), "Lead vocal");
  EXPECT_EQ(mHost.ProgramNameIndexed(0), "Lead vocal");
  EXPECT_EQ(mHost.GetProgram(), 0);
}

TEST_F(Programs, AnEmptyNameKeepsTheOldOne) {
  mHost.SetProgramName("Lead vocal");
  mHost.SetProgramName("");
  EXPECT_EQ(mHost.ProgramName(), "Lead vocal");
}

TEST_F(Programs, RenamingKeepsTheLiveValues) {
  mHost.SetParameter(0, 0.9f);
  const std::vector<double> live = ProgramValues(mHost);
  mHost.SetProgramName("Lead vocal");
  EXPECT_EQ(ProgramValues(mHost), live);
}

TEST_F(Programs, ChoosingTheCurrentProgramAgainKeepsTheValues) {
  mHost.SetParameter(0, 0.9f);
  mHost.SetParameter(8, 0.5f);
  ASSERT_TRUE(mHost.String2Parameter(1, "77.777"));
  const std::vector<double> live = ProgramValues(mHost);
  mHost.SetProgram(0);
  EXPECT_EQ(mHost.GetProgram(), 0);
  EXPECT_EQ(ProgramValues(mHost), live);
  EXPECT_EQ(mHost.ParamDisplay(8), "B");
}

TEST_F(Programs, ChoosingAProgramBeyondTheListChangesNothing) {
  mHost.SetParameter(0, 0.9f);
  const std::vector<double> live = ProgramValues(mHost);
  for (VstIntPtr program : {VstIntPtr(1), VstIntPtr(-1), VstIntPtr(1000), VstIntPtr(1) << 32}) {
    mHost.Dispatch(effSetProgram, 0, program);
    EXPECT_EQ(mHost.GetProgram(), 0) << program;
    EXPECT_EQ(ProgramValues(mHost), live) << program;
  }
  EXPECT_EQ(mHost.ProgramName(), "-");
}

TEST_F(Programs, LongNamesStayWithinTheHostsNameBuffer) {
  const std::string longName(300, 'v');
  mHost.SetProgramName(longName);
  char buffer[64];
  std::memset(buffer, 'x', sizeof(buffer));
  mHost.Dispatch(effGetProgramName, 0, 0, buffer);
  EXPECT_EQ(std::string(buffer), longName.substr(0, kProgramNameBytes - 1));
  for (int i = kProgramNameBytes; i < 64; ++i) ASSERT_EQ(buffer[i], 'x') << "byte " << i;
  std::memset(buffer, 'x', sizeof(buffer));
  EXPECT_EQ(mHost.Dispatch(effGetProgramNameIndexed, 0, 0, buffer), 1);
  for (int i = kProgramNameBytes; i < 64; ++i) ASSERT_EQ(buffer[i], 'x') << "byte " << i;
}

TEST_F(Programs, RequestsWithoutABufferAreHarmless) {
  EXPECT_EQ(mHost.Dispatch(effGetProgramName, 0, 0, nullptr), 0);
  EXPECT_EQ(mHost.Dispatch(effGetProgramNameIndexed, 0, 0, nullptr), 0);
  EXPECT_EQ(mHost.Dispatch(effSetProgramName, 0, 0, nullptr), 0);
  EXPECT_EQ(mHost.ProgramName(), "-");
}
