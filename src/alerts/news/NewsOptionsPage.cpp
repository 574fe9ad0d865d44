#include "alerts/news/NewsOptionsPage.h"

#include "platform/EmbeddedBrowser.h"

#include "alerts/news/NewsForm.h"
#include "alerts/news/NewsRules.h"
#include "alerts/news/RulesEditor.h"
#include "core/DisplaySettings.h"
#include "core/ProgramFolder.h"
#include "platform/EmbeddedBrowser.h"
#include "platform/Exceptions.h"
#include "platform/Format.h"
#include "platform/Prompt.h"
#include "platform/StringUtils.h"
#include "platform/UncaughtError.h"
#include "prefs/PrefPageRegistry.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kNumberLength = 3;

QLabel *Label(const QString &text, QWidget *parent, bool bold = false) {
  auto *l = new QLabel(text, parent);
  if (bold) {
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
  }
  return l;
}

QLineEdit *NumberEdit(const char *name, QWidget *parent) {
  auto *e = new QLineEdit(parent);
  e->setObjectName(QString::fromLatin1(name));
  e->setMaxLength(kNumberLength);
  e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
  return e;
}

template <class Fn> void Guarded(const char *what, Fn &&fn) {
  RunReportingErrors(std::string("News page ") + what, std::forward<Fn>(fn));
}

// The integer an edit holds; fallback when it holds none.
int IntegerOf(const QLineEdit *edit, int fallback) {
  return int(StrToIntDef(Trim(edit->text().toStdString()), fallback));
}

std::vector<std::string> MemoLines(const QPlainTextEdit *memo) {
  return SplitRuleLines(memo->toPlainText().toStdString());
}

// Lines as a memo holds them.
QString MemoText(const std::vector<std::string> &lines) {
  QStringList list;
  for (const std::string &line : lines)
    list.append(QString::fromStdString(line));
  return list.join(QLatin1Char('\n'));
}

} // namespace

TOPanNews::TOPanNews(QWidget *parent) : TOptionPage(parent) {
  setObjectName(QStringLiteral("OPanNews"));

  cbOn = new QCheckBox(QStringLiteral("Check for News"), this);
  cbOn->setObjectName(QStringLiteral("cbOn"));
  QFont bold = cbOn->font();
  bold.setBold(true);
  cbOn->setFont(bold);

  cmbSources = new QComboBox(this);
  cmbSources->setObjectName(QStringLiteral("cmbSources"));
  cmbSources->setMaxVisibleItems(40);
  cmbSources->setMinimumWidth(240);

  dfRefresh = NumberEdit("dfRefresh", this);
  dfLowRefresh = NumberEdit("dfLowRefresh", this);
  dfMax = NumberEdit("dfMax", this);
  cbFilterTitles = new QCheckBox(QStringLiteral("Filter duplicate article titles"), this);
  cbFilterTitles->setObjectName(QStringLiteral("cbFilterTitles"));

  rbSingle = new QRadioButton(QStringLiteral("Single"), this);
  rbSingle->setObjectName(QStringLiteral("rbSingle"));
  rbDouble = new QRadioButton(QStringLiteral("Double"), this);
  rbDouble->setObjectName(QStringLiteral("rbDouble"));

  memHigh = new QPlainTextEdit(this);
  memHigh->setObjectName(QStringLiteral("memHigh"));
  memHigh->setLineWrapMode(QPlainTextEdit::NoWrap);
  memHigh->setFixedHeight(memHigh->fontMetrics().lineSpacing() * 3 + 12);

  spTwo = new QToolButton(this);
  spTwo->setObjectName(QStringLiteral("spTwo"));
  spTwo->setText(QStringLiteral("Two Panes"));
  spThree = new QToolButton(this);
  spThree->setObjectName(QStringLiteral("spThree"));
  spThree->setText(QStringLiteral("Three Panes"));
  auto *panes = new QButtonGroup(this);
  for (QToolButton *b : {spTwo, spThree}) {
    b->setCheckable(true);
    b->setAutoRaise(false);
    b->setMinimumWidth(90);
    panes->addButton(b);
  }
  panes->setExclusive(true);

  memExclude = new QPlainTextEdit(this);
  memExclude->setObjectName(QStringLiteral("memExclude"));
  memExclude->setReadOnly(true);
  memExclude->setLineWrapMode(QPlainTextEdit::NoWrap);
  QPalette silver = memExclude->palette();
  silver.setColor(QPalette::Base, QColor(192, 192, 192));
  memExclude->setPalette(silver);
  Button1 = new QPushButton(QStringLiteral("Edit the Rules"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setAutoDefault(false);

  // ---- Layout
  auto *page = new QVBoxLayout(this);
  page->setContentsMargins(16, 12, 16, 12);
  page->setSpacing(8);
  page->addWidget(cbOn);

  auto *source = new QHBoxLayout;
  source->addWidget(Label(QStringLiteral("News Source"), this, true));
  source->addWidget(cmbSources);
  source->addStretch(1);
  page->addLayout(source);

  auto *numbers = new QGridLayout;
  numbers->setHorizontalSpacing(6);
  numbers->addWidget(Label(QStringLiteral("Refresh: High Priority"), this), 0, 0, Qt::AlignRight);
  numbers->addWidget(dfRefresh, 0, 1);
  numbers->addWidget(Label(QStringLiteral("minutes"), this), 0, 2);
  numbers->addWidget(Label(QStringLiteral("Low Priority"), this), 0, 4, Qt::AlignRight);
  numbers->addWidget(dfLowRefresh, 0, 5);
  numbers->addWidget(Label(QStringLiteral("minutes"), this), 0, 6);
  numbers->addWidget(Label(QStringLiteral("Keep only last"), this), 1, 0, Qt::AlignRight);
  numbers->addWidget(dfMax, 1, 1);
  numbers->addWidget(Label(QStringLiteral("news items"), this), 1, 2);
  numbers->addWidget(cbFilterTitles, 1, 4, 1, 3);
  numbers->setColumnMinimumWidth(3, 24);
  numbers->setColumnStretch(7, 1);
  page->addLayout(numbers);

  auto *choices = new QHBoxLayout;
  choices->addWidget(Label(QStringLiteral("Click on bulb:"), this));
  choices->addWidget(rbSingle);
  choices->addWidget(rbDouble);
  choices->addSpacing(40);
  choices->addWidget(spTwo);
  choices->addWidget(spThree);
  choices->addStretch(1);
  page->addLayout(choices);

  auto *highLabel = Label(QStringLiteral("High Priority Stocks (enter symbols separated by spaces, "
                                         "the rest will be low priority)"),
                          this);
  highLabel->setWordWrap(true);
  page->addWidget(highLabel);
  page->addWidget(memHigh);

  page->addWidget(Label(QStringLiteral("News Filtering Rules:"), this));
  auto *rules = new QHBoxLayout;
  rules->addWidget(memExclude, 1);
  auto *ruleButtons = new QVBoxLayout;
  ruleButtons->addWidget(Button1);
  ruleButtons->addStretch(1);
  rules->addLayout(ruleButtons);
  page->addLayout(rules, 1);

  for (QLineEdit *e : {dfRefresh, dfLowRefresh, dfMax})
    connect(e, &QLineEdit::editingFinished, this,
            [this, e] { Guarded("dfRefreshExit", [this, e] { dfRefreshExit(e); }); });
  connect(Button1, &QPushButton::clicked, this,
          [this] { Guarded("Button1Click", [this] { Button1Click(); }); });
  memHigh->installEventFilter(this);
  memExclude->installEventFilter(this);
}

bool TOPanNews::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::FocusOut) {
    if (watched == memHigh)
      Guarded("memHighExit", [this] { memHighExit(); });
    else if (watched == memExclude)
      Guarded("memExcludeExit", [this] { memExcludeExit(); });
  }
  return TOptionPage::eventFilter(watched, event);
}

void TOPanNews::FormShow() {
  const TDisplaySettings &s = PendingDisplaySettings();
  m_sources = ListNewsSources(ProgramFolder());
  cmbSources->clear();
  for (const TNewsSource &source : m_sources)
    cmbSources->addItem(QString::fromStdString(source.Name));
  cmbSources->setCurrentIndex(FindNewsSource(m_sources, s.NewsSource));

  dfRefresh->setText(QString::number(s.HighRefresh));
  dfLowRefresh->setText(QString::number(s.LowRefresh));
  dfMax->setText(QString::number(s.MaxItems));
  cbFilterTitles->setChecked(s.FilterTitles);
  memHigh->setPlainText(QString::fromStdString(s.HighPriority));
  memExclude->setPlainText(MemoText(s.ExcludeRules));
  cbOn->setChecked(s.NewsOn);
  spTwo->setChecked(s.TwoPanes);
  spThree->setChecked(!s.TwoPanes);
  spThree->setEnabled(true);
  if (!EmbeddedBrowserAvailable()) {
    spTwo->setChecked(true);
    spThree->setEnabled(false);
  }
  rbSingle->setChecked(s.SingleClick);
  rbDouble->setChecked(!s.SingleClick);
}

void TOPanNews::FormClose() {
  TDisplaySettings &s = PendingDisplaySettings();
  // A number field that holds no integer keeps the value it had.
  s.HighRefresh = IntegerOf(dfRefresh, s.HighRefresh);
  s.LowRefresh = IntegerOf(dfLowRefresh, s.LowRefresh);
  s.MaxItems = IntegerOf(dfMax, s.MaxItems);
  // With no source chosen (its file may be missing for now) the setting stays.
  const int source = cmbSources->currentIndex();
  if (source >= 0 && source < int(m_sources.size()))
    s.NewsSource = CutTo(m_sources[std::size_t(source)].FileName, 255);
  s.FilterTitles = cbFilterTitles->isChecked();
  memHighExit();
  s.HighPriority = memHigh->toPlainText().toStdString();
  memExcludeExit();
  s.ExcludeRules = MemoLines(memExclude);
  s.NewsOn = cbOn->isChecked();
  s.TwoPanes = spTwo->isChecked();
  s.SingleClick = rbSingle->isChecked();
}

void TOPanNews::dfRefreshExit(QLineEdit *edit) {
  const std::string text = edit->text().toStdString();
  try {
    StrToInt(Trim(text));
  } catch (const EConvertError &e) {
    MessageDlg(e.what(), "Tickvane", mtError, mbOK);
  }
}

void TOPanNews::memHighExit() {
  const QString text =
      QString::fromStdString(NormalizeHighPriority(memHigh->toPlainText().toStdString()));
  if (memHigh->toPlainText() != text)
    memHigh->setPlainText(text);
}

void TOPanNews::memExcludeExit() {
  const QString text = MemoText(NormalizeRuleLines(MemoLines(memExclude)));
  if (memExclude->toPlainText() != text)
    memExclude->setPlainText(text);
}

void TOPanNews::Button1Click() {
  auto *editor = new TRulesEditor(this);
  editor->RulesText = JoinRuleLines(MemoLines(memExclude));
  editor->exec();
  memExclude->setPlainText(MemoText(SplitRuleLines(editor->RulesText)));
  delete editor;
}

void RegisterNewsPage() {
  RegisterPrefPage(PrefPageNews, "News", [](QWidget *parent) { return new TOPanNews(parent); });
}
