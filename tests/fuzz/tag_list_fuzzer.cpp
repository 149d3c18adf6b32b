// The tag list over arbitrary bytes. A file that loads in full (the format's
// result true and every line taken) comes back from a save and a load with
// the same tags, records and order, and saving that gives the same bytes
// again.
//
// "The same order" needs two round trips: each load puts a tag at the front
// of its bucket's chain, so one load reverses the order of the tags that
// share a bucket, and the next load restores it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "database/tag_list.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/memory_env.h"

namespace junctra {
namespace {

struct Loaded {
  bool result = false;
  LoadReport report;
  std::vector<const TagMap::Entry*> order;
};

Loaded Load(MemoryEnv& env, const std::string& path, CTagList& list) {
  Loaded loaded;
  loaded.result = list.LoadTagFile(path, &loaded.report, &env);
  loaded.order = list.m_tags.InIterationOrder();
  return loaded;
}

bool Same(const CDatabaseItem& a, const CDatabaseItem& b) {
  return a.m_number == b.m_number && a.m_type == b.m_type && a.m_rest == b.m_rest &&
         a.m_parameterLines.text() == b.m_parameterLines.text() &&
         a.m_alarmLines.text() == b.m_alarmLines.text() &&
         a.m_historyLines.text() == b.m_historyLines.text();
}

// The same tags with the same records, in the same order or, ordered by
// bucket, with each bucket's tags reversed.
void CheckSameTags(const Loaded& a, const Loaded& b, bool reversed) {
  FUZZ_CHECK(a.order.size() == b.order.size());
  std::size_t i = 0;
  while (i < a.order.size()) {
    // The run of tags of one bucket.
    const std::uint32_t bucket = TagMap::HashKey(a.order[i]->name) % TagMap::kBucketCount;
    std::size_t end = i;
    while (end < a.order.size() &&
           TagMap::HashKey(a.order[end]->name) % TagMap::kBucketCount == bucket) {
      ++end;
    }
    for (std::size_t k = i; k < end; ++k) {
      const TagMap::Entry* other = b.order[reversed ? end - 1 - (k - i) : k];
      FUZZ_CHECK(a.order[k]->name == other->name);
      FUZZ_CHECK(Same(a.order[k]->item, other->item));
    }
    i = end;
  }
}

}  // namespace
}  // namespace junctra

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace junctra;
  MemoryEnv env;
  env.AddFolder("/");
  env.SetFile("/in", std::string(reinterpret_cast<const char*>(data), size));
  CTagList first;
  const Loaded loaded = Load(env, "/in", first);
  FUZZ_CHECK(loaded.report.opened);
  if (!loaded.result || !loaded.report.complete) return 0;

  FUZZ_CHECK(first.SaveTagFile("/one", &env));
  CTagList second;
  const Loaded again = Load(env, "/one", second);
  FUZZ_CHECK(again.result && again.report.complete);
  CheckSameTags(loaded, again, true);

  FUZZ_CHECK(second.SaveTagFile("/two", &env));
  CTagList third;
  const Loaded third_loaded = Load(env, "/two", third);
  FUZZ_CHECK(third_loaded.result && third_loaded.report.complete);
  CheckSameTags(loaded, third_loaded, false);
  FUZZ_CHECK(third.SaveTagFile("/three", &env));
  FUZZ_CHECK(env.Bytes("/three") == env.Bytes("/one"));
  return 0;
}
