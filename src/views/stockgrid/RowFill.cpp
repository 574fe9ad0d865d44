#include "views/stockgrid/RowFill.h"

#include "core/Log.h"
#include "views/stockgrid/FillMemo.h"

namespace {

std::string ReadCell(const TGridFillSink &sink, int col, int row) {
  try {
    return sink.Cell(col, row);
  } catch (...) {
    return sink.Cell(col, row);
  }
}

void LogErrors(const CellTexts &texts) {
  if (!LoggingOn)
    return;
  for (const std::string &e : texts.Errors)
    WriteLog(e, 0);
}

// Writes the fields of one row where their texts differ from the cells'.
// Changed() tells whether a cell read differed.
class RowWriter {
public:
  RowWriter(TGridFillSink &sink, const TColumnMap &colPos, int row)
      : m_sink(sink), m_colPos(colPos), m_row(row), m_colCount(sink.ColCount()),
        m_rowCount(sink.RowCount()) {}

  // Writes a field's text when its column exists and the text differs.
  void PutCell(int field, const std::string &text) {
    const int c = Column(field);
    if (c >= 0 && ReadCell(m_sink, c, m_row) != text)
      Write(c, text);
  }

  // The fields from firstField on that the texts set. Cells are read up to
  // the first that differs; from there on they are written without reading
  // (the grid keeps a cell that is given its own text as it is).
  void PutAll(const CellTexts &texts, int firstField) {
    for (int f = firstField; f < GridFieldCount; ++f) {
      if (!texts.Has(f))
        continue;
      if (!m_changed)
        PutCell(f, texts.Text[f]);
      else if (const int c = Column(f); c >= 0)
        Write(c, texts.Text[f]);
    }
  }

  // The same, for a row known to hold the texts before (where those set a
  // field): only the fields whose text differs from before's are written.
  void PutChanges(const CellTexts &before, const CellTexts &texts, int firstField) {
    for (int f = firstField; f < GridFieldCount; ++f) {
      if (!texts.Has(f))
        continue;
      if (!before.Has(f))
        PutCell(f, texts.Text[f]);
      else if (before.Text[f] != texts.Text[f])
        if (const int c = Column(f); c >= 0)
          Write(c, texts.Text[f]);
    }
  }

  bool Changed() const { return m_changed; }

private:
  int Column(int field) const {
    if (field < 0 || field >= GridFieldCount)
      return -1;
    const int c = m_colPos[field];
    if (c < 0 || c > m_colCount - 1 || m_row > m_rowCount - 1)
      return -1;
    return c;
  }
  void Write(int col, const std::string &text) {
    m_changed = true;
    AttemptWrite([&] { m_sink.SetCell(col, m_row, text); });
  }

  TGridFillSink &m_sink;
  const TColumnMap &m_colPos;
  int m_row;
  int m_colCount;
  int m_rowCount;
  bool m_changed = false;
};

} // namespace

TRowFill::TRowFill(TGridFillSink &sink, TFillMemo *memo, const TColumnMap &colPos)
    : m_sink(sink), m_memo(memo), m_colPos(colPos) {}

void TRowFill::BeginPass() {
  if (m_memo)
    m_memo->BeginPass(m_colPos, m_sink.ColCount());
}

void TRowFill::BeginRow(int row) {
  m_row = row;
  m_wrote = false;
  m_version = m_memo ? m_sink.RowVersion(row) : 0;
}

std::uint64_t TRowFill::Version() const {
  if (m_wrote && m_memo) {
    m_version = m_sink.RowVersion(m_row);
    m_wrote = false;
  }
  return m_version;
}

bool TRowFill::Held() const { return m_memo && m_memo->Holds(m_row, Version()); }

const CellTextInputs *TRowFill::KnownInputs() const {
  return m_memo ? m_memo->Inputs(m_row) : nullptr;
}

std::uint64_t TRowFill::KnownInputsSerial() const {
  return m_memo ? m_memo->InputsSerial(m_row) : 0;
}

StoreReading *TRowFill::Reading() const { return m_memo ? m_memo->Reading(m_row) : nullptr; }

void TRowFill::PutTag(std::intptr_t tag) {
  if (Held() && m_memo->Tag(m_row) == tag)
    return;
  if (m_memo)
    m_memo->SetTag(m_row, TFillMemo::UnknownTag); // until known written
  bool has = m_sink.Object(0, m_row) == tag;
  if (!has) {
    has = AttemptWrite([&] { m_sink.SetObject(0, m_row, tag); });
    m_wrote = true;
  }
  if (has && m_memo)
    m_memo->SetTag(m_row, tag);
}

bool TRowFill::PutSymbol(const std::string &symbol, bool known) {
  if ((known && Held()) || ReadCell(m_sink, 0, m_row) == symbol)
    return false;
  AttemptWrite([&] { m_sink.SetCell(0, m_row, symbol); });
  m_wrote = true;
  return true;
}

bool TRowFill::PutShare(const CellTextInputs &inputs) {
  const std::uint64_t version = Version();
  const double base = inputs.Whole.PctBase;
  TFillMemo::TShareMemo &known = *m_memo->ShareMemo(m_row);
  if (!known.SourceKnown) {
    known.Source = PortShareSource(inputs);
    known.SourceKnown = true;
  }
  const ShareSource &source = known.Source;
  // The row holds the remembered % Port text (its version says so). A raw
  // share inside that text's range gives it again without formatting.
  const std::string *held = m_memo->Share(m_row);
  double raw = 0;
  const bool hasRaw = source.Shown && source.HasPosition && ShareValue(source.Value, base, raw);
  if (hasRaw && held && known.Range.Contains(raw)) {
    m_memo->Rebase(m_row, base, version, held, known.Range);
    return false;
  }
  std::string share;
  bool hasShare = source.Shown;
  try {
    if (hasShare && source.HasPosition)
      share = ShareText(source.Value, base);
  } catch (...) {
    hasShare = false;
  }
  const TShareRange range = hasShare && hasRaw ? ShareRangeOf(raw) : TShareRange();
  // An equal text needs no look at the cell.
  if (!hasShare || (held && *held == share)) {
    m_memo->Rebase(m_row, base, version, hasShare ? &share : nullptr, range);
    return false;
  }
  RowWriter writer(m_sink, m_colPos, m_row);
  writer.PutCell(gfPctPort, share);
  m_wrote = m_wrote || writer.Changed();
  m_memo->Rebase(m_row, base, Version(), &share, range);
  return writer.Changed();
}

bool TRowFill::PutTexts(const CellTextInputs *gathered, double pctBase, int firstField,
                        bool shareTexts) {
  if (!gathered && !KnownInputs())
    return false; // nothing to compute from
  TFillMemo::TReuse reuse = TFillMemo::TReuse::None;
  if (m_memo)
    reuse = gathered ? m_memo->Check(m_row, *gathered, Version())
                     : m_memo->CheckKnown(m_row, pctBase, Version());
  if (reuse == TFillMemo::TReuse::All)
    return false; // the row holds these inputs' texts
  if (!gathered)
    m_memo->TakeBase(m_row, pctBase);
  const CellTextInputs &inputs = gathered ? *gathered : *KnownInputs();
  if (reuse == TFillMemo::TReuse::ShareOnly)
    return PutShare(inputs);

  RowWriter writer(m_sink, m_colPos, m_row);
  // What the row holds, when the memo has the texts of its last pass and
  // nobody wrote the row since: then only the texts that differ are written.
  std::shared_ptr<const CellTexts> before;
  if (shareTexts && Held())
    before = m_memo->Texts(m_row);
  // Equal inputs give equal texts.
  if (shareTexts && !(m_lastValid && m_lastInputs == inputs)) {
    m_lastTexts = std::make_shared<const CellTexts>(ComputeCellTexts(inputs));
    m_lastInputs = inputs;
    m_lastValid = true;
  }
  CellTexts computed;
  if (!shareTexts)
    computed = ComputeCellTexts(inputs);
  const CellTexts &texts = shareTexts ? *m_lastTexts : computed;
  LogErrors(texts);
  if (before)
    writer.PutChanges(*before, texts, firstField);
  else
    writer.PutAll(texts, firstField);
  m_wrote = m_wrote || writer.Changed();
  if (m_memo) {
    const std::string *share = texts.Has(gfPctPort) ? &texts.Text[gfPctPort] : nullptr;
    std::shared_ptr<const CellTexts> shared = shareTexts ? m_lastTexts : nullptr;
    // A row whose texts failed keeps no memo: it is computed (and logged) again.
    if (!texts.Errors.empty())
      m_memo->Forget(m_row);
    else if (gathered)
      m_memo->Remember(m_row, *gathered, Version(), share, std::move(shared));
    else
      m_memo->Confirm(m_row, Version(), share, std::move(shared));
  }
  return writer.Changed();
}

bool TRowFill::PutUnkept(const CellTexts &texts, int firstField) {
  LogErrors(texts);
  RowWriter writer(m_sink, m_colPos, m_row);
  writer.PutAll(texts, firstField);
  m_wrote = m_wrote || writer.Changed();
  return writer.Changed();
}
