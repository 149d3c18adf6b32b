// The class list over arbitrary bytes. A file that loads in full comes back
// from a save and a load with the same classes and members in the same
// order, and saving that gives the same bytes again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "database/class_list.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/memory_env.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace junctra;
  MemoryEnv env;
  env.AddFolder("/");
  env.SetFile("/in", std::string(reinterpret_cast<const char*>(data), size));
  CClassList first;
  LoadReport report;
  first.LoadClassFile("/in", &report, &env);
  FUZZ_CHECK(report.opened);
  FUZZ_CHECK(first.m_classNames.size() == first.m_classInfos.size());
  for (const CClassInfo& info : first.m_classInfos) {
    FUZZ_CHECK(info.m_memberNames.size() == info.m_memberTypes.size());
    FUZZ_CHECK(info.m_memberNames.size() == info.m_memberTexts.size());
  }
  if (!report.complete) return 0;

  FUZZ_CHECK(first.SaveClassFile("/one", &env));
  CClassList second;
  second.LoadClassFile("/one", &report, &env);
  FUZZ_CHECK(report.complete);
  FUZZ_CHECK(second.m_classNames == first.m_classNames);
  FUZZ_CHECK(second.m_classInfos.size() == first.m_classInfos.size());
  for (std::size_t i = 0; i < first.m_classInfos.size(); ++i) {
    const CClassInfo& a = first.m_classInfos[i];
    const CClassInfo& b = second.m_classInfos[i];
    FUZZ_CHECK(a.m_memberNames == b.m_memberNames);
    FUZZ_CHECK(a.m_memberTypes == b.m_memberTypes);
    FUZZ_CHECK(a.m_memberTexts == b.m_memberTexts);
  }
  FUZZ_CHECK(second.SaveClassFile("/two", &env));
  FUZZ_CHECK(env.Bytes("/two") == env.Bytes("/one"));
  return 0;
}
