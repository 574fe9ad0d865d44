#pragma once
// TStringAlignGrid: a string grid whose columns align their texts (left,
// centred or right) and whose cells can be edited in place.
//
// The editor is a line edit laid over the current cell. It opens on demand:
// ShowEditor(), F2 or Enter, typing a character (which replaces the text), or
// by itself on every cell the user moves to when AlwaysShowEditor is on.
// Enter, leaving the editor or moving to another cell commits the edit (the
// cell gets the text, then OnAfterEdit); Esc cancels it (the cell keeps its
// text). Columns can be closed to editing (SetEditCol) and taken out of the
// Tab order (SetTabStops). Window thread only, like the grid's controls.
#include "platform/StringGrid.h"

#include <functional>
#include <string>
#include <vector>

class QLineEdit;

enum TCellAlignment { caLeft, caCenter, caRight };

class TStringAlignGrid : public TStringGrid {
  Q_OBJECT

public:
  using TCellEvent = std::function<void(int ACol, int ARow)>;
  using TSetEditEvent = std::function<void(int ACol, int ARow, const std::string &Value)>;

  explicit TStringAlignGrid(QWidget *parent = nullptr);
  ~TStringAlignGrid() override;

  // ---- Alignment of the default drawing and of the editor (left by default)
  TCellAlignment ColAlignment(int ACol) const;
  void SetColAlignment(int ACol, TCellAlignment alignment);

  // ---- Editing
  // Cells may be edited at all (off by default).
  bool Editing() const { return m_editing; }
  void SetEditing(bool on);
  // The editor opens by itself on the cell the user moves to.
  bool AlwaysShowEditor() const { return m_alwaysShowEditor; }
  void SetAlwaysShowEditor(bool on) { m_alwaysShowEditor = on; }
  // Whether a column may be edited (every column may by default). Closing the
  // column being edited commits the edit.
  bool IsEditCol(int ACol) const;
  void SetEditCol(int ACol, bool allowed);
  // Editing on, a data cell, and its column open to editing.
  bool CanEditCell(int ACol, int ARow) const;

  // ---- Tab key
  // Tab and Shift+Tab move between the cells of tab-stop columns, row by row
  // (off by default: Tab then leaves the grid).
  bool Tabs() const { return m_tabs; }
  void SetTabs(bool on) { m_tabs = on; }
  bool TabStops(int ACol) const;
  void SetTabStops(int ACol, bool stop);
  // Tab on the last tab stop (Shift+Tab on the first) stays there instead of
  // leaving the grid.
  bool StopAtLastCell() const { return m_stopAtLastCell; }
  void SetStopAtLastCell(bool on) { m_stopAtLastCell = on; }

  // ---- Colours of the current cell (default drawing, the canvas handed to
  // OnDrawCell for it, and the editor)
  TColor SelectedColor() const { return m_selectedColor; }
  void SetSelectedColor(TColor c);
  TColor SelectedFontColor() const { return m_selectedFontColor; }
  void SetSelectedFontColor(TColor c);

  // ---- The edit
  // An edit is open.
  bool EditorMode() const { return m_editOpen; }
  // The cell of the open edit (-1 when none).
  int EditingCol() const { return m_editOpen ? m_editCol : -1; }
  int EditingRow() const { return m_editOpen ? m_editRow : -1; }
  // Opens the editor on the current cell with its text selected and gives it
  // the focus; an edit open on another cell is committed first. False when
  // the cell may not be edited.
  bool ShowEditor();
  // The same with the editor's text replaced (typing into the grid).
  bool ShowEditorWith(const std::string &text);
  // Writes the editor's text into its cell, closes the editor and reports
  // OnAfterEdit. Nothing when no edit is open.
  void CommitEdit();
  // Closes the editor; the cell keeps its text and OnSetEditText reports it.
  void CancelEdit();
  // The editor's text while an edit is open, else the current cell's text.
  std::string EditText() const;
  QLineEdit *InplaceEditor() const { return m_editor; }

  // ---- Current cell: moving it commits an edit open on another cell and,
  // with AlwaysShowEditor, opens the editor on the new cell while the grid
  // has the focus. (These hide the grid's own setters of the same names.)
  void SetCol(int c);
  void SetRow(int r);

  // ---- Events
  // An edit opens on the cell (before the editor shows).
  TCellEvent OnBeforeEdit;
  // An edit was committed; the cell holds the new text.
  TCellEvent OnAfterEdit;
  // The editor's text changed (typing, or back to the cell's on cancel).
  TSetEditEvent OnSetEditText;

protected:
  void DrawCell(int ACol, int ARow, const TRect &rect, TGridDrawState state) override;
  void keyPressEvent(QKeyEvent *e) override;
  void mousePressEvent(QMouseEvent *e) override;
  void mouseDoubleClickEvent(QMouseEvent *e) override;
  void resizeEvent(QResizeEvent *e) override;
  void paintEvent(QPaintEvent *e) override;
  bool focusNextPrevChild(bool next) override;
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  bool OpenEditor(const std::string *replacement);
  void CloseEditor(bool giveGridFocus);
  // After the current cell may have moved: commit an edit of another cell and
  // open the editor on the new one when it should show by itself.
  void AfterCurrentMoved(bool wasFocused);
  // Keeps the editor on its cell; commits when the cell left the view.
  void PlaceEditor();
  bool TabMove(bool forward);
  bool GridOrEditorFocused() const;
  void ReportSetEditText(const std::string &text);
  void StyleEditor();

  QLineEdit *m_editor = nullptr;
  bool m_editing = false;
  bool m_alwaysShowEditor = false;
  bool m_tabs = false;
  bool m_stopAtLastCell = false;
  bool m_editOpen = false;
  bool m_closing = false; // the editor is being closed by the grid
  bool m_destroying = false;
  bool m_placeQueued = false;
  int m_editCol = -1;
  int m_editRow = -1;
  TColor m_selectedColor = clHighlight;
  TColor m_selectedFontColor = clHighlightText;
  std::vector<TCellAlignment> m_alignments; // per column; missing = left
  std::vector<bool> m_editForbidden;        // per column; missing = allowed
  std::vector<bool> m_noTabStop;            // per column; missing = a tab stop
};
