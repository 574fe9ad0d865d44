#pragma once
#include "core/StockStore.h"
#include "platform/DateTime.h"

#include <functional>
#include <string>
#include <vector>

class TAlertRecord;

// One alert mail, ready for the mail queue.
struct AlertMail {
  std::string Sender;
  std::string SendTo; // as the setup holds it: addresses separated by ";" or ","
  std::string Subject;
  std::string Body;
  std::string AlertID; // the alert it tells of: its waiting mail is replaced
};

// What the placeholders of an alert mail are filled from: the symbol's quote
// and fundamentals, read once per mail, and the market time.
struct AlertMailData {
  QuoteData Quote;
  FundData Fund;
  TDateTime MarketNow = 0;
};

// The 28 placeholder names, upper case, in table order ("SYMBOL" ... "CAP").
const std::vector<std::string> &AlertPlaceholderNames();
// The value of a placeholder (name in upper case); "" for a name that is not
// in the table.
std::string AlertPlaceholderValue(const std::string &name, const TAlertRecord &alert,
                                  const AlertMailData &data);

// Replaces "<NAME>" (letter case ignored) by valueOf(upper-cased NAME) when
// that is not empty; other bracketed text stays. The scan continues after an
// inserted value, so values are never scanned again.
std::string
SubstituteAlertPlaceholders(const std::string &text,
                            const std::function<std::string(const std::string &name)> &valueOf);

// Where composed mails go; by default the mail sender's queue (QueueAlertMail).
using AlertMailSink = std::function<void(const AlertMail &mail)>;
// nullptr restores the default.
void SetAlertMailSink(AlertMailSink sink);

// Turns the alert's e-mail setup into a mail and hands it to the sink: the
// first setup (in list order) with the alert's EMailSetupID; nothing when
// there is none or its subject and body are both empty; an empty subject
// becomes "<None>". Placeholders are filled in the subject and the body, not
// in the recipients. Window thread. True when a mail was handed on; an error
// drops the mail (logged).
bool ComposeAlertMail(const TAlertRecord &alert);
