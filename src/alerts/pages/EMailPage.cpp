#include "alerts/pages/EMailPage.h"

#include "acquisition/MailMessage.h"
#include "alerts/AlertFile.h"
#include "alerts/AlertsModule.h"
#include "alerts/EMailRecord.h"
#include "alerts/pages/EMailPageRules.h"
#include "alerts/pages/EMailPageTestSend.h"
#include "core/Log.h"
#include "core/ProgramFolder.h"
#include "platform/Clock.h"
#include "platform/Prompt.h"
#include "platform/StringUtils.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QVBoxLayout>
#include <QWidgetAction>
#include <exception>

namespace {

template <class W> W *Named(W *widget, const char *name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QString Q(const std::string &text) { return QString::fromStdString(text); }
std::string S(const QString &text) { return text.toStdString(); }

void SetBaseColor(QWidget *widget, TColor colour) {
  QPalette pal = widget->palette();
  pal.setColor(QPalette::Base, ToQColor(colour));
  pal.setColor(QPalette::Window, ToQColor(colour));
  widget->setPalette(pal);
}

QLabel *PlainLabel(const char *text, QWidget *parent, QWidget *buddy = nullptr) {
  auto *label = new QLabel(QString::fromLatin1(text), parent);
  label->setTextFormat(Qt::PlainText); // captions hold "<" and ">"
  if (buddy)
    label->setBuddy(buddy);
  return label;
}

template <class F> void Guard(const char *where, F &&f) {
  try {
    f();
  } catch (const std::exception &e) {
    WriteLog(std::string(where) + " Error: " + e.what());
    MessageDlg(std::string(where) + ": " + e.what(), "Email Templates", mtError, mbOK);
  } catch (...) {
    WriteLog(std::string(where) + " Error: unknown exception");
  }
}

} // namespace

int &TOPanEmail::RememberedSetup() {
  static int index = -1;
  return index;
}

TOPanEmail::TOPanEmail(QWidget *parent) : TOptionPage(parent) {
  setObjectName(QStringLiteral("OPanEmail"));
  BuildControls();
}

TOPanEmail::~TOPanEmail() = default;

// ---- Building ---------------------------------------------------------------------------

void TOPanEmail::BuildControls() {
  auto *page = new QVBoxLayout(this);

  auto *server = new QGroupBox(QStringLiteral("Mail Server"), this);
  auto *sg = new QGridLayout(server);
  dfHost = Named(new QLineEdit(server), "dfHost");
  dfPort = Named(new QLineEdit(server), "dfPort");
  dfPort->setText(QStringLiteral("default"));
  dfPort->setFixedWidth(dfPort->fontMetrics().horizontalAdvance(QStringLiteral("default")) + 30);
  dfFrom = Named(new QLineEdit(server), "dfFrom");
  cbAuth = Named(new QCheckBox(QStringLiteral("Requires Authentication"), server), "cbAuth");
  dfUserID = Named(new QLineEdit(server), "dfUserID");
  dfPassword = Named(new QLineEdit(server), "dfPassword");
  dfPassword->setEchoMode(QLineEdit::Password);
  sg->addWidget(PlainLabel("Mail Server Address (SMTP)", server, dfHost), 0, 0);
  sg->addWidget(dfHost, 0, 1, 1, 3);
  sg->addWidget(PlainLabel("Port", server, dfPort), 0, 4);
  sg->addWidget(dfPort, 0, 5);
  sg->addWidget(PlainLabel("FROM Email Address", server, dfFrom), 1, 0);
  sg->addWidget(dfFrom, 1, 1, 1, 5);
  sg->addWidget(cbAuth, 2, 0);
  auto *login = new QHBoxLayout();
  login->addWidget(PlainLabel("User ID", server, dfUserID));
  login->addWidget(dfUserID, 1);
  login->addWidget(PlainLabel("Password", server, dfPassword));
  login->addWidget(dfPassword, 1);
  sg->addLayout(login, 2, 1, 1, 5);
  sg->setColumnStretch(1, 1);
  page->addWidget(server);

  auto *templates = new QHBoxLayout();
  auto *left = new QVBoxLayout();
  lbSetups = Named(new QListWidget(this), "lbSetups");
  lbSetups->setFixedWidth(lbSetups->fontMetrics().horizontalAdvance(QStringLiteral("W")) * 12);
  pbNew = Named(new QPushButton(QStringLiteral("&New Template"), this), "pbNew");
  pbDelSetup = Named(new QPushButton(QStringLiteral("&Delete Template"), this), "pbDelSetup");
  left->addWidget(PlainLabel("Templates", this, lbSetups));
  left->addWidget(lbSetups, 1);
  left->addWidget(pbNew);
  left->addWidget(pbDelSetup);
  templates->addLayout(left);

  m_fieldsArea = new QWidget(this);
  auto *fields = new QGridLayout(m_fieldsArea);
  fields->setContentsMargins(0, 0, 0, 0);
  dfName = Named(new QLineEdit(m_fieldsArea), "dfName");
  dfSendTo = Named(new QLineEdit(m_fieldsArea), "dfSendTo");
  dfSubject = Named(new QLineEdit(m_fieldsArea), "dfSubject");
  memoBody = Named(new QPlainTextEdit(m_fieldsArea), "memoBody");
  fields->addWidget(PlainLabel("Template Name", m_fieldsArea, dfName), 0, 0);
  fields->addWidget(dfName, 0, 1);
  fields->addWidget(PlainLabel("Send To", m_fieldsArea, dfSendTo), 1, 0);
  fields->addWidget(dfSendTo, 1, 1);
  fields->addWidget(PlainLabel("Subject", m_fieldsArea, dfSubject), 2, 0);
  fields->addWidget(dfSubject, 2, 1);
  QLabel *bodyLabel =
      PlainLabel("Message Body (right-click on the text here or in Subject to insert "
                 "placeholders such as <SYMBOL>, <PRICE> etc.)",
                 m_fieldsArea, memoBody);
  bodyLabel->setWordWrap(true);
  fields->addWidget(bodyLabel, 3, 0, 1, 2);
  fields->addWidget(memoBody, 4, 0, 1, 2);
  fields->setRowStretch(4, 1);
  auto *buttons = new QHBoxLayout();
  pbSave = Named(new QPushButton(QStringLiteral("&Save Changes"), m_fieldsArea), "pbSave");
  pbCancel = Named(new QPushButton(QStringLiteral("&Cancel Changes"), m_fieldsArea), "pbCancel");
  pbAlertDesc = Named(new QPushButton(QStringLiteral("Preview"), m_fieldsArea), "pbAlertDesc");
  pbTest = Named(new QPushButton(QStringLiteral("&Test"), m_fieldsArea), "pbTest");
  for (QPushButton *b : {pbSave, pbCancel, pbAlertDesc, pbTest})
    buttons->addWidget(b);
  fields->addLayout(buttons, 5, 0, 1, 2);
  templates->addWidget(m_fieldsArea, 1);
  page->addLayout(templates, 1);

  // The test panel, over the page while a test runs.
  panSending = Named(new QFrame(this), "panSending");
  panSending->setFrameShape(QFrame::Panel);
  panSending->setFrameShadow(QFrame::Raised);
  panSending->setAutoFillBackground(true);
  SetBaseColor(panSending, SendingColor);
  auto *sending = new QVBoxLayout(panSending);
  lbSending = Named(new QLabel(QStringLiteral("Sending Test Email..."), panSending), "lbSending");
  QFont bold = lbSending->font();
  bold.setBold(true);
  lbSending->setFont(bold);
  mStatus = Named(new QPlainTextEdit(panSending), "mStatus");
  mStatus->setReadOnly(true);
  SetBaseColor(mStatus, clWhite);
  pbClose = Named(new QPushButton(QStringLiteral("Close"), panSending), "pbClose");
  sending->addWidget(lbSending);
  sending->addWidget(mStatus, 1);
  sending->addWidget(pbClose, 0, Qt::AlignHCenter);
  // Close keeps its place while hidden, so that showing it at the end does not
  // shrink the status and push the result line out of view.
  QSizePolicy closePolicy = pbClose->sizePolicy();
  closePolicy.setRetainSizeWhenHidden(true);
  pbClose->setSizePolicy(closePolicy);
  panSending->hide();

  Sample = Named(new QPlainTextEdit(this), "Sample");
  Sample->setReadOnly(true);
  Sample->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Sample->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  SetBaseColor(Sample, SampleColor);
  Sample->hide();

  BuildPlaceholderMenu();

  connect(lbSetups, &QListWidget::currentRowChanged, this, [this] { lbSetupsClick(); });
  for (QLineEdit *edit : {dfName, dfSendTo, dfSubject})
    connect(edit, &QLineEdit::textEdited, this, [this] { dfNameChange(); });
  connect(memoBody, &QPlainTextEdit::textChanged, this, [this] {
    if (!m_loading)
      dfNameChange();
  });
  connect(pbNew, &QPushButton::clicked, this, &TOPanEmail::pbNewClick);
  connect(pbSave, &QPushButton::clicked, this, &TOPanEmail::pbSaveClick);
  connect(pbCancel, &QPushButton::clicked, this, &TOPanEmail::pbCancelClick);
  connect(pbDelSetup, &QPushButton::clicked, this, &TOPanEmail::pbDelSetupClick);
  connect(cbAuth, &QCheckBox::clicked, this, &TOPanEmail::cbAuthClick);
  connect(pbAlertDesc, &QPushButton::pressed, this, &TOPanEmail::pbAlertDescMouseDown);
  connect(pbAlertDesc, &QPushButton::released, this, &TOPanEmail::pbAlertDescMouseUp);
  connect(pbTest, &QPushButton::clicked, this, &TOPanEmail::pbTestClick);
  connect(pbClose, &QPushButton::clicked, this, &TOPanEmail::pbCloseClick);

  for (QWidget *target : {static_cast<QWidget *>(dfSubject), static_cast<QWidget *>(memoBody)}) {
    target->setContextMenuPolicy(Qt::CustomContextMenu);
    target->installEventFilter(this);
  }
  connect(dfSubject, &QWidget::customContextMenuRequested, this,
          [this](const QPoint &p) { ShowPlaceholderMenu(dfSubject, dfSubject->mapToGlobal(p)); });
  connect(memoBody, &QWidget::customContextMenuRequested, this, [this](const QPoint &p) {
    ShowPlaceholderMenu(memoBody, memoBody->viewport()->mapToGlobal(p));
  });
  dfPort->installEventFilter(this);
  dfFrom->installEventFilter(this);
}

void TOPanEmail::BuildPlaceholderMenu() {
  PHPop = Named(new QMenu(this), "PHPop");
  // Two columns of fourteen entries.
  auto *panel = new QWidget(PHPop);
  auto *grid = new QGridLayout(panel);
  grid->setContentsMargins(2, 2, 2, 2);
  grid->setSpacing(0);
  int column = 0;
  int row = 0;
  const auto &entries = PlaceholderMenuEntries();
  for (int i = 0; i < int(entries.size()); ++i) {
    if (PlaceholderStartsColumn(i)) {
      ++column;
      row = 0;
    }
    const std::string entry = entries[std::size_t(i)];
    auto *action = new QAction(Q(entry), PHPop);
    action->setObjectName(QStringLiteral("PHItem%1").arg(i));
    connect(action, &QAction::triggered, this, [this, entry] {
      PHPop->hide();
      InsertPlaceholder(entry);
    });
    // A flat, left-aligned button per entry, so that the menu reads as one.
    auto *button = new QPushButton(Q(entry), panel);
    button->setObjectName(QStringLiteral("PHButton%1").arg(i));
    button->setFlat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    button->setStyleSheet(QStringLiteral(
        "QPushButton { text-align: left; padding: 2px 10px; border: none; }"
        "QPushButton:hover { background: palette(highlight); color: palette(highlighted-text); }"));
    connect(button, &QPushButton::clicked, action, &QAction::trigger);
    grid->addWidget(button, row++, column);
  }
  auto *holder = new QWidgetAction(PHPop);
  holder->setDefaultWidget(panel);
  PHPop->addAction(holder);
}

void TOPanEmail::resizeEvent(QResizeEvent *event) {
  TOptionPage::resizeEvent(event);
  PlaceOverlays();
}

void TOPanEmail::PlaceOverlays() {
  const int margin = 20;
  panSending->setGeometry(margin, SendingTop, std::max(100, width() - 2 * margin),
                          std::max(100, height() * 3 / 5));
  // The preview covers the template fields from the top of the page down.
  const int left = m_fieldsArea->geometry().left();
  Sample->setGeometry(left, 0, std::max(50, width() - left), height());
}

bool TOPanEmail::eventFilter(QObject *watched, QEvent *event) {
  if (watched == dfPort && event->type() == QEvent::KeyPress) {
    // At most 5 characters are typed; the field itself may show "default".
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool typing = !key->text().isEmpty() && key->text().at(0).isPrint() &&
                        !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (typing &&
        dfPort->text().size() - dfPort->selectedText().size() + key->text().size() > PortMaxLength)
      return true;
  }
  if (event->type() == QEvent::FocusOut &&
      static_cast<QFocusEvent *>(event)->reason() != Qt::ActiveWindowFocusReason &&
      static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason) {
    if (watched == dfPort)
      dfPortExit();
    else if (watched == dfFrom)
      dfFromExit();
  } else if (event->type() == QEvent::FocusIn) {
    if (watched == dfSubject || watched == memoBody)
      m_placeholderTarget = static_cast<QWidget *>(watched);
  }
  return TOptionPage::eventFilter(watched, event);
}

// ---- Showing and closing ---------------------------------------------------------------

void TOPanEmail::FormShow() {
  PlaceOverlays();
  m_editIndex = -1;
  MailSettings s = GetMailSettings();
  if (s.SMTPPort == 0)
    s.SMTPPort = MailSettings::DefaultPort;
  dfHost->setText(Q(s.SMTPHost));
  dfPort->setText(Q(MailPortText(s.SMTPPort)));
  dfFrom->setText(Q(s.FromAddress));
  dfFromExit();
  cbAuth->setChecked(s.Authenticate != 0);
  cbAuthClick();
  dfUserID->setText(Q(s.UserName));
  dfPassword->setText(Q(s.Password));
  ClearTemplateFields(true);
  {
    const QSignalBlocker quiet(lbSetups);
    lbSetups->clear();
    const EMailSetupList &setups = EMailSetups();
    for (int i = 0; i < setups.Count(); ++i)
      lbSetups->addItem(Q(setups.Name(i)));
  }
  const int remembered = RememberedSetup();
  if (remembered >= 0 && remembered < lbSetups->count()) {
    {
      const QSignalBlocker quiet(lbSetups);
      lbSetups->setCurrentRow(remembered);
    }
    ShowTemplate(remembered);
  } else {
    RememberedSetup() = -1;
  }
}

bool TOPanEmail::FormCloseQuery() { return SaveTemplate(true); }

void TOPanEmail::FormClose() {
  Guard("Email FormClose", [&] {
    MailSettings s = GetMailSettings();
    TakeMailServerFields(S(dfHost->text()), S(dfPort->text()), s.SMTPHost, s.SMTPPort);
    dfFromExit();
    s.FromAddress = Trim(S(dfFrom->text()));
    s.Authenticate = cbAuth->isChecked() ? 1 : 0;
    s.UserName = Trim(S(dfUserID->text()));
    s.Password = Trim(S(dfPassword->text()));
    SetMailSettings(s);
  });
  SaveAlertFileReporting(AlertSystem(), ProgramFolder() + AlertFileName);
  RememberedSetup() = lbSetups->currentRow();
  m_test.reset();
}

// ---- Templates --------------------------------------------------------------------------------

void TOPanEmail::SetFieldColor(QWidget *field, bool enabled) {
  SetBaseColor(field, enabled ? FieldColor : DisabledFieldColor);
}

void TOPanEmail::ClearTemplateFields(bool disable) {
  m_loading = true;
  dfName->clear();
  dfSendTo->clear();
  dfSubject->clear();
  memoBody->clear();
  m_loading = false;
  for (QWidget *field : {static_cast<QWidget *>(dfName), static_cast<QWidget *>(dfSendTo),
                         static_cast<QWidget *>(dfSubject), static_cast<QWidget *>(memoBody)}) {
    field->setEnabled(!disable);
    SetFieldColor(field, !disable);
  }
  pbAlertDesc->setEnabled(!disable);
  pbDelSetup->setEnabled(!disable);
  pbSave->setEnabled(false);
  pbCancel->setEnabled(false);
  pbTest->setEnabled(false);
}

bool TOPanEmail::SaveTemplate(bool showErrors) {
  if (m_editIndex < 0)
    return true;
  EMailSetupList &setups = EMailSetups();
  EMailRecord *record = setups.Record(m_editIndex);
  if (!record) {
    m_editIndex = -1;
    return true;
  }
  const std::string name = S(dfName->text());
  const std::string sendTo = S(dfSendTo->text());
  const std::string subject = S(dfSubject->text());
  const std::string body = ToStoredLines(S(memoBody->toPlainText()));
  const std::string error = TemplateSaveError(setups, m_editIndex, name, sendTo, subject, body);
  if (!error.empty()) {
    if (showErrors)
      MessageDlg(error, "Cannot save", mtError, mbOK);
    return false;
  }
  setups.SetName(m_editIndex, name);
  if (QListWidgetItem *item = lbSetups->item(m_editIndex))
    item->setText(Q(name));
  record->Name = name;
  record->SendTo = sendTo;
  record->Subject = subject;
  record->Body = body;
  ClearTemplateFields(true);
  m_editIndex = -1;
  return true;
}

void TOPanEmail::ShowTemplate(int index) {
  const EMailRecord *record = EMailSetups().Record(index);
  ClearTemplateFields(false);
  if (!record) {
    ClearTemplateFields(true);
    return;
  }
  m_editIndex = index;
  m_loading = true;
  dfName->setText(Q(record->Name));
  dfSubject->setText(Q(record->Subject));
  dfSendTo->setText(Q(record->SendTo));
  memoBody->setPlainText(Q(ToDisplayLines(record->Body)));
  m_loading = false;
  pbSave->setEnabled(false);
  pbCancel->setEnabled(false);
  pbTest->setEnabled(true);
}

void TOPanEmail::lbSetupsClick() {
  const int index = lbSetups->currentRow();
  if (!SaveTemplate(true)) {
    const QSignalBlocker quiet(lbSetups);
    lbSetups->setCurrentRow(RememberedSetup());
    return;
  }
  RememberedSetup() = index;
  if (index < 0) {
    ClearTemplateFields(true);
    return;
  }
  ShowTemplate(index);
}

void TOPanEmail::dfNameChange() {
  if (m_loading)
    return;
  pbSave->setEnabled(true);
  pbCancel->setEnabled(true);
  pbTest->setEnabled(true);
}

void TOPanEmail::pbNewClick() {
  if (!SaveTemplate(true))
    return;
  std::vector<std::string> names;
  for (int i = 0; i < lbSetups->count(); ++i)
    names.push_back(S(lbSetups->item(i)->text()));
  const std::string name = NextTemplateName(names);
  EMailSetups().Add(name, std::make_unique<EMailRecord>("", "", "", "", name));
  {
    const QSignalBlocker quiet(lbSetups);
    lbSetups->addItem(Q(name));
  }
  lbSetups->setCurrentRow(lbSetups->count() - 1);
}

void TOPanEmail::pbSaveClick() {
  if (!SaveTemplate(true))
    return;
  {
    const QSignalBlocker quiet(lbSetups);
    lbSetups->setCurrentRow(-1);
    lbSetups->clearSelection();
  }
  RememberedSetup() = -1;
  m_editIndex = -1;
}

void TOPanEmail::pbCancelClick() {
  m_editIndex = -1;
  const int index = lbSetups->currentRow();
  if (index >= 0)
    ShowTemplate(index);
  else
    ClearTemplateFields(true);
}

void TOPanEmail::pbDelSetupClick() {
  if (m_editIndex < 0)
    return;
  EMailSetupList &setups = EMailSetups();
  const EMailRecord *record = setups.Record(m_editIndex);
  if (!record)
    return;
  int users = 0;
  Guard("Delete Template", [&] { users = AlertSystem().CountSetupUsers(record->ID); });
  if (MessageDlg(DeleteTemplateQuestion(users), "Delete", mtConfirmation, mbYesNo) != mrYes)
    return;
  const int index = m_editIndex;
  m_editIndex = -1;
  setups.Delete(index);
  int next = -1;
  {
    const QSignalBlocker quiet(lbSetups);
    delete lbSetups->takeItem(index);
    if (lbSetups->count() > 0)
      next = std::max(0, index - 1);
    lbSetups->setCurrentRow(next);
  }
  RememberedSetup() = next;
  if (next >= 0)
    ShowTemplate(next);
  else
    ClearTemplateFields(true);
}

// ---- Server fields ------------------------------------------------------------------------------

void TOPanEmail::cbAuthClick() {
  const bool on = cbAuth->isChecked();
  for (QLineEdit *field : {dfUserID, dfPassword}) {
    field->setEnabled(on);
    SetFieldColor(field, on);
  }
}

void TOPanEmail::dfPortExit() {
  dfPort->setText(Q(MailPortText(ParseMailPortText(S(dfPort->text())))));
}

void TOPanEmail::dfFromExit() {
  const std::string checked = ApplySenderDomainBlocks(S(dfFrom->text()), EMailDomainBlocks());
  if (checked != S(dfFrom->text()))
    dfFrom->setText(Q(checked));
}

// ---- Placeholders and preview ---------------------------------------------------------------

void TOPanEmail::ShowPlaceholderMenu(QWidget *target, const QPoint &globalPos) {
  target->setFocus(Qt::MouseFocusReason);
  m_placeholderTarget = target;
  PHPop->popup(globalPos);
}

void TOPanEmail::InsertPlaceholder(const std::string &entry) {
  const QString placeholder = Q(PlaceholderOfEntry(entry));
  if (m_placeholderTarget == dfSubject) {
    if (!dfSubject->isEnabled())
      return;
    const int start =
        dfSubject->hasSelectedText() ? dfSubject->selectionStart() : dfSubject->cursorPosition();
    dfSubject->insert(placeholder);
    dfSubject->setSelection(start, int(placeholder.size()));
    dfNameChange();
  } else if (m_placeholderTarget == memoBody) {
    if (!memoBody->isEnabled())
      return;
    QTextCursor cursor = memoBody->textCursor();
    const int start = cursor.selectionStart();
    cursor.insertText(placeholder);
    cursor.setPosition(start);
    cursor.setPosition(start + int(placeholder.size()), QTextCursor::KeepAnchor);
    memoBody->setTextCursor(cursor);
  }
}

void TOPanEmail::pbAlertDescMouseDown() {
  const std::string text =
      EMailPreviewText(S(dfFrom->text()), S(dfSendTo->text()), S(dfSubject->text()),
                       ToStoredLines(S(memoBody->toPlainText())), AppClock().Now());
  Sample->setPlainText(Q(ToDisplayLines(text)));
  PlaceOverlays();
  Sample->raise();
  Sample->show();
}

void TOPanEmail::pbAlertDescMouseUp() { Sample->hide(); }

// ---- Test mail
// ------------------------------------------------------------------------------------

void TOPanEmail::pbTestClick() {
  pbTest->setEnabled(false);
  if (!m_test) {
    m_test = std::make_unique<TEMailTestSend>();
    m_test->OnLine = [this](const std::string &line) { StatusLine(line); };
    m_test->OnFinished = [this] { TestFinished(); };
  }
  TTestMailServer server;
  server.Mailer = TickvaneMailerText();
  TakeMailServerFields(S(dfHost->text()), S(dfPort->text()), server.Host, server.Port);
  if (cbAuth->isChecked()) {
    server.UserName = Trim(S(dfUserID->text()));
    server.Password = Trim(S(dfPassword->text()));
  }

  const TDateTime now = AppClock().Now();
  TMailMessage message;
  message.ClearRecipients();
  message.ClearBody();
  message.ClearExtraHeaders();
  message.SetHeader(TMailMessage::hiFrom, Trim(S(dfFrom->text())));
  message.SetRecipientsText(TestRecipientsText(S(dfSendTo->text())));
  message.SetHeader(TMailMessage::hiSubject, FillSampleValues(Trim(S(dfSubject->text())), now));
  message.SetBodyText(FillSampleValues(Trim(ToStoredLines(S(memoBody->toPlainText()))), now));

  mStatus->clear();
  lbSending->setText(QStringLiteral("Sending Test Email..."));
  pbClose->hide();
  PlaceOverlays();
  panSending->raise();
  panSending->show();
  panSending->repaint();
  m_test->Start(server, message);
}

void TOPanEmail::StatusLine(const std::string &line) {
  mStatus->appendPlainText(Q(line));
  // The newest line, in the end the result, stays in view.
  mStatus->moveCursor(QTextCursor::End);
  mStatus->ensureCursorVisible();
  mStatus->repaint();
}

void TOPanEmail::TestFinished() {
  // The send has ended: the title no longer says it is under way.
  lbSending->setText(m_test && m_test->Accepted() ? QStringLiteral("Test Email Sent")
                                                  : QStringLiteral("Test Email Not Sent"));
  pbClose->show();
  mStatus->moveCursor(QTextCursor::End);
  mStatus->ensureCursorVisible();
  pbTest->setEnabled(true);
}

void TOPanEmail::pbCloseClick() { panSending->hide(); }
