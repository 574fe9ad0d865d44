#pragma once
// Which new alert records equal (TAlertRecord::SameAs) a stored alert or an
// earlier record of the same batch. Equal alerts share symbol, type and P1,
// so records are keyed by those in one flat table, small enough to stay in
// the processor's caches; the work grows with the stored alerts and the
// records, however many alerts a symbol has.
#include <cstddef>
#include <cstdint>
#include <vector>

class TAlertRecord;

// The key equal alerts share: symbol, type and P1.
std::uint64_t AlertEqualKey(const TAlertRecord &alert);

// For each record: -1 when nothing before it equals it; else the position of
// the first equal one, stored alerts first (0 .. stored.size()-1, in their
// order), then records (stored.size() + j for record j < its own position).
// keys[j] is AlertEqualKey(*records[j]), computed by the caller while the
// record was at hand (the look-up reads a record only when its key matches).
// Null records answer -1.
std::vector<std::ptrdiff_t> FindEqualAlerts(const std::vector<const TAlertRecord *> &stored,
                                            const std::vector<const TAlertRecord *> &records,
                                            const std::vector<std::uint64_t> &keys);
