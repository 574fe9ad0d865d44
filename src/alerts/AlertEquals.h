#pragma once
// Which new alert records equal (TAlertRecord::SameAs) a stored alert or an
// earlier record of the same batch. Equal alerts share symbol, type and P1,
// so records are keyed by those in one flat table; a large batch is looked up
// in the order of the table's slots, which walks memory in order, and the
// work grows with the stored alerts and the records, however many alerts a
// symbol has.
#include <cstddef>
#include <vector>

class TAlertRecord;

// For each record: -1 when nothing before it equals it; else the position of
// the first equal one, stored alerts first (0 .. stored.size()-1, in their
// order), then records (stored.size() + j for record j < its own position).
// Null records answer -1.
std::vector<std::ptrdiff_t> FindEqualAlerts(const std::vector<const TAlertRecord *> &stored,
                                            const std::vector<const TAlertRecord *> &records);
