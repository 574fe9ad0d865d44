#include "acquisition/MailMessage.h"

#include "core/ProgramFolder.h"
#include "platform/Clock.h"

#include <QByteArray>
#include <QString>
#include <gtest/gtest.h>

namespace {

const TMailMessage::TStamp kStamp{"Fri, 05 Jan 2024 12:00:00 +0000", "<abc.def@example.com>"};

std::string HeadOf(const std::string &rendered) {
  return rendered.substr(0, rendered.find("\r\n\r\n") + 2);
}

std::string BodyOf(const std::string &rendered) {
  return rendered.substr(rendered.find("\r\n\r\n") + 4);
}

std::string DecodeWords(const std::string &encoded) {
  // Joins the encoded words of a header value and decodes them.
  std::string out;
  std::size_t at = 0;
  while ((at = encoded.find("=?UTF-8?B?", at)) != std::string::npos) {
    const auto end = encoded.find("?=", at + 10);
    const std::string b64 = encoded.substr(at + 10, end - at - 10);
    out += QByteArray::fromBase64(QByteArray(b64.data(), qsizetype(b64.size()))).toStdString();
    at = end + 2;
  }
  return out;
}

TEST(MailMessageTest, PlainMessageHeadersInOrder) {
  TMailMessage m;
  m.SetHeader(TMailMessage::hiFrom, "alerts@example.com");
  m.SetHeader(TMailMessage::hiSubject, "IBM alert");
  m.SetRecipientsText("a@example.com\r\nb@example.com");
  m.SetBodyText("Price 105.5\nbye");
  const std::string expected = "Date: Fri, 05 Jan 2024 12:00:00 +0000\r\n"
                               "From: alerts@example.com\r\n"
                               "To: a@example.com, b@example.com\r\n"
                               "Subject: IBM alert\r\n"
                               "Message-ID: <abc.def@example.com>\r\n"
                               "X-Mailer: Velkar Tickvane Version " +
                               VersionToStr(ProgramVersion()) +
                               "\r\n"
                               "MIME-Version: 1.0\r\n"
                               "Content-Type: text/plain; charset=UTF-8\r\n"
                               "Content-Transfer-Encoding: 7bit\r\n"
                               "\r\n"
                               "Price 105.5\r\nbye\r\n";
  EXPECT_EQ(m.Render(kStamp), expected);
}

TEST(MailMessageTest, HeaderIndexesZeroAndFour) {
  TMailMessage m;
  m.SetHeader(0, "from@example.com");
  m.SetHeader(4, "the subject");
  m.SetHeader(7, "ignored");
  EXPECT_EQ(m.Header(TMailMessage::hiFrom), "from@example.com");
  EXPECT_EQ(m.Header(TMailMessage::hiSubject), "the subject");
  EXPECT_EQ(m.Header(7), "");
}

TEST(MailMessageTest, RecipientLinesAreTrimmedAndEmptyOnesDropped) {
  TMailMessage m;
  m.SetRecipientsText(" a@x.com \r\n\r\nb@x.com\n\rc@x.com\r\n");
  EXPECT_EQ(m.Recipients(), (std::vector<std::string>{"a@x.com", "b@x.com", "c@x.com"}));
  EXPECT_EQ(m.RecipientsText(), "a@x.com\r\nb@x.com\r\nc@x.com");
}

TEST(MailMessageTest, EnvelopeTakesBareAddressesOnce) {
  TMailMessage m;
  m.SetHeader(0, "Alert Robot <robot@example.com>");
  m.SetRecipientsText("Ann <ann@x.com>\nbob@x.com");
  m.CC().push_back("BOB@x.com");
  m.BCC().push_back("hidden@x.com");
  EXPECT_EQ(m.EnvelopeSender(), "robot@example.com");
  EXPECT_EQ(m.EnvelopeRecipients(),
            (std::vector<std::string>{"ann@x.com", "bob@x.com", "hidden@x.com"}));
  const std::string head = HeadOf(m.Render(kStamp));
  EXPECT_NE(head.find("Cc: BOB@x.com\r\n"), std::string::npos);
  EXPECT_EQ(head.find("hidden"), std::string::npos) << "blind copies stay out of the headers";
}

TEST(MailMessageTest, NonAsciiSubjectIsEncodedInWordsOfAtMost75) {
  TMailMessage m;
  const std::string subject =
      "Kurs über 100 € für Müller-Lüdenscheidt AG — Warnung ausgelöst, bitte prüfen ✓";
  m.SetHeader(4, subject);
  m.SetRecipientsText("a@x.com");
  const std::string head = HeadOf(m.Render(kStamp));
  const auto at = head.find("Subject: ");
  const auto end = head.find("\r\nMessage-ID:");
  const std::string value = head.substr(at + 9, end - at - 9);
  EXPECT_EQ(value.rfind("=?UTF-8?B?", 0), 0u);
  EXPECT_EQ(DecodeWords(value), subject);
  std::size_t start = 0;
  for (;;) {
    const auto eol = value.find("\r\n", start);
    const std::string line = value.substr(start, eol - start);
    EXPECT_LE(line.size(), 76u) << line; // a leading fold blank plus a 75-character word
    if (eol == std::string::npos)
      break;
    EXPECT_EQ(value[eol + 2], ' ') << "continuation lines start with a blank";
    start = eol + 2;
  }
  // Every byte of the header block is ASCII.
  for (unsigned char c : head)
    EXPECT_LT(c, 0x80);
}

TEST(MailMessageTest, EncodedWordsNeverSplitACharacter) {
  const std::string text(60, 'a');
  const std::string euros = text + "€€€€€€€€€€€€€€€€€€€€";
  const std::string encoded = EncodeHeaderWords(euros);
  std::size_t at = 0;
  while ((at = encoded.find("=?UTF-8?B?", at)) != std::string::npos) {
    const auto end = encoded.find("?=", at + 10);
    const std::string b64 = encoded.substr(at + 10, end - at - 10);
    const QByteArray word = QByteArray::fromBase64(QByteArray(b64.data(), qsizetype(b64.size())));
    EXPECT_TRUE(QString::fromUtf8(word).toUtf8() == word) << "word holds whole characters";
    at = end + 2;
  }
  EXPECT_EQ(DecodeWords(encoded), euros);
}

TEST(MailMessageTest, AddressNamesAreQuotedOrEncoded) {
  struct Case {
    const char *name;
    std::string in;
    std::string out;
  };
  const Case cases[] = {
      {"bare", "a@x.com", "a@x.com"},
      {"plain name", "Ann Lee <ann@x.com>", "Ann Lee <ann@x.com>"},
      {"specials", "Lee, Ann <ann@x.com>", "\"Lee, Ann\" <ann@x.com>"},
      {"already quoted", "\"Ann \\\"A\\\"\" <ann@x.com>", "\"Ann \\\"A\\\"\" <ann@x.com>"},
      {"quoted utf-8", "\"Jürgen \\\"J\\\"\" <j@x.com>", "=?UTF-8?B?SsO8cmdlbiAiSiI=?= <j@x.com>"},
      {"utf-8", "Jürgen <j@x.com>", "=?UTF-8?B?SsO8cmdlbg==?= <j@x.com>"},
      {"no name", " <j@x.com> ", "<j@x.com>"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(EncodeAddress(c.in), c.out) << c.name;
}

TEST(MailMessageTest, LineBreaksInHeadersCannotAddHeaders) {
  TMailMessage m;
  m.SetHeader(4, "hello\r\nBcc: victim@x.com");
  m.SetRecipientsText("a@x.com");
  m.ExtraHeaders() = {"X-Tag: one\r\nBcc: victim@x.com", "Subject: second subject", "bad header",
                      "X-Other: two"};
  const std::string head = HeadOf(m.Render(kStamp));
  EXPECT_NE(head.find("Subject: hello  Bcc: victim@x.com\r\n"), std::string::npos) << head;
  EXPECT_NE(head.find("X-Tag: one  Bcc: victim@x.com\r\n"), std::string::npos);
  EXPECT_NE(head.find("X-Other: two\r\n"), std::string::npos);
  EXPECT_EQ(head.find("\r\nBcc:"), std::string::npos);
  EXPECT_EQ(head.find("second subject"), std::string::npos);
  EXPECT_EQ(head.find("bad header"), std::string::npos);
}

TEST(MailMessageTest, LongAsciiHeaderIsFoldedAtBlanks) {
  std::string subject;
  for (int i = 0; i < 30; ++i)
    subject += "word" + std::to_string(i) + " ";
  subject.pop_back();
  const std::string line = FoldHeaderLine("Subject", subject);
  std::string unfolded = line;
  for (std::size_t at; (at = unfolded.find("\r\n ")) != std::string::npos;)
    unfolded.replace(at, 3, " ");
  EXPECT_EQ(unfolded, "Subject: " + subject + "\r\n");
  std::size_t start = 0;
  for (std::size_t eol; (eol = line.find("\r\n", start)) != std::string::npos; start = eol + 2)
    EXPECT_LE(eol - start, 78u);
}

TEST(MailMessageTest, NonAsciiBodyIsQuotedPrintable) {
  TMailMessage m;
  m.SetRecipientsText("a@x.com");
  m.SetBodyText("Preis: 12 €\n= gleich \nline");
  const std::string rendered = m.Render(kStamp);
  EXPECT_NE(HeadOf(rendered).find("Content-Transfer-Encoding: quoted-printable\r\n"),
            std::string::npos);
  EXPECT_EQ(BodyOf(rendered), "Preis: 12 =E2=82=AC\r\n=3D gleich=20\r\nline\r\n");
}

TEST(MailMessageTest, QuotedPrintableLinesStayWithin76) {
  const std::string text = std::string(100, 'x') + "é" + std::string(200, '=');
  const std::string qp = EncodeQuotedPrintable(text);
  std::string decoded;
  std::size_t start = 0;
  for (;;) {
    const auto eol = qp.find("\r\n", start);
    const std::string line = qp.substr(start, eol - start);
    EXPECT_LE(line.size(), 76u);
    std::string content = line;
    if (eol != std::string::npos) {
      ASSERT_EQ(content.back(), '=') << "only soft breaks in one long line";
      content.pop_back();
    }
    decoded += content;
    if (eol == std::string::npos)
      break;
    start = eol + 2;
  }
  EXPECT_EQ(QByteArray::fromPercentEncoding(QByteArray::fromStdString(decoded), '=').toStdString(),
            text);
}

TEST(MailMessageTest, PlainAttachmentMakesAMixedMessage) {
  TMailMessage m;
  m.SetRecipientsText("a@x.com");
  m.SetBodyText("see file");
  m.Attachments().push_back({"report.txt", "text/plain", "line 1\nline 2\n"});
  const std::string rendered = m.Render(kStamp);
  const auto at = rendered.find("boundary=\"");
  ASSERT_NE(at, std::string::npos);
  const std::string boundary = rendered.substr(at + 10, rendered.find('"', at + 10) - at - 10);
  EXPECT_NE(rendered.find("--" + boundary +
                          "\r\nContent-Type: text/plain; charset=UTF-8\r\n"
                          "Content-Transfer-Encoding: 7bit\r\n\r\nsee file\r\n"),
            std::string::npos);
  EXPECT_NE(rendered.find("Content-Disposition: attachment; filename=\"report.txt\"\r\n"
                          "Content-Transfer-Encoding: base64\r\n\r\nbGluZSAxCmxpbmUgMgo=\r\n"),
            std::string::npos);
  EXPECT_EQ(rendered.substr(rendered.size() - boundary.size() - 6), "--" + boundary + "--\r\n");
  m.ClearAttachments();
  EXPECT_EQ(m.Render(kStamp).find("multipart"), std::string::npos);
}

TEST(MailMessageTest, MailerCanBeChangedOrLeftOut) {
  TMailMessage m;
  m.SetRecipientsText("a@x.com");
  EXPECT_EQ(m.Mailer(), TickvaneMailerText());
  m.SetMailer("Other 1.0");
  EXPECT_NE(m.Render(kStamp).find("X-Mailer: Other 1.0\r\n"), std::string::npos);
  m.SetMailer("");
  EXPECT_EQ(m.Render(kStamp).find("X-Mailer"), std::string::npos);
  EXPECT_EQ(TickvaneMailerText(), "Velkar Tickvane Version " + VersionToStr(ProgramVersion()));
}

TEST(MailMessageTest, StampFromTheProgramClock) {
  FakeClock clock(45296.5, 1.0 / 24.0); // 12:00 UTC, local one hour ahead
  SetAppClock(&clock);
  TMailMessage m;
  m.SetHeader(0, "Robot <robot@alerts.example.org>");
  const auto stamp = m.NewStamp();
  SetAppClock(nullptr);
  EXPECT_EQ(stamp.Date, "Fri, 05 Jan 2024 13:00:00 +0100");
  EXPECT_EQ(stamp.MessageID.front(), '<');
  EXPECT_NE(stamp.MessageID.find("@alerts.example.org>"), std::string::npos);
  EXPECT_NE(m.NewStamp().MessageID, stamp.MessageID);
  EXPECT_EQ(MailDateText(45296.5, -330), "Fri, 05 Jan 2024 12:00:00 -0530");
}

TEST(MailMessageTest, EmptySubjectStillWritesTheHeader) {
  TMailMessage m;
  const std::string head = HeadOf(m.Render(kStamp));
  EXPECT_NE(head.find("\r\nSubject: \r\n"), std::string::npos);
  EXPECT_NE(head.find("\r\nTo: undisclosed-recipients:;\r\n"), std::string::npos);
}

} // namespace
