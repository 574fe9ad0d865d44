#pragma once
// The rules of the e-mail settings page, apart from its controls: the port
// field, the refused sender domains, the sample values of the preview and the
// test mail, the checks before a template is saved, and the placeholder menu.
#include "platform/DateTime.h"

#include <string>
#include <vector>

class EMailSetupList;

// ---- Server fields

// The port typed: "default", an empty text, 0, a text that is no number, and
// a number outside 1..65535 give 25.
int ParseMailPortText(const std::string &text);
// 25 shows as "default", other ports as the number.
std::string MailPortText(int port);
// The server as the host and port fields give it. A port typed with the
// host ("host:587", "[2001:db8::25]:587") wins over the port field and is
// split off, so that the host is stored without it; brackets around an IPv6
// address are taken off as well.
void TakeMailServerFields(const std::string &hostText, const std::string &portText,
                          std::string &host, int &port);

// ---- Refused sender domains

inline constexpr const char *EMailDomainBlocksParam = "EMAILDOMBLOCKS";
// The refused domains when params.par names none: the program's own.
inline constexpr const char *DefaultEMailDomainBlocks = "@velkar.com|@tickvane.com";
// The "|"-separated list of refused domains (each with its "@"), read from
// the program parameters.
std::string EMailDomainBlocks();
// The sender address after the domain check: an address that is itself a
// refused entry becomes empty; an address on a refused domain keeps only its
// user part and "@". Letter case is ignored; the address is trimmed.
std::string ApplySenderDomainBlocks(const std::string &address, const std::string &blocks);

// ---- Sample values

// The value of a placeholder in the preview and the test mail (name in upper
// case); "" for a name without a sample. DATE and TIME show now.
std::string EMailSampleValue(const std::string &name, TDateTime now);
// Replaces the placeholders that have a sample value; others stay as typed.
std::string FillSampleValues(const std::string &text, TDateTime now);
// The preview: "From: ", "To: " and "Subject: " lines, a blank line and the
// body, with CR LF line ends; subject and body trimmed and filled.
std::string EMailPreviewText(const std::string &from, const std::string &sendTo,
                             const std::string &subject, const std::string &body, TDateTime now);
// The recipients of the test mail, one per line: every ";" becomes CR LF.
std::string TestRecipientsText(const std::string &sendTo);

// ---- Templates

// Why a template cannot be saved ("" when it can): a name another template
// (not the one at editIndex) has, in any letter case; no recipient; neither
// subject nor body; a body that is only the alert file's end-of-body line.
std::string TemplateSaveError(const EMailSetupList &setups, int editIndex, const std::string &name,
                              const std::string &sendTo, const std::string &subject,
                              const std::string &body);
// "Email Setup #" + the smallest number from 1 on that no name in the list has.
std::string NextTemplateName(const std::vector<std::string> &names);
// The question asked before a template that users alerts use is deleted.
std::string DeleteTemplateQuestion(int users);

// ---- Placeholder menu

// The 28 entries ("<FULLDESC> - Full Alert Description", ...), in order.
const std::vector<std::string> &PlaceholderMenuEntries();
// The part of an entry that is inserted: up to and including its first ">".
std::string PlaceholderOfEntry(const std::string &entry);
// Entries at a non-zero multiple of this position start a new menu column.
inline constexpr int PlaceholderMenuColumnLength = 14;
bool PlaceholderStartsColumn(int index);

// Line ends: the templates keep CR LF; the text controls use LF.
std::string ToDisplayLines(const std::string &text);
std::string ToStoredLines(const std::string &text);
