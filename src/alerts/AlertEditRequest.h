#pragma once
#include <cstddef>
#include <mutex>
#include <string>

// Requests that the alert windows leave for the main window's heartbeat.
//
// AlertEditRequest (at most 15 characters) asks the preferences dialog to
// open the alert editor: "!" + symbol (create an alert for the symbol),
// "~" + symbol (edit that symbol's alerts), "=" + alert ID (edit that alert),
// or a bare alert ID left by the alert pop-up's Edit button, which the
// heartbeat turns into "=" + ID. Empty when nothing is asked.
//
// PortfolioRequest holds the key of a portfolio (up to 22 characters, the
// whole key) that the main window should show.

// A short text shared between windows; longer texts are cut on Set. Any
// thread may use it.
class TRequestText {
public:
  explicit TRequestText(std::size_t maxLength) : m_max(maxLength) {}
  TRequestText(const TRequestText &) = delete;
  TRequestText &operator=(const TRequestText &) = delete;

  std::size_t MaxLength() const { return m_max; }
  void Set(const std::string &text);
  std::string Get() const;
  // Returns the text and empties it.
  std::string Take();
  void Clear();
  bool Empty() const;

private:
  const std::size_t m_max;
  mutable std::mutex m_mutex;
  std::string m_text;
};

inline constexpr std::size_t AlertEditRequestMax = 15;
inline constexpr std::size_t PortfolioRequestMax = 22;

TRequestText &AlertEditRequest();
TRequestText &PortfolioRequest();

// For the heartbeat: when AlertEditRequest holds a bare alert ID (it begins
// with a capital letter A to Z), turns it into "=" + ID (cut to 15) and
// returns true; the caller then opens the preferences dialog.
bool PromoteBareAlertEditRequest();
