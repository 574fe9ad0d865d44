#include "acquisition/MailMessage.h"

#include "core/ProgramFolder.h"
#include "platform/AsciiText.h"
#include "platform/Clock.h"
#include "platform/Format.h"
#include "platform/StringUtils.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <cctype>
#include <cmath>
#include <set>

namespace {

constexpr std::size_t kFoldWidth = 78;
constexpr std::size_t kMaxLine = 998;
// "=?UTF-8?B?" + "?=" around at most 60 base64 characters keeps a word at 72
// characters, well within 75 with room for the folding blank.
constexpr std::size_t kWordBytes = 45;
constexpr std::size_t kQpWidth = 76;

const char *const kHeaderNames[TMailMessage::hiHeaderCount] = {"From", "Reply-To", "Sender",
                                                               "Organization", "Subject"};

bool IsPlainAscii(const std::string &s) {
  for (unsigned char c : s)
    if (c >= 0x80 || (c < 0x20 && c != '\t') || c == 0x7F)
      return false;
  return true;
}

std::string OneLine(const std::string &value) {
  std::string out;
  out.reserve(value.size());
  for (char c : value)
    out += (c == '\r' || c == '\n') ? ' ' : c;
  return out;
}

std::string RandomHex(int bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (int i = 0; i < bytes; ++i) {
    const quint32 v = QRandomGenerator::global()->bounded(256u);
    out += digits[v >> 4];
    out += digits[v & 15];
  }
  return out;
}

// Length of the UTF-8 sequence that starts with c (1 for stray bytes).
std::size_t Utf8Length(unsigned char c) {
  if (c >= 0xF0 && c < 0xF8)
    return 4;
  if (c >= 0xE0)
    return c < 0xF0 ? 3 : 1;
  if (c >= 0xC0)
    return 2;
  return 1;
}

bool NeedsQuoting(const std::string &phrase) {
  for (char c : phrase)
    if (std::string("()<>[]:;@\\,.\"").find(c) != std::string::npos)
      return true;
  return false;
}

std::string DomainOf(const std::string &address) {
  const auto at = address.rfind('@');
  if (at == std::string::npos)
    return {};
  std::string domain = address.substr(at + 1);
  for (char c : domain)
    if (!(IsAsciiLetterOrDigit(c) || c == '.' || c == '-'))
      return {};
  return domain;
}

std::string Base64(const std::string &bytes) {
  return QByteArray(bytes.data(), qsizetype(bytes.size())).toBase64().toStdString();
}

std::string Base64Lines(const std::string &bytes) {
  const std::string all = Base64(bytes);
  std::string out;
  for (std::size_t i = 0; i < all.size(); i += 76)
    out += all.substr(i, 76) + "\r\n";
  return out;
}

bool IsValidHeaderName(const std::string &name) {
  if (name.empty())
    return false;
  for (unsigned char c : name)
    if (c <= 32 || c >= 127 || c == ':')
      return false;
  return true;
}

// The body part: its Content-Type and Content-Transfer-Encoding lines, a
// blank line and the encoded text.
std::string BodyPart(const std::string &body) {
  const std::string text = NormalizeLineEnds(body);
  bool plain = true;
  for (unsigned char c : text)
    if (c >= 0x80 || c == 0) {
      plain = false;
      break;
    }
  if (plain)
    for (const auto &line : SplitAtLineBreaks(text))
      if (line.size() > kMaxLine) {
        plain = false;
        break;
      }
  std::string out = "Content-Type: text/plain; charset=UTF-8\r\n";
  if (plain)
    out += "Content-Transfer-Encoding: 7bit\r\n\r\n" + text;
  else
    out += "Content-Transfer-Encoding: quoted-printable\r\n\r\n" + EncodeQuotedPrintable(text);
  if (out.size() < 2 || out.compare(out.size() - 2, 2, "\r\n") != 0)
    out += "\r\n";
  return out;
}

std::string AttachmentPart(const TMailMessage::TAttachment &a) {
  std::string name;
  for (char c : a.FileName)
    if (c != '"' && c != '\\' && c != '\r' && c != '\n' && c != '/')
      name += c;
  if (name.empty())
    name = "attachment";
  std::string type = OneLine(Trim(a.ContentType));
  if (type.empty())
    type = "application/octet-stream";
  std::string disposition;
  if (IsPlainAscii(name)) {
    disposition = "attachment; filename=\"" + name + "\"";
    type += "; name=\"" + name + "\"";
  } else {
    // Parameter value with a charset, as MIME parameters allow.
    const QByteArray pct =
        QByteArray(name.data(), qsizetype(name.size())).toPercentEncoding("", "'()*");
    disposition = "attachment; filename*=UTF-8''" + pct.toStdString();
  }
  return "Content-Type: " + type + "\r\nContent-Disposition: " + disposition +
         "\r\nContent-Transfer-Encoding: base64\r\n\r\n" + Base64Lines(a.Data);
}

} // namespace

std::string TickvaneMailerText() {
  return "Velkar Tickvane Version " + VersionToStr(ProgramVersion());
}

std::string MailAddressOf(const std::string &item) {
  const auto open = item.rfind('<');
  if (open != std::string::npos) {
    const auto close = item.find('>', open);
    if (close != std::string::npos)
      return Trim(item.substr(open + 1, close - open - 1));
  }
  return Trim(item);
}

std::string EncodeHeaderWords(const std::string &text) {
  bool longWord = false;
  std::size_t run = 0;
  for (char c : text) {
    run = (c == ' ') ? 0 : run + 1;
    if (run > kMaxLine - 100)
      longWord = true;
  }
  if (IsPlainAscii(text) && !longWord)
    return text;
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t end = i;
    while (end < text.size()) {
      const std::size_t len = Utf8Length(static_cast<unsigned char>(text[end]));
      if (end + len - i > kWordBytes)
        break;
      end += len;
    }
    if (end == i) // a lone lead byte near the end of the text
      end = std::min(text.size(), i + kWordBytes);
    if (!out.empty())
      out += "\r\n ";
    out += "=?UTF-8?B?" + Base64(text.substr(i, end - i)) + "?=";
    i = end;
  }
  return out;
}

std::string EncodeAddress(const std::string &item) {
  const std::string clean = Trim(OneLine(item));
  const auto open = clean.rfind('<');
  if (open == std::string::npos || clean.find('>', open) == std::string::npos)
    return clean;
  std::string phrase = Trim(clean.substr(0, open));
  const std::string address = "<" + MailAddressOf(clean) + ">";
  if (phrase.empty())
    return address;
  const bool quoted = phrase.size() >= 2 && phrase.front() == '"' && phrase.back() == '"';
  if (quoted && IsPlainAscii(phrase))
    return phrase + " " + address;
  if (quoted) {
    std::string inner;
    for (std::size_t i = 1; i + 1 < phrase.size(); ++i) {
      if (phrase[i] == '\\' && i + 2 < phrase.size())
        ++i;
      inner += phrase[i];
    }
    phrase = inner;
  }
  if (!IsPlainAscii(phrase))
    return EncodeHeaderWords(phrase) + " " + address;
  if (NeedsQuoting(phrase)) {
    std::string q = "\"";
    for (char c : phrase) {
      if (c == '"' || c == '\\')
        q += '\\';
      q += c;
    }
    phrase = q + "\"";
  }
  return phrase + " " + address;
}

std::string FoldHeaderLine(const std::string &name, const std::string &value) {
  std::string out = name + ":";
  std::size_t lineLength = out.size();
  bool wordOnLine = false;
  // "\r\n " inside the value (between encoded words) is a fold of its own.
  std::size_t segmentStart = 0;
  bool firstSegment = true;
  while (segmentStart <= value.size()) {
    std::size_t segmentEnd = value.find("\r\n ", segmentStart);
    if (segmentEnd == std::string::npos)
      segmentEnd = value.size();
    const std::string segment = value.substr(segmentStart, segmentEnd - segmentStart);
    std::size_t wordStart = 0;
    bool firstWord = true;
    while (wordStart <= segment.size()) {
      std::size_t wordEnd = segment.find(' ', wordStart);
      if (wordEnd == std::string::npos)
        wordEnd = segment.size();
      const std::string word = segment.substr(wordStart, wordEnd - wordStart);
      const bool forced = firstWord && !firstSegment;
      if (forced || (wordOnLine && lineLength + 1 + word.size() > kFoldWidth)) {
        out += "\r\n " + word;
        lineLength = 1 + word.size();
      } else {
        out += " " + word;
        lineLength += 1 + word.size();
      }
      wordOnLine = true;
      firstWord = false;
      wordStart = wordEnd + 1;
    }
    firstSegment = false;
    segmentStart = segmentEnd + 3;
  }
  return out + "\r\n";
}

std::string NormalizeLineEnds(const std::string &text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n')
        ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::string EncodeQuotedPrintable(const std::string &text) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  const auto lines = SplitAtLineBreaks(NormalizeLineEnds(text));
  for (std::size_t n = 0; n < lines.size(); ++n) {
    const std::string &line = lines[n];
    std::string current;
    for (std::size_t i = 0; i < line.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(line[i]);
      const bool last = i + 1 == line.size();
      std::string chunk;
      if ((c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !last))
        chunk = std::string(1, char(c));
      else
        chunk = std::string("=") + hex[c >> 4] + hex[c & 15];
      // Leave room for the soft break "=" at the end of a full line.
      if (current.size() + chunk.size() > kQpWidth - 1) {
        out += current + "=\r\n";
        current.clear();
      }
      current += chunk;
    }
    out += current;
    if (n + 1 < lines.size())
      out += "\r\n";
  }
  return out;
}

std::string MailDateText(double localDateTime, int offsetMinutes) {
  std::string text = FormatDateTime("ddd, dd mmm yyyy hh:nn:ss", localDateTime);
  const char sign = offsetMinutes < 0 ? '-' : '+';
  const int off = std::abs(offsetMinutes);
  const auto two = [](int v) { return std::string(1, char('0' + v / 10)) + char('0' + v % 10); };
  return text + " " + sign + two(off / 60 % 100) + two(off % 60);
}

TMailMessage::TMailMessage() : m_mailer(TickvaneMailerText()) {}

void TMailMessage::SetHeader(int index, const std::string &value) {
  if (index >= 0 && index < hiHeaderCount)
    m_headers[index] = OneLine(value);
}

std::string TMailMessage::Header(int index) const {
  return (index >= 0 && index < hiHeaderCount) ? m_headers[index] : std::string();
}

void TMailMessage::SetRecipientsText(const std::string &text) {
  m_to.clear();
  for (const auto &line : SplitAtLineBreaks(text)) {
    std::string address = Trim(line);
    if (!address.empty())
      m_to.push_back(address);
  }
}

std::string TMailMessage::RecipientsText() const {
  std::string out;
  for (const auto &r : m_to) {
    if (!out.empty())
      out += "\r\n";
    out += r;
  }
  return out;
}

void TMailMessage::SetMailer(const std::string &mailer) { m_mailer = OneLine(mailer); }

std::string TMailMessage::EnvelopeSender() const { return MailAddressOf(m_headers[hiFrom]); }

std::vector<std::string> TMailMessage::EnvelopeRecipients() const {
  std::vector<std::string> out;
  std::set<std::string> seen;
  for (const auto *list : {&m_to, &m_cc, &m_bcc})
    for (const auto &item : *list) {
      const std::string address = MailAddressOf(OneLine(item));
      if (!address.empty() && seen.insert(LowerCase(address)).second)
        out.push_back(address);
    }
  return out;
}

TMailMessage::TStamp TMailMessage::NewStamp() const {
  const Clock &clock = AppClock();
  const double local = clock.Now();
  const int offset = int(std::lround((local - clock.NowUtc()) * 1440.0));
  std::string domain = DomainOf(EnvelopeSender());
  if (domain.empty())
    domain = "tickvane.invalid";
  const std::string id = RandomHex(8) + "." + RandomHex(4);
  return {MailDateText(local, offset), "<" + id + "@" + domain + ">"};
}

std::string TMailMessage::Render() const { return Render(NewStamp()); }

std::string TMailMessage::Render(const TStamp &stamp) const {
  std::string out;
  std::set<std::string> written;
  const auto add = [&](const std::string &name, const std::string &value) {
    out += FoldHeaderLine(name, value);
    written.insert(LowerCase(name));
  };
  const auto addressList = [](const std::vector<std::string> &items) {
    std::string list;
    for (const auto &item : items) {
      const std::string encoded = EncodeAddress(item);
      if (encoded.empty())
        continue;
      if (!list.empty())
        list += ", ";
      list += encoded;
    }
    return list;
  };

  add("Date", stamp.Date);
  if (!m_headers[hiFrom].empty())
    add("From", EncodeAddress(m_headers[hiFrom]));
  if (!m_headers[hiSender].empty())
    add("Sender", EncodeAddress(m_headers[hiSender]));
  if (!m_headers[hiReplyTo].empty())
    add("Reply-To", EncodeAddress(m_headers[hiReplyTo]));
  const std::string to = addressList(m_to);
  add("To", to.empty() ? "undisclosed-recipients:;" : to);
  const std::string cc = addressList(m_cc);
  if (!cc.empty())
    add("Cc", cc);
  add("Subject", EncodeHeaderWords(m_headers[hiSubject]));
  add("Message-ID", stamp.MessageID);
  if (!m_mailer.empty())
    add("X-Mailer", EncodeHeaderWords(m_mailer));
  if (!m_headers[hiOrganization].empty())
    add("Organization", EncodeHeaderWords(m_headers[hiOrganization]));
  written.insert("mime-version");
  written.insert("content-type");
  written.insert("content-transfer-encoding");
  written.insert("bcc");
  for (const auto &line : m_extra) {
    const auto colon = line.find(':');
    if (colon == std::string::npos)
      continue;
    const std::string name = line.substr(0, colon);
    if (!IsValidHeaderName(name) || written.count(LowerCase(name)))
      continue;
    add(name, EncodeHeaderWords(Trim(OneLine(line.substr(colon + 1)))));
  }
  out += "MIME-Version: 1.0\r\n";

  if (m_attachments.empty())
    return out + BodyPart(m_body);

  const std::string text = NormalizeLineEnds(m_body);
  std::string boundary;
  do
    boundary = "=_tv_" + RandomHex(12);
  while (text.find(boundary) != std::string::npos);
  out += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n";
  out += "This is a message in MIME format.\r\n";
  out += "--" + boundary + "\r\n" + BodyPart(m_body);
  for (const auto &a : m_attachments)
    out += "--" + boundary + "\r\n" + AttachmentPart(a);
  out += "--" + boundary + "--\r\n";
  return out;
}
