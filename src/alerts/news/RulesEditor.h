#pragma once
// TRulesEditor: "News Filtering Rules Editor", the modal editor of the news
// filtering rules. The caller sets RulesText (rule lines joined by CR LF),
// runs the dialog and reads RulesText back; only OK changes it. The editing
// itself is TRulesEditorModel's; the dialog mirrors it in its controls.
#include "alerts/news/NewsRules.h"
#include "platform/Rect.h"
#include "platform/StringGridTypes.h"

#include <QDialog>

#include <string>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class TStringGrid;

class TRulesEditor : public QDialog {
  Q_OBJECT

public:
  static constexpr int DefaultWidth = 540;
  static constexpr int DefaultHeight = 380;

  explicit TRulesEditor(QWidget *owner = nullptr);

  std::string RulesText;

  // ---- Controls (object names as the member names)
  TStringGrid *tbRules = nullptr;
  QPushButton *pbAdd = nullptr;
  QFrame *EditPan = nullptr;
  QLabel *lbWhich = nullptr;
  QComboBox *cmbWhich = nullptr;
  QLabel *lbRule = nullptr;
  QLineEdit *dfRule = nullptr;
  QPushButton *pbSave = nullptr;
  QPushButton *pbCancelChanges = nullptr;
  QPushButton *pbDeleteRule = nullptr;
  QPushButton *pbOK = nullptr;
  QPushButton *pbCancel = nullptr;

  const TRulesEditorModel &Model() const { return m_model; }

  // ---- Handlers
  void FormShow();
  void FormResize();
  void tbRulesClick();
  void pbAddClick();
  void pbDeleteRuleClick();
  void pbOKClick();
  void cmbWhichChange();
  void dfRuleChange();
  void pbCancelChangesClick();
  void pbSaveClick();

protected:
  void showEvent(QShowEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;

private:
  // Shows the model's grid, selection, panel and button states.
  void Present();
  void DrawCell(int ACol, int ARow, const TRect &rect);

  TRulesEditorModel m_model;
  bool m_presenting = false;
  int m_moveFrom = 0; // the row being dragged by its head, 0 for none
};
