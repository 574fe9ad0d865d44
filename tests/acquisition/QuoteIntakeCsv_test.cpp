#include "acquisition/QuoteCsv.h"

#include <gtest/gtest.h>

#include <QFile>

#include <set>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

Texts ErrorTexts(const QuoteCsvResult &r) {
  Texts out;
  for (const QuoteCsvError &e : r.Errors)
    out.push_back(e.Text());
  return out;
}

TEST(QuoteCsv, ColumnNamesIgnoreCaseBlanksAndSeparators) {
  const struct {
    const char *name;
    QuoteColumn column;
  } cases[] = {
      {"Symbol", QuoteColumn::Symbol},
      {" sym ", QuoteColumn::Symbol},
      {"LAST", QuoteColumn::Last},
      {"price", QuoteColumn::Last},
      {"Bid", QuoteColumn::Bid},
      {"ask", QuoteColumn::Ask},
      {"Volume", QuoteColumn::Volume},
      {"vol", QuoteColumn::Volume},
      {"high", QuoteColumn::High},
      {"Low", QuoteColumn::Low},
      {"Prev Close", QuoteColumn::PrevClose},
      {"previous_close", QuoteColumn::PrevClose},
      {"PrevClose", QuoteColumn::PrevClose},
      {"bid-size", QuoteColumn::BidSize},
      {"AskSize", QuoteColumn::AskSize},
      {"Quote Time", QuoteColumn::Time},
      {"time", QuoteColumn::Time},
      {"Exchange", QuoteColumn::Exchange},
      {"Company Name", QuoteColumn::CompanyName},
      {"52-week low", QuoteColumn::Low52},
      {"High52", QuoteColumn::High52},
      {"P/E", QuoteColumn::PE},
      {"EPS", QuoteColumn::Earnings},
      {"mkt_cap", QuoteColumn::MarketCap},
      {"Avg Volume", QuoteColumn::AvgVolume},
      {"", QuoteColumn::Unknown},
      {"Close", QuoteColumn::Unknown},
  };
  for (const auto &c : cases)
    EXPECT_EQ(QuoteColumnOf(c.name), c.column) << c.name;
}

TEST(QuoteCsv, Numbers) {
  const struct {
    const char *text;
    bool ok;
    double value;
  } cases[] = {
      {"", true, 0},
      {"12", true, 12},
      {" 12.5 ", true, 12.5},
      {".5", true, 0.5},
      {"7.", true, 7},
      {"0", true, 0},
      {"-1", false, 0},
      {"+1", false, 0},
      {"1e3", false, 0},
      {"1,000", false, 0},
      {"1.2.3", false, 0},
      {".", false, 0},
      {"abc", false, 0},
      {"nan", false, 0},
      {"inf", false, 0},
      {"12 5", false, 0},
      {"1000000000000", true, 1e12},
      {"1000000000001", false, 0},
  };
  for (const auto &c : cases) {
    double v = -1;
    EXPECT_EQ(ParseQuoteNumber(c.text, v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(v, c.value) << c.text;
    }
  }
}

TEST(QuoteCsv, Sizes) {
  const struct {
    const char *text;
    bool ok;
    std::int32_t value;
  } cases[] = {
      {"", true, 0},
      {"300", true, 300},
      {"2147483647", true, 2147483647},
      {"2147483648", false, 0},
      {"-5", false, 0},
      {"1.5", false, 0},
      {"x", false, 0},
  };
  for (const auto &c : cases) {
    std::int32_t v = -1;
    EXPECT_EQ(ParseQuoteSize(c.text, v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(v, c.value) << c.text;
    }
  }
}

TEST(QuoteCsv, Times) {
  const TDateTime t1029 = EncodeTime(10, 29, 58, 0);
  const struct {
    const char *text;
    bool ok;
    QuoteTimeKind kind;
    TDateTime time;
  } cases[] = {
      {"", true, QuoteTimeKind::None, 0},
      {"10:29:58", true, QuoteTimeKind::TimeOfDay, t1029},
      {"9:30", true, QuoteTimeKind::TimeOfDay, EncodeTime(9, 30, 0, 0)},
      {"00:00:00", true, QuoteTimeKind::TimeOfDay, 0},
      {"2024-01-10 10:29:58", true, QuoteTimeKind::DateTime, 45301 + t1029},
      {"2024-01-10T10:29:58", true, QuoteTimeKind::DateTime, 45301 + t1029},
      {"2024-02-29 16:00", true, QuoteTimeKind::DateTime, 45351 + 16.0 / 24},
      {"24:00:00", false, QuoteTimeKind::None, 0},
      {"10:60", false, QuoteTimeKind::None, 0},
      {"10:5", false, QuoteTimeKind::None, 0},
      {"10", false, QuoteTimeKind::None, 0},
      {"10:29:58 PM", false, QuoteTimeKind::None, 0},
      {"2023-02-29 10:00", false, QuoteTimeKind::None, 0},
      {"2024-13-01 10:00", false, QuoteTimeKind::None, 0},
      {"2024-01-10", false, QuoteTimeKind::None, 0},
      {"1/10/2024 10:00", false, QuoteTimeKind::None, 0},
  };
  for (const auto &c : cases) {
    QuoteTimeKind kind = QuoteTimeKind::DateTime;
    TDateTime time = -1;
    EXPECT_EQ(ParseQuoteTime(c.text, kind, time), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(kind, c.kind) << c.text;
      EXPECT_NEAR(time, c.time, 1e-9) << c.text;
    }
  }
}

TEST(QuoteCsv, SplittingLines) {
  std::vector<std::string> f;
  ASSERT_TRUE(SplitCsvLine(" AAPL , 1.5,,x", f));
  EXPECT_EQ(f, (Texts{"AAPL", "1.5", "", "x"}));
  ASSERT_TRUE(SplitCsvLine("\"a, b\",\"say \"\"hi\"\"\", \" kept \"", f));
  EXPECT_EQ(f, (Texts{"a, b", "say \"hi\"", " kept "}));
  ASSERT_TRUE(SplitCsvLine("", f));
  EXPECT_EQ(f, (Texts{""}));
  EXPECT_FALSE(SplitCsvLine("\"open, 1", f));
}

TEST(QuoteCsv, WholeFile) {
  const std::string text = "\xEF\xBB\xBF# a comment\r\n"
                           "Symbol,Last,Bid,Ask,Volume,High,Low,PrevClose,BidSize,AskSize,Time\r\n"
                           "aapl,185.20,185.18,185.22,51234500,186.40,183.90,184.10,300,200,\r\n"
                           "\r\n"
                           "verylongsymbolname,1,,,,,,,,,10:00\r\n"
                           "KO,59.1,59.09,59.11,1,2,3,4,5,6,10:00:01";
  const QuoteCsvResult r = ParseQuoteCsv(text);
  EXPECT_TRUE(r.Errors.empty()) << ::testing::PrintToString(ErrorTexts(r));
  ASSERT_EQ(r.Rows.size(), 3u);
  const QuoteCsvRow &a = r.Rows[0];
  EXPECT_EQ(a.LineNumber, 3);
  EXPECT_EQ(a.Symbol, "AAPL");
  EXPECT_EQ(a.Last, 185.20);
  EXPECT_EQ(a.Bid, 185.18);
  EXPECT_EQ(a.Ask, 185.22);
  EXPECT_EQ(a.Volume, 51234500);
  EXPECT_EQ(a.High, 186.40);
  EXPECT_EQ(a.Low, 183.90);
  EXPECT_EQ(a.PrevClose, 184.10);
  EXPECT_EQ(a.BidSize, 300);
  EXPECT_EQ(a.AskSize, 200);
  EXPECT_EQ(a.TimeKind, QuoteTimeKind::None);
  EXPECT_EQ(r.Rows[1].LineNumber, 5);
  EXPECT_EQ(r.Rows[1].Symbol, "VERYLONGSYMBOLN") << "cut to the store's 15 characters";
  EXPECT_EQ(r.Rows[1].TimeKind, QuoteTimeKind::TimeOfDay);
  EXPECT_EQ(r.Rows[2].LineNumber, 6);
  EXPECT_EQ(r.Rows[2].AskSize, 6);
}

// A header of Symbol and count - 1 unknown columns, and one quote line.
std::string ManyColumns(int count) {
  std::string header = "Symbol";
  std::string line = "A";
  for (int i = 1; i < count; ++i) {
    header += ",x";
    line += ",1";
  }
  return header + "\n" + line + "\n";
}

TEST(QuoteCsv, HeaderColumnsAreCapped) {
  const QuoteCsvResult atCap = ParseQuoteCsv(ManyColumns(int(MaxQuoteColumns)));
  EXPECT_TRUE(atCap.Errors.empty());
  EXPECT_EQ(atCap.Rows.size(), 1u);
  // A header of 100,000 columns is refused at once, whatever its lines hold.
  EXPECT_EQ(ErrorTexts(ParseQuoteCsv(ManyColumns(100000))),
            Texts{"line 1: the header has more than 1000 columns"});
}

TEST(QuoteCsv, BadLinesAndHeaders) {
  const std::string tooManyColumns = ManyColumns(1001);
  const struct {
    const char *name;
    const char *text;
    std::size_t rows;
    Texts errors;
  } cases[] = {
      {"empty", "", 0, {"no header line"}},
      {"comments only", "# nothing\n\n", 0, {"no header line"}},
      {"no symbol column", "Last,Bid\n1,2\n", 0, {"line 1: the header names no Symbol column"}},
      {"column twice",
       "Symbol,Last,Price\nA,1,2\n",
       0,
       {"line 1: the header names the Last column twice"}},
      {"columns twice: the one named first is reported",
       "Symbol,Bid,Last,Bid,Price\nA,1,2,3,4\n",
       0,
       {"line 1: the header names the Bid column twice"}},
      {"too many columns", tooManyColumns.c_str(), 0,
       {"line 1: the header has more than 1000 columns"}},
      {"unterminated header", "\"Symbol,Last\nA,1\n", 0, {"line 1: unterminated quote"}},
      {"bad fields",
       "Symbol,Last,BidSize,Time\n"
       "A,1,2,10:00\n"
       "B,x,2,10:00\n"
       "C,1,2.5,10:00\n"
       "D,1,2,25:00\n"
       "E,1,2\n"
       "F,1,2,10:00,extra\n"
       "\"G,1,2,10:00\n"
       "H I,1,2,10:00\n"
       "J|K,1,2,10:00\n"
       "$cash,1,2,10:00\n"
       ",1,2,10:00\n"
       "a,1,2,10:00\n"
       "L,-1,2,10:00\n",
       1,
       {"line 3: Last \"x\" is not valid", "line 4: BidSize \"2.5\" is not valid",
        "line 5: Time \"25:00\" is not valid", "line 6: 3 fields where the header has 4",
        "line 7: 5 fields where the header has 4", "line 8: unterminated quote",
        "line 9: bad symbol \"H I\"", "line 10: bad symbol \"J|K\"", "line 11: cash has no quote",
        "line 12: no symbol", "line 13: A repeats line 2", "line 14: Last \"-1\" is not valid"}},
  };
  for (const auto &c : cases) {
    const QuoteCsvResult r = ParseQuoteCsv(c.text);
    EXPECT_EQ(r.Rows.size(), c.rows) << c.name;
    EXPECT_EQ(ErrorTexts(r), c.errors) << c.name;
  }
}

} // namespace

namespace {

std::string ReadDataFile(const std::string &name) {
  QFile f(QStringLiteral(TV_TEST_DATA_DIR "/") + QString::fromStdString(name));
  if (!f.open(QIODevice::ReadOnly))
    return {};
  return f.readAll().toStdString();
}

TEST(QuoteCsv, FundamentalsColumns) {
  const QuoteCsvResult r = ParseQuoteCsv(
      "Symbol,Last,PrevClose,Open,Company,Low52,High52,PE,EPS,MktCap,Div,Yield,Exch,AvgVol\n"
      "AAA,10,9.5,9.8,\"Aardvark Holdings, Incorporated\",7,12.5,-3.5,-0.25,1.2B,0.4,4.1,NYSE,120000\n"
      "BBB,10,9.5,9.8,B\xc3\xa9ta Mining Corporation,7,12.5,--3,1,,,,,\n"
      "CCC,10,,,,,,,,,,,,\n");
  EXPECT_EQ(ErrorTexts(r), Texts{"line 3: PE \"--3\" is not valid"});
  ASSERT_EQ(r.Rows.size(), 2u);
  const QuoteCsvRow &a = r.Rows[0];
  EXPECT_TRUE(a.HasFund);
  EXPECT_EQ(a.Fund.PrevClose, 9.5);
  EXPECT_EQ(a.Fund.Open, 9.8);
  EXPECT_EQ(a.Fund.CompanyName, "Aardvark Holdings, I"); // cut to 20
  EXPECT_EQ(a.Fund.Low52, 7);
  EXPECT_EQ(a.Fund.High52, 12.5);
  EXPECT_EQ(a.Fund.PE, -3.5);
  EXPECT_EQ(a.Fund.Earnings, -0.25);
  EXPECT_EQ(a.Fund.MarketCap, "1.2B");
  EXPECT_EQ(a.Fund.Dividend, 0.4);
  EXPECT_EQ(a.Fund.Yield, 4.1);
  EXPECT_EQ(a.Fund.Exchange, "NYSE");
  EXPECT_EQ(a.Fund.AvgVolume, 120000);
  EXPECT_TRUE(r.Rows[1].HasFund);
  EXPECT_EQ(r.Rows[1].Fund.CompanyName, "");

  // A cut never splits a character; a file without fundamentals columns has none.
  std::string name;
  ASSERT_TRUE(ParseQuoteText("B\xc3\xa9ta", 2, name));
  EXPECT_EQ(name, "B");
  EXPECT_FALSE(ParseQuoteText("tab\there", 20, name));
  const QuoteCsvResult plain = ParseQuoteCsv("Symbol,Last\nAAA,10\n");
  ASSERT_EQ(plain.Rows.size(), 1u);
  EXPECT_FALSE(plain.Rows[0].HasFund);
}

TEST(QuoteCsv, ShippedFileQuotesEveryPortfolioSymbol) {
  const QuoteCsvResult r = ParseQuoteCsv(ReadDataFile("quotes.csv"));
  EXPECT_TRUE(r.Errors.empty()) << ::testing::PrintToString(ErrorTexts(r));
  std::set<std::string> quoted;
  for (const QuoteCsvRow &row : r.Rows) {
    quoted.insert(row.Symbol);
    EXPECT_GT(row.Last, 0) << row.Symbol;
    EXPECT_LE(row.Bid, row.Last) << row.Symbol;
    EXPECT_GE(row.Ask, row.Last) << row.Symbol;
    EXPECT_LE(row.Low, row.Last) << row.Symbol;
    EXPECT_GE(row.High, row.Last) << row.Symbol;
    EXPECT_TRUE(row.HasFund) << row.Symbol;
    EXPECT_FALSE(row.Fund.CompanyName.empty()) << row.Symbol;
    EXPECT_GT(row.Fund.PrevClose, 0) << row.Symbol;
  }
  // Position lines of the portfolio file: "POS", tab, symbol, ...
  const std::string portfolios = ReadDataFile("port.dat");
  ASSERT_FALSE(portfolios.empty());
  int positions = 0;
  std::size_t pos = 0;
  while ((pos = portfolios.find("\nPOS\t", pos)) != std::string::npos) {
    pos += 5;
    const std::string symbol =
        portfolios.substr(pos, portfolios.find_first_of("\t\r\n", pos) - pos);
    if (symbol == "-" || symbol == "$CASH")
      continue;
    ++positions;
    EXPECT_EQ(quoted.count(symbol), 1u) << symbol;
  }
  EXPECT_GE(positions, 10);
}

} // namespace
