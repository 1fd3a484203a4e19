// The CLAP host library on its own: what it hands a plug-in as events, and what it says of a
// module that is no CLAP module. The plug-in side is tested through the real module.
#include <gtest/gtest.h>

#include <thread>
#include <utility>
#include <vector>

#include "hosts/clap/ClapEventList.h"
#include "hosts/clap/ClapHost.h"

namespace brel {
namespace {

clap_event_param_value_t ValueAt(uint32_t time, double value) {
  clap_event_param_value_t event{};
  event.header = {sizeof event, time, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
  event.value = value;
  return event;
}

std::vector<double> ValuesInOrder(ClapEventList& list) {
  const clap_input_events_t* in = list.Input();
  std::vector<double> values;
  for (uint32_t i = 0; i < in->size(in); ++i)
    values.push_back(reinterpret_cast<const clap_event_param_value_t*>(in->get(in, i))->value);
  return values;
}

TEST(ClapEventList, EventsGoOverSortedByTimeAndRawOnesStayWhereTheyWereAdded) {
  ClapEventList list;
  for (const auto& [time, value] : std::vector<std::pair<uint32_t, double>>{{9, 1}, {3, 2}, {9, 3}, {0, 4}})
    list.Add(ValueAt(time, value).header);
  EXPECT_EQ(ValuesInOrder(list), (std::vector<double>{4, 2, 1, 3})) << "equal times keep their order";
  const clap_input_events_t* in = list.Input();
  EXPECT_EQ(in->get(in, 4), nullptr);

  clap_event_header_t early{sizeof(clap_event_header_t), 1, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE,
                            0};
  list.AddRaw(early);
  ASSERT_EQ(in->size(in), 5u);
  EXPECT_EQ(in->get(in, 4)->time, 1u) << "a hostile event keeps its place";
  list.Clear();
  EXPECT_EQ(in->size(in), 0u);
}

TEST(ClapHost, AModuleWithoutAClapEntryOrNoModuleAtAllIsRefusedInOneLine) {
  ClapHost host;
  EXPECT_FALSE(host.Load(BRELVANE_VST2_PATH));
  EXPECT_NE(host.LastError().find("has no clap_entry"), std::string::npos) << host.LastError();
  EXPECT_FALSE(host.Load("no/such/module.clap"));
  EXPECT_EQ(host.LastError().find('\n'), std::string::npos);
  EXPECT_FALSE(host.CreatePlugin());
  EXPECT_EQ(host.ParamCount(), 0u);
  EXPECT_EQ(host.Process(static_cast<float**>(nullptr), 0, nullptr, 0, 16), CLAP_PROCESS_ERROR);
  std::vector<std::uint8_t> state;
  EXPECT_FALSE(host.SaveState(state));
}

// The gui's calls are thread-safe: a plug-in's editor may ask from any thread, and is refused
// what would change the host's window.
TEST(ClapHost, WhatAGuiAsksFromAnyThreadIsRecordedAndEachFlushRequestIsAnsweredOnce) {
  ClapHost host;
  const clap_host_t* h = host.Host();
  const auto* gui = static_cast<const clap_host_gui_t*>(h->get_extension(h, CLAP_EXT_GUI));
  const auto* params = static_cast<const clap_host_params_t*>(h->get_extension(h, CLAP_EXT_PARAMS));
  ASSERT_TRUE(gui && params);
  std::thread([&] {
    EXPECT_FALSE(gui->request_resize(h, 300, 200));
    EXPECT_FALSE(gui->request_show(h));
    gui->closed(h, true);
  }).join();
  const ClapHostRequests asked = host.Requests();
  EXPECT_EQ(asked.guiResizeRequests, (std::vector<std::pair<uint32_t, uint32_t>>{{300, 200}}));
  EXPECT_EQ(asked.guiShowRequests, 1);
  EXPECT_EQ(asked.guiClosed, 1);
  EXPECT_TRUE(asked.guiDestroyedByPlugin);
  EXPECT_EQ(asked.wrongThreadCalls, 0);

  EXPECT_FALSE(host.FlushWhenRequested());
  params->request_flush(h);
  EXPECT_TRUE(host.FlushWhenRequested());
  EXPECT_FALSE(host.FlushWhenRequested()) << "one request, one flush";
}

}  // namespace
}  // namespace brel
