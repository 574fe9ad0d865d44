#include "views/ticker/TickerForm.h"

#include "acquisition/UpdatedSymbols.h"
#include "core/Log.h"
#include "core/MarketTime.h"
#include "platform/Format.h"
#include "platform/StringUtils.h"
#include "views/ticker/TickParamForm.h"
#include "views/ticker/TickerQuotes.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <unordered_set>

TfrmNewTick::TfrmNewTick(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_measure(1, 1) {
  setObjectName(QStringLiteral("frmNewTick"));
  setWindowTitle(QStringLiteral("Ticker"));

  TickPopup = new QMenu(this);
  TickPopup->setObjectName(QStringLiteral("TickPopup"));
  miTickParams = TickPopup->addAction(QStringLiteral("Ticker Parameters..."));
  miTickParams->setObjectName(QStringLiteral("miTickParams"));
  miCloseTicker = TickPopup->addAction(QStringLiteral("Close Ticker"));
  miCloseTicker->setObjectName(QStringLiteral("miCloseTicker"));
  connect(miTickParams, &QAction::triggered, this, [this] { OpenTickParams(); });
  connect(miCloseTicker, &QAction::triggered, this, &QWidget::close);

  ScrollTimer = new QTimer(this);
  ScrollTimer->setObjectName(QStringLiteral("ScrollTimer"));
  ScrollTimer->setInterval(ScrollIntervalMs);
  connect(ScrollTimer, &QTimer::timeout, this, &TfrmNewTick::ScrollTimerTimer);
  RefreshTimer = new QTimer(this);
  RefreshTimer->setObjectName(QStringLiteral("RefreshTimer"));
  RefreshTimer->setInterval(RefreshIntervalMs);
  connect(RefreshTimer, &QTimer::timeout, this, &TfrmNewTick::RefreshTimerTimer);

  if (const QScreen *screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    setGeometry(area.left(), area.top(), area.width(), 24);
  }
  ApplyTickParams();
  ScrollTimer->start();
  RefreshTimer->start();
}

TfrmNewTick::~TfrmNewTick() = default;

const TBitmapBuffer *TfrmNewTick::Box(int index) const {
  if (index < 0 || index >= int(m_boxes.size()))
    return nullptr;
  return m_boxes[std::size_t(index)].get();
}

void TfrmNewTick::ApplyTickParams() {
  m_params = LiveTickParams();
  m_symbols = TickerSymbolList(m_params.Symbols);
  const bool marker = m_symbols.empty();
  if (marker)
    m_symbols.push_back(TickerMarkerSymbol);
  // The set-up marker shows on black at its own speed; the parameters stay.
  m_speed = marker ? TickerMarkerSpeed : m_params.Speed;
  m_background = marker ? clBlack : m_params.Elements[teBackground].Colour;
  m_boxes.clear();
  m_boxes.resize(m_symbols.size());
  SetBulbReferenceTime(EasternNow());
  for (std::size_t i = 0; i < m_symbols.size(); ++i)
    BuildBox(i);
  UpdateTape();
  update();
}

void TfrmNewTick::BuildBox(std::size_t index) {
  const std::string &symbol = m_symbols[index];
  TStockBoxInput in;
  in.Symbol = symbol;
  try {
    if (symbol != TickerMarkerSymbol)
      in = ReadTickerBoxInput(symbol, m_params.ShowTime);
  } catch (const std::exception &e) {
    if (LoggingOn)
      WriteLog("Ticker Error: " + symbol + " " + e.what());
  }
  std::string progress;
  MakeStockBox(in.ShowTime, false, in.Symbol, in.Price, in.Time, in.Change, in.Direction, in.Mark,
               in.MarkTime, this, m_boxes[index], m_measure.Canvas(), progress);
  if (!m_boxes[index] && LoggingOn)
    WriteLog("Ticker: no box for " + symbol + " " + progress);
}

void TfrmNewTick::UpdateTape() {
  std::vector<int> widths;
  int height = 1;
  for (const auto &box : m_boxes) {
    widths.push_back(box ? box->Width() : 0);
    if (box)
      height = std::max(height, box->Height());
  }
  m_tape.SetBoxes(widths, m_params.Sep);
  if (height != this->height())
    resize(width(), height);
}

TfrmTickParam *TfrmNewTick::OpenTickParams() {
  if (auto *open = findChild<TfrmTickParam *>()) {
    open->raise();
    open->activateWindow();
    return open;
  }
  auto *dialog = new TfrmTickParam(this, this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QDialog::accepted, this, &TfrmNewTick::ApplyTickParams);
  dialog->open();
  return dialog;
}

void TfrmNewTick::ScrollTimerTimer() {
  if (m_speed == 0 || m_tape.CycleLength() == 0)
    return;
  m_tape.Step(m_speed);
  update();
}

void TfrmNewTick::RefreshTimerTimer() {
  const std::vector<std::string> updated = TakeUpdatedSymbolList(usTicker, "TICK");
  if (updated.empty())
    return;
  SetBulbReferenceTime(EasternNow());
  // A symbol is the same whatever its letter case (a list saved earlier may
  // hold symbols as they were typed).
  std::unordered_set<std::string> names;
  for (const std::string &symbol : updated)
    names.insert(UpperCase(symbol));
  bool changed = false;
  for (std::size_t i = 0; i < m_symbols.size(); ++i)
    if (names.count(UpperCase(m_symbols[i])) != 0) {
      BuildBox(i);
      changed = true;
    }
  if (changed) {
    UpdateTape();
    update();
  }
}

QImage TfrmNewTick::RenderStrip() {
  QImage image(size(), QImage::Format_RGB32);
  QPainter painter(&image);
  painter.fillRect(image.rect(), ToQColor(m_background));
  for (const TTickerTape::Placement &p : m_tape.Placements(width())) {
    const TBitmapBuffer *box = Box(p.Index);
    if (box && !box->Empty())
      painter.drawImage(p.X, 0, box->Image());
  }
  return image;
}

void TfrmNewTick::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  painter.drawImage(0, 0, RenderStrip());
}

void TfrmNewTick::contextMenuEvent(QContextMenuEvent *event) {
  TickPopup->popup(event->globalPos());
}

void TfrmNewTick::mousePressEvent(QMouseEvent *event) {
  if (event->button() == Qt::LeftButton) {
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - pos();
  }
  QWidget::mousePressEvent(event);
}

void TfrmNewTick::mouseMoveEvent(QMouseEvent *event) {
  if (m_dragging)
    move(event->globalPosition().toPoint() - m_dragOffset);
  QWidget::mouseMoveEvent(event);
}

void TfrmNewTick::mouseReleaseEvent(QMouseEvent *event) {
  m_dragging = false;
  QWidget::mouseReleaseEvent(event);
}
