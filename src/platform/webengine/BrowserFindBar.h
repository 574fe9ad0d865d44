#pragma once
// The find bar under the embedded browser's page: a text field, previous and
// next, the "n of m" result and a close button. Enter finds the next match,
// Shift+Enter the previous one, Escape closes the bar and clears the marks.
// Another page clears the count; an open bar then searches the new page.
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QWebEnginePage;

class BrowserFindBar final : public QWidget {
  Q_OBJECT

public:
  BrowserFindBar(QWebEnginePage *page, QWidget *parent);

  // Shows the bar with the field focused and its text selected.
  void Open();
  void Close();
  void FindNext(bool backward);
  // The page is being left: its count no longer holds.
  void PageLeft();
  // A page was loaded: an open bar searches it for its text again.
  void PageLoaded();

  QLineEdit *dfFind = nullptr;
  QPushButton *pbFindPrev = nullptr;
  QPushButton *pbFindNext = nullptr;
  QLabel *lbFindResult = nullptr;
  QPushButton *pbFindClose = nullptr;

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  QWebEnginePage *m_page;
  int m_pageNumber = 0; // counts the pages left, so a late count of an old one is dropped
};
