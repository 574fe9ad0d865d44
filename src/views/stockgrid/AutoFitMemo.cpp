#include "views/stockgrid/AutoFitMemo.h"

void TFitMemo::Begin(const TFitKey &key, int rows) {
  if (!m_valid || !(key == m_key)) {
    m_rows.clear();
    for (auto &widths : m_widths)
      widths.clear();
    m_key = key;
    m_valid = true;
  }
  m_rows.resize(std::size_t(rows < 0 ? 0 : rows));
}
