#include "core/ArticleIndex.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// Positions filed under one hash, or under hashes that share a tag, are told
// apart by the caller; the lowest match wins whatever the table's growth.
TEST(ArticleIndexTest, FindsTheLowestMatchAmongSharedHashesThroughGrowth) {
  const std::size_t hash = 0x123456789abcdef0ULL;
  // Same low-xor-high 32 bits, different hash.
  const std::size_t twin = hash ^ 0x0000000100000001ULL;
  ArticleIndex index;
  EXPECT_EQ(index.Find(hash, [](int) { return true; }), -1);
  for (int position = 0; position < 300; ++position)
    index.Insert(position % 2 ? twin : hash, position);
  for (int position = 300; position < 1000; ++position)
    index.Insert(std::size_t(position) * 0x9e3779b97f4a7c15ULL, position);
  EXPECT_EQ(index.Count(), 1000);
  EXPECT_EQ(index.Find(hash, [](int p) { return p % 10 == 7; }), 7);
  EXPECT_EQ(index.Find(twin, [](int p) { return p >= 250; }), 250);
  EXPECT_EQ(index.Find(hash, [](int p) { return p >= 300; }), -1);
  EXPECT_EQ(index.Find(std::size_t(777) * 0x9e3779b97f4a7c15ULL, [](int p) { return p == 777; }),
            777);

  // Few tags over many positions: long runs that wrap round the table's end
  // through every growth; each look-up still finds the lowest match.
  ArticleIndex crowded;
  constexpr int Tags = 37, Positions = 20000;
  const auto hashOf = [](int position) { return std::size_t(position % Tags) * 0x51ed27ULL; };
  for (int position = 0; position < Positions; ++position)
    crowded.Insert(hashOf(position), position);
  for (int tag = 0; tag < Tags; ++tag) {
    EXPECT_EQ(crowded.Find(hashOf(tag), [](int) { return true; }), tag);
    const int from = Positions / 2 + tag * 11;
    const int lowest = from + ((tag - from % Tags) % Tags + Tags) % Tags;
    EXPECT_EQ(crowded.Find(hashOf(tag), [&](int p) { return p >= from; }), lowest) << tag;
  }

  index.Clear();
  EXPECT_EQ(index.Count(), 0);
  EXPECT_EQ(index.Find(hash, [](int) { return true; }), -1);
  index.Reserve(5000);
  index.Insert(hash, 42);
  EXPECT_EQ(index.Find(hash, [](int) { return true; }), 42);
}

} // namespace
