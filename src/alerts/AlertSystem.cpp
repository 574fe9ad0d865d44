#include "alerts/AlertSystem.h"

#include "acquisition/UpdatedSymbols.h"
#include "alerts/AlertBatch.h"
#include "alerts/AlertDialogHooks.h"
#include "alerts/AlertEquals.h"
#include "alerts/AlertNames.h"
#include "alerts/AlertRandom.h"
#include "core/Log.h"
#include "platform/Clock.h"
#include "platform/Format.h"
#include "platform/StringUtils.h"

#include <algorithm>
#include <array>

namespace {

char IDLetter(int value) { return char('A' + value); }

// An ID in eight bytes: its length, then its letters.
using PackedID = std::array<char, 8>;
static_assert(TAlertRecord::IDMax < sizeof(PackedID));

PackedID Pack(const std::string &id) {
  PackedID packed{};
  const std::size_t length = std::min(id.size(), packed.size() - 1);
  packed[0] = char(length);
  std::copy_n(id.begin(), length, packed.begin() + 1);
  return packed;
}

std::string Unpack(const PackedID &packed) {
  return std::string(packed.data() + 1, std::size_t(packed[0]));
}

void ZeroTimes(TAlertRecord &alert) {
  alert.ActivationTimes.fill(0);
  alert.LastAlertTime = 0;
}

} // namespace

void MarkAlertSymbolUpdated(const std::string &symbol) {
  MarkSymbolUpdated(1, symbol);
  MarkSymbolUpdated(2, symbol);
  MarkSymbolUpdated(4, symbol);
}

AlertSystemClass::AlertSystemClass() : Lock(LockName) { RowStateChanged(); }

// Frees the records without closing pop-ups: at shut-down the windows that
// the hooks reach may be gone already.
AlertSystemClass::~AlertSystemClass() { RowStateChanged(); }

void AlertSystemClass::ThrowBusy(const std::string &tag) {
  ReportBusy(tag);
  throw EAlertStoreBusy("The alert store is busy (" + tag + ")");
}

void AlertSystemClass::ReportBusy(const std::string &tag) {
  WriteLog("Alert store lock not taken: " + tag, 0);
}

// ---- Index

void AlertSystemClass::IndexLocked(Entry *entry) {
  entry->indexedSymbol = entry->record->Symbol;
  Bucket &bucket = m_bySymbol[entry->indexedSymbol];
  // A new alert goes last: no search over the symbol's other alerts.
  if (bucket.empty() || bucket.back()->seq < entry->seq) {
    bucket.push_back(entry);
    return;
  }
  auto at = std::lower_bound(bucket.begin(), bucket.end(), entry->seq,
                             [](const Entry *e, std::uint64_t seq) { return e->seq < seq; });
  bucket.insert(at, entry);
}

void AlertSystemClass::UnindexLocked(Entry *entry) {
  auto found = m_bySymbol.find(entry->indexedSymbol);
  if (found == m_bySymbol.end())
    return;
  Bucket &bucket = found->second;
  bucket.erase(std::remove(bucket.begin(), bucket.end(), entry), bucket.end());
  if (bucket.empty())
    m_bySymbol.erase(found);
}

void AlertSystemClass::RebuildIndexLocked() {
  m_bySymbol.clear();
  for (const auto &entry : m_entries)
    IndexLocked(entry.get());
}

// The symbol's alerts in store order, or nullptr. A record whose symbol was
// changed in place behind the store's back is noticed here and the index is
// rebuilt.
const AlertSystemClass::Bucket *AlertSystemClass::BucketLocked(const std::string &symbol) {
  auto found = m_bySymbol.find(symbol);
  if (found == m_bySymbol.end())
    return nullptr;
  for (const Entry *entry : found->second) {
    if (entry->record->Symbol != symbol) {
      WriteLog("Alert store: symbol of " + entry->id + " changed in place; index rebuilt", 0);
      RebuildIndexLocked();
      found = m_bySymbol.find(symbol);
      return found == m_bySymbol.end() ? nullptr : &found->second;
    }
  }
  return &found->second;
}

AlertSystemClass::Entry *AlertSystemClass::EntryAfterLocked(const Bucket &bucket,
                                                            std::uint64_t seq) const {
  auto next = std::upper_bound(bucket.begin(), bucket.end(), seq,
                               [](std::uint64_t s, const Entry *e) { return s < e->seq; });
  return next == bucket.end() ? nullptr : *next;
}

std::string AlertSystemClass::NewIDLocked() const {
  return DrawRandomText(int(TAlertRecord::IDMax), 26, IDLetter);
}

std::unique_ptr<TAlertRecord> AlertSystemClass::RemoveLocked(const std::string &id) {
  auto found = m_byId.find(id);
  if (found == m_byId.end())
    return nullptr;
  Entry *entry = found->second;
  UnindexLocked(entry);
  m_byId.erase(found);
  auto at = std::lower_bound(
      m_entries.begin(), m_entries.end(), entry->seq,
      [](const std::unique_ptr<Entry> &e, std::uint64_t seq) { return e->seq < seq; });
  std::unique_ptr<TAlertRecord> record = std::move((*at)->record);
  m_entries.erase(at);
  return record;
}

// ---- Caller holds the lock

TAlertRecord *AlertSystemClass::AlertAt(int index) const {
  if (index < 0 || index >= CountLocked())
    return nullptr;
  return m_entries[std::size_t(index)]->record.get();
}

std::string AlertSystemClass::IDAt(int index) const {
  if (index < 0 || index >= CountLocked())
    return "";
  return m_entries[std::size_t(index)]->id;
}

TAlertRecord *AlertSystemClass::FindByID(const std::string &id) const {
  RowStateChanged(); // a writable record handed out
  auto found = m_byId.find(id);
  return found == m_byId.end() ? nullptr : found->second->record.get();
}

// ---- Adding and finding

std::string AlertSystemClass::AddAlert(std::unique_ptr<TAlertRecord> alert) {
  if (!alert) {
    WriteLog("AddAlert: no record given", 0);
    return "";
  }
  alert->Symbol = CutTo(alert->Symbol, TAlertRecord::SymbolMax);
  alert->EMailSetupID = CutTo(alert->EMailSetupID, TAlertRecord::EMailSetupIDMax);

  MyLockGuard guard(Lock, "ADD");
  if (!guard.Owns())
    ThrowBusy("ADD");
  RowStateChanged();
  if (const Bucket *bucket = BucketLocked(alert->Symbol))
    for (const Entry *entry : *bucket)
      if (entry->record->SameAs(*alert))
        return "=" + entry->id;

  return InsertLocked(std::move(alert))->id;
}

AlertSystemClass::Entry *AlertSystemClass::InsertLocked(std::unique_ptr<TAlertRecord> alert) {
  // A fresh ID: drawn until the index takes it (one look-up per draw).
  for (;;) {
    const auto [at, fresh] = m_byId.try_emplace(NewIDLocked(), nullptr);
    if (fresh)
      return InsertLocked(std::move(alert), at);
  }
}

AlertSystemClass::Entry *AlertSystemClass::InsertLocked(std::unique_ptr<TAlertRecord> alert,
                                                        IdSlot id) {
  auto entry = std::make_unique<Entry>();
  Entry *raw = entry.get();
  id->second = raw;
  entry->id = id->first;
  entry->seq = m_nextSeq++;
  alert->ID = entry->id;
  entry->record = std::move(alert);
  m_entries.push_back(std::move(entry));
  IndexLocked(raw);
  return raw;
}

std::vector<AlertSystemClass::IdSlot> AlertSystemClass::ReserveIDsLocked(std::size_t count) {
  m_byId.reserve(m_byId.size() + count); // no rehash below: the slots stay valid
  // Taken in the order of the index's buckets (a counting sort of the IDs
  // held in eight bytes each), so that many IDs walk the index in order.
  // A few IDs go in as drawn.
  const std::size_t buckets =
      count * 8 < m_byId.bucket_count() || m_byId.bucket_count() > UINT32_MAX
          ? 0
          : m_byId.bucket_count();
  std::vector<PackedID> ids(count);
  std::vector<std::uint32_t> bucketOf(count);
  std::vector<std::uint32_t> start(buckets + 1, 0);
  for (std::size_t i = 0; i < count; ++i) {
    const std::string id = NewIDLocked();
    ids[i] = Pack(id);
    bucketOf[i] = buckets == 0 ? 0 : std::uint32_t(m_byId.bucket(id));
    ++start[bucketOf[i] + 1];
  }
  for (std::size_t b = 1; b <= buckets; ++b)
    start[b] += start[b - 1];
  std::vector<PackedID> drawn(count);
  for (std::size_t i = 0; i < count; ++i)
    drawn[start[bucketOf[i]]++] = ids[i];

  std::vector<IdSlot> slots;
  slots.reserve(count);
  for (const PackedID &packed : drawn) {
    std::string id = Unpack(packed);
    for (;;) {
      const auto [at, fresh] = m_byId.try_emplace(std::move(id), nullptr);
      if (fresh) {
        slots.push_back(at);
        break;
      }
      id = NewIDLocked(); // taken already: another one
    }
  }
  return slots;
}

template <class Answer> void AlertSystemClass::AddBatchLocked(TAlertBatch &batch, Answer &&answer) {
  std::vector<std::unique_ptr<TAlertRecord>> &alerts = batch.m_records;
  std::vector<const TAlertRecord *> records(alerts.size());
  for (std::size_t i = 0; i < alerts.size(); ++i)
    records[i] = alerts[i].get();
  std::vector<const TAlertRecord *> stored;
  stored.reserve(m_entries.size());
  for (const auto &entry : m_entries)
    stored.push_back(entry->record.get());
  const std::vector<std::ptrdiff_t> equals = FindEqualAlerts(stored, records, batch.m_keys);
  std::size_t fresh = 0;
  for (std::size_t i = 0; i < alerts.size(); ++i)
    fresh += alerts[i] && equals[i] < 0 ? 1 : 0;
  const std::vector<IdSlot> slots = ReserveIDsLocked(fresh);
  m_entries.reserve(m_entries.size() + fresh);

  // The entry of each record stored from this batch, for the records after
  // it that equal it.
  std::vector<const Entry *> storedAs(alerts.size(), nullptr);
  const std::ptrdiff_t storedCount = std::ptrdiff_t(stored.size());
  std::size_t next = 0;
  try {
    for (std::size_t i = 0; i < alerts.size(); ++i) {
      if (!alerts[i]) {
        WriteLog("AddAlert: no record given", 0);
        answer(i, nullptr, false);
      } else if (equals[i] < 0) {
        storedAs[i] = InsertLocked(std::move(alerts[i]), slots[next++]);
        answer(i, storedAs[i], false);
      } else if (equals[i] < storedCount) {
        answer(i, m_entries[std::size_t(equals[i])].get(), true);
      } else {
        answer(i, storedAs[std::size_t(equals[i] - storedCount)], true);
      }
    }
  } catch (...) {
    for (; next < slots.size(); ++next)
      m_byId.erase(slots[next]); // no ID may stay without its alert
    throw;
  }
}

std::vector<std::string>
AlertSystemClass::AddAlerts(std::vector<std::unique_ptr<TAlertRecord>> alerts) {
  TAlertBatch batch;
  batch.Reserve(alerts.size());
  for (std::unique_ptr<TAlertRecord> &alert : alerts)
    batch.Add(std::move(alert));
  MyLockGuard guard(Lock, "ADD");
  if (!guard.Owns())
    ThrowBusy("ADD");
  RowStateChanged();
  std::vector<std::string> ids(batch.Size());
  AddBatchLocked(batch, [&](std::size_t i, const Entry *entry, bool equal) {
    if (entry)
      ids[i] = equal ? "=" + entry->id : entry->id;
  });
  return ids;
}

AlertSystemClass::TAddedCounts AlertSystemClass::AddAlertBatch(TAlertBatch batch) {
  MyLockGuard guard(Lock, "ADD");
  if (!guard.Owns())
    ThrowBusy("ADD");
  RowStateChanged();
  TAddedCounts counts;
  AddBatchLocked(batch, [&](std::size_t, const Entry *entry, bool equal) {
    if (entry)
      ++(equal ? counts.equal : counts.added);
  });
  return counts;
}

TAlertRecord *AlertSystemClass::FindNextAlert(std::string &cursor, const std::string &symbol) {
  MyLockGuard guard(Lock, "FNXT");
  if (!guard.Owns()) {
    ReportBusy("FNXT");
    cursor.clear();
    return nullptr;
  }
  RowStateChanged();
  Entry *next = nullptr;
  if (const Bucket *bucket = BucketLocked(symbol)) {
    auto at = cursor.empty() ? m_byId.end() : m_byId.find(cursor);
    next = at == m_byId.end() ? bucket->front() : EntryAfterLocked(*bucket, at->second->seq);
  }
  if (!next) {
    cursor.clear();
    return nullptr;
  }
  cursor = next->id;
  return next->record.get();
}

TAlertRecord *AlertSystemClass::FindAlertOfType(const std::string &symbol, int alertType) {
  MyLockGuard guard(Lock, "FTYPE");
  if (!guard.Owns()) {
    ReportBusy("FTYPE");
    return nullptr;
  }
  RowStateChanged();
  if (const Bucket *bucket = BucketLocked(symbol))
    for (Entry *entry : *bucket)
      if (entry->record->AlertType == alertType)
        return entry->record.get();
  return nullptr;
}

TAlertRecord *AlertSystemClass::FindVolumeAlert(const std::string &symbol) {
  MyLockGuard guard(Lock, "FVOL");
  if (!guard.Owns()) {
    ReportBusy("FVOL");
    return nullptr;
  }
  RowStateChanged();
  if (const Bucket *bucket = BucketLocked(symbol))
    for (Entry *entry : *bucket)
      if (entry->record->AlertType == AlertTypeColumn && Round(entry->record->P1) == ColumnVolume)
        return entry->record.get();
  return nullptr;
}

int AlertSystemClass::CountSetupUsers(const std::string &setupId) {
  MyLockGuard guard(Lock, "CNT");
  if (!guard.Owns()) {
    ReportBusy("CNT");
    return 0;
  }
  return int(std::count_if(m_entries.begin(), m_entries.end(), [&](const auto &entry) {
    return entry->record->EMailSetupID == setupId;
  }));
}

bool AlertSystemClass::UpdateAlert(const std::string &id, const TAlertRecord &source) {
  MyLockGuard guard(Lock, "UPDT");
  if (!guard.Owns())
    ThrowBusy("UPDT");
  RowStateChanged();
  auto found = m_byId.find(id);
  if (found == m_byId.end())
    return false;
  Entry *entry = found->second;
  TAlertRecord &stored = *entry->record;
  if (&stored != &source) {
    stored.AssignFixed(source);
    stored.ID = entry->id;
    stored.Symbol = CutTo(stored.Symbol, TAlertRecord::SymbolMax);
    stored.EMailSetupID = CutTo(stored.EMailSetupID, TAlertRecord::EMailSetupIDMax);
  }
  if (stored.Symbol != entry->indexedSymbol) {
    UnindexLocked(entry);
    IndexLocked(entry);
  }
  return true;
}

// ---- Questions

bool AlertSystemClass::HasActiveAlert(const std::string &symbol) {
  MyLockGuard guard(Lock, "HASA");
  if (!guard.Owns()) {
    ReportBusy("HASA");
    return false;
  }
  if (const Bucket *bucket = BucketLocked(symbol))
    for (const Entry *entry : *bucket)
      if (!entry->record->ActiveActions.Empty())
        return true;
  return false;
}

std::int32_t AlertSystemClass::GetRowHighlight(const std::string &symbol, bool &active,
                                               TDateTime &age) {
  const std::int32_t color = GetRowHighlight(symbol, active, age, 0);
  if (age != 0)
    age = AppClock().Now() + age;
  return color;
}

std::int32_t AlertSystemClass::GetRowHighlight(const std::string &symbol, bool &active,
                                               TDateTime &age, TDateTime now) {
  std::int32_t color = NoHighlight;
  active = false;
  age = 0;
  {
    MyLockGuard guard(Lock, "ROWH");
    if (!guard.Owns()) {
      ReportBusy("ROWH");
      RowStateChanged(); // so that a caller keeping this answer asks again
      return color;
    }
    if (const Bucket *bucket = BucketLocked(symbol)) {
      for (const Entry *entry : *bucket) {
        const TAlertRecord &alert = *entry->record;
        if (alert.ActiveActions.Empty())
          continue;
        active = true;
        age = 0;
        for (int e = 0; e < ActionElementCount; ++e) {
          if (!alert.ActiveActions.Contains(e))
            continue;
          age = std::max(age, alert.ActivationTimes[std::size_t(e)]);
          if (e == ActionHighlightRow)
            color = alert.HighlightColor;
        }
      }
    }
  }
  if (age != 0)
    age = now - age;
  return color;
}

// ---- Changing

void AlertSystemClass::TurnOffAlert(const std::string &id, bool closeDialogs) {
  if (LoggingOn)
    WriteLog("Turning off Alert " + id, 0);
  std::string symbol;
  {
    MyLockGuard guard(Lock, "TOFF");
    if (!guard.Owns())
      ThrowBusy("TOFF");
    TAlertRecord *alert = FindByID(id);
    if (!alert)
      return;
    alert->ActiveActions.Clear();
    symbol = alert->Symbol;
  }
  MarkAlertSymbolUpdated(symbol);
  if (LoggingOn)
    WriteLog("Turning off Popups for " + id, 0);
  if (closeDialogs)
    CloseAlertDialogs(id);
}

void AlertSystemClass::TurnOffSymbolAlerts(const std::string &symbol) {
  {
    MyLockGuard guard(Lock, "TOFFS");
    if (!guard.Owns())
      ThrowBusy("TOFFS");
    RowStateChanged();
    if (const Bucket *bucket = BucketLocked(symbol))
      for (Entry *entry : *bucket)
        entry->record->ActiveActions.Clear();
  }
  CloseSymbolAlertDialogs(symbol);
  MarkAlertSymbolUpdated(symbol);
}

void AlertSystemClass::DisableAlert(const std::string &id) {
  MyLockGuard guard(Lock, "TDIS");
  if (!guard.Owns())
    ThrowBusy("TDIS");
  TAlertRecord *alert = FindByID(id);
  if (!alert)
    return;
  ZeroTimes(*alert);
  alert->Enabled = false;
  if (LoggingOn)
    WriteLog("Zeroing LastAlertTime for " + id, 10);
}

void AlertSystemClass::ResetAlert(const std::string &id) {
  MyLockGuard guard(Lock, "RESET");
  if (!guard.Owns())
    ThrowBusy("RESET");
  TAlertRecord *alert = FindByID(id);
  if (!alert)
    return;
  ZeroTimes(*alert);
  if (LoggingOn)
    WriteLog("Zeroing LastAlertTime for " + id, 0);
}

void AlertSystemClass::ResetTickIndex(const std::string &symbol) {
  MyLockGuard guard(Lock, "RTICK");
  if (!guard.Owns())
    ThrowBusy("RTICK");
  if (const Bucket *bucket = BucketLocked(symbol))
    for (Entry *entry : *bucket)
      entry->record->TickIndex = -1;
}

// ---- Deleting

void AlertSystemClass::DeleteAlert(const std::string &id, bool closeDialogs) {
  TurnOffAlert(id, closeDialogs);
  std::unique_ptr<TAlertRecord> removed;
  {
    MyLockGuard guard(Lock, "DELA");
    if (!guard.Owns())
      ThrowBusy("DELA");
    RowStateChanged();
    removed = RemoveLocked(id);
  }
  if (removed)
    MarkAlertSymbolUpdated(removed->Symbol);
}

void AlertSystemClass::DeleteSymbolAlerts(const std::string &symbol) {
  std::vector<std::string> ids;
  {
    MyLockGuard guard(Lock, "DELAF");
    if (!guard.Owns())
      ThrowBusy("DELAF");
    RowStateChanged();
    for (auto at = m_entries.rbegin(); at != m_entries.rend(); ++at)
      if (SameText((*at)->record->Symbol, symbol))
        ids.push_back((*at)->id);
    for (const std::string &id : ids)
      RemoveLocked(id);
  }
  for (const std::string &id : ids)
    CloseAlertDialogs(id);
  MarkAlertSymbolUpdated(symbol);
}

void AlertSystemClass::DeleteOrphans(const std::string &symbols, std::string &deleted) {
  const std::string kept = UpperCase(symbols);
  deleted.assign(1, ' ');
  std::vector<std::string> ids;
  std::vector<std::string> deletedSymbols;
  {
    MyLockGuard guard(Lock, "DELSA");
    if (!guard.Owns())
      ThrowBusy("DELSA");
    RowStateChanged();
    for (auto at = m_entries.rbegin(); at != m_entries.rend(); ++at) {
      const std::string &symbol = (*at)->record->Symbol;
      std::string blanked(1, ' ');
      blanked += UpperCase(symbol);
      blanked += ' ';
      if (Pos(blanked, kept) != 0)
        continue;
      ids.push_back((*at)->id);
      // The list ends without a blank; look it up with one added so that the
      // last symbol listed is found too.
      if (Pos(blanked, UpperCase(deleted) + " ") == 0) {
        deleted += " " + symbol;
        deletedSymbols.push_back(symbol);
      }
    }
    for (const std::string &id : ids)
      RemoveLocked(id);
  }
  for (const std::string &id : ids)
    CloseAlertDialogs(id);
  for (const std::string &symbol : deletedSymbols)
    MarkAlertSymbolUpdated(symbol);
}

void AlertSystemClass::ClearAll() {
  {
    MyLockGuard guard(Lock, "CLALL");
    if (!guard.Owns())
      ThrowBusy("CLALL");
    RowStateChanged();
    m_bySymbol.clear();
    m_byId.clear();
    m_entries.clear();
  }
  CloseAlertDialogs("ALL");
}

// ---- Walks

int AlertSystemClass::Count() {
  MyLockGuard guard(Lock, "COUNT");
  if (!guard.Owns()) {
    ReportBusy("COUNT");
    return 0;
  }
  return CountLocked();
}

std::vector<std::string> AlertSystemClass::AlertIDs() {
  std::vector<std::string> ids;
  MyLockGuard guard(Lock, "IDS");
  if (!guard.Owns())
    ThrowBusy("IDS");
  ids.reserve(m_entries.size());
  for (const auto &entry : m_entries)
    ids.push_back(entry->id);
  return ids;
}
