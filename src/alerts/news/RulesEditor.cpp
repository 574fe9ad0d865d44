#include "alerts/news/RulesEditor.h"

#include "alerts/news/NewsDrawing.h"
#include "platform/Prompt.h"
#include "platform/StringGrid.h"
#include "platform/UncaughtError.h"

#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>

#include <algorithm>
#include <utility>

namespace {

constexpr int kMargin = 4;
constexpr int kRowHeight = 16;

QPushButton *MakeButton(QWidget *parent, const char *name, const QString &text) {
  auto *b = new QPushButton(text, parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAutoDefault(false);
  b->resize(b->sizeHint());
  return b;
}

template <class Fn> void Guarded(const char *what, Fn &&fn) {
  RunReportingErrors(std::string("Rules editor ") + what, std::forward<Fn>(fn));
}

} // namespace

TRulesEditor::TRulesEditor(QWidget *owner) : QDialog(owner) {
  setObjectName(QStringLiteral("RulesEditor"));
  setWindowTitle(QStringLiteral("News Filtering Rules Editor"));

  tbRules = new TStringGrid(this);
  tbRules->setObjectName(QStringLiteral("tbRules"));
  tbRules->SetColCount(TRulesEditorModel::ColCount);
  tbRules->SetRowCount(2);
  tbRules->SetFixedRows(1);
  tbRules->SetFixedCols(1);
  tbRules->SetDefaultRowHeight(kRowHeight);
  tbRules->SetDefaultDrawing(false);
  tbRules->OnDrawCell = [this](int c, int r, const TRect &rect, TGridDrawState) {
    DrawCell(c, r, rect);
  };
  tbRules->OnClick = [this] { Guarded("tbRulesClick", [this] { tbRulesClick(); }); };
  // Row moving: drag a rule by its row head (column 0), or Ctrl+Up / Ctrl+Down.
  tbRules->OnMouseDown = [this](TMouseButton button, TShiftState, int x, int y) {
    int col = -1, row = -1;
    tbRules->MouseToCell(x, y, col, row);
    m_moveFrom = button == mbLeft && col == 0 && row >= 1 ? row : 0;
  };
  tbRules->OnMouseUp = [this](TMouseButton, TShiftState, int x, int y) {
    const int from = std::exchange(m_moveFrom, 0);
    if (from < 1)
      return;
    int col = -1, row = -1;
    tbRules->MouseToCell(x, y, col, row);
    if (row < 0) // below the last row
      row = y < 0 ? 1 : m_model.RowCount() - 1;
    Guarded("tbRulesMoveRow", [this, from, row] {
      if (m_model.MoveRow(from, std::max(1, row)))
        Present();
    });
  };
  tbRules->OnKeyDown = [this](int &key, TShiftState shift) {
    if ((shift & ssCtrl) && (key == VK_UP || key == VK_DOWN)) {
      const int from = m_model.SelectedRow();
      const int to = from + (key == VK_UP ? -1 : 1);
      key = 0;
      Guarded("tbRulesMoveRow", [this, from, to] {
        if (m_model.MoveRow(from, to))
          Present();
      });
      return;
    }
    int row = m_model.SelectedRow();
    if (key == VK_UP)
      row = std::max(1, row - 1);
    else if (key == VK_DOWN)
      row = std::min(m_model.RowCount() - 1, row + 1);
    else
      return;
    key = 0;
    tbRules->SetRow(row);
    Guarded("tbRulesClick", [this] { tbRulesClick(); });
  };

  pbAdd = MakeButton(this, "pbAdd", QStringLiteral("&Add a Rule"));

  EditPan = new QFrame(this);
  EditPan->setObjectName(QStringLiteral("EditPan"));
  EditPan->setFrameShape(QFrame::StyledPanel);
  lbWhich = new QLabel(QStringLiteral("Rule Applies to"), EditPan);
  lbWhich->setObjectName(QStringLiteral("lbWhich"));
  cmbWhich = new QComboBox(EditPan);
  cmbWhich->setObjectName(QStringLiteral("cmbWhich"));
  for (const std::string &name : RuleKindNames())
    cmbWhich->addItem(QString::fromStdString(name));
  cmbWhich->setCurrentIndex(-1);
  lbRule = new QLabel(QStringLiteral("Enter exclusion expression (* and ? wildcards are allowed)"),
                      EditPan);
  lbRule->setObjectName(QStringLiteral("lbRule"));
  dfRule = new QLineEdit(EditPan);
  dfRule->setObjectName(QStringLiteral("dfRule"));
  pbSave = MakeButton(EditPan, "pbSave", QStringLiteral("Save"));
  pbCancelChanges = MakeButton(EditPan, "pbCancelChanges", QStringLiteral("Cancel Changes"));
  pbDeleteRule = MakeButton(EditPan, "pbDeleteRule", QStringLiteral("Delete Rule"));

  pbOK = MakeButton(this, "pbOK", QStringLiteral("&OK"));
  pbCancel = MakeButton(this, "pbCancel", QStringLiteral("&Cancel"));

  // The panel's own layout: kind, expression, then its buttons.
  const int comboH = cmbWhich->sizeHint().height();
  lbWhich->resize(lbWhich->sizeHint());
  lbWhich->move(8, 6 + (comboH - lbWhich->height()) / 2);
  cmbWhich->setGeometry(lbWhich->x() + lbWhich->width() + 8, 6,
                        std::max(100, cmbWhich->sizeHint().width()), comboH);
  lbRule->resize(lbRule->sizeHint());
  lbRule->move(8, cmbWhich->y() + comboH + 6);
  dfRule->setGeometry(8, lbRule->y() + lbRule->height() + 2, 100, dfRule->sizeHint().height());
  const int buttonsY = dfRule->y() + dfRule->height() + 6;
  for (QPushButton *b : {pbSave, pbCancelChanges, pbDeleteRule})
    b->move(b->x(), buttonsY);
  EditPan->resize(EditPan->width(), buttonsY + pbSave->height() + 6);

  connect(pbAdd, &QPushButton::clicked, this,
          [this] { Guarded("pbAddClick", [this] { pbAddClick(); }); });
  connect(pbSave, &QPushButton::clicked, this,
          [this] { Guarded("pbSaveClick", [this] { pbSaveClick(); }); });
  connect(pbCancelChanges, &QPushButton::clicked, this,
          [this] { Guarded("pbCancelChangesClick", [this] { pbCancelChangesClick(); }); });
  connect(pbDeleteRule, &QPushButton::clicked, this,
          [this] { Guarded("pbDeleteRuleClick", [this] { pbDeleteRuleClick(); }); });
  connect(pbOK, &QPushButton::clicked, this,
          [this] { Guarded("pbOKClick", [this] { pbOKClick(); }); });
  connect(pbCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(cmbWhich, &QComboBox::currentIndexChanged, this, [this](int) {
    if (!m_presenting)
      Guarded("cmbWhichChange", [this] { cmbWhichChange(); });
  });
  connect(dfRule, &QLineEdit::textChanged, this, [this](const QString &) {
    if (!m_presenting)
      Guarded("dfRuleChange", [this] { dfRuleChange(); });
  });

  resize(DefaultWidth, DefaultHeight);
  if (QScreen *screen = QGuiApplication::primaryScreen()) {
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  Present();
}

void TRulesEditor::showEvent(QShowEvent *event) {
  QDialog::showEvent(event);
  if (!event->spontaneous())
    Guarded("FormShow", [this] { FormShow(); });
}

void TRulesEditor::resizeEvent(QResizeEvent *event) {
  QDialog::resizeEvent(event);
  Guarded("FormResize", [this] { FormResize(); });
}

void TRulesEditor::FormShow() {
  m_model.LoadRules(RulesText);
  Present();
  FormResize();
}

void TRulesEditor::FormResize() {
  const int cw = width();
  const int ch = height();
  pbCancel->move(cw - 1 - pbCancel->width(), ch - 1 - pbCancel->height());
  pbOK->move(pbCancel->x() - 3 - pbOK->width(), pbCancel->y());
  EditPan->setGeometry(kMargin, pbCancel->y() - 2 - EditPan->height(),
                       std::max(0, cw - 2 * kMargin), EditPan->height());
  const int pw = EditPan->width();
  pbDeleteRule->move(pw - 5 - pbDeleteRule->width(), pbDeleteRule->y());
  pbCancelChanges->move(pbDeleteRule->x() - 2 - pbCancelChanges->width(), pbDeleteRule->y());
  pbSave->move(pbCancelChanges->x() - 2 - pbSave->width(), pbDeleteRule->y());
  dfRule->resize(std::max(0, pw - 2 * dfRule->x()), dfRule->height());
  pbAdd->move(cw - 2 - pbAdd->width(), EditPan->y() - 2 - pbAdd->height());
  tbRules->setGeometry(kMargin, kMargin, std::max(0, cw - 2 * kMargin),
                       std::max(0, pbAdd->y() - 2 - kMargin));

  tbRules->SetColWidths(0, tbRules->Canvas().TextWidth(" <> "));
  tbRules->SetColWidths(1, tbRules->Canvas().TextWidth("Source") + 5);
  // Column 2 takes what the grid's client width leaves beside the others and
  // the lines between, less the scroll bar when not all rows show.
  const bool allVisible = tbRules->VisibleRowCount() >= tbRules->RowCount() - tbRules->FixedRows();
  int rest = tbRules->width() - 2 * tbRules->frameWidth() - tbRules->ColWidths(0) -
             tbRules->ColWidths(1) - 3 * tbRules->GridLineWidth();
  if (!allVisible)
    rest -= tbRules->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  tbRules->SetColWidths(2, std::max(20, rest));
}

void TRulesEditor::Present() {
  m_presenting = true;
  tbRules->SetRowCount(std::max(2, m_model.RowCount()));
  for (int r = 0; r < m_model.RowCount(); ++r)
    for (int c = 1; c < TRulesEditorModel::ColCount; ++c)
      tbRules->SetCells(c, r, m_model.Cell(c, r));
  if (tbRules->Row() != m_model.SelectedRow())
    tbRules->SetRow(m_model.SelectedRow());
  cmbWhich->setCurrentIndex(m_model.WhichIndex());
  const QString rule = QString::fromStdString(m_model.RuleText());
  if (dfRule->text() != rule)
    dfRule->setText(rule);
  pbSave->setEnabled(m_model.SaveEnabled());
  pbCancelChanges->setEnabled(m_model.CancelChangesEnabled());
  pbDeleteRule->setEnabled(m_model.DeleteEnabled());
  tbRules->InvalidateGrid();
  m_presenting = false;
}

void TRulesEditor::DrawCell(int ACol, int ARow, const TRect &rect) {
  TCanvas &canvas = tbRules->Canvas();
  if (ARow == 0 || ACol == 0) {
    DrawNewsTitleCell(canvas, rect, ARow == 0 ? tbRules->Cells(ACol, ARow) : std::string());
    return;
  }
  DrawNewsTextCell(canvas, rect, tbRules->Cells(ACol, ARow), ARow == m_model.SelectedRow());
}

void TRulesEditor::tbRulesClick() {
  m_model.SelectRow(tbRules->Row());
  Present();
}

void TRulesEditor::pbAddClick() {
  m_model.AddRule();
  Present();
  FormResize();
  dfRule->setFocus();
}

void TRulesEditor::pbDeleteRuleClick() {
  const bool yes =
      MessageDlg("You're about to delete the highlighted news filtering rule - are you sure you "
                 "want to do that?",
                 "Delete Rule", mtConfirmation, mbYesNo) == mrYes;
  m_model.DeleteRule(yes);
  Present();
  FormResize();
}

void TRulesEditor::pbOKClick() {
  RulesText = m_model.Accept();
  Present();
  accept();
}

void TRulesEditor::cmbWhichChange() {
  m_model.SetWhichIndex(cmbWhich->currentIndex());
  Present();
}

void TRulesEditor::dfRuleChange() {
  m_model.SetRuleText(dfRule->text().toStdString());
  Present();
}

void TRulesEditor::pbCancelChangesClick() {
  m_model.CancelChanges();
  Present();
}

void TRulesEditor::pbSaveClick() {
  m_model.Save();
  Present();
}
