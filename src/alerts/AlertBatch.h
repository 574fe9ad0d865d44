#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class TAlertRecord;

// Alert records gathered for the store (AlertSystemClass::AddAlertBatch).
// Each record is cut to its maximum lengths and keyed for the equal-alert
// look-up as it is added, while it is fresh in memory: a reader adds each
// record as it reads it, so that storing many alerts goes over them once
// more only (in a large file they are no longer in the processor's caches
// by the time the last one is read).
class TAlertBatch {
public:
  // Takes the record; a null record is kept and answered as AddAlert would.
  void Add(std::unique_ptr<TAlertRecord> alert);
  std::size_t Size() const { return m_records.size(); }
  bool Empty() const { return m_records.empty(); }
  void Reserve(std::size_t count);

private:
  friend class AlertSystemClass;
  std::vector<std::unique_ptr<TAlertRecord>> m_records;
  std::vector<std::uint64_t> m_keys; // AlertEqualKey of each record (0 for null)
};
