#include "views/ticker/TickParamForm.h"

#include "core/DisplaySettings.h"
#include "core/ErrorReport.h"
#include "core/IniFile.h"
#include "core/Log.h"
#include "core/MarketTime.h"
#include "core/Portfolio.h"
#include "core/SaveFailureReport.h"
#include "core/StandIns.h"
#include "platform/Prompt.h"
#include "platform/StringUtils.h"
#include "views/ticker/StockBox.h"
#include "views/ticker/TickColorPopup.h"
#include "views/ticker/TickControls.h"
#include "views/ticker/TickerForm.h"
#include "views/ticker/TickerLayout.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFontDialog>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr const char *Caption = "Ticker Configuration Parameters";
constexpr const char *IndicesItem = "***Indices***";
constexpr const char *TagProperty = "Tag";

int TagOf(const QObject *o) { return o ? o->property(TagProperty).toInt() : 0; }

QFont ElementFont(const TTickElement &e) {
  InstallFontSubstitutions();
  QFont font(QString::fromStdString(e.FontName));
  // The font dialog lists installed families only: offer the face drawn.
  font.setFamily(QFontInfo(font).family());
  font.setPointSize(std::clamp(e.FontSize, MinTickFontSize, MaxTickFontSize));
  font.setBold((e.FontStyle & fsBold) != 0);
  font.setItalic((e.FontStyle & fsItalic) != 0);
  return font;
}

// The chosen family, or the element's own name when that name stands for
// the chosen family (a classic face name drawn with a substitute).
std::string ChosenFontName(const QFont &chosen, const std::string &oldName) {
  InstallFontSubstitutions();
  const QString family = chosen.family();
  const QFontInfo oldInfo{QFont(QString::fromStdString(oldName))};
  if (oldInfo.family().compare(family, Qt::CaseInsensitive) == 0)
    return oldName;
  return family.toStdString().substr(0, TickFontNameMaxLength);
}

std::string PlainText(const QPlainTextEdit *edit) { return edit->toPlainText().toStdString(); }

} // namespace

TfrmTickParam::TfrmTickParam(TfrmNewTick *ticker, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_ticker(ticker), m_measure(1, 1) {
  setObjectName(QStringLiteral("frmTickParam"));
  setWindowTitle(QString::fromUtf8(Caption));
  m_working.Elements = LiveTickParams().Elements;
  m_working.Sep = LiveTickParams().Sep;
  BuildControls();
  m_colorPopup = new TTickColorPopup(this);

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(TimerIntervalMs);
  connect(Timer1, &QTimer::timeout, this,
          [this] { RunShowingErrors("Timer1Timer", [this] { Timer1Timer(); }); });
  Timer1->start();
}

TfrmTickParam::~TfrmTickParam() {
  // No "field left" handling while the controls are being torn down.
  AddSymbols->removeEventFilter(this);
  dfSep->removeEventFilter(this);
  FormDestroy();
}

// ---- Building the form -----------------------------------------------------------

void TfrmTickParam::BuildControls() {
  auto *root = new QVBoxLayout(this);
  auto *columns = new QHBoxLayout;
  root->addLayout(columns);

  auto *left = new QVBoxLayout;
  left->addWidget(new QLabel(QStringLiteral("Show Portfolio(s): (check the ones to show)"), this));
  PortListBox = new QListWidget(this);
  PortListBox->setObjectName(QStringLiteral("PortListBox"));
  left->addWidget(PortListBox, 2);
  left->addWidget(new QLabel(QStringLiteral("Additional Symbols:"), this));
  AddSymbols = new QPlainTextEdit(this);
  AddSymbols->setObjectName(QStringLiteral("AddSymbols"));
  AddSymbols->installEventFilter(this);
  left->addWidget(AddSymbols, 1);
  columns->addLayout(left, 1);

  auto *right = new QVBoxLayout;
  GroupBox1 = new QGroupBox(QStringLiteral("Scroll Speed"), this);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  auto *speed = new QGridLayout(GroupBox1);
  const char *marks[] = {"-10", "-5", "0", "5", "10"};
  for (int i = 0; i < 5; ++i) {
    auto *label = new QLabel(QString::fromUtf8(marks[i]), GroupBox1);
    label->setAlignment(i == 0 ? Qt::AlignLeft : i == 4 ? Qt::AlignRight : Qt::AlignHCenter);
    speed->addWidget(label, 0, i);
  }
  TickSpeed = new QSlider(Qt::Horizontal, GroupBox1);
  TickSpeed->setObjectName(QStringLiteral("TickSpeed"));
  TickSpeed->setRange(MinTickSpeed, MaxTickSpeed);
  TickSpeed->setSingleStep(1);
  TickSpeed->setPageStep(1);
  TickSpeed->setTickInterval(1);
  TickSpeed->setTickPosition(QSlider::TicksAbove);
  speed->addWidget(TickSpeed, 1, 0, 1, 5);
  right->addWidget(GroupBox1);

  right->addWidget(BuildDisplayGroup());
  right->addStretch();
  columns->addLayout(right);

  GroupBox3 = new QGroupBox(QStringLiteral("Preview"), this);
  GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
  auto *preview = new QHBoxLayout(GroupBox3);
  Image1 = new QLabel(GroupBox3);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setFixedSize(PreviewWidth, PreviewHeight);
  preview->addWidget(Image1, 0, Qt::AlignCenter);
  root->addWidget(GroupBox3);

  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setDefault(true);
  BitBtn2 = new QPushButton(QStringLiteral("Cancel"), this);
  BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
  buttons->addWidget(BitBtn1);
  buttons->addWidget(BitBtn2);
  root->addLayout(buttons);
  connect(BitBtn1, &QPushButton::clicked, this,
          [this] { RunShowingErrors("BitBtn1Click", [this] { BitBtn1Click(); }); });
  connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

  FontDlg = new QFontDialog(this);
  FontDlg->setObjectName(QStringLiteral("FontDlg"));
  FontDlg->setOption(QFontDialog::DontUseNativeDialog);
  if (auto *box = FontDlg->findChild<QDialogButtonBox *>()) {
    QPushButton *apply = box->addButton(QDialogButtonBox::Apply);
    apply->setObjectName(QStringLiteral("FontDlgApply"));
    connect(apply, &QPushButton::clicked, this,
            [this] { RunShowingErrors("FontDlgApply", [this] { FontDlgApply(); }); });
  }
  connect(FontDlg, &QFontDialog::fontSelected, this,
          [this] { RunShowingErrors("FontDlg", [this] { FontDlgAccept(); }); });
}

QWidget *TfrmTickParam::BuildDisplayGroup() {
  GroupBox2 = new QGroupBox(QStringLiteral("Display"), this);
  GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
  auto *grid = new QGridLayout(GroupBox2);

  struct Row {
    const char *label;
    TTickColorPanel **panel;
    const char *panelName;
    QToolButton **arrow;
    const char *arrowName;
  };
  const Row rows[] = {
      {"Backgnd", &colBack, "colBack", &SpeedButton4, "SpeedButton4"},
      {"Symbol", &colSymb, "colSymb", &SpeedButton1, "SpeedButton1"},
      {"Time", &colTime, "colTime", &SpeedButton2, "SpeedButton2"},
      {"Change (down)", &Panel1, "Panel1", &SpeedButton3, "SpeedButton3"},
      {"Change (up)", &Panel2, "Panel2", &SpeedButton5, "SpeedButton5"},
      {"Price (down)", &Panel3, "Panel3", &SpeedButton6, "SpeedButton6"},
      {"Price (up)", &Panel4, "Panel4", &SpeedButton7, "SpeedButton7"},
  };
  for (int i = 0; i < TickElementCount; ++i) {
    const Row &r = rows[i];
    const int tag = i + 1;
    grid->addWidget(new QLabel(QString::fromUtf8(r.label), GroupBox2), i, 0);
    auto *panel = new TTickColorPanel(GroupBox2);
    panel->setObjectName(QString::fromUtf8(r.panelName));
    panel->setProperty(TagProperty, tag);
    panel->setFixedSize(40, 18);
    *r.panel = panel;
    grid->addWidget(panel, i, 1);
    connect(panel, &TTickColorPanel::clicked, this, [this](TTickColorPanel *p) {
      RunShowingErrors("colBackClick", [this, p] { colBackClick(p); });
    });
    auto *arrow = new QToolButton(GroupBox2);
    arrow->setObjectName(QString::fromUtf8(r.arrowName));
    arrow->setProperty(TagProperty, tag);
    arrow->setArrowType(Qt::DownArrow);
    arrow->setFixedSize(16, 18);
    *r.arrow = arrow;
    grid->addWidget(arrow, i, 2);
    connect(arrow, &QToolButton::clicked, this, [this, arrow] {
      RunShowingErrors("SpeedButton4Click", [this, arrow] { SpeedButton4Click(arrow); });
    });
  }

  struct Font {
    QPushButton **button;
    const char *name;
    int tag;
    int row;
    int rowSpan;
  };
  const Font fonts[] = {{&Button2, "Button2", teSymbol, 1, 1},
                        {&Button3, "Button3", teTime, 2, 1},
                        {&Button4, "Button4", teChangeDown, 3, 2},
                        {&Button5, "Button5", tePriceDown, 5, 2}};
  for (const Font &f : fonts) {
    auto *button = new QPushButton(QStringLiteral("Font"), GroupBox2);
    button->setObjectName(QString::fromUtf8(f.name));
    button->setProperty(TagProperty, f.tag);
    *f.button = button;
    grid->addWidget(button, f.row, 3, f.rowSpan, 1);
    connect(button, &QPushButton::clicked, this, [this, button] {
      RunShowingErrors("Button2Click", [this, button] { Button2Click(button); });
    });
  }

  auto *sep = new QHBoxLayout;
  sep->addWidget(new QLabel(QStringLiteral("Separator:"), GroupBox2));
  dfSep = new QLineEdit(GroupBox2);
  dfSep->setObjectName(QStringLiteral("dfSep"));
  dfSep->setMaxLength(2);
  dfSep->setFixedWidth(32);
  dfSep->installEventFilter(this);
  sep->addWidget(dfSep);
  UpDown1 = new TTickUpDown(GroupBox2);
  UpDown1->setObjectName(QStringLiteral("UpDown1"));
  UpDown1->SetRange(MinTickSep, MaxTickSep);
  connect(UpDown1, &TTickUpDown::clicked, this,
          [this] { RunShowingErrors("UpDown1Click", [this] { UpDown1Click(); }); });
  sep->addWidget(UpDown1);
  sep->addWidget(new QLabel(QStringLiteral("pixels"), GroupBox2));
  sep->addStretch();
  grid->addLayout(sep, TickElementCount, 0, 1, 4);

  cbShowTime = new QCheckBox(QStringLiteral("Show Time"), GroupBox2);
  cbShowTime->setObjectName(QStringLiteral("cbShowTime"));
  connect(cbShowTime, &QCheckBox::clicked, this,
          [this] { RunShowingErrors("cbShowTimeClick", [this] { cbShowTimeClick(); }); });
  grid->addWidget(cbShowTime, TickElementCount + 1, 0, 1, 4);
  return GroupBox2;
}

std::vector<TTickColorPanel *> TfrmTickParam::Panels() const {
  return {colBack, colSymb, colTime, Panel1, Panel2, Panel3, Panel4};
}

// ---- Events ---------------------------------------------------------------------

void TfrmTickParam::showEvent(QShowEvent *event) {
  QDialog::showEvent(event);
  RunShowingErrors("FormShow", [this] { FormShow(); });
}

bool TfrmTickParam::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::FocusOut) {
    if (watched == dfSep)
      RunShowingErrors("dfSepExit", [this] { dfSepExit(); });
    else if (watched == AddSymbols)
      RunShowingErrors("AddSymbolsExit", [this] { AddSymbolsExit(); });
  }
  return QDialog::eventFilter(watched, event);
}

// ---- Handlers ---------------------------------------------------------------------

void TfrmTickParam::FormShow() {
  m_destroyed = false;
  m_savedTickerTop = NoSavedTop;
  if (OffScreen) {
    move(x(), OffScreenTop);
  } else {
    const QScreen *monitor = screen();
    if (monitor) {
      const QRect area = monitor->availableGeometry();
      const QSize frame = frameGeometry().size();
      move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
    }
    if (m_ticker && m_ticker->Edge() == abeFloat) {
      const QRect d = frameGeometry();
      const TRect dialog(d.left(), d.top(), d.left() + d.width(), d.top() + d.height());
      const TRect ticker(m_ticker->Left(), m_ticker->Top(), m_ticker->Left() + m_ticker->Width(),
                         m_ticker->Top() + m_ticker->Height());
      if (const auto top = TickerTopAwayFromDialog(ticker, dialog)) {
        m_savedTickerTop = m_ticker->Top();
        m_ticker->SetTop(*top);
      }
    }
  }

  m_helpFile = GetHelpFileName();

  const TTickParams live = LiveTickParams();
  m_working.Elements = live.Elements;
  m_working.Sep = live.Sep;
  SetWorkingTickSet(m_working);
  UpDown1->SetPosition(live.Sep);
  dfSep->setText(QString::number(live.Sep));
  dfSep->setModified(false);
  TickSpeed->setValue(live.Speed);
  for (TTickColorPanel *panel : GroupBox2->findChildren<TTickColorPanel *>()) {
    const int tag = TagOf(panel);
    if (tag > 0 && tag <= TickElementCount)
      panel->SetColor(m_working.Elements[tag].Colour);
  }

  auto shown = [&live](const std::string &key) {
    return std::any_of(live.PortfoliosToShow.begin(), live.PortfoliosToShow.end(),
                       [&key](const std::string &k) { return SameText(k, key); });
  };
  auto addItem = [this, &shown](const std::string &name, const std::string &key) {
    auto *item = new QListWidgetItem(QString::fromStdString(name), PortListBox);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(shown(key) ? Qt::Checked : Qt::Unchecked);
    m_portKeys.push_back(key);
  };
  PortListBox->clear();
  m_portKeys.clear();
  addItem(IndicesItem, IndicesKey);
  {
    MyLockGuard guard(PortListLock, "TKPS", true);
    if (guard)
      for (int p = 1; p <= PortfolioList.Count(); ++p)
        addItem(PortfolioList.DisplayName(p), PortfolioList[p].Key);
    else if (LoggingOn)
      WriteLog("TickParams: portfolio list busy");
  }

  AddSymbols->setPlainText(QString::fromStdString(live.ExSymbols));
  cbShowTime->setChecked(live.ShowTime);
  m_previewPending = true;
}

void TfrmTickParam::FormDestroy() {
  if (m_destroyed)
    return;
  m_destroyed = true;
  if (m_savedTickerTop != NoSavedTop && m_ticker)
    m_ticker->SetTop(m_savedTickerTop);
  m_savedTickerTop = NoSavedTop;
  m_portKeys.clear();
}

void TfrmTickParam::done(int result) {
  QDialog::done(result);
  FormDestroy();
}

void TfrmTickParam::Timer1Timer() {
  TColor colour = clBlack;
  if (m_colorPopup->TakeChoice(colour) && m_currentPanel) {
    m_currentPanel->SetColor(colour);
    TTickWorkingSet working = m_working;
    working.Elements[TagOf(m_currentPanel)].Colour = colour;
    SetWorking(working);
    DrawPreview();
  }
  if (m_previewPending) {
    m_previewPending = false;
    DrawPreview();
  }
  if (FontDlg->isVisible())
    FontDlg->raise();
}

void TfrmTickParam::colBackClick(TTickColorPanel *Sender) {
  if (!Sender)
    return;
  m_currentPanel = Sender;
  m_colorPopup->Show(Sender->Color(), Sender->mapToGlobal(QPoint(0, Sender->height())));
}

void TfrmTickParam::SpeedButton4Click(QToolButton *Sender) {
  const int tag = TagOf(Sender);
  for (TTickColorPanel *panel : Panels())
    if (TagOf(panel) == tag) {
      colBackClick(panel);
      return;
    }
}

void TfrmTickParam::Button2Click(QPushButton *Sender) {
  const int tag = TagOf(Sender);
  if (tag < 1 || tag > TickElementCount)
    return;
  m_fontElement = tag;
  FontDlg->setCurrentFont(ElementFont(m_working.Elements[tag]));
  FontDlg->open();
  FontDlgShow();
}

void TfrmTickParam::FontDlgAccept() { TakeFont(FontDlg->selectedFont()); }

void TfrmTickParam::FontDlgApply() { TakeFont(FontDlg->currentFont()); }

void TfrmTickParam::FontDlgShow() {
  FontDlg->raise();
  FontDlg->activateWindow();
}

void TfrmTickParam::TakeFont(const QFont &font) {
  const int t = m_fontElement;
  if (t < 1 || t > TickElementCount)
    return;
  TTickWorkingSet working = m_working;
  TTickElement &e = working.Elements[t];
  e.FontName = ChosenFontName(font, e.FontName);
  if (font.pointSize() > 0)
    e.FontSize = std::clamp(font.pointSize(), MinTickFontSize, MaxTickFontSize);
  e.FontStyle = TFontStyles((font.bold() ? fsBold : 0) | (font.italic() ? fsItalic : 0));
  if (t == teChangeDown || t == tePriceDown) {
    TTickElement &pair = working.Elements[t + 1];
    pair.FontName = e.FontName;
    pair.FontSize = e.FontSize;
    pair.FontStyle = e.FontStyle;
  }
  SetWorking(working);
  DrawPreview();
}

void TfrmTickParam::UpDown1Click() {
  dfSep->setText(QString::number(UpDown1->Position()));
  dfSep->setModified(false);
  TTickWorkingSet working = m_working;
  working.Sep = UpDown1->Position();
  SetWorking(working);
  DrawPreview();
}

bool TfrmTickParam::dfSepExit() {
  const std::string text = dfSep->text().toStdString();
  int value = 0;
  if (!ParseTickSeparator(text, value)) {
    dfSep->setText(QString::number(m_working.Sep));
    dfSep->setModified(false);
    MessageDlg("'" + text + "' is not a valid integer value", Caption, mtError, mbOK);
    return false;
  }
  UpDown1->SetPosition(value);
  dfSep->setText(QString::number(value));
  dfSep->setModified(false);
  TTickWorkingSet working = m_working;
  working.Sep = value;
  SetWorking(working);
  DrawPreview();
  return true;
}

void TfrmTickParam::AddSymbolsExit() {
  const std::string text = NormalizeExtraSymbols(PlainText(AddSymbols));
  if (PlainText(AddSymbols) != text)
    AddSymbols->setPlainText(QString::fromStdString(text));
  TTickParams live = LiveTickParams();
  live.ExSymbols = text;
  SetLiveTickParams(live);
}

void TfrmTickParam::cbShowTimeClick() { DrawPreview(); }

void TfrmTickParam::BitBtn1Click() {
  AddSymbolsExit();
  if (dfSep->isModified() && !dfSepExit())
    return;
  TTickParams live = LiveTickParams();
  live.Elements = m_working.Elements;
  live.Speed = TickSpeed->value();
  live.Sep = m_working.Sep;
  live.Symbols = BuildTickerSymbols();
  live.ShowTime = cbShowTime->isChecked();
  live.PortfoliosToShow.clear();
  for (int i = 0; i < PortListBox->count() && i < int(m_portKeys.size()); ++i)
    if (PortListBox->item(i)->checkState() == Qt::Checked)
      live.PortfoliosToShow.push_back(m_portKeys[std::size_t(i)]);
  SetLiveTickParams(live);
  CheckSettingsSave(SaveTickParams(), "the ticker settings", Caption);
  accept();
}

// ---- Preview and symbols ----------------------------------------------------------

void TfrmTickParam::SetWorking(const TTickWorkingSet &working) {
  m_working = working;
  SetWorkingTickSet(m_working);
}

void TfrmTickParam::DrawPreview() {
  if (LoggingOn && DebugLogging)
    WriteLog("MakeStockBox-params");
  const TDateTime now = EasternNow();
  SetBulbReferenceTime(now);
  SetWorkingTickSet(m_working);
  const bool showTime = cbShowTime->isChecked();

  std::unique_ptr<TBitmapBuffer> first, second;
  std::string progress;
  MakeStockBox(showTime, true, "MSFT", "114 3/4", "12:05:04", "+2 5/16", "U", true, now, this,
               first, m_measure.Canvas(), progress);
  MakeStockBox(showTime, true, "IBM", "104 1/8", "12:05:02", "-1 1/4", "D", false, 0, this, second,
               m_measure.Canvas(), progress);

  TBitmapBuffer image(Image1->width(), Image1->height());
  TCanvas &canvas = image.Canvas();
  canvas.Brush().Style = bsSolid;
  canvas.Brush().Color = m_working.Elements[teBackground].Colour;
  canvas.FillRect(TRect(0, 0, image.Width(), image.Height()));
  if (first && second) {
    const TPreviewPlacement at = PlacePreviewBoxes(image.Width(), image.Height(), first->Width(),
                                                   first->Height(), second->Width(), m_working.Sep);
    canvas.Draw(at.X1, at.Y, first->Image());
    canvas.Draw(at.X2, at.Y, second->Image());
  }
  Image1->setPixmap(QPixmap::fromImage(image.Image()));
}

std::string TfrmTickParam::BuildTickerSymbols() {
  std::vector<std::vector<std::string>> symbols;
  bool indices = false;
  {
    MyLockGuard guard(PortListLock, "TKPB", false);
    for (int i = 0; i < PortListBox->count() && i < int(m_portKeys.size()); ++i) {
      if (PortListBox->item(i)->checkState() != Qt::Checked)
        continue;
      if (i == 0) {
        indices = true;
        continue;
      }
      // By key: the portfolio list may have changed since the dialog opened.
      const PortType *port =
          guard ? PortfolioList.At(PortfolioList.IndexOfKey(m_portKeys[std::size_t(i)])) : nullptr;
      if (!port)
        continue;
      std::vector<std::string> list;
      for (const PortPosition &pos : port->Positions)
        list.push_back(pos.Symbol);
      symbols.push_back(std::move(list));
    }
  }
  return ::BuildTickerSymbols(symbols, indices, IndexSymbolsText(), PlainText(AddSymbols));
}
