#include "views/stockgrid/FillMemo.h"

void TFillMemo::BeginPass(const TColumnMap &colPos, int colCount) {
  if (colPos == m_colPos && colCount == m_colCount)
    return;
  m_rows.clear();
  m_colPos = colPos;
  m_colCount = colCount;
}

TFillMemo::TReuse TFillMemo::Check(int row, const CellTextInputs &in,
                                   std::uint64_t version) const {
  if (!Holds(row, version))
    return TReuse::None;
  const Row &r = m_rows[std::size_t(row)];
  if (r.Inputs.Whole.PctBase == in.Whole.PctBase)
    return r.Inputs == in ? TReuse::All : TReuse::None;
  // Compared as if the base had not moved (rare: gathered rows mostly differ).
  CellTextInputs rebased = in;
  rebased.Whole.PctBase = r.Inputs.Whole.PctBase;
  return r.Inputs == rebased ? TReuse::ShareOnly : TReuse::None;
}

const CellTextInputs *TFillMemo::Inputs(int row) const {
  if (row < 0 || row >= int(m_rows.size()) || !m_rows[std::size_t(row)].Valid)
    return nullptr;
  return &m_rows[std::size_t(row)].Inputs;
}

TFillMemo::TReuse TFillMemo::CheckKnown(int row, double pctBase, std::uint64_t version) const {
  if (!Holds(row, version))
    return TReuse::None;
  return m_rows[std::size_t(row)].Inputs.Whole.PctBase == pctBase ? TReuse::All
                                                                  : TReuse::ShareOnly;
}

void TFillMemo::TakeBase(int row, double pctBase) {
  if (row >= 0 && row < int(m_rows.size()))
    m_rows[std::size_t(row)].Inputs.Whole.PctBase = pctBase;
}

void TFillMemo::Confirm(int row, std::uint64_t version, const std::string *share,
                        std::shared_ptr<const CellTexts> texts) {
  if (row < 0 || row >= int(m_rows.size()))
    return;
  Row &r = m_rows[std::size_t(row)];
  r.Valid = version != 0;
  r.Version = version;
  r.HasShare = share != nullptr;
  if (share)
    r.Share = *share;
  else
    r.Share.clear();
  r.ShareMemo = TShareMemo();
  r.Texts = std::move(texts);
}

void TFillMemo::Remember(int row, const CellTextInputs &in, std::uint64_t version,
                         const std::string *share, std::shared_ptr<const CellTexts> texts) {
  if (row < 0)
    return;
  if (row >= int(m_rows.size()))
    m_rows.resize(std::size_t(row) + 1);
  Row &r = m_rows[std::size_t(row)];
  r.Valid = version != 0;
  r.Version = version;
  r.Inputs = in;
  r.InputsSerial = row < int(m_readings.size()) ? m_readings[std::size_t(row)].Serial : 0;
  Confirm(row, version, share, std::move(texts));
}

void TFillMemo::Rebase(int row, double pctBase, std::uint64_t version, const std::string *share,
                       TShareRange range) {
  if (row < 0 || row >= int(m_rows.size()))
    return;
  Row &r = m_rows[std::size_t(row)];
  r.Inputs.Whole.PctBase = pctBase;
  r.Valid = version != 0;
  r.Version = version;
  r.HasShare = share != nullptr;
  if (!share)
    r.Share.clear();
  else if (share != &r.Share)
    r.Share = *share;
  // The source does not depend on the base; the other texts neither.
  r.ShareMemo.Range = share ? range : TShareRange();
  if (share)
    r.Texts.reset();
}

const std::string *TFillMemo::Share(int row) const {
  if (row < 0 || row >= int(m_rows.size()))
    return nullptr;
  const Row &r = m_rows[std::size_t(row)];
  return r.Valid && r.HasShare ? &r.Share : nullptr;
}

TFillMemo::TShareMemo *TFillMemo::ShareMemo(int row) {
  if (row < 0 || row >= int(m_rows.size()) || !m_rows[std::size_t(row)].Valid)
    return nullptr;
  return &m_rows[std::size_t(row)].ShareMemo;
}

const std::shared_ptr<const CellTexts> &TFillMemo::Texts(int row) const {
  static const std::shared_ptr<const CellTexts> none;
  if (row < 0 || row >= int(m_rows.size()) || !m_rows[std::size_t(row)].Valid)
    return none;
  return m_rows[std::size_t(row)].Texts;
}

bool TFillMemo::Holds(int row, std::uint64_t version) const {
  if (version == 0 || row < 0 || row >= int(m_rows.size()))
    return false;
  const Row &r = m_rows[std::size_t(row)];
  return r.Valid && r.Version == version;
}

StoreReading *TFillMemo::Reading(int row) {
  if (row < 0)
    return nullptr;
  if (row >= int(m_readings.size()))
    m_readings.resize(std::size_t(row) + 1);
  return &m_readings[std::size_t(row)];
}

std::intptr_t TFillMemo::Tag(int row) const {
  if (row < 0 || row >= int(m_tags.size()))
    return UnknownTag;
  return m_tags[std::size_t(row)];
}

void TFillMemo::SetTag(int row, std::intptr_t tag) {
  if (row < 0)
    return;
  if (row >= int(m_tags.size()))
    m_tags.resize(std::size_t(row) + 1, UnknownTag);
  m_tags[std::size_t(row)] = tag;
}

std::uint64_t TFillMemo::InputsSerial(int row) const {
  if (row < 0 || row >= int(m_rows.size()) || !m_rows[std::size_t(row)].Valid)
    return 0;
  return m_rows[std::size_t(row)].InputsSerial;
}

void TFillMemo::Forget(int row) {
  if (row >= 0 && row < int(m_rows.size()))
    m_rows[std::size_t(row)].Valid = false;
}
