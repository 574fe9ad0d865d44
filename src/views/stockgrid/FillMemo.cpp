#include "views/stockgrid/FillMemo.h"

void TFillMemo::BeginPass(const TColumnMap &colPos, int colCount) {
  if (colPos == m_colPos && colCount == m_colCount)
    return;
  m_rows.clear();
  m_colPos = colPos;
  m_colCount = colCount;
}

TFillMemo::TReuse TFillMemo::Check(int row, const CellTextInputs &in, std::uint64_t version) {
  if (version == 0 || row < 0 || row >= int(m_rows.size()))
    return TReuse::None;
  Row &r = m_rows[std::size_t(row)];
  if (!r.Valid || r.Version != version)
    return TReuse::None;
  if (r.Inputs.Whole.PctBase == in.Whole.PctBase)
    return r.Inputs == in ? TReuse::All : TReuse::None;
  // Compared as if the base had not moved.
  const double base = r.Inputs.Whole.PctBase;
  r.Inputs.Whole.PctBase = in.Whole.PctBase;
  const bool same = r.Inputs == in;
  r.Inputs.Whole.PctBase = base;
  return same ? TReuse::ShareOnly : TReuse::None;
}

void TFillMemo::Remember(int row, const CellTextInputs &in, std::uint64_t version) {
  if (row < 0)
    return;
  if (row >= int(m_rows.size()))
    m_rows.resize(std::size_t(row) + 1);
  Row &r = m_rows[std::size_t(row)];
  r.Valid = version != 0;
  r.Version = version;
  r.Inputs = in;
}

void TFillMemo::Forget(int row) {
  if (row >= 0 && row < int(m_rows.size()))
    m_rows[std::size_t(row)].Valid = false;
}

void TFillMemo::ForgetFrom(int row) {
  if (row >= 0 && row < int(m_rows.size()))
    m_rows.resize(std::size_t(row));
}
