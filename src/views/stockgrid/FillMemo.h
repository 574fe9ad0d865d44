#pragma once
// What the fill passes of one grid last wrote into each row: the inputs the
// row's texts were computed from and the row's version in the cell store
// right after the writes. A later pass whose inputs for a row are the same,
// on a row nobody wrote since, knows the texts without computing them; when
// only the portfolio's percentage base moved, only % Port is computed.
//
// Used by one fill pass at a time (the grid starts no second one).
#include "views/stockgrid/CellTexts.h"
#include "views/stockgrid/ColumnMap.h"

#include <cstdint>
#include <vector>

class TFillMemo {
public:
  enum class TReuse {
    None,      // compute the row
    All,       // every text is what the row holds
    ShareOnly, // every text but % Port is what the row holds
  };

  // Starts a pass; forgets every row when the columns differ from those of
  // the remembered rows.
  void BeginPass(const TColumnMap &colPos, int colCount);
  // What a row with these inputs and store version can reuse. version 0
  // (a store that keeps no versions) reuses nothing.
  TReuse Check(int row, const CellTextInputs &in, std::uint64_t version);
  // The row now holds the texts of these inputs, at this version.
  void Remember(int row, const CellTextInputs &in, std::uint64_t version);
  void Forget(int row);
  // Forgets every row at or below this one.
  void ForgetFrom(int row);

private:
  struct Row {
    bool Valid = false;
    std::uint64_t Version = 0;
    CellTextInputs Inputs;
  };

  TColumnMap m_colPos{};
  int m_colCount = -1;
  std::vector<Row> m_rows;
};
