#include "alerts/AlertBatch.h"

#include "alerts/AlertEquals.h"
#include "alerts/AlertRecord.h"
#include "platform/StringUtils.h"

namespace {

// Texts read from a file fit already: cut (and copy) only what is longer.
void CutLong(std::string &text, std::size_t max) {
  if (text.size() > max)
    text = CutTo(text, max);
}

} // namespace

void TAlertBatch::Add(std::unique_ptr<TAlertRecord> alert) {
  std::uint64_t key = 0;
  if (alert) {
    CutLong(alert->Symbol, TAlertRecord::SymbolMax);
    CutLong(alert->EMailSetupID, TAlertRecord::EMailSetupIDMax);
    key = AlertEqualKey(*alert);
  }
  m_records.push_back(std::move(alert));
  m_keys.push_back(key);
}

void TAlertBatch::Reserve(std::size_t count) {
  m_records.reserve(count);
  m_keys.reserve(count);
}
