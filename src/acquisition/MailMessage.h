#pragma once
#include <string>
#include <vector>

// The mailer identification that the program's mails carry in X-Mailer:
// "Velkar Tickvane Version " + the program version as dotted text.
std::string TickvaneMailerText();

// One mail: headers, recipients, body and attachments. Render() turns it into
// an Internet message with CR LF line ends: Date, Message-ID, X-Mailer and the
// MIME headers are added, texts are UTF-8, and header texts that are not plain
// ASCII are written as MIME encoded words.
class TMailMessage {
public:
  // Indexes of SetHeader / Header.
  enum THeaderIndex {
    hiFrom = 0,
    hiReplyTo = 1,
    hiSender = 2,
    hiOrganization = 3,
    hiSubject = 4,
    hiHeaderCount = 5
  };

  struct TAttachment {
    std::string FileName;    // shown to the reader; no folder part
    std::string ContentType; // empty: application/octet-stream
    std::string Data;        // the file's bytes
  };

  // What Render puts into the Date and Message-ID headers.
  struct TStamp {
    std::string Date;      // "Fri, 05 Jan 2024 12:00:00 +0000"
    std::string MessageID; // "<...@...>"
  };

  TMailMessage();

  // Header texts by index; an index out of range is ignored ("" when read).
  // Line breaks in a value are replaced by blanks.
  void SetHeader(int index, const std::string &value);
  std::string Header(int index) const;

  // The To list as text, one address per line (CR LF, LF or CR). Lines are
  // trimmed and empty lines dropped. An address may be "Name <box@host>".
  void SetRecipientsText(const std::string &text);
  std::string RecipientsText() const; // lines joined with CR LF
  const std::vector<std::string> &Recipients() const { return m_to; }
  void ClearRecipients() { m_to.clear(); }

  // Copy and blind-copy addresses; blind copies never show in the headers.
  std::vector<std::string> &CC() { return m_cc; }
  const std::vector<std::string> &CC() const { return m_cc; }
  void ClearCC() { m_cc.clear(); }
  std::vector<std::string> &BCC() { return m_bcc; }
  const std::vector<std::string> &BCC() const { return m_bcc; }
  void ClearBCC() { m_bcc.clear(); }

  // The body as text; line ends of any kind become CR LF when rendered.
  void SetBodyText(const std::string &text) { m_body = text; }
  const std::string &BodyText() const { return m_body; }
  void ClearBody() { m_body.clear(); }

  std::vector<TAttachment> &Attachments() { return m_attachments; }
  const std::vector<TAttachment> &Attachments() const { return m_attachments; }
  void ClearAttachments() { m_attachments.clear(); }

  // Further header lines "Name: value". Lines without a valid name, and names
  // of headers that Render writes itself, are left out when rendering.
  std::vector<std::string> &ExtraHeaders() { return m_extra; }
  const std::vector<std::string> &ExtraHeaders() const { return m_extra; }
  void ClearExtraHeaders() { m_extra.clear(); }

  // X-Mailer text; TickvaneMailerText() unless set. Empty leaves the header out.
  void SetMailer(const std::string &mailer);
  const std::string &Mailer() const { return m_mailer; }

  // Envelope: the bare address of From ("" when none) and the bare addresses
  // of To, CC and BCC, each once, in that order.
  std::string EnvelopeSender() const;
  std::vector<std::string> EnvelopeRecipients() const;

  // The message with the current time and a new Message-ID.
  std::string Render() const;
  // The message with the given stamp (tests).
  std::string Render(const TStamp &stamp) const;
  // A stamp for now (the program clock) with a new Message-ID.
  TStamp NewStamp() const;

private:
  std::string m_headers[hiHeaderCount];
  std::vector<std::string> m_to;
  std::vector<std::string> m_cc;
  std::vector<std::string> m_bcc;
  std::string m_body;
  std::vector<TAttachment> m_attachments;
  std::vector<std::string> m_extra;
  std::string m_mailer;
};

// Helpers of the message and the SMTP client, public for their tests.

// The bare address of "Name <box@host>" or "box@host", trimmed.
std::string MailAddressOf(const std::string &item);
// Header text as MIME needs it: unchanged when it is printable ASCII, else
// UTF-8 encoded words ("=?UTF-8?B?...?="), each at most 75 characters,
// separated by CR LF and a blank.
std::string EncodeHeaderWords(const std::string &text);
// "Name <box@host>" with the name quoted or encoded as needed.
std::string EncodeAddress(const std::string &item);
// "Name: value" folded at blanks so that lines stay within 78 characters where
// the value allows it; continuation lines start with a blank.
std::string FoldHeaderLine(const std::string &name, const std::string &value);
// Text with every line end (CR LF, LF, lone CR) made CR LF.
std::string NormalizeLineEnds(const std::string &text);
// Quoted-printable body (lines of at most 76 characters, CR LF line ends).
std::string EncodeQuotedPrintable(const std::string &text);
// The date as a mail header writes it: "Fri, 05 Jan 2024 12:00:00 +0100".
// localDateTime is a date-time of days since 1899-12-30; offsetMinutes is its
// distance from UTC.
std::string MailDateText(double localDateTime, int offsetMinutes);
