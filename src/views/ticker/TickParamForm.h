#pragma once
// TfrmTickParam: "Ticker Configuration Parameters". The user picks the
// portfolios and extra symbols the ticker shows, its speed, the gap between
// boxes, whether quote times show, and colour and font of each display
// element, with a live preview of two sample boxes. OK makes the choices the
// live parameters and saves them; Cancel keeps the live ones.
#include "platform/BitmapBuffer.h"
#include "views/ticker/TickParams.h"

#include <QDialog>
#include <QPointer>

#include <string>
#include <vector>

class QCheckBox;
class QFontDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QTimer;
class QToolButton;
class TTickColorPanel;
class TTickColorPopup;
class TTickUpDown;
class TfrmNewTick;

class TfrmTickParam : public QDialog {
  Q_OBJECT

public:
  static constexpr int TimerIntervalMs = 200;
  static constexpr int NoSavedTop = -999;
  static constexpr int OffScreenTop = -10000;
  static constexpr int PreviewWidth = 340;
  static constexpr int PreviewHeight = 48;

  // ticker may be null (no ticker to keep clear of).
  explicit TfrmTickParam(TfrmNewTick *ticker, QWidget *parent = nullptr);
  ~TfrmTickParam() override;

  // Controls, named as the handlers know them.
  QListWidget *PortListBox = nullptr;
  QPlainTextEdit *AddSymbols = nullptr;
  QGroupBox *GroupBox1 = nullptr; // "Scroll Speed"
  QSlider *TickSpeed = nullptr;
  QGroupBox *GroupBox2 = nullptr; // "Display"
  TTickColorPanel *colBack = nullptr;
  TTickColorPanel *colSymb = nullptr;
  TTickColorPanel *colTime = nullptr;
  TTickColorPanel *Panel1 = nullptr;
  TTickColorPanel *Panel2 = nullptr;
  TTickColorPanel *Panel3 = nullptr;
  TTickColorPanel *Panel4 = nullptr;
  QToolButton *SpeedButton1 = nullptr;
  QToolButton *SpeedButton2 = nullptr;
  QToolButton *SpeedButton3 = nullptr;
  QToolButton *SpeedButton4 = nullptr;
  QToolButton *SpeedButton5 = nullptr;
  QToolButton *SpeedButton6 = nullptr;
  QToolButton *SpeedButton7 = nullptr;
  QPushButton *Button2 = nullptr;
  QPushButton *Button3 = nullptr;
  QPushButton *Button4 = nullptr;
  QPushButton *Button5 = nullptr;
  QLineEdit *dfSep = nullptr;
  TTickUpDown *UpDown1 = nullptr;
  QCheckBox *cbShowTime = nullptr;
  QGroupBox *GroupBox3 = nullptr;
  QLabel *Image1 = nullptr;
  QPushButton *BitBtn1 = nullptr; // OK
  QPushButton *BitBtn2 = nullptr; // Cancel
  QTimer *Timer1 = nullptr;
  QFontDialog *FontDlg = nullptr;

  // Set by the creator before showing: the dialog opens far above the screen.
  bool OffScreen = false;

  // Handlers.
  void FormShow();
  void FormDestroy();
  void Timer1Timer();
  void colBackClick(TTickColorPanel *Sender);
  void SpeedButton4Click(QToolButton *Sender);
  void Button2Click(QPushButton *Sender);
  void FontDlgAccept();
  void FontDlgApply();
  void FontDlgShow();
  void UpDown1Click();
  // False (field reset to the gap in use) when the text is no integer.
  bool dfSepExit();
  void AddSymbolsExit();
  void cbShowTimeClick();
  void BitBtn1Click();
  // Closing also runs FormDestroy (the ticker goes back to its place).
  void done(int result) override;

  void DrawPreview();
  std::string BuildTickerSymbols();

  // State (tests read it).
  const TTickWorkingSet &Working() const { return m_working; }
  TTickColorPanel *CurrentPanel() const { return m_currentPanel; }
  int FontElement() const { return m_fontElement; }
  bool PreviewPending() const { return m_previewPending; }
  int SavedTickerTop() const { return m_savedTickerTop; }
  TTickColorPopup *ColorPopup() const { return m_colorPopup; }
  const std::vector<std::string> &PortKeys() const { return m_portKeys; }
  std::string HelpFile() const { return m_helpFile; }

protected:
  void showEvent(QShowEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  void BuildControls();
  QWidget *BuildDisplayGroup();
  void SetWorking(const TTickWorkingSet &working);
  void TakeFont(const QFont &font);
  std::vector<TTickColorPanel *> Panels() const;

  QPointer<TfrmNewTick> m_ticker;
  TTickWorkingSet m_working;
  TTickColorPanel *m_currentPanel = nullptr;
  int m_fontElement = 0;
  bool m_previewPending = false;
  int m_savedTickerTop = NoSavedTop;
  std::vector<std::string> m_portKeys; // parallel to PortListBox's items
  std::string m_helpFile;
  TTickColorPopup *m_colorPopup = nullptr;
  TBitmapBuffer m_measure;
  bool m_destroyed = false;
};
