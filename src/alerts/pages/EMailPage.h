#pragma once
// TOPanEmail: the "Email Templates" page of the preferences dialog. It edits
// the mail server settings of alert e-mail (host, port, sender, login) and
// the named e-mail templates (recipients, subject and body with placeholders
// such as <SYMBOL>). A right-click menu inserts placeholders, Preview shows a
// template filled with sample values while the button is held, and Test sends
// that sample through the mail server and shows the outcome. Closing the page
// stores the server settings and writes ALERTS.DAT.
#include "platform/Color.h"
#include "prefs/OptionPage.h"

#include <memory>
#include <string>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class TEMailTestSend;

class TOPanEmail : public TOptionPage {
  Q_OBJECT

public:
  static constexpr TColor FieldColor = clWhite;
  static constexpr TColor DisabledFieldColor = 12632256; // silver
  static constexpr TColor SendingColor = 15000804;
  static constexpr TColor SampleColor = 12713983;
  static constexpr int PortMaxLength = 5;
  static constexpr int SendingTop = 4;

  explicit TOPanEmail(QWidget *parent = nullptr);
  ~TOPanEmail() override;

  // ---- Controls (object names as the member names)
  QLineEdit *dfHost = nullptr;
  QLineEdit *dfPort = nullptr;
  QLineEdit *dfFrom = nullptr;
  QCheckBox *cbAuth = nullptr;
  QLineEdit *dfUserID = nullptr;
  QLineEdit *dfPassword = nullptr;
  QListWidget *lbSetups = nullptr;
  QLineEdit *dfName = nullptr;
  QLineEdit *dfSendTo = nullptr;
  QLineEdit *dfSubject = nullptr;
  QPlainTextEdit *memoBody = nullptr;
  QPushButton *pbNew = nullptr;
  QPushButton *pbDelSetup = nullptr;
  QPushButton *pbSave = nullptr;
  QPushButton *pbCancel = nullptr;
  QPushButton *pbAlertDesc = nullptr;
  QPushButton *pbTest = nullptr;
  QFrame *panSending = nullptr;
  QLabel *lbSending = nullptr; // the test panel's title
  QPlainTextEdit *mStatus = nullptr;
  QPushButton *pbClose = nullptr;
  QPlainTextEdit *Sample = nullptr;
  QMenu *PHPop = nullptr;

  // ---- TOptionPage
  void FormShow() override;
  bool FormCloseQuery() override;
  void FormClose() override;

  // ---- Operations
  // Writes the fields into the template being edited; with showErrors a
  // refusal is explained. True when saved or nothing is being edited.
  bool SaveTemplate(bool showErrors);
  void ClearTemplateFields(bool disable);
  // Replaces the selection (or inserts at the caret) of the control that last
  // had the focus among subject and body, leaving the placeholder selected.
  void InsertPlaceholder(const std::string &entry);

  // The list entry last selected; it outlives the page (-1: none).
  static int &RememberedSetup();
  // The template being edited (-1: none).
  int EditIndex() const { return m_editIndex; }
  // The test of the page (nullptr before the first test).
  TEMailTestSend *TestSend() const { return m_test.get(); }

  // ---- Handlers
  void lbSetupsClick();
  void dfNameChange();
  void pbNewClick();
  void pbSaveClick();
  void pbCancelClick();
  void pbDelSetupClick();
  void cbAuthClick();
  void dfPortExit();
  void dfFromExit();
  void pbAlertDescMouseDown();
  void pbAlertDescMouseUp();
  void pbTestClick();
  void pbCloseClick();

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;

private:
  void BuildControls();
  void BuildPlaceholderMenu();
  void ShowTemplate(int index);
  void SetFieldColor(QWidget *field, bool enabled);
  void PlaceOverlays();
  void ShowPlaceholderMenu(QWidget *target, const QPoint &globalPos);
  void StatusLine(const std::string &line);
  void TestFinished();

  int m_editIndex = -1;
  QWidget *m_placeholderTarget = nullptr; // dfSubject or memoBody
  QWidget *m_fieldsArea = nullptr;        // where the template fields stand
  std::unique_ptr<TEMailTestSend> m_test;
  bool m_loading = false; // the fields are being filled by the page
};
