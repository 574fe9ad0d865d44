// A quote file far longer than a private investor's lists, as the main window
// takes it.
#include "ProgramWindowTest.h"

#include <QStatusBar>

namespace {

TEST_F(ProgramWindowTest, AFileOfTooManySymbolsIsCutWithAMessageAndReadBesideTheWindow) {
  ShowForm();
  ASSERT_TRUE(Settle());
  std::string text = kSampleQuotesCsv;
  for (std::size_t i = 0; i < MaxQuoteSymbols; ++i)
    text += "X" + std::to_string(i) + ",10,9,11,100,12,8,10,1,1\n";
  WriteQuotes(text);
  const std::string first = "X" + std::to_string(MaxQuoteSymbols - 12);
  const std::string cut = "X" + std::to_string(MaxQuoteSymbols - 11);

  // The window never waits for the file: the ticks go on while it is read,
  // and a later one stores it.
  QuoteIntake::SetQuoteReadWaitMs(0);
  ASSERT_TRUE(ProcessEventsUntil(
      [&] {
        form->Timer1Timer();
        return FindStoreRecord(first) != nullptr;
      },
      60000));
  EXPECT_EQ(FindStoreRecord(cut), nullptr);
  EXPECT_NE(FindStoreRecord("AAPL"), nullptr);
  const QString message = QStringLiteral("quotes.csv: more than %1 symbols; only the first %1 "
                                         "are read")
                              .arg(MaxQuoteSymbols);
  EXPECT_TRUE(ProcessEventsUntil([&] {
    return form->statusBar()->currentMessage().endsWith(message);
  })) << form->statusBar()->currentMessage().toStdString();
  ASSERT_TRUE(Settle());
  EXPECT_EQ(Number(gfLast, RowOf("AAPL")), 185.20);
}

} // namespace
