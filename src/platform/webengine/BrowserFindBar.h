#pragma once
// The find bar under the embedded browser's page: a text field, previous and
// next, the "n of m" result and a close button. Enter finds the next match,
// Shift+Enter the previous one, Escape closes the bar and clears the marks.
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

  QLineEdit *dfFind = nullptr;
  QPushButton *pbFindPrev = nullptr;
  QPushButton *pbFindNext = nullptr;
  QLabel *lbFindResult = nullptr;
  QPushButton *pbFindClose = nullptr;

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  QWebEnginePage *m_page;
};
