#pragma once
// A fill sink that opens the batch of the sink it wraps only at the first
// write or repaint inside it: a row the pass finds unchanged costs the grid
// no batch at all, while the writes of a changed row still reach it as one
// batch.
#include "views/stockgrid/GridFill.h"

class TLazyBatchSink final : public TGridFillSink {
public:
  explicit TLazyBatchSink(TGridFillSink &sink) : m_sink(sink) {}
  TLazyBatchSink(const TLazyBatchSink &) = delete;
  TLazyBatchSink &operator=(const TLazyBatchSink &) = delete;
  ~TLazyBatchSink() override {
    if (m_open)
      m_sink.EndBatch();
  }

  int ColCount() const override { return m_sink.ColCount(); }
  int RowCount() const override { return m_sink.RowCount(); }
  void SetRowCount(int rows) override {
    Open();
    m_sink.SetRowCount(rows);
  }
  std::string Cell(int col, int row) const override { return m_sink.Cell(col, row); }
  void SetCell(int col, int row, const std::string &text) override {
    Open();
    m_sink.SetCell(col, row, text);
  }
  std::intptr_t Object(int col, int row) const override { return m_sink.Object(col, row); }
  void SetObject(int col, int row, std::intptr_t object) override {
    Open();
    m_sink.SetObject(col, row, object);
  }
  std::uint64_t RowVersion(int row) const override { return m_sink.RowVersion(row); }
  void RepaintRow(int row) override {
    Open();
    m_sink.RepaintRow(row);
  }
  bool SyncPoint() override { return m_sink.SyncPoint(); }
  void BeginBatch() override { ++m_depth; }
  void EndBatch() override {
    if (m_depth > 0 && --m_depth == 0 && m_open) {
      m_open = false;
      m_sink.EndBatch();
    }
  }

private:
  void Open() {
    if (m_depth > 0 && !m_open) {
      m_sink.BeginBatch();
      m_open = true;
    }
  }

  TGridFillSink &m_sink;
  int m_depth = 0;
  bool m_open = false;
};
