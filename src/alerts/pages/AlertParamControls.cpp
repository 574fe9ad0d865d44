#include "alerts/pages/AlertParamControls.h"

#include "alerts/AlertNames.h"
#include "alerts/pages/UpDown.h"
#include "platform/Format.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <algorithm>

namespace {

constexpr int ControlGap = 4;
constexpr int RowGap = 4;
constexpr int CheckExtra = 24; // the box or circle before a caption
constexpr int EditExtra = 10;  // frame and margins of an edit
constexpr int ComboExtra = 22; // frame and arrow of a list

QString Q(const std::string &text) { return QString::fromStdString(text); }

} // namespace

TAlertParamControls::TAlertParamControls(QWidget *panel, int top)
    : QObject(panel), m_panel(panel), m_top(top), m_radios(new QButtonGroup(this)) {}

TAlertParamControls::~TAlertParamControls() = default;

const TAlertParamControls::Created *TAlertParamControls::Find(int tag) const {
  for (const Created &c : m_controls)
    if (c.tag == tag)
      return &c;
  return nullptr;
}

QWidget *TAlertParamControls::Control(int tag) const {
  const Created *c = Find(tag);
  return c ? c->widget : nullptr;
}

TUpDown *TAlertParamControls::UpDown(int tag) const {
  const Created *c = Find(tag);
  return c && c->kind == TParamControlKind::UpDown ? static_cast<TUpDown *>(c->widget) : nullptr;
}

void TAlertParamControls::Remove() {
  m_quiet = true;
  while (!m_controls.empty()) {
    QWidget *widget = m_controls.back().widget;
    m_controls.pop_back();
    widget->hide();
    delete widget;
  }
  m_quiet = false;
}

void TAlertParamControls::Create(int alertType) {
  Remove();
  m_quiet = true;
  const std::vector<TParamFieldSpec> specs = ParamFieldSpecs(alertType);
  for (const TParamFieldSpec &spec : specs) {
    QWidget *widget = nullptr;
    const int tag = spec.Tag;
    switch (spec.Kind) {
    case TParamControlKind::Label:
      widget = new QLabel(Q(spec.Caption), m_panel);
      break;
    case TParamControlKind::Edit: {
      auto *edit = new QLineEdit(m_panel);
      connect(edit, &QLineEdit::textEdited, this, [this, tag] {
        if (!m_quiet && OnEditChange)
          OnEditChange(tag);
      });
      connect(edit, &QLineEdit::editingFinished, this, [this, tag] {
        if (!m_quiet && OnFieldExit)
          OnFieldExit(tag);
      });
      edit->installEventFilter(this);
      widget = edit;
      break;
    }
    case TParamControlKind::UpDown: {
      auto *upDown = new TUpDown(m_panel);
      upDown->Changing = [this, tag](int newValue, bool &allow) {
        if (!m_quiet && OnUpDownChanging)
          OnUpDownChanging(tag, newValue, allow);
      };
      widget = upDown;
      break;
    }
    case TParamControlKind::RadioButton:
    case TParamControlKind::CheckBox: {
      QAbstractButton *button = spec.Kind == TParamControlKind::CheckBox
                                    ? static_cast<QAbstractButton *>(new QCheckBox(m_panel))
                                    : new QRadioButton(m_panel);
      button->setText(Q(spec.Caption));
      if (spec.Kind == TParamControlKind::RadioButton)
        m_radios->addButton(button);
      connect(button, &QAbstractButton::clicked, this, [this, tag] {
        if (!m_quiet && OnFieldExit)
          OnFieldExit(tag);
      });
      widget = button;
      break;
    }
    case TParamControlKind::ComboBox: {
      auto *combo = new QComboBox(m_panel);
      for (const std::string &item : spec.Items)
        combo->addItem(Q(item));
      const bool columnList = alertType == AlertTypeColumn && tag == ParamTagColumnList;
      connect(combo, &QComboBox::activated, this, [this, tag, columnList] {
        if (m_quiet)
          return;
        if (columnList) {
          if (OnColumnChange)
            OnColumnChange();
        } else if (OnFieldExit) {
          OnFieldExit(tag);
        }
      });
      widget = combo;
      break;
    }
    }
    widget->setObjectName(QStringLiteral("Field%1").arg(tag));
    widget->setProperty("tag", tag);
    m_controls.push_back({tag, spec.Kind, widget});
  }
  Place(specs);
  for (const Created &c : m_controls)
    c.widget->show();
  m_quiet = false;
}

void TAlertParamControls::Place(const std::vector<TParamFieldSpec> &specs) {
  const QFontMetrics fm(m_panel->font());
  const int editHeight = QLineEdit().sizeHint().height();
  std::vector<QSize> sizes;
  for (std::size_t i = 0; i < specs.size(); ++i) {
    const TParamFieldSpec &spec = specs[i];
    QWidget *w = m_controls[i].widget;
    int width = 0;
    int height = w->sizeHint().height();
    switch (spec.Kind) {
    case TParamControlKind::Label:
      width = fm.horizontalAdvance(Q(spec.Caption));
      height = fm.height();
      break;
    case TParamControlKind::Edit:
      width = fm.horizontalAdvance(Q(spec.WidthTemplate)) + EditExtra;
      height = editHeight;
      break;
    case TParamControlKind::ComboBox:
      width = fm.horizontalAdvance(Q(spec.WidthTemplate)) + ComboExtra;
      break;
    case TParamControlKind::RadioButton:
    case TParamControlKind::CheckBox:
      width = fm.horizontalAdvance(Q(spec.Caption)) + CheckExtra;
      break;
    case TParamControlKind::UpDown:
      width = w->width();
      height = editHeight;
      break;
    }
    sizes.emplace_back(width, height);
  }
  int y = m_top;
  for (std::size_t first = 0; first < specs.size();) {
    std::size_t end = first;
    int rowWidth = 0, rowHeight = 0;
    for (; end < specs.size() && specs[end].Row == specs[first].Row; ++end) {
      // An up-down sits against its edit.
      const bool joined = specs[end].Kind == TParamControlKind::UpDown;
      rowWidth += sizes[end].width() + (end > first && !joined ? ControlGap : 0);
      rowHeight = std::max(rowHeight, sizes[end].height());
    }
    int x = std::max(0, (m_panel->width() - rowWidth) / 2);
    for (std::size_t i = first; i < end; ++i) {
      if (i > first && specs[i].Kind != TParamControlKind::UpDown)
        x += ControlGap;
      const int top = y + (rowHeight - sizes[i].height()) / 2;
      m_controls[i].widget->setGeometry(x, top, sizes[i].width(), sizes[i].height());
      x += sizes[i].width();
    }
    y += rowHeight + RowGap;
    first = end;
  }
}

std::string TAlertParamControls::GetField(int tag) const {
  const Created *c = Find(tag);
  if (!c)
    return "";
  switch (c->kind) {
  case TParamControlKind::Edit:
    return static_cast<QLineEdit *>(c->widget)->text().toStdString();
  case TParamControlKind::UpDown:
    return IntToStr(static_cast<TUpDown *>(c->widget)->Position());
  case TParamControlKind::RadioButton:
  case TParamControlKind::CheckBox:
    return static_cast<QAbstractButton *>(c->widget)->isChecked() ? "1" : "0";
  case TParamControlKind::ComboBox:
    return IntToStr(static_cast<QComboBox *>(c->widget)->currentIndex());
  case TParamControlKind::Label:
    return "";
  }
  return "";
}

void TAlertParamControls::SetField(int tag, const std::string &text) {
  const Created *c = Find(tag);
  if (!c)
    return;
  if (text == "VIS" || text == "INV") {
    c->widget->setVisible(text == "VIS");
    return;
  }
  if (text == "DIS" || text == "ENA") {
    c->widget->setEnabled(text == "ENA");
    return;
  }
  switch (c->kind) {
  case TParamControlKind::Edit:
    static_cast<QLineEdit *>(c->widget)->setText(Q(text));
    break;
  case TParamControlKind::UpDown:
    static_cast<TUpDown *>(c->widget)->SetPosition(int(StrToIntDef(text, 0)));
    break;
  case TParamControlKind::ComboBox: {
    auto *combo = static_cast<QComboBox *>(c->widget);
    const std::int64_t index = Round(StrToFloatDef(text, -1));
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? int(index) : -1);
    break;
  }
  case TParamControlKind::RadioButton:
  case TParamControlKind::CheckBox: {
    auto *button = static_cast<QAbstractButton *>(c->widget);
    if (text == "1" || !button->group()) {
      button->setChecked(text == "1");
    } else {
      // A radio button can only be unchecked with its group's rule lifted.
      button->group()->setExclusive(false);
      button->setChecked(false);
      button->group()->setExclusive(true);
    }
    break;
  }
  case TParamControlKind::Label:
    break;
  }
}

bool TAlertParamControls::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() != QEvent::KeyPress || m_quiet)
    return QObject::eventFilter(watched, event);
  const int tag = watched->property("tag").toInt();
  TUpDown *upDown = UpDown(tag + ParamUpDownOffset);
  if (!upDown)
    return QObject::eventFilter(watched, event);
  int steps = 0;
  switch (static_cast<QKeyEvent *>(event)->key()) {
  case Qt::Key_Up:
    steps = 1;
    break;
  case Qt::Key_PageUp:
    steps = 10;
    break;
  case Qt::Key_Down:
    steps = -1;
    break;
  case Qt::Key_PageDown:
    steps = -10;
    break;
  default:
    return QObject::eventFilter(watched, event);
  }
  upDown->Click(steps);
  return true;
}
