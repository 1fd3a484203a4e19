#include "core/Trace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/IPlugBase.h"
#include "tests/core/TestPlug.h"

namespace {

std::vector<std::string> gLines;
void Capture(const char* line) { gLines.push_back(line); }

// Collects trace lines for the life of a test.
struct TraceCapture {
  TraceCapture() {
    gLines.clear();
    BrelSetTraceSink(Capture);
  }
  ~TraceCapture() { BrelSetTraceSink(nullptr); }
  std::vector<std::string> From(const std::string& function) const {
    std::vector<std::string> texts;
    for (const std::string& line : gLines) {
      if (line.rfind(function + ":", 0) != 0) continue;
      const std::size_t text = line.find(": ", function.size());
      texts.push_back(line.substr(text + 2));
    }
    return texts;
  }
};

}  // namespace

TEST(Trace, LineCarriesFunctionSourceLineAndFormattedText) {
  TraceCapture capture;
  BrelTrace("Probe::Run", 42, "%d %s", 7, "seven");
  ASSERT_EQ(gLines.size(), 1u);
  EXPECT_EQ(gLines[0], "Probe::Run:42: 7 seven");
}

#ifndef BREL_TRACE

TEST(Trace, PointsCostNothingWithoutTheTraceBuild) {
  TraceCapture capture;
  int evaluated = 0;
  BREL_TRACE_POINT("Probe::Run", "%d", ++evaluated);
  VocalTestPlug plug;
  plug.LegalIO(1, -1);
  StateChunk chunk;
  plug.SaveProgramChunk(chunk);
  EXPECT_EQ(evaluated, 0) << "arguments are not even evaluated";
  EXPECT_TRUE(gLines.empty());
}

#else

TEST(Trace, ConstructionNamesTheEffectAndStampsLocalTime) {
  TraceCapture capture;
  VocalTestPlug plug;
  const std::vector<std::string> texts = capture.From("IPlugBase::IPlugBase");
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].rfind("Brelvane:", 0), 0u);
  EXPECT_EQ(texts[0].size(), std::string("Brelvane:").size() + 20);
}

TEST(Trace, LegalIOReportsItsVerdict) {
  VocalTestPlug plug;
  TraceCapture capture;
  plug.LegalIO(1, -1);
  plug.LegalIO(2, 1);
  EXPECT_EQ(capture.From("IPlugBase::LegalIO"), (std::vector<std::string>{"1:-1:legal", "2:1:illegal"}));
}

TEST(Trace, StateOperationsTraceEachParameterAndPreset) {
  VocalTestPlug plug;
  TraceCapture capture;
  StateChunk chunk;
  plug.SaveBankChunk(chunk);
  const std::vector<std::string> params = capture.From("IPlugBase::SerializeParams");
  ASSERT_EQ(params.size(), 11u);
  EXPECT_EQ(params[0], "0 Pres Comp 12.500000");
  EXPECT_EQ(params[10], "10 F Limit 0.000000");
  EXPECT_EQ(capture.From("IPlugBase::ModifyCurrentPreset"), std::vector<std::string>{"0 -"});
  EXPECT_EQ(capture.From("IPlugBase::SerializePresets"), std::vector<std::string>{"0 -"});
  plug.LoadChunk(chunk, true);
  EXPECT_EQ(capture.From("IPlugBase::UnserializePresets"), std::vector<std::string>{"0 -"});
  EXPECT_EQ(capture.From("IPlugBase::UnserializeParams").size(), 22u)
      << "the bank's slot, then the current preset";
}

#endif
