#pragma once
// The parameter controls of the alert editor, created at run time inside its
// parameter panel for one alert type (ParamFieldSpecs) and reached by tag as
// texts (TParamFieldAccess). Each control is named "Field" + its tag.
#include "alerts/pages/AlertParamFields.h"

#include <QObject>

#include <functional>
#include <vector>

class QButtonGroup;
class QWidget;
class TUpDown;

class TAlertParamControls : public QObject, public TParamFieldAccess {
  Q_OBJECT

public:
  // Rows start at top; they are centred across the panel's width.
  TAlertParamControls(QWidget *panel, int top);
  ~TAlertParamControls() override;

  // ---- What the editor hears (not while controls are made or removed)
  std::function<void(int tag)> OnEditChange; // a typed change in an edit
  std::function<void(int tag)> OnFieldExit;  // an edit left, a check box or radio clicked,
                                             // the comparison list changed
  std::function<void()> OnColumnChange;      // the column list changed
  // An up-down asks to move to newValue (it keeps its position when allow is false).
  std::function<void(int upDownTag, int newValue, bool &allow)> OnUpDownChanging;

  // Makes and places the controls of the alert type (removing those shown).
  void Create(int alertType);
  // Hides and frees every created control, last first.
  void Remove();
  int Count() const { return int(m_controls.size()); }
  QWidget *Control(int tag) const;
  TUpDown *UpDown(int tag) const;

  std::string GetField(int tag) const override;
  void SetField(int tag, const std::string &text) override;

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  struct Created {
    int tag;
    TParamControlKind kind;
    QWidget *widget;
  };
  const Created *Find(int tag) const;
  void Place(const std::vector<TParamFieldSpec> &specs);

  QWidget *m_panel;
  int m_top;
  // The radio buttons are one group of their own: plain auto-exclusive
  // buttons would also exclude the editor's other radio buttons.
  QButtonGroup *m_radios;
  std::vector<Created> m_controls; // creation order
  bool m_quiet = false;            // no callbacks while controls are made or removed
};
