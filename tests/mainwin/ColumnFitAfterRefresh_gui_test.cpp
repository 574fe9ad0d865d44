// The column fit that follows each refresh measures only the cells that
// changed; through the real main window with every field shown, its widths
// must be those of a fit that measures every cell: after quotes that narrow
// a column's widest cell, a sort that moves the rows, a smaller portfolio
// and back.
#include "mainwin/ProgramWindowTest.h"

#include "core/FieldTitles.h"
#include "platform/Format.h"

#include <QComboBox>

#include <cstdio>
#include <functional>
#include <map>

namespace {

constexpr int kPositions = 150;
constexpr int kSmallPortfolio = 30;

std::string Symbol(int i) {
  char s[16];
  std::snprintf(s, sizeof s, "F%03d", i);
  return s;
}
bool IsSeparator(int i) { return i % 20 == 19; }

std::string AllFieldsView() {
  std::string cols;
  for (int f = 0; f < GridFieldCount; ++f)
    cols += (f ? "," : "") + FieldViewKey(f);
  return "All fields|font=Arial;size=9;style=;cols=" + cols + ";styles=SymCol:1";
}

// Quotes and fundamentals of every symbol; volume and company name of some
// symbols as given.
std::string QuotesText(const std::map<int, long long> &volumes,
                       const std::map<int, std::string> &companies, double step) {
  std::string text = "Symbol,Last,Bid,Ask,Volume,High,Low,PrevClose,BidSize,AskSize,Time,Open,"
                     "CompanyName,Low52,High52,PE,MarketCap,Exchange\n";
  for (int i = 0; i < kPositions; ++i) {
    if (IsSeparator(i))
      continue;
    const double last = 10 + (i * 7 % 90) + step;
    const auto volume = volumes.count(i) ? volumes.at(i) : 1000LL + i * 17;
    const std::string company = companies.count(i) ? companies.at(i) : "Co " + std::to_string(i);
    text += Format("%s,%.2f,%.2f,%.2f,%s,%.2f,%.2f,%.2f,%d,%d,10:%.2d:00,%.2f,%s,%.2f,%.2f,%.1f,"
                   "%d.1B,NYSE\n",
                   {Symbol(i), last, last - 0.01, last + 0.01, std::to_string(volume), last + 1,
                    last - 1, last - 0.5, 100 + i, 200, i % 60, last - 0.2, company, last / 2,
                    last * 2, 5.0 + i % 20, 1 + i % 9});
  }
  return text;
}

class ColumnFitTest : public ProgramWindowTest {
protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    SettingsFile().WriteString("Views", "View1", AllFieldsView());
    SettingsFile().WriteString("Misc", "AutoFit", "YES");
    std::string port = "TVPORT\t1\n";
    for (int count : {kPositions, kSmallPortfolio}) {
      port += "PORTFOLIO\tFirst " + std::to_string(count) + "\tP" + std::to_string(count) + "\n";
      for (int i = 0; i < count; ++i)
        port += IsSeparator(i) ? std::string("POS\t-\n")
                               : "POS\t" + Symbol(i) + "\t" + std::to_string(10 + i) +
                                     "\t12.50\t4.95\tnote " + std::to_string(i) + "\t0\t0\n";
    }
    const QString path = dir.filePath(QStringLiteral("port.dat"));
    QFile::remove(path);
    QSaveFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(port.data(), qint64(port.size()));
    ASSERT_TRUE(f.commit());
    ASSERT_TRUE(LoadPortfolios(path.toStdString()));
  }

  std::vector<int> Widths() const {
    std::vector<int> widths;
    for (int c = 0; c < grid->ColCount(); ++c)
      widths.push_back(grid->ColWidths(c));
    return widths;
  }
};

TEST_F(ColumnFitTest, FitAfterEachRefreshGivesTheWidthsOfAFullFit) {
  // Wide texts in rows past the small portfolio's end.
  const int wideRow = kSmallPortfolio + 5;
  WriteQuotes(QuotesText({{wideRow, 123456789012LL}}, {{wideRow + 1, "A much longer name"}}, 0));
  ShowForm(1400, 500);
  ASSERT_TRUE(Settle());
  ASSERT_TRUE(Heartbeat());
  ASSERT_EQ(grid->ColCount(), GridFieldCount);
  const int volumeCol = grid->ColPos[gfVolume];
  const int companyCol = grid->ColPos[gfCompanyName];
  const int wideVolumeWidth = grid->ColWidths(volumeCol);
  const int wideCompanyWidth = grid->ColWidths(companyCol);

  struct Step {
    const char *name;
    std::function<void()> act;
  };
  const Step steps[] = {
      {"quotes that narrow the widest volume and name",
       [&] {
         WriteQuotes(QuotesText({{wideRow, 7}}, {{wideRow + 1, "B"}}, 0.25));
         form->Timer1Timer();
       }},
      {"quotes of the same widths", [&] {
         WriteQuotes(QuotesText({}, {}, 0.5));
         form->Timer1Timer();
       }},
      {"a title click that sorts by the last price",
       [&] {
         ClickTitle(grid->ColPos[gfLast]);
         form->RefreshGrid();
       }},
      {"the wide texts back, sorted",
       [&] {
         WriteQuotes(QuotesText({{wideRow, 123456789012LL}}, {{wideRow + 1, "A much longer name"}},
                                0.75));
         form->Timer1Timer();
       }},
      {"a smaller portfolio", [&] { form->cbPortfolio->setCurrentIndex(1); }},
      {"the large portfolio again", [&] { form->cbPortfolio->setCurrentIndex(0); }},
  };
  for (const Step &step : steps) {
    SCOPED_TRACE(step.name);
    step.act();
    ASSERT_TRUE(Settle());
    ASSERT_TRUE(Heartbeat()); // the window fits what the refresh wrote
    grid->FitSymbolColumn();
    const std::vector<int> fitted = Widths();
    grid->ForgetFitMeasurements();
    grid->AutoFitColumns();
    grid->FitSymbolColumn();
    EXPECT_EQ(fitted, Widths());
    if (std::string(step.name) == "quotes that narrow the widest volume and name") {
      EXPECT_LT(grid->ColWidths(volumeCol), wideVolumeWidth);
      EXPECT_LT(grid->ColWidths(companyCol), wideCompanyWidth);
    }
    if (std::string(step.name) == "a smaller portfolio") {
      EXPECT_EQ(grid->RowCount(), kSmallPortfolio + 2);
    }
  }
  EXPECT_EQ(grid->ColWidths(volumeCol), wideVolumeWidth);
  SavePicture("column_fit_after_refresh.png");
}

} // namespace
