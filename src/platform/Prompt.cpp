#include "platform/Prompt.h"

#include "platform/AppWindow.h"
#include "platform/UncaughtError.h"
#include "platform/WindowThread.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <atomic>

namespace {

struct ButtonInfo {
  TMsgDlgBtn button;
  TModalResult result;
  QMessageBox::StandardButton standard; // NoButton: a button of our own
  const char *text;                     // for buttons of our own
};

// In the order that decides the default button.
constexpr ButtonInfo kButtons[] = {
    {mbOK, mrOk, QMessageBox::Ok, nullptr},
    {mbYes, mrYes, QMessageBox::Yes, nullptr},
    {mbYesToAll, mrYesToAll, QMessageBox::YesToAll, nullptr},
    {mbAll, mrAll, QMessageBox::NoButton, "&All"},
    {mbAbort, mrAbort, QMessageBox::Abort, nullptr},
    {mbRetry, mrRetry, QMessageBox::Retry, nullptr},
    {mbNo, mrNo, QMessageBox::No, nullptr},
    {mbNoToAll, mrNoToAll, QMessageBox::NoToAll, nullptr},
    {mbIgnore, mrIgnore, QMessageBox::Ignore, nullptr},
    {mbCancel, mrCancel, QMessageBox::Cancel, nullptr},
    {mbClose, mrClose, QMessageBox::Close, nullptr},
};

TMsgDlgButtons OfferedButtons(const PromptQuestion &q) {
  TMsgDlgButtons offered = 0;
  for (const ButtonInfo &b : kButtons)
    offered |= q.buttons & b.button;
  return offered ? offered : TMsgDlgButtons(mbOK);
}

QMessageBox::Icon IconOf(TMsgDlgType type) {
  switch (type) {
  case mtWarning:
    return QMessageBox::Warning;
  case mtError:
    return QMessageBox::Critical;
  case mtInformation:
    return QMessageBox::Information;
  case mtConfirmation:
    return QMessageBox::Question;
  case mtCustom:
    break;
  }
  return QMessageBox::NoIcon;
}

QString DisplayText(const std::string &text) {
  QString s = QString::fromStdString(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return s;
}

QtPrompt g_qtPrompt;
std::atomic<Prompt *> g_prompt{&g_qtPrompt};

} // namespace

TModalResult ResultOfButton(TMsgDlgBtn button) {
  for (const ButtonInfo &b : kButtons)
    if (b.button == button)
      return b.result;
  return mrNone;
}

TMsgDlgBtn DefaultButtonOf(const PromptQuestion &question) {
  const TMsgDlgButtons offered = OfferedButtons(question);
  for (const ButtonInfo &b : kButtons)
    if (question.defaultButton == b.button && (offered & b.button))
      return b.button;
  for (const ButtonInfo &b : kButtons)
    if (offered & b.button)
      return b.button;
  return mbOK;
}

TModalResult QtPrompt::Ask(const PromptQuestion &question) {
  if (!IsWindowThread()) {
    ReportUncaughtError(
        std::string(__FILE__) + ":" + std::to_string(__LINE__) +
        ": a message box was asked for outside the window thread: " + question.caption);
    return mrCancel;
  }
  QString caption = QString::fromStdString(question.caption);
  if (caption.isEmpty())
    caption = QCoreApplication::applicationName();
  QMessageBox box(IconOf(question.icon), caption, DisplayText(question.text), QMessageBox::NoButton,
                  AppMainWindow());
  const TMsgDlgButtons offered = OfferedButtons(question);
  const TMsgDlgBtn defaultButton = DefaultButtonOf(question);
  std::vector<std::pair<QAbstractButton *, TModalResult>> results;
  for (const ButtonInfo &b : kButtons) {
    if (!(offered & b.button))
      continue;
    QAbstractButton *button = nullptr;
    if (b.standard != QMessageBox::NoButton) {
      button = box.addButton(b.standard);
    } else {
      button = box.addButton(QString::fromLatin1(b.text), QMessageBox::AcceptRole);
    }
    results.emplace_back(button, b.result);
    if (b.button == defaultButton)
      box.setDefaultButton(qobject_cast<QPushButton *>(button));
  }
  box.exec();
  const QAbstractButton *clicked = box.clickedButton();
  for (const auto &[button, result] : results)
    if (button == clicked)
      return result;
  return mrNone;
}

TModalResult FakePrompt::Ask(const PromptQuestion &question) {
  std::lock_guard lock(m_mutex);
  m_questions.push_back(question);
  if (!m_answers.empty()) {
    const TModalResult answer = m_answers.front();
    m_answers.pop_front();
    return answer;
  }
  if (m_default != mrNone)
    return m_default;
  return ResultOfButton(DefaultButtonOf(question));
}

void FakePrompt::PushAnswer(TModalResult answer) {
  std::lock_guard lock(m_mutex);
  m_answers.push_back(answer);
}

void FakePrompt::SetDefaultAnswer(TModalResult answer) {
  std::lock_guard lock(m_mutex);
  m_default = answer;
}

std::vector<PromptQuestion> FakePrompt::Questions() const {
  std::lock_guard lock(m_mutex);
  return m_questions;
}

std::size_t FakePrompt::QuestionCount() const {
  std::lock_guard lock(m_mutex);
  return m_questions.size();
}

void FakePrompt::Clear() {
  std::lock_guard lock(m_mutex);
  m_questions.clear();
  m_answers.clear();
  m_default = mrNone;
}

Prompt &AppPrompt() { return *g_prompt.load(); }

void SetAppPrompt(Prompt *prompt) { g_prompt.store(prompt ? prompt : &g_qtPrompt); }

TModalResult MessageDlg(const std::string &text, const std::string &caption, TMsgDlgType icon,
                        TMsgDlgButtons buttons, TMsgDlgButtons defaultButton) {
  return AppPrompt().Ask(PromptQuestion{text, caption, icon, buttons, defaultButton});
}

void ShowMessage(const std::string &text) {
  MessageDlg(text, QCoreApplication::applicationName().toStdString(), mtInformation, mbOK);
}
