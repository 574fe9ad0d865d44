#pragma once
// The writes of one fill pass, row by row, and the grid's memo of what its
// passes wrote (FillMemo.h) behind one door: whether a row is reused,
// partly rewritten or computed is decided here, and every write to a row
// moves its version in the sink, so a row the memo holds is one nobody
// wrote since, whoever the writer.
//
// Per row: BeginRow, then the tag, the symbol and the texts, in that order.
#include "views/stockgrid/CellTexts.h"
#include "views/stockgrid/ColumnMap.h"
#include "views/stockgrid/GridFill.h"

#include <cstdint>
#include <memory>
#include <string>

class TFillMemo;
struct StoreReading;

// Writes are tried a few times; a failure is dropped. True when one went through.
template <class F> bool AttemptWrite(F &&write) {
  constexpr int kWriteAttempts = 3;
  for (int i = 0; i < kWriteAttempts; ++i) {
    try {
      write();
      return true;
    } catch (...) {
    }
  }
  return false;
}

class TRowFill {
public:
  // memo null: every row is computed and read back.
  TRowFill(TGridFillSink &sink, TFillMemo *memo, const TColumnMap &colPos);

  // Starts a pass: the memo forgets every row when the columns changed.
  void BeginPass();
  // Starts the writes of a row.
  void BeginRow(int row);

  // ---- What the memo knows of the row (queries; they change nothing).
  // The row holds what the memo recorded of it: nobody wrote it since.
  bool Held() const;
  // The inputs the row's texts were last computed from and the Serial of the
  // reading they were gathered from; null and 0 when none.
  const CellTextInputs *KnownInputs() const;
  std::uint64_t KnownInputsSerial() const;
  // The row's last store reading, kept between passes (RowInputs.h); null
  // without a memo.
  StoreReading *Reading() const;

  // ---- Writes to the row.
  // Gives the row's symbol cell its tag unless the row is held with it.
  void PutTag(std::intptr_t tag);
  // Column 0 of a list row: written unless the row is held (and known to
  // show the symbol) or already shows it. True when written.
  bool PutSymbol(const std::string &symbol, bool known);
  // The texts of the row's fields from firstField on. gathered null: the
  // row's inputs are the known ones with % Port's base pctBase (the pass
  // found them unchanged). shareTexts: rows with equal inputs in this pass
  // share their computed texts (separators). True when a cell changed.
  bool PutTexts(const CellTextInputs *gathered, double pctBase, int firstField,
                bool shareTexts = false);
  // Texts no memo keeps (the TOTAL row, the emptied list's row): written
  // where they differ from the cells. True when a cell changed.
  bool PutUnkept(const CellTexts &texts, int firstField);

private:
  std::uint64_t Version() const;
  // Only % Port differs from what the row holds.
  bool PutShare(const CellTextInputs &inputs);

  TGridFillSink &m_sink;
  TFillMemo *m_memo;
  const TColumnMap &m_colPos;
  int m_row = -1;
  mutable std::uint64_t m_version = 0; // the row's version when last read
  mutable bool m_wrote = false;        // written since m_version was read

  // The texts last computed for shared rows in this pass.
  bool m_lastValid = false;
  CellTextInputs m_lastInputs;
  std::shared_ptr<const CellTexts> m_lastTexts;
};
