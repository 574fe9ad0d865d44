#pragma once
// TOPanNews: the news page of the preferences dialog. It shows and edits the
// news settings of the dialog's pending settings copy (PendingDisplaySettings):
// the news source (a .NWS site file of the program folder), news checking on
// or off, the refresh minutes, the items kept per symbol, the high-priority
// symbols, duplicate-title filtering, single or double click on a bulb, two
// or three panes, and the filtering rules (edited in TRulesEditor).
#include "alerts/news/NewsSources.h"
#include "prefs/OptionPage.h"

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

class TOPanNews : public TOptionPage {
  Q_OBJECT

public:
  explicit TOPanNews(QWidget *parent = nullptr);

  // ---- Controls (object names as the member names)
  QCheckBox *cbOn = nullptr;
  QComboBox *cmbSources = nullptr;
  QLineEdit *dfRefresh = nullptr;
  QLineEdit *dfLowRefresh = nullptr;
  QLineEdit *dfMax = nullptr;
  QCheckBox *cbFilterTitles = nullptr;
  QRadioButton *rbSingle = nullptr;
  QRadioButton *rbDouble = nullptr;
  QPlainTextEdit *memHigh = nullptr;
  QToolButton *spTwo = nullptr;
  QToolButton *spThree = nullptr;
  QPlainTextEdit *memExclude = nullptr;
  QPushButton *Button1 = nullptr;

  // The source files, parallel to the items of cmbSources.
  const std::vector<TNewsSource> &Sources() const { return m_sources; }

  // ---- Handlers
  void FormShow() override;
  void FormClose() override;
  // Checks that the edit holds an integer; says so when it does not.
  void dfRefreshExit(QLineEdit *edit);
  void memHighExit();
  void memExcludeExit();
  void Button1Click();

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  std::vector<TNewsSource> m_sources;
};

// Registers the news page with the preferences dialog (page PrefPageNews,
// tab "News"). Call once at start-up.
void RegisterNewsPage();
