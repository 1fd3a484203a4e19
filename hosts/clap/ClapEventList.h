#pragma once
// The events a host hands a CLAP plug-in with a block: kept as their bytes, handed over sorted by
// time (the order CLAP requires, equal times in the order they came).

#include <clap/clap.h>

#include <cstdint>
#include <vector>

namespace brel {

class ClapEventList {
public:
  ClapEventList();
  ClapEventList(const ClapEventList&) = delete;
  ClapEventList& operator=(const ClapEventList&) = delete;

  // An event of header.size bytes, the header first; the list is sorted by time again.
  void Add(const clap_event_header_t& event);
  // A header-only event, whatever its size field says, appended where it is: for hostile shapes
  // (a short size, another event space, a time out of order).
  void AddRaw(const clap_event_header_t& event);
  void Clear();
  const clap_input_events_t* Input();

private:
  static uint32_t CLAP_ABI Size(const clap_input_events_t* list);
  static const clap_event_header_t* CLAP_ABI Get(const clap_input_events_t* list, uint32_t index);
  void Sort();

  std::vector<std::vector<std::uint64_t>> mEvents;  // 8-byte words keep each event aligned
  clap_input_events_t mInput{};
};

}  // namespace brel
