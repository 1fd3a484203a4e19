#include "hosts/clap/ClapEventList.h"

#include <algorithm>
#include <cstring>

namespace brel {

ClapEventList::ClapEventList() {
  mInput.ctx = this;
  mInput.size = Size;
  mInput.get = Get;
}

void ClapEventList::Add(const clap_event_header_t& event) {
  const std::size_t bytes = std::max<std::size_t>(event.size, sizeof event);
  std::vector<std::uint64_t> words((bytes + 7) / 8);
  std::memcpy(words.data(), &event, bytes);
  mEvents.push_back(std::move(words));
  Sort();
}

void ClapEventList::AddRaw(const clap_event_header_t& event) {
  std::vector<std::uint64_t> words((sizeof event + 7) / 8);
  std::memcpy(words.data(), &event, sizeof event);
  mEvents.push_back(std::move(words));
}

void ClapEventList::Clear() { mEvents.clear(); }

const clap_input_events_t* ClapEventList::Input() { return &mInput; }

void ClapEventList::Sort() {
  std::stable_sort(mEvents.begin(), mEvents.end(), [](const auto& a, const auto& b) {
    return reinterpret_cast<const clap_event_header_t*>(a.data())->time <
           reinterpret_cast<const clap_event_header_t*>(b.data())->time;
  });
}

uint32_t CLAP_ABI ClapEventList::Size(const clap_input_events_t* list) {
  return static_cast<uint32_t>(static_cast<ClapEventList*>(list->ctx)->mEvents.size());
}

const clap_event_header_t* CLAP_ABI ClapEventList::Get(const clap_input_events_t* list, uint32_t index) {
  const auto& events = static_cast<ClapEventList*>(list->ctx)->mEvents;
  return index < events.size() ? reinterpret_cast<const clap_event_header_t*>(events[index].data()) : nullptr;
}

}  // namespace brel
