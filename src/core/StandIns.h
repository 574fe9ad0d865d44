#pragma once
#include <QDialog>
#include <QList>
#include <QPoint>
#include <QRect>

#include <functional>
#include <string>

class QWidget;

// Small services of other subsystems, in the least form the windows need.

// The common key handler of the forms (hot keys that open shared windows).
// Does nothing until the main window installs a handler.
void HandleGlobalKeys(int key, Qt::KeyboardModifiers shift);
void SetGlobalKeyHandler(std::function<void(int key, Qt::KeyboardModifiers shift)> handler);

// The help file of the branding file; there is none.
std::string GetHelpFileName();

// The common base of several windows: a top-level dialog owned by owner.
// Create makes a form of a derived class: auto* dlg = TButtonForm::Create<TAlertDlg>(owner);
class TButtonForm : public QDialog {
  Q_OBJECT
public:
  explicit TButtonForm(QWidget *owner = nullptr);
  template <class Form> static Form *Create(QWidget *owner) { return new Form(owner); }
};

// Moves a window that lies on no screen back onto the primary screen.
void EnsureFormVisible(QWidget *form);
// The position for a window frame: unchanged when the frame meets one of the
// screens' available areas, else the frame centred on primary (top-left kept
// inside it). Pure, for tests.
QPoint VisibleFramePosition(const QRect &frame, const QList<QRect> &screens, const QRect &primary);

// Deletes an object and clears the pointer; errors are swallowed.
template <class T> void SafeFree(T *&object) {
  T *doomed = object;
  object = nullptr;
  try {
    delete doomed;
  } catch (...) {
  }
}

// The display name of an index symbol: the symbol itself.
std::string GetIndexDisplayName(const std::string &symbol);

// Drawing options of a banner GIF; the image component's defaults are used.
template <class Gif> void AdjustGifDrawOptions(Gif * /*gif*/) {}
