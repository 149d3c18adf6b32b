#include "merge/three_way_merge.h"

#include <algorithm>
#include <span>

#include "merge/conflict_detail.h"
#include "merge/folded_name_index.h"
#include "platform/resource_module.h"
#include "platform/text.h"

namespace junctra {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);
// Keys of type codes: a code that names a class is compared by the class's
// name, as kClassKey plus the slot of its first namesake (or kBaseOnlyKey
// plus its base position for a class only the base has); any other code
// as its number.
constexpr std::int64_t kClassKey = std::int64_t{1} << 40;
constexpr std::int64_t kBaseOnlyKey = std::int64_t{1} << 41;

std::u16string Folded(std::u16string_view name) {
  std::u16string folded(name);
  for (char16_t& c : folded) c = FoldAsciiCase(c);
  return folded;
}

// The first namesake (A to Z folded) of a name among a list's class names.
class ClassNameIndex {
 public:
  explicit ClassNameIndex(const std::vector<std::u16string_view>& names) : names_(names) {
    index_.Reserve(names.size());
    for (const std::u16string_view& name : names) index_.AddIfAbsent(&name);
  }
  // Its position, or kNone.
  std::size_t Find(std::u16string_view name) const {
    const std::u16string_view* const* found = index_.Find(name);
    return found != nullptr ? static_cast<std::size_t>(*found - names_.data()) : kNone;
  }

 private:
  struct Deref {
    std::u16string_view operator()(const std::u16string_view* name) const { return *name; }
  };
  const std::vector<std::u16string_view>& names_;
  FoldedNameIndex<const std::u16string_view*, Deref> index_;
};

// Tags by folded name, the first met in a map's iteration order.
struct EntryName {
  std::u16string_view operator()(const TagMap::Entry* entry) const { return entry->name; }
};
using TagNameIndex = FoldedNameIndex<const TagMap::Entry*, EntryName>;

// The entries' names are hashed once, when read: those hashes serve here.
TagNameIndex IndexOf(const std::vector<const TagMap::Entry*>& entries,
                     const std::vector<std::uint32_t>& hashes, std::vector<bool>* added = nullptr) {
  TagNameIndex index;
  index.Reserve(entries.size());
  index.AddAllIfAbsent(entries, hashes, added);
  return index;
}

std::vector<const TagMap::Entry*> FindAll(const TagNameIndex& index,
                                          const std::vector<const TagMap::Entry*>& entries,
                                          const std::vector<std::uint32_t>& hashes) {
  std::vector<const TagMap::Entry*> found(entries.size());
  index.FindAll(entries, hashes, found);
  return found;
}

bool SameClass(const CClassInfo& a, const CClassInfo& b) { return !a.IsDifferent(b); }

bool SameTag(const TagVersion& a, const TagVersion& b) {
  return a.type_key == b.type_key && !a.item->IsDifferent(*b.item, b.item->m_type);
}

// The class position a type code names in a list of count classes, or
// kNone.
std::size_t ClassPosition(std::int32_t code, std::size_t count) {
  if (code < 4) return kNone;
  const auto position = static_cast<std::size_t>(code) - 4;
  return position < count ? position : kNone;
}

// The version of a tag as a list with these class keys and names has it.
TagVersion VersionOf(const TagMap::Entry* entry, const std::vector<std::int64_t>& keys,
                     const std::vector<std::u16string_view>& names) {
  if (entry == nullptr) return {};
  const std::int32_t code = entry->item.m_type;
  const std::size_t position = ClassPosition(code, keys.size());
  return {&entry->item, code, position == kNone ? code : keys[position], &names};
}

unsigned ConflictMessage(Outcome outcome, bool is_class) {
  switch (outcome) {
    case Outcome::kChangedDeleted:
      return is_class ? IDS_CLASS_CHANGED_DELETED : IDS_TAG_CHANGED_DELETED;
    case Outcome::kDeletedChanged:
      return is_class ? IDS_CLASS_DELETED_CHANGED : IDS_TAG_DELETED_CHANGED;
    default:
      return is_class ? IDS_CLASS_CONFLICT : IDS_TAG_CONFLICT;
  }
}

// A conflict decided for side: that side's definition, or its deletion.
Outcome Decided(Outcome conflict, Side side) {
  if (side == Side::kFirst) {
    return conflict == Outcome::kDeletedChanged ? Outcome::kDeleted : Outcome::kFirst;
  }
  return conflict == Outcome::kChangedDeleted ? Outcome::kDeleted : Outcome::kSecond;
}

bool IsConflict(Outcome outcome) {
  return outcome == Outcome::kConflict || outcome == Outcome::kChangedDeleted ||
         outcome == Outcome::kDeletedChanged;
}

}  // namespace

ThreeWayMerge::ThreeWayMerge(const Decisions& decisions, const ResourceModule& strings, Env* env)
    : strings_(strings), env_(env), decide_all_(decisions.all) {
  for (const Decision& decision : decisions.each) {
    decided_[decision.is_class ? 1 : 0][Folded(decision.name)] = decision.side;
  }
}

template <class Describe>
Outcome ThreeWayMerge::Decide(Resolution resolution, bool is_class, std::u16string_view name,
                              Describe&& describe, ConflictList& conflicts) {
  if (!IsConflict(resolution.outcome)) return resolution.outcome;
  const auto& decided = decided_[is_class ? 1 : 0];
  std::optional<junctra::Side> side = decide_all_;
  if (!decided.empty()) {
    if (auto found = decided.find(Folded(name)); found != decided.end()) side = found->second;
  }
  if (side) {
    ++counts_.decided;
    return Decided(resolution.outcome, *side);
  }
  conflicts.push_back(
      {FormatMessage(strings_.LoadString(ConflictMessage(resolution.outcome, is_class)), name),
       describe(), is_class, std::u16string(name)});
  return resolution.outcome;
}

bool ThreeWayMerge::MergeClasses(CClassList first, CClassList second, CClassList base,
                                 ConflictList& conflicts) {
  first_classes_ = std::move(first);
  second_classes_ = std::move(second);
  base_classes_ = std::move(base);
  const auto& first_names = first_classes_.m_classNames;
  const auto& second_names = second_classes_.m_classNames;
  const auto& base_names = base_classes_.m_classNames;
  const ClassNameIndex in_first(first_names), in_second(second_names), in_base(base_names);
  const std::size_t conflicts_before = conflicts.size();

  // Each class's outcome, in its slot, which holds the definition there is.
  auto settle = [&](ClassSlot& slot, const CClassInfo* f, const CClassInfo* s,
                    std::u16string_view name, std::size_t b) {
    const CClassInfo* base_info = b != kNone ? &base_classes_.m_classInfos[b] : nullptr;
    const Resolution resolution = Resolve(f, s, base_info, SameClass);
    const Outcome outcome = Decide(
        resolution, true, name, [&] { return DescribeClassConflict(f, s, base_info, strings_); },
        conflicts);
    if (outcome == Outcome::kSecond) {
      slot.info = s;
      ++counts_.classes_from_second;
    }
    slot.deleted = outcome == Outcome::kDeleted;
    if (resolution.changed && outcome == resolution.outcome) ++counts_.changed;
  };

  first_keys_.resize(first_names.size());
  for (std::size_t i = 0; i < first_names.size(); ++i) {
    const std::size_t namesake = in_first.Find(first_names[i]);
    first_keys_[i] = kClassKey + static_cast<std::int64_t>(namesake);
    slots_.push_back({first_names[i], &first_classes_.m_classInfos[i]});
    if (namesake != i) continue;  // a later namesake: kept as it is
    const std::size_t s = in_second.Find(first_names[i]);
    settle(slots_.back(), &first_classes_.m_classInfos[i],
           s != kNone ? &second_classes_.m_classInfos[s] : nullptr, first_names[i],
           in_base.Find(first_names[i]));
  }
  second_slots_.resize(second_names.size());
  second_keys_.resize(second_names.size());
  for (std::size_t i = 0; i < second_names.size(); ++i) {
    const std::size_t in_first_at = in_first.Find(second_names[i]);
    if (in_first_at != kNone) {
      second_slots_[i] = in_first_at;
      second_keys_[i] = kClassKey + static_cast<std::int64_t>(in_first_at);
      continue;
    }
    second_slots_[i] = slots_.size();
    second_keys_[i] =
        kClassKey + static_cast<std::int64_t>(second_slots_[in_second.Find(second_names[i])]);
    slots_.push_back({second_names[i], &second_classes_.m_classInfos[i]});
    settle(slots_.back(), nullptr, &second_classes_.m_classInfos[i], second_names[i],
           in_base.Find(second_names[i]));
  }
  base_keys_.resize(base_names.size());
  for (std::size_t i = 0; i < base_names.size(); ++i) {
    const std::size_t f = in_first.Find(base_names[i]);
    const std::size_t s = f == kNone ? in_second.Find(base_names[i]) : kNone;
    base_keys_[i] = f != kNone   ? kClassKey + static_cast<std::int64_t>(f)
                    : s != kNone ? second_keys_[s]
                                 : kBaseOnlyKey + static_cast<std::int64_t>(i);
  }
  return conflicts.size() == conflicts_before;
}

bool ThreeWayMerge::MergeTags(CTagList first, CTagList second, CTagList base,
                              ConflictList& conflicts) {
  const auto first_order = first.m_tags.InIterationOrder();
  const auto second_order = second.m_tags.InIterationOrder();
  const auto first_version = [&](const TagMap::Entry* e) {
    return VersionOf(e, first_keys_, first_classes_.m_classNames);
  };
  const auto second_version = [&](const TagMap::Entry* e) {
    return VersionOf(e, second_keys_, second_classes_.m_classNames);
  };
  const auto base_version = [&](const TagMap::Entry* e) {
    return VersionOf(e, base_keys_, base_classes_.m_classNames);
  };
  // Which tags are the first of their name in their own list, and the
  // first namesake each has in the other list.
  std::vector<bool> first_is_first, second_is_first;
  std::vector<const TagMap::Entry*> first_in_second, second_in_first;
  {
    // Each list's index on a thread of its own, then each list looked up
    // in the other's.
    TagNameIndex first_index, second_index;
    std::vector<std::uint32_t> first_hashes, second_hashes;
    env_->RunTasks({[&] {
                      first_hashes = TagMap::HashesOf(first_order);
                      first_index = IndexOf(first_order, first_hashes, &first_is_first);
                    },
                    [&] {
                      second_hashes = TagMap::HashesOf(second_order);
                      second_index = IndexOf(second_order, second_hashes, &second_is_first);
                    }});
    env_->RunTasks({[&] { first_in_second = FindAll(second_index, first_order, first_hashes); },
                    [&] { second_in_first = FindAll(first_index, second_order, second_hashes); }});
  }

  // The base is looked at only for the names where FIRST and SECOND do not
  // agree: those FIRST's tag differs on, and SECOND's that FIRST lacks.
  std::vector<char> agreed(first_order.size(), 0);
  std::vector<const TagMap::Entry*> first_in_base(first_order.size());
  std::vector<const TagMap::Entry*> second_in_base(second_order.size());
  {
    // Whether the namesakes agree: half of them on each thread, each tag's
    // memory fetched a few tags ahead.
    const auto compare = [&](std::size_t begin, std::size_t end) {
      const std::span<const TagMap::Entry* const> firsts(first_order.data() + begin, end - begin);
      const std::span<const TagMap::Entry* const> seconds(first_in_second.data() + begin,
                                                          end - begin);
      for (std::size_t k = 0; k < firsts.size(); ++k) {
        TagMap::FetchAhead(firsts, k, 4);
        TagMap::FetchAhead(seconds, k, 4);
        agreed[begin + k] = first_is_first[begin + k] && seconds[k] != nullptr &&
                            SameTag(first_version(firsts[k]), second_version(seconds[k]));
      }
    };
    const std::size_t half = first_order.size() / 2;
    env_->RunTasks({[&] { compare(0, half); }, [&] { compare(half, first_order.size()); }});
    std::vector<const TagMap::Entry*> asked;
    std::vector<const TagMap::Entry**> answers;
    for (std::size_t i = 0; i < first_order.size(); ++i) {
      if (!first_is_first[i] || agreed[i]) continue;
      asked.push_back(first_order[i]);
      answers.push_back(&first_in_base[i]);
    }
    for (std::size_t i = 0; i < second_order.size(); ++i) {
      if (second_in_first[i] != nullptr) continue;
      asked.push_back(second_order[i]);
      answers.push_back(&second_in_base[i]);
    }
    if (!asked.empty() && !base.m_tags.IsEmpty()) {
      const std::vector<const TagMap::Entry*> base_order = base.m_tags.InIterationOrder();
      const std::vector<const TagMap::Entry*> found = FindAll(
          IndexOf(base_order, TagMap::HashesOf(base_order)), asked, TagMap::HashesOf(asked));
      for (std::size_t i = 0; i < found.size(); ++i) *answers[i] = found[i];
    }
  }

  // The tags of the result, with the list each comes from: FIRST's places
  // in order, then SECOND's additions.
  struct Taken {
    std::u16string_view name;
    const CDatabaseItem* item;
    bool from_second;
    std::uint32_t hash;  // of the name
  };
  std::vector<Taken> in_place, added;
  in_place.reserve(first_order.size());
  ConflictList tag_conflicts;

  // One name's outcome; f or s may be null, not both.
  const auto settle = [&](const TagMap::Entry* f, const TagMap::Entry* s, const TagMap::Entry* b) {
    const TagVersion fv = first_version(f), sv = second_version(s), bv = base_version(b);
    const TagVersion* const base_seen = b != nullptr ? &bv : nullptr;
    const Resolution resolution =
        Resolve(f != nullptr ? &fv : nullptr, s != nullptr ? &sv : nullptr, base_seen, SameTag);
    const std::u16string_view name = f != nullptr ? f->name : s->name;
    const Outcome outcome = Decide(
        resolution, false, name, [&] { return DescribeTagConflict(fv, sv, base_seen, strings_); },
        tag_conflicts);
    if (resolution.changed && outcome == resolution.outcome) ++counts_.changed;
    if (outcome == Outcome::kDeleted) ++counts_.deleted;
    return outcome;
  };

  for (std::size_t i = 0; i < first_order.size(); ++i) {
    const TagMap::Entry* f = first_order[i];
    if (!first_is_first[i] || agreed[i]) {  // a later namesake is kept as it is
      in_place.push_back({f->name, &f->item, false, f->hash});
      continue;
    }
    const TagMap::Entry* s = first_in_second[i];
    const Outcome outcome = settle(f, s, first_in_base[i]);
    if (outcome == Outcome::kFirst) in_place.push_back({f->name, &f->item, false, f->hash});
    if (outcome == Outcome::kSecond) in_place.push_back({f->name, &s->item, true, f->hash});
  }
  for (std::size_t i = 0; i < second_order.size(); ++i) {
    const TagMap::Entry* s = second_order[i];
    if (const TagMap::Entry* f = second_in_first[i]) {
      // A later namesake of SECOND's is checked against FIRST's, as in the
      // two-way merge.
      if (!second_is_first[i] && !SameTag(first_version(f), second_version(s))) {
        settle(f, s, nullptr);
      }
      continue;
    }
    if (settle(nullptr, s, second_in_base[i]) == Outcome::kSecond) {
      added.push_back({s->name, &s->item, true, s->hash});
    }
  }

  base = CTagList();  // every comparison is done

  // Deleted classes that a tag of the result names stay; then each slot's
  // place in the result.
  const auto slot_of = [&](const Taken& tag) {
    const std::size_t count =
        tag.from_second ? second_slots_.size() : first_classes_.m_classNames.size();
    const std::size_t position = ClassPosition(tag.item->m_type, count);
    if (position == kNone) return kNone;
    return tag.from_second ? second_slots_[position] : position;
  };
  for (const auto* list : {&in_place, &added}) {
    for (const Taken& tag : *list) {
      if (const std::size_t slot = slot_of(tag); slot != kNone) slots_[slot].named = true;
    }
  }
  std::vector<std::size_t> places(slots_.size(), kNone);
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    if (slots_[i].deleted && !slots_[i].named) {
      ++counts_.deleted;
      continue;
    }
    places[i] = result_classes_.m_classNames.size();
    result_classes_.AddClass(slots_[i].name, *slots_[i].info);
  }

  // A code that names no class of its own database would name one of the
  // result's: refused, as in the two-way merge.
  ConflictList code_conflicts;
  const std::size_t result_count = result_classes_.m_classNames.size();
  const auto code_of = [&](const Taken& tag) {
    const std::size_t slot = slot_of(tag);
    return slot != kNone ? static_cast<std::int32_t>(4 + places[slot]) : tag.item->m_type;
  };
  for (const auto* list : {&in_place, &added}) {
    for (const Taken& tag : *list) {
      const std::int32_t code = tag.item->m_type;
      if (slot_of(tag) != kNone || ClassPosition(code, result_count) == kNone) continue;
      std::u16string number;
      AppendDecimal(number, code);
      code_conflicts.push_back(
          {FormatMessage(strings_.LoadString(IDS_UNDEFINED_CLASS_CODE), tag.name, number), {}});
    }
  }
  if (!code_conflicts.empty() || !tag_conflicts.empty()) {
    for (auto* list : {&code_conflicts, &tag_conflicts}) {
      conflicts.insert(conflicts.end(), std::make_move_iterator(list->begin()),
                       std::make_move_iterator(list->end()));
    }
    return false;
  }

  // FIRST's places are stored newest first, so that they iterate in
  // FIRST's order; SECOND's additions as the two-way merge stores them.
  std::vector<TagMap::Entry> staged;
  staged.reserve(in_place.size() + added.size());
  for (auto it = in_place.rbegin(); it != in_place.rend(); ++it) {
    staged.push_back({it->name, *it->item, it->hash});
    staged.back().item.m_type = code_of(*it);
  }
  for (const Taken& tag : added) {
    staged.push_back({tag.name, *tag.item, tag.hash});
    staged.back().item.m_type = code_of(tag);
  }
  for (const auto* list : {&in_place, &added}) {
    counts_.tags_from_second += static_cast<std::size_t>(std::count_if(
        list->begin(), list->end(), [](const Taken& tag) { return tag.from_second; }));
  }
  // The records point into the two lists' text, which the result keeps;
  // their maps go before the result's is built.
  result_tags_.m_texts.Adopt(std::move(first.m_texts));
  result_tags_.m_texts.Adopt(std::move(second.m_texts));
  first = CTagList();
  second = CTagList();
  std::vector<const TagMap::Entry*> order;
  order.reserve(staged.size());
  for (const TagMap::Entry& entry : staged) order.push_back(&entry);
  result_tags_.m_tags.Reserve(order.size());
  result_tags_.m_tags.SetAll(order, [](const TagMap::Entry& entry) { return entry.item; });
  return true;
}

}  // namespace junctra
