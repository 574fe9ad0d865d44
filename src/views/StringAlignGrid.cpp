#include "views/StringAlignGrid.h"

#include "platform/UncaughtError.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPalette>
#include <QScrollBar>
#include <algorithm>
#include <exception>

namespace {

constexpr int kTextInset = 2; // texts stand 2 pixels from the cell's edge

template <class T> T ColumnValue(const std::vector<T> &values, int col, T fallback) {
  return col >= 0 && col < int(values.size()) ? values[std::size_t(col)] : fallback;
}

template <class T> void SetColumnValue(std::vector<T> &values, int col, T value, T fallback) {
  if (col < 0)
    return;
  if (col >= int(values.size()))
    values.resize(std::size_t(col) + 1, fallback);
  values[std::size_t(col)] = value;
}

Qt::Alignment QtAlignmentOf(TCellAlignment a) {
  switch (a) {
  case caCenter:
    return Qt::AlignHCenter | Qt::AlignVCenter;
  case caRight:
    return Qt::AlignRight | Qt::AlignVCenter;
  default:
    return Qt::AlignLeft | Qt::AlignVCenter;
  }
}

// A key that types text into a cell (no command keys, no control characters).
bool IsTypingKey(const QKeyEvent &e) {
  if (e.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
    return false;
  const QString text = e.text();
  return !text.isEmpty() && text.at(0).isPrint();
}

} // namespace

TStringAlignGrid::TStringAlignGrid(QWidget *parent) : TStringGrid(parent) {
  m_editor = new QLineEdit(viewport());
  m_editor->setObjectName(QStringLiteral("InplaceEditor"));
  m_editor->setFrame(false);
  m_editor->hide();
  m_editor->installEventFilter(this);
  connect(m_editor, &QLineEdit::textEdited, this,
          [this](const QString &text) { ReportSetEditText(text.toStdString()); });
  // Scrolling moves the cell under the editor.
  connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { PlaceEditor(); });
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { PlaceEditor(); });
}

TStringAlignGrid::~TStringAlignGrid() {
  m_destroying = true;
  m_editor->removeEventFilter(this);
  OnBeforeEdit = nullptr;
  OnAfterEdit = nullptr;
  OnSetEditText = nullptr;
}

// ---- Columns ---------------------------------------------------------------------

TCellAlignment TStringAlignGrid::ColAlignment(int ACol) const {
  return ColumnValue(m_alignments, ACol, caLeft);
}

void TStringAlignGrid::SetColAlignment(int ACol, TCellAlignment alignment) {
  SetColumnValue(m_alignments, ACol, alignment, caLeft);
  if (m_editOpen && m_editCol == ACol)
    m_editor->setAlignment(QtAlignmentOf(alignment));
  InvalidateGrid();
}

void TStringAlignGrid::SetEditing(bool on) {
  m_editing = on;
  if (!on)
    CommitEdit();
}

bool TStringAlignGrid::IsEditCol(int ACol) const {
  return !ColumnValue(m_editForbidden, ACol, false);
}

void TStringAlignGrid::SetEditCol(int ACol, bool allowed) {
  SetColumnValue(m_editForbidden, ACol, !allowed, false);
  if (!allowed && m_editOpen && m_editCol == ACol)
    CommitEdit();
}

bool TStringAlignGrid::CanEditCell(int ACol, int ARow) const {
  return m_editing && ACol >= FixedCols() && ACol < ColCount() && ARow >= FixedRows() &&
         ARow < RowCount() && IsEditCol(ACol);
}

bool TStringAlignGrid::TabStops(int ACol) const { return !ColumnValue(m_noTabStop, ACol, false); }

void TStringAlignGrid::SetTabStops(int ACol, bool stop) {
  SetColumnValue(m_noTabStop, ACol, !stop, false);
}

void TStringAlignGrid::SetSelectedColor(TColor c) {
  m_selectedColor = c;
  StyleEditor();
  InvalidateCell(Col(), Row());
}

void TStringAlignGrid::SetSelectedFontColor(TColor c) {
  m_selectedFontColor = c;
  StyleEditor();
  InvalidateCell(Col(), Row());
}

// ---- The edit ---------------------------------------------------------------------

bool TStringAlignGrid::ShowEditor() { return OpenEditor(nullptr); }

bool TStringAlignGrid::ShowEditorWith(const std::string &text) { return OpenEditor(&text); }

bool TStringAlignGrid::OpenEditor(const std::string *replacement) {
  const int col = Col();
  const int row = Row();
  if (m_editOpen && (m_editCol != col || m_editRow != row))
    CommitEdit();
  if (!CanEditCell(col, row))
    return false;
  if (!m_editOpen) {
    if (OnBeforeEdit)
      RunReportingErrors("BeforeEdit", [&] { OnBeforeEdit(col, row); });
    // The handler may have moved the current cell or closed the column.
    if (Col() != col || Row() != row || !CanEditCell(col, row))
      return false;
    m_editOpen = true;
    m_editCol = col;
    m_editRow = row;
    StyleEditor();
    m_editor->setAlignment(QtAlignmentOf(ColAlignment(col)));
    m_editor->setText(QString::fromStdString(Cells(col, row)));
  }
  if (replacement) {
    m_editor->setText(QString::fromStdString(*replacement));
    m_editor->end(false);
    ReportSetEditText(*replacement);
  } else {
    m_editor->selectAll();
  }
  PlaceEditor();
  if (!m_editOpen)
    return false;
  m_editor->show();
  m_editor->setFocus(Qt::OtherFocusReason);
  return true;
}

void TStringAlignGrid::CloseEditor(bool giveGridFocus) {
  m_closing = true;
  if (giveGridFocus && m_editor->hasFocus())
    setFocus(Qt::OtherFocusReason);
  m_editor->hide();
  m_closing = false;
  InvalidateCell(m_editCol, m_editRow);
}

void TStringAlignGrid::CommitEdit() {
  if (!m_editOpen)
    return;
  const int col = m_editCol;
  const int row = m_editRow;
  const std::string text = m_editor->text().toStdString();
  m_editOpen = false;
  CloseEditor(true);
  SetCells(col, row, text);
  if (OnAfterEdit)
    RunReportingErrors("AfterEdit", [&] { OnAfterEdit(col, row); });
}

void TStringAlignGrid::CancelEdit() {
  if (!m_editOpen)
    return;
  m_editOpen = false;
  CloseEditor(true);
  // Whoever followed the typing learns that the cell's text stands.
  ReportSetEditText(Cells(m_editCol, m_editRow));
}

std::string TStringAlignGrid::EditText() const {
  return m_editOpen ? m_editor->text().toStdString() : Cells(Col(), Row());
}

void TStringAlignGrid::ReportSetEditText(const std::string &text) {
  if (OnSetEditText && !m_destroying)
    RunReportingErrors("SetEditText", [&] { OnSetEditText(m_editCol, m_editRow, text); });
}

void TStringAlignGrid::StyleEditor() {
  QPalette pal = m_editor->palette();
  pal.setColor(QPalette::Base, ToQColor(m_selectedColor));
  pal.setColor(QPalette::Text, ToQColor(m_selectedFontColor));
  m_editor->setPalette(pal);
  m_editor->setFont(ToQFont(Font()));
  m_editor->setTextMargins(kTextInset - 1, 0, kTextInset - 1, 0);
}

void TStringAlignGrid::PlaceEditor() {
  m_placeQueued = false;
  if (!m_editOpen || m_destroying)
    return;
  const TRect r = CellRect(m_editCol, m_editRow);
  if (r.IsEmpty()) {
    // The cell scrolled out of sight: the edit ends with what was typed.
    CommitEdit();
    return;
  }
  const QRect place = ToQRect(r);
  if (m_editor->geometry() != place)
    m_editor->setGeometry(place);
}

// ---- Current cell -------------------------------------------------------------------

bool TStringAlignGrid::GridOrEditorFocused() const { return hasFocus() || m_editor->hasFocus(); }

void TStringAlignGrid::SetCol(int c) {
  const bool focused = GridOrEditorFocused();
  TStringGrid::SetCol(c);
  AfterCurrentMoved(focused);
}

void TStringAlignGrid::SetRow(int r) {
  const bool focused = GridOrEditorFocused();
  TStringGrid::SetRow(r);
  AfterCurrentMoved(focused);
}

void TStringAlignGrid::AfterCurrentMoved(bool wasFocused) {
  if (m_editOpen && (m_editCol != Col() || m_editRow != Row()))
    CommitEdit();
  if (!m_editOpen && m_alwaysShowEditor && wasFocused && CanEditCell(Col(), Row()))
    ShowEditor();
}

bool TStringAlignGrid::TabMove(bool forward) {
  const int cols = ColCount();
  const int rows = RowCount();
  const int firstCol = FixedCols();
  int c = Col();
  int r = Row();
  for (;;) {
    if (forward) {
      if (++c >= cols) {
        c = firstCol;
        if (++r >= rows)
          return false;
      }
    } else {
      if (--c < firstCol) {
        c = cols - 1;
        if (--r < FixedRows())
          return false;
      }
    }
    if (TabStops(c))
      break;
  }
  const bool focused = GridOrEditorFocused();
  if (m_editOpen)
    CommitEdit();
  TStringGrid::SetCol(c);
  TStringGrid::SetRow(r);
  AfterCurrentMoved(focused);
  return true;
}

bool TStringAlignGrid::focusNextPrevChild(bool next) {
  if (m_tabs && !m_destroying) {
    if (TabMove(next) || m_stopAtLastCell)
      return true;
    if (m_editOpen)
      CommitEdit();
  }
  return TStringGrid::focusNextPrevChild(next);
}

// ---- Events ---------------------------------------------------------------------------

void TStringAlignGrid::keyPressEvent(QKeyEvent *e) {
  const bool opens = e->key() == Qt::Key_F2 || e->key() == Qt::Key_Return ||
                     e->key() == Qt::Key_Enter || IsTypingKey(*e);
  if (m_editing && opens && CanEditCell(Col(), Row())) {
    // The owner's key handler sees the key first and may consume it.
    int key = VirtualKeyOf(*e);
    bool consumed = false;
    if (OnKeyDown && key != 0) {
      RunReportingErrors("KeyDown", [&] { OnKeyDown(key, ShiftStateOf(*e)); });
      consumed = key == 0;
    }
    if (!consumed) {
      if (IsTypingKey(*e))
        ShowEditorWith(e->text().toStdString());
      else
        ShowEditor();
    }
    e->accept();
    return;
  }
  const bool focused = GridOrEditorFocused();
  const int col = Col();
  const int row = Row();
  TStringGrid::keyPressEvent(e);
  if (col != Col() || row != Row())
    AfterCurrentMoved(focused);
}

void TStringAlignGrid::mousePressEvent(QMouseEvent *e) {
  // Taking the focus from the editor commits its edit.
  TStringGrid::mousePressEvent(e);
  if (e->button() == Qt::LeftButton && !IsSizing())
    AfterCurrentMoved(true);
}

void TStringAlignGrid::mouseDoubleClickEvent(QMouseEvent *e) {
  TStringGrid::mouseDoubleClickEvent(e);
  if (e->button() == Qt::LeftButton && !IsSizing() && m_editing && !m_editOpen)
    ShowEditor();
}

void TStringAlignGrid::resizeEvent(QResizeEvent *e) {
  TStringGrid::resizeEvent(e);
  PlaceEditor();
}

void TStringAlignGrid::paintEvent(QPaintEvent *e) {
  TStringGrid::paintEvent(e);
  // Column widths may have changed under the editor; move it after the paint.
  if (m_editOpen && !m_placeQueued) {
    const TRect r = CellRect(m_editCol, m_editRow);
    if (r.IsEmpty() || ToQRect(r) != m_editor->geometry()) {
      m_placeQueued = true;
      QMetaObject::invokeMethod(
          this, [this] { PlaceEditor(); }, Qt::QueuedConnection);
    }
  }
}

bool TStringAlignGrid::eventFilter(QObject *watched, QEvent *event) {
  if (watched != m_editor || m_destroying)
    return TStringGrid::eventFilter(watched, event);
  if (event->type() == QEvent::KeyPress) {
    auto *k = static_cast<QKeyEvent *>(event);
    const bool modified = k->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    switch (k->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      CommitEdit();
      AfterCurrentMoved(true); // reopens on the cell when the editor always shows
      return true;
    case Qt::Key_Escape:
      CancelEdit();
      return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      if (modified)
        break;
      focusNextPrevChild(k->key() == Qt::Key_Tab && !(k->modifiers() & Qt::ShiftModifier));
      return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
      // Row movement belongs to the grid: commit, then let the grid move.
      CommitEdit();
      QKeyEvent copy(QEvent::KeyPress, k->key(), k->modifiers(), k->text());
      QApplication::sendEvent(this, &copy);
      AfterCurrentMoved(true);
      return true;
    }
    default:
      break;
    }
  } else if (event->type() == QEvent::FocusOut && m_editOpen && !m_closing) {
    const auto reason = static_cast<QFocusEvent *>(event)->reason();
    // The editor's own menu and a switch to another window leave the edit open.
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
      CommitEdit();
  }
  return TStringGrid::eventFilter(watched, event);
}

// ---- Drawing ----------------------------------------------------------------------------

void TStringAlignGrid::DrawCell(int ACol, int ARow, const TRect &rect, TGridDrawState state) {
  TCanvas &c = Canvas();
  if ((state & gdSelected) && !(state & gdFixed)) {
    c.Brush().Color = m_selectedColor;
    c.Font().Color = m_selectedFontColor;
  }
  if (DefaultDrawing()) {
    const std::string text = Cells(ACol, ARow);
    int x = rect.Left + kTextInset;
    const TCellAlignment a = ColAlignment(ACol);
    if (a != caLeft) {
      const int w = c.TextWidth(text);
      x = a == caRight ? rect.Right - kTextInset - w : (rect.Left + rect.Right - w) / 2;
    }
    c.SetBkMode(TRANSPARENT);
    c.TextRect(rect, x, rect.Top + kTextInset, text);
  }
  if (OnDrawCell)
    OnDrawCell(ACol, ARow, rect, state);
}
