#pragma once
#include "chartengine/canvas/ChartFontObject.h"
#include "chartengine/canvas/ChartPen.h"
#include "chartengine/engine/ChartBrush.h"
#include "platform/Rect.h"

#include <string>
#include <vector>

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// A block of text lines above (title) or below (foot) the plot, optionally
// on a coloured or framed background. Drawing it takes its room from the
// chart's PlotRect.
class TChartTitle : public TChartFontObject {
public:
  // The font starts as the default chart font in fontColor.
  TChartTitle(TCustomChartPanel *parent, TColor fontColor = clBlue, TFontStyles fontStyle = 0);

  // AdjustFrame, Alignment, Brush, Color, Frame, Text, Visible and the font.
  void Assign(const TChartTitle &source);

  // Draws the lines at the top (or bottom) of PlotRect, remembers the block in
  // BlockRect and narrows PlotRect by the block plus 5 pixels. Without lines
  // nothing is drawn and no room is taken.
  void DrawTitleBlock(bool atTop);
  // Visible and the point lies in the last drawn block.
  bool IsHit(int x, int y) const;

  bool AdjustFrame() const { return m_adjustFrame; }
  void SetAdjustFrame(bool value);
  TAlignment Alignment() const { return m_alignment; }
  void SetAlignment(TAlignment value);
  TChartBrush &Brush() { return m_brush; }
  const TChartBrush &Brush() const { return m_brush; }
  void SetBrush(const TChartBrush &value) { m_brush.Assign(value); }
  TColor Color() const { return m_color; }
  void SetColor(TColor value);
  TChartHiddenPen &Frame() { return m_frame; }
  const TChartHiddenPen &Frame() const { return m_frame; }
  void SetFrame(const TChartPen &value) { m_frame.Assign(value); }
  const std::vector<std::string> &Text() const { return m_text; }
  void SetText(const std::vector<std::string> &lines);
  // Replaces the lines by one line (none for an empty text).
  void SetCaption(const std::string &text);
  void AddLine(const std::string &line);
  void ClearText();
  const TRect &BlockRect() const { return m_blockRect; }
  bool Visible() const { return m_visible; }
  void SetVisible(bool value);

  // The font is streamed unless name, size, colour and style are the defaults.
  bool IsFontStored() const;
  TColor DefaultFontColor() const { return m_defaultFontColor; }
  TFontStyles DefaultFontStyle() const { return m_defaultFontStyle; }
  // Makes the current font colour and style the defaults (the designer's foot).
  void SetFontDefaults(TColor color, TFontStyles style);

private:
  // The frame is drawn and takes room only when visible in a colour of its own.
  bool FrameCounts() const;

  bool m_adjustFrame = true;
  TAlignment m_alignment = taCenter;
  TChartBrush m_brush;
  TColor m_color;
  TChartHiddenPen m_frame;
  std::vector<std::string> m_text;
  TRect m_blockRect;
  bool m_visible = true;
  TColor m_defaultFontColor;
  TFontStyles m_defaultFontStyle;
};
