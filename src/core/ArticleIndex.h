#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Positions (0 and up) filed under the hash of an article's title and link,
// in one flat table probed linearly. A slot keeps 32 bits of the hash (the
// tag) and the position: a look-up reads a slot or two of contiguous memory
// and touches a stored article only when its tag matches; an insertion
// allocates only when the table doubles. So both cost the same however many
// articles are filed. Several positions may share a tag: the caller says
// which of them is the same article.
class ArticleIndex {
public:
  // Each position filed is greater than every one filed before it (since
  // the last Clear): the look-ups rely on it.
  void Insert(std::size_t hash, int position);
  // Makes room for count positions in all, so that filing them grows the
  // table at most once.
  void Reserve(std::size_t count);

  // The lowest position filed under hash for which same(position) is true,
  // -1 when none. Positions of one tag lie along its probe sequence in the
  // order they were filed (growing keeps that order), so the first that is
  // the same article is the lowest.
  template <class Same> int Find(std::size_t hash, Same same) const {
    if (m_slots.empty())
      return -1;
    const std::uint32_t tag = TagOf(hash);
    for (std::size_t i = Home(tag);; i = (i + 1) & m_mask) {
      const Slot &slot = m_slots[i];
      if (slot.position < 0)
        return -1;
      if (slot.tag == tag && same(int(slot.position)))
        return int(slot.position);
    }
  }

  int Count() const { return int(m_count); }
  // Forgets every position; the table keeps its memory for the next ones.
  void Clear();

private:
  struct Slot {
    std::uint32_t tag = 0;
    std::int32_t position = -1; // -1: empty
  };

  static std::uint32_t TagOf(std::size_t hash) {
    return std::uint32_t(std::uint64_t(hash) ^ (std::uint64_t(hash) >> 32));
  }
  // The first slot to probe, from the tag alone so that growing needs no
  // other hash. Fibonacci hashing: the top bits of the product depend on
  // every bit of the tag.
  std::size_t Home(std::uint32_t tag) const {
    return std::size_t((std::uint64_t(tag) * 0x9e3779b97f4a7c15ULL) >> m_shift);
  }
  void Place(Slot slot);
  void Grow(std::size_t size);

  std::vector<Slot> m_slots; // a power of two in size, at most half full
  std::size_t m_mask = 0;
  unsigned m_shift = 64;
  std::size_t m_count = 0;
};
