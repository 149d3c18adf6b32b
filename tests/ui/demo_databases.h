// The databases the screenshot helpers merge: a common ancestor, the first
// database changed from it, a second one that merges with the first against
// it (a change, a deletion, an addition) and one that conflicts with it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/database_files.h"

namespace junctra {

struct DemoFolders {
  std::filesystem::path base, first, second, conflicting, merged;
};

inline DemoFolders WriteDemoDatabases(const std::filesystem::path& root) {
  struct Tag {
    std::u16string name, numbers, alarm;
  };
  auto write = [&](const char* name, const std::vector<Tag>& tags) {
    const std::filesystem::path folder = root / name;
    std::filesystem::create_directories(folder);
    std::u16string blocks;
    for (const Tag& tag : tags) blocks += TagBlock(tag.name, tag.numbers, u"", tag.alarm);
    WriteDatabaseFile(folder / "tagl.txt", TagFile(blocks));
    return folder;
  };
  auto alarm = [](const char16_t* limit) {
    return u"Hi|" + std::u16string(limit) + u"|1|Drum pressure high\n";
  };
  DemoFolders folders;
  folders.base = write("base", {{u"Boiler_Level", u"9|2|"},
                                {u"Feed_Pump", u"3|2|"},
                                {u"Drum_Pressure", u"4|2|", alarm(u"75")},
                                {u"Valve_12", u"1|2|"}});
  folders.first = write("north", {{u"Boiler_Level", u"10|2|"},
                                  {u"Feed_Pump", u"3|2|"},
                                  {u"Drum_Pressure", u"4|2|", alarm(u"80")},
                                  {u"Valve_12", u"1|2|"},
                                  {u"Condenser_Temperature_Downstream_Bypass", u"1|2|"}});
  folders.second = write("south", {{u"Boiler_Level", u"9|2|"},
                                   {u"Cooling_Fan", u"2|2|"},
                                   {u"Feed_Pump", u"3|2|"},
                                   {u"Drum_Pressure", u"4|2|", alarm(u"75")}});
  folders.conflicting = write("east", {{u"Boiler_Level", u"11|2|"},
                                       {u"Feed_Pump", u"5|2|"},
                                       {u"Drum_Pressure", u"4|2|", alarm(u"85")},
                                       {u"Valve_12", u"1|2|"},
                                       {u"Condenser_Temperature_Downstream_Bypass", u"2|2|"}});
  folders.merged = root / "merged";
  std::filesystem::create_directories(folders.merged);
  return folders;
}

}  // namespace junctra
