#pragma once
// TfrmNewTick: the ticker, a frameless strip that stays on top of other
// windows and scrolls one stock box per symbol of the ticker parameters. It
// floats wherever the user drags it; its pop-up menu opens the ticker
// parameters and applies them after OK.
#include "platform/BitmapBuffer.h"
#include "views/ticker/StockBox.h"
#include "views/ticker/TickParams.h"
#include "views/ticker/TickerLayout.h"

#include <QPoint>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QTimer;
class TfrmTickParam;

// Where an application bar is docked; the ticker always floats.
enum TAppBarEdge { abeLeft, abeTop, abeRight, abeBottom, abeFloat };

class TfrmNewTick : public QWidget {
  Q_OBJECT

public:
  static constexpr int ScrollIntervalMs = 30; // one step of |Speed| pixels
  static constexpr int RefreshIntervalMs = 1000;

  explicit TfrmNewTick(QWidget *parent = nullptr);
  ~TfrmNewTick() override;

  QMenu *TickPopup = nullptr;
  QAction *miTickParams = nullptr;
  QAction *miCloseTicker = nullptr;
  QTimer *ScrollTimer = nullptr;
  QTimer *RefreshTimer = nullptr;

  // Position and docking edge as the ticker dialog reads and sets them.
  int Top() const { return y(); }
  int Left() const { return x(); }
  int Width() const { return width(); }
  int Height() const { return height(); }
  void SetTop(int top) { move(x(), top); }
  TAppBarEdge Edge() const { return abeFloat; }

  // Takes the live parameters: symbols, gap, speed, colours, fonts.
  void ApplyTickParams();
  // Opens the ticker parameters (non-modal); OK applies them.
  TfrmTickParam *OpenTickParams();
  // One scroll step.
  void ScrollTimerTimer();
  // Rebuilds the boxes of the symbols marked updated for the ticker.
  void RefreshTimerTimer();

  // What is shown (tests).
  const std::vector<std::string> &Symbols() const { return m_symbols; }
  const TTickerTape &Tape() const { return m_tape; }
  int Speed() const { return m_speed; }
  TColor Background() const { return m_background; }
  const TBitmapBuffer *Box(int index) const;
  // The strip as drawn, without the window system.
  QImage RenderStrip();

protected:
  void paintEvent(QPaintEvent *event) override;
  void contextMenuEvent(QContextMenuEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;

private:
  void BuildBox(std::size_t index);
  void UpdateTape();

  TTickParams m_params;
  std::vector<std::string> m_symbols;
  std::vector<std::unique_ptr<TBitmapBuffer>> m_boxes;
  TTickerTape m_tape;
  TBitmapBuffer m_measure;
  int m_speed = DefaultTickSpeed;
  TColor m_background = clBlack;
  bool m_dragging = false;
  QPoint m_dragOffset;
};
