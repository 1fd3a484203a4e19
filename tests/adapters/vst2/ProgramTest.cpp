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
  EXPECT_EQ(host.NumPrograms(), 1);
  EXPECT_EQ(host.GetProgram(), 0);
  EXPECT_EQ(host.ProgramName(), "-");
  EXPECT_EQ(host.ProgramNameIndexed(0), "-");
  char name[64] = {};
  EXPECT_EQ(host.Dispatch(effGetProgramNameIndexed, 0, 0, name), 1);
  EXPECT_EQ(host.Dispatch(effGetProgramName, 0, 0, name), 0);
}

TEST_F(Programs, ProgramsBeyondTheListHaveNoName) {
  for (VstInt32 index : {1, 2, -1, 0x7FFFFFFF}) {
    char name[64];
    std::memset(name, 'x', sizeof(name));
    EXPECT_EQ(host.Dispatch(effGetProgramNameIndexed, index, 0, name), 0) << index;
    EXPECT_STREQ(name, "") << index;
  }
}

TEST_F(Programs, RenamingTheProgramShowsEverywhere) {
  host.SetProgramName("Lead vocal");
  EXPECT_EQ(host.ProgramName(), "Lead vocal");
  EXPECT_EQ(host.ProgramNameIndexed(0), "Lead vocal");
  EXPECT_EQ(host.GetProgram(), 0);
}

TEST_F(Programs, AnEmptyNameKeepsTheOldOne) {
  host.SetProgramName("Lead vocal");
  host.SetProgramName("");
  EXPECT_EQ(host.ProgramName(), "Lead vocal");
}

TEST_F(Programs, RenamingKeepsTheLiveValues) {
  host.SetParameter(0, 0.9f);
  const std::vector<double> live = ProgramValues(host);
  host.SetProgramName("Lead vocal");
  EXPECT_EQ(ProgramValues(host), live);
}

TEST_F(Programs, ChoosingTheCurrentProgramAgainKeepsTheValues) {
  host.SetParameter(0, 0.9f);
  host.SetParameter(8, 0.5f);
  ASSERT_TRUE(host.String2Parameter(1, "77.777"));
  const std::vector<double> live = ProgramValues(host);
  host.SetProgram(0);
  EXPECT_EQ(host.GetProgram(), 0);
  EXPECT_EQ(ProgramValues(host), live);
  EXPECT_EQ(host.ParamDisplay(8), "B");
}

TEST_F(Programs, ChoosingAProgramBeyondTheListChangesNothing) {
  host.SetParameter(0, 0.9f);
  const std::vector<double> live = ProgramValues(host);
  for (VstIntPtr program : {VstIntPtr(1), VstIntPtr(-1), VstIntPtr(1000), VstIntPtr(1) << 32}) {
    host.Dispatch(effSetProgram, 0, program);
    EXPECT_EQ(host.GetProgram(), 0) << program;
    EXPECT_EQ(ProgramValues(host), live) << program;
  }
  EXPECT_EQ(host.ProgramName(), "-");
}

TEST_F(Programs, LongNamesStayWithinTheHostsNameBuffer) {
  const std::string longName(300, 'v');
  host.SetProgramName(longName);
  char buffer[64];
  std::memset(buffer, 'x', sizeof(buffer));
  host.Dispatch(effGetProgramName, 0, 0, buffer);
  EXPECT_EQ(std::string(buffer), longName.substr(0, kProgramNameBytes - 1));
  for (int i = kProgramNameBytes; i < 64; ++i) ASSERT_EQ(buffer[i], 'x') << "byte " << i;
  std::memset(buffer, 'x', sizeof(buffer));
  EXPECT_EQ(host.Dispatch(effGetProgramNameIndexed, 0, 0, buffer), 1);
  for (int i = kProgramNameBytes; i < 64; ++i) ASSERT_EQ(buffer[i], 'x') << "byte " << i;
}

TEST_F(Programs, RequestsWithoutABufferAreHarmless) {
  EXPECT_EQ(host.Dispatch(effGetProgramName, 0, 0, nullptr), 0);
  EXPECT_EQ(host.Dispatch(effGetProgramNameIndexed, 0, 0, nullptr), 0);
  EXPECT_EQ(host.Dispatch(effSetProgramName, 0, 0, nullptr), 0);
  EXPECT_EQ(host.ProgramName(), "-");
}
