#pragma once
#include "alerts/AlertRecord.h"
#include "core/CriticalSection.h"
#include "platform/DateTime.h"
#include "platform/Exceptions.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class TAlertBatch;

// Raised by a changing store operation when the store lock could not be taken
// (the lock reported a deadlock). Queries answer "nothing" instead.
class EAlertStoreBusy : public Exception {
public:
  using Exception::Exception;
};

// The alert store: every alert of the user, keyed by a six-letter ID, in
// insertion order, guarded by the named lock "CAlert". Each operation below
// takes the lock with its own owner tag and releases it before returning
// (also on an exception); none calls another locking operation while holding
// it. Pop-ups are closed and symbols are marked updated (sets 1, 2 and 4)
// after the lock is released. A per-symbol index keeps the per-symbol queries
// (row highlight, active alert, find) independent of the number of alerts.
//
// Records are owned by the store. Pointers handed out stay valid until the
// alert is deleted, which only the window thread does. A stored record's
// Symbol must not be changed in place: use UpdateAlert, which keeps the index.
class AlertSystemClass {
public:
  static constexpr const char *LockName = "CAlert";
  // GetRowHighlight's answer when no active alert colours the row.
  static constexpr std::int32_t NoHighlight = -2;

  AlertSystemClass();
  ~AlertSystemClass();
  AlertSystemClass(const AlertSystemClass &) = delete;
  AlertSystemClass &operator=(const AlertSystemClass &) = delete;

  // The store lock. Take it (with a tag of your own) only to use the
  // "caller holds Lock" accessors at the end of this class.
  MyCriticalSection Lock;

  // ---- Adding and finding

  // ("ADD") Takes the record. When an equal alert (SameAs) is stored, the new
  // record is dropped and "=" + the stored alert's ID is returned; otherwise a
  // new ID is drawn, written into the record and returned. Symbol and
  // EMailSetupID are cut to their maximum lengths first.
  std::string AddAlert(std::unique_ptr<TAlertRecord> alert);
  // ("ADD") AddAlert for many records under one lock, each answered as
  // AddAlert would (a null record: ""). Equal alerts are looked up by a key
  // of symbol, type and P1, so the work grows with the records and the store,
  // not with the alerts per symbol times the records (loading a file).
  std::vector<std::string> AddAlerts(std::vector<std::unique_ptr<TAlertRecord>> alerts);
  // ("ADD") AddAlerts for the records of a batch (see TAlertBatch), answered
  // in counts: the records stored, and those dropped as equal to an alert
  // stored before them.
  struct TAddedCounts {
    int added = 0;
    int equal = 0;
  };
  TAddedCounts AddAlertBatch(TAlertBatch batch);
  // ("FNXT") The next alert of the symbol (exact match) after the alert whose
  // ID is cursor (from the first when cursor is empty or no longer stored);
  // sets cursor to its ID. At the end: cursor "" and nullptr.
  TAlertRecord *FindNextAlert(std::string &cursor, const std::string &symbol);
  // ("FTYPE") First alert of the symbol with that type, or nullptr.
  TAlertRecord *FindAlertOfType(const std::string &symbol, int alertType);
  // ("FVOL") First column alert of the symbol on column "Volume", or nullptr.
  TAlertRecord *FindVolumeAlert(const std::string &symbol);
  // ("CNT") Number of alerts that use the e-mail setup.
  int CountSetupUsers(const std::string &setupId);
  // ("UPDT") Copies source (fixed block and wave file) into the stored alert
  // with that ID, keeping its ID and the symbol index right. False when the
  // ID is not stored.
  bool UpdateAlert(const std::string &id, const TAlertRecord &source);

  // ---- Questions asked from any thread (each one walk under the lock)

  // ("HASA") True when an alert of the symbol has actions in effect.
  bool HasActiveAlert(const std::string &symbol);
  // ("ROWH") The row colour for the symbol: the HighlightColor of the last
  // active alert (store order) with the highlight action in effect, else
  // NoHighlight. Active: some alert of the symbol is active. Age: time since
  // the latest activation of the last active alert (0 when none).
  std::int32_t GetRowHighlight(const std::string &symbol, bool &active, TDateTime &age);
  // The same with the caller's clock reading, so that a painter asking for
  // many rows reads the clock once (a local-time reading costs microseconds).
  std::int32_t GetRowHighlight(const std::string &symbol, bool &active, TDateTime &age,
                               TDateTime now);

  // A number that grows with every change that may alter a GetRowHighlight
  // answer: each changing operation below, and each hand-out of a writable
  // record by the finders and FindByID (counted under the lock, before the
  // caller's writes, which it makes under that same lock). AlertAt does not
  // count: its user, the evaluation pass, writes only run-time fields.
  std::uint64_t RowStateGeneration() const {
    return s_rowStateGeneration.load(std::memory_order_acquire);
  }

  // ---- Changing alerts

  // ("TOFF") Ends the actions in effect of one alert and marks its symbol
  // updated; with closeDialogs also closes its pop-ups.
  void TurnOffAlert(const std::string &id, bool closeDialogs);
  // ("TOFFS") Ends the actions in effect of every alert of the symbol, closes
  // the symbol's pop-ups and marks it updated.
  void TurnOffSymbolAlerts(const std::string &symbol);
  // ("TDIS") Clears the activation times and LastAlertTime and disables it.
  void DisableAlert(const std::string &id);
  // ("RESET") Clears the activation times and LastAlertTime, so that an
  // edited alert may trigger again at once.
  void ResetAlert(const std::string &id);
  // ("RTICK") TickIndex := -1 on every alert of the symbol (its tick list
  // was emptied).
  void ResetTickIndex(const std::string &symbol);

  // ---- Deleting

  // ("DELA") Turns the alert off, then deletes it.
  void DeleteAlert(const std::string &id, bool closeDialogs);
  // ("DELAF") Deletes every alert whose symbol equals symbol without regard
  // to letter case, closing their pop-ups.
  void DeleteSymbolAlerts(const std::string &symbol);
  // ("DELSA") symbols: every symbol still in a portfolio or watch list, each
  // surrounded by blanks. Deletes the alerts whose symbol (letter case
  // ignored) is not among them; deleted starts as " " and lists each deleted
  // symbol once as " " + symbol.
  void DeleteOrphans(const std::string &symbols, std::string &deleted);
  // ("CLALL") Deletes every alert, then closes all pop-ups.
  void ClearAll();
  // Replaces the store with alerts made from the old low and high limits of
  // the portfolio positions (first start without an alert file).
  void ImportPortfolioLimits();

  // ---- Walks

  // Count of alerts (takes the lock with tag "COUNT").
  int Count();
  // The IDs in store order (tag "IDS").
  std::vector<std::string> AlertIDs();
  // Calls fn(const record) for every alert in store order with the lock held under
  // tag. fn must not call the store.
  template <class Fn> void ForEachAlert(const std::string &tag, Fn &&fn) {
    MyLockGuard guard(Lock, tag);
    if (!guard.Owns())
      ThrowBusy(tag);
    for (const auto &entry : m_entries)
      fn(std::as_const(*entry->record));
  }

  // ---- The caller holds Lock

  int CountLocked() const { return int(m_entries.size()); }
  // Index 0..CountLocked()-1 in store order; out of range gives nullptr / "".
  TAlertRecord *AlertAt(int index) const;
  std::string IDAt(int index) const;
  TAlertRecord *FindByID(const std::string &id) const;

private:
  struct Entry {
    std::uint64_t seq; // store order
    std::string id;
    std::string indexedSymbol; // the symbol the index files it under
    std::unique_ptr<TAlertRecord> record;
  };
  using Bucket = std::vector<Entry *>; // ordered by seq

  [[noreturn]] static void ThrowBusy(const std::string &tag);
  static void ReportBusy(const std::string &tag);

  // Under the lock.
  std::string NewIDLocked() const;
  using IdSlot = std::unordered_map<std::string, Entry *>::iterator;
  // Stores a record known to have no equal under a fresh ID (or the ID of a
  // slot from ReserveIDsLocked); returns its entry.
  Entry *InsertLocked(std::unique_ptr<TAlertRecord> alert);
  Entry *InsertLocked(std::unique_ptr<TAlertRecord> alert, IdSlot id);
  // count fresh IDs, in the ID index already (mapped to nullptr until used).
  std::vector<IdSlot> ReserveIDsLocked(std::size_t count);
  // Stores the batch's records that have no equal; calls answer(i, entry,
  // equal) for each record i: the entry it was stored as, or (equal) the one
  // it equals; a null record: nullptr.
  template <class Answer> void AddBatchLocked(TAlertBatch &batch, Answer &&answer);
  const Bucket *BucketLocked(const std::string &symbol);
  void IndexLocked(Entry *entry);
  void UnindexLocked(Entry *entry);
  void RebuildIndexLocked();
  std::unique_ptr<TAlertRecord> RemoveLocked(const std::string &id);
  Entry *EntryAfterLocked(const Bucket &bucket, std::uint64_t seq) const;

  std::vector<std::unique_ptr<Entry>> m_entries; // ordered by seq
  std::unordered_map<std::string, Entry *> m_byId;
  std::unordered_map<std::string, Bucket> m_bySymbol;
  std::uint64_t m_nextSeq = 1;
  // Shared by every store, so that a store made in another's place counts on.
  static inline std::atomic<std::uint64_t> s_rowStateGeneration{1};
  static void RowStateChanged() { s_rowStateGeneration.fetch_add(1, std::memory_order_acq_rel); }
};

// Marks a symbol updated for the windows that show it (updated-symbol sets 1,
// 2 and 4), so they repaint its row.
void MarkAlertSymbolUpdated(const std::string &symbol);
