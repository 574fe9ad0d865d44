#include "alerts/AlertEditRequest.h"

#include "platform/StringUtils.h"

void TRequestText::Set(const std::string &text) {
  std::string cut = CutTo(text, m_max);
  std::lock_guard<std::mutex> lock(m_mutex);
  m_text = std::move(cut);
}

std::string TRequestText::Get() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_text;
}

std::string TRequestText::Take() {
  std::lock_guard<std::mutex> lock(m_mutex);
  std::string text = std::move(m_text);
  m_text.clear();
  return text;
}

void TRequestText::Clear() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_text.clear();
}

bool TRequestText::Empty() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_text.empty();
}

TRequestText &AlertEditRequest() {
  static TRequestText request(AlertEditRequestMax);
  return request;
}

TRequestText &PortfolioRequest() {
  static TRequestText request(PortfolioRequestMax);
  return request;
}

bool PromoteBareAlertEditRequest() {
  TRequestText &request = AlertEditRequest();
  const std::string text = request.Get();
  if (text.empty() || text[0] < 'A' || text[0] > 'Z')
    return false;
  request.Set("=" + text);
  return true;
}
