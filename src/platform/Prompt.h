#pragma once
#include <deque>
#include <mutex>
#include <string>
#include <vector>

// Message boxes. Code asks AppPrompt() (or MessageDlg), so that tests can install a
// FakePrompt with scripted answers.

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons are bits, so that sets are written mbYes | mbNo.
enum TMsgDlgBtn : unsigned {
  mbYes = 0x001,
  mbNo = 0x002,
  mbOK = 0x004,
  mbCancel = 0x008,
  mbAbort = 0x010,
  mbRetry = 0x020,
  mbIgnore = 0x040,
  mbAll = 0x080,
  mbNoToAll = 0x100,
  mbYesToAll = 0x200,
  mbClose = 0x400,
};
using TMsgDlgButtons = unsigned;

inline constexpr TMsgDlgButtons mbYesNo = mbYes | mbNo;
inline constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
inline constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;
inline constexpr TMsgDlgButtons mbAbortRetryIgnore = mbAbort | mbRetry | mbIgnore;
inline constexpr TMsgDlgButtons mbRetryCancel = mbRetry | mbCancel;
inline constexpr TMsgDlgButtons mbYesAllNoAllCancel =
    mbYes | mbYesToAll | mbNo | mbNoToAll | mbCancel;

// The button pressed. The numbers are the classic dialog results (1 OK .. 7 No).
enum TModalResult {
  mrNone = 0,
  mrOk = 1,
  mrCancel = 2,
  mrAbort = 3,
  mrRetry = 4,
  mrIgnore = 5,
  mrYes = 6,
  mrNo = 7,
  mrAll = 8,
  mrNoToAll = 9,
  mrYesToAll = 10,
  mrClose = 11,
};

struct PromptQuestion {
  std::string text; // line breaks as "\n" or "\r\n"
  std::string caption;
  TMsgDlgType icon = mtInformation;
  TMsgDlgButtons buttons = mbOK;    // no buttons counts as mbOK
  TMsgDlgButtons defaultButton = 0; // one button; 0 or a button not offered: the first

  bool operator==(const PromptQuestion &) const = default;
};

// The result of pressing one button.
TModalResult ResultOfButton(TMsgDlgBtn button);
// The button that Enter presses: the question's default when offered, else the first
// offered in the order OK, Yes, Yes to All, All, Abort, Retry, No, No to All, Ignore,
// Cancel, Close.
TMsgDlgBtn DefaultButtonOf(const PromptQuestion &question);

class Prompt {
public:
  virtual ~Prompt() = default;
  // Shows the question and returns the button pressed. Window thread only.
  virtual TModalResult Ask(const PromptQuestion &question) = 0;
};

// Modal message boxes over the application's main window.
class QtPrompt final : public Prompt {
public:
  TModalResult Ask(const PromptQuestion &question) override;
};

// Records every question and answers from a script: queued answers first, then the
// default answer (mrNone as the default answer presses the question's default button).
class FakePrompt final : public Prompt {
public:
  TModalResult Ask(const PromptQuestion &question) override;

  void PushAnswer(TModalResult answer);
  void SetDefaultAnswer(TModalResult answer);
  std::vector<PromptQuestion> Questions() const;
  std::size_t QuestionCount() const;
  void Clear();

private:
  mutable std::mutex m_mutex;
  std::deque<TModalResult> m_answers;
  TModalResult m_default = mrNone;
  std::vector<PromptQuestion> m_questions;
};

// The prompt in use; QtPrompt unless a test installed another.
Prompt &AppPrompt();
// Installs a prompt (nullptr restores the real one). The caller keeps ownership.
void SetAppPrompt(Prompt *prompt);

// Asks through AppPrompt().
TModalResult MessageDlg(const std::string &text, const std::string &caption, TMsgDlgType icon,
                        TMsgDlgButtons buttons, TMsgDlgButtons defaultButton = 0);
// An information box with an OK button, captioned with the application's name.
void ShowMessage(const std::string &text);
