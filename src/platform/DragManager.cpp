#include "platform/DragManager.h"

#include "platform/UncaughtError.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QWidget>
#include <cstdlib>
#include <exception>

namespace {
constexpr double kImageOpacity = 0.7;
} // namespace

// ---- TDragObject -------------------------------------------------------------

TDragObject::TDragObject(QWidget *source) : m_source(source) {}

TDragObject::~TDragObject() = default;

void TDragObject::SetDragImage(const QPixmap &image, const QPoint &hotSpot) {
  m_image = image;
  m_hotSpot = hotSpot;
}

TDragControl::~TDragControl() { TDragManager::Instance().Forget(*this); }

// ---- Event filter --------------------------------------------------------------

// Follows the mouse and Esc application-wide while a drag or attempt runs.
class TDragManager::Filter : public QObject {
public:
  explicit Filter(TDragManager &m) : m_manager(m) {}

protected:
  bool eventFilter(QObject *watched, QEvent *e) override {
    (void)watched;
    switch (e->type()) {
    case QEvent::MouseMove:
      return m_manager.HandleMouseMove(static_cast<QMouseEvent *>(e)->globalPosition().toPoint());
    case QEvent::MouseButtonRelease:
      return m_manager.HandleRelease(static_cast<QMouseEvent *>(e)->globalPosition().toPoint());
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      return m_manager.Dragging();
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
      if (static_cast<QKeyEvent *>(e)->key() == Qt::Key_Escape) {
        // Before the drag has begun, Esc only drops the attempt and goes on.
        const bool dragging = m_manager.Dragging();
        if (e->type() == QEvent::KeyPress)
          m_manager.CancelDrag();
        else if (dragging)
          e->accept();
        return dragging;
      }
      return false;
    default:
      return false;
    }
  }

private:
  TDragManager &m_manager;
};

// ---- TDragManager ----------------------------------------------------------------

TDragManager &TDragManager::Instance() {
  // Never destroyed: it may hold widgets, which must not outlive the
  // application object in a static destructor.
  static TDragManager *instance = new TDragManager;
  return *instance;
}

TDragManager::TDragManager() = default;
TDragManager::~TDragManager() = default;

bool TDragManager::IsSource(const TDragControl &c) const {
  return m_state != State::Idle && m_source == &c;
}

QWidget *TDragManager::ImageWindow() const { return m_image; }

TDragControl *TDragManager::AsControl(QWidget *w) {
  for (; w; w = w->parentWidget())
    if (auto *c = dynamic_cast<TDragControl *>(w))
      return c;
  return nullptr;
}

bool TDragManager::BeginDrag(TDragControl &source, bool immediate, int threshold,
                             const QPoint &at) {
  auto *widget = dynamic_cast<QWidget *>(&source);
  if (m_state != State::Idle || !widget || !qApp)
    return false;
  m_sourceWidget = widget;
  m_source = &source;
  m_startGlobal = at;
  m_lastGlobal = at;
  m_threshold = threshold < 0 ? kDefaultThreshold : threshold;
  m_filter = new Filter(*this);
  qApp->installEventFilter(m_filter);
  m_state = State::Pending;
  if (immediate)
    StartNow(at);
  return true;
}

bool TDragManager::HandleMouseMove(const QPoint &global) {
  if (m_state == State::Pending) {
    if (!m_sourceWidget) {
      Reset();
      return false;
    }
    if (std::abs(global.x() - m_startGlobal.x()) >= m_threshold ||
        std::abs(global.y() - m_startGlobal.y()) >= m_threshold) {
      StartNow(global);
      return true;
    }
    return false;
  }
  if (m_state == State::Dragging) {
    MoveTo(global);
    return true;
  }
  return false;
}

bool TDragManager::HandleRelease(const QPoint &global) {
  if (m_state == State::Pending) {
    // Released before the drag began: an ordinary click.
    Reset();
    return false;
  }
  if (m_state == State::Dragging) {
    Finish(true, global);
    return true;
  }
  return false;
}

void TDragManager::StartNow(const QPoint &global) {
  m_state = State::Dragging;
  std::unique_ptr<TDragObject> obj;
  RunReportingErrors("StartDrag", [&] { m_source->DoStartDrag(obj); });
  if (!m_sourceWidget) { // the handler destroyed its own control
    Reset();
    return;
  }
  m_object = obj ? std::move(obj) : std::make_unique<TDragObject>(m_sourceWidget.data());

  const QPixmap pix = m_object->DragImage();
  if (!pix.isNull()) {
    m_image = new QLabel(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                                      Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus);
    m_image->setObjectName(QStringLiteral("dragImage"));
    m_image->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_image->setAttribute(Qt::WA_ShowWithoutActivating);
    m_image->setPixmap(pix);
    m_image->resize(pix.size());
    m_image->setWindowOpacity(kImageOpacity);
  }
  QGuiApplication::setOverrideCursor(QCursor(Qt::ForbiddenCursor));
  m_cursorSet = true;
  MoveTo(global);
}

void TDragManager::UpdateImage(const QPoint &global) {
  if (!m_image || !m_object)
    return;
  if (m_object->ShowDragImage()) {
    m_image->move(global - m_object->HotSpot());
    if (!m_image->isVisible())
      m_image->show();
  } else if (m_image->isVisible()) {
    m_image->hide();
  }
}

TDragControl *TDragManager::ControlAt(const QPoint &global, QWidget **widget) const {
  QWidget *w = QApplication::widgetAt(global);
  if (w && m_image && (w == m_image || m_image->isAncestorOf(w)))
    w = nullptr;
  if (!w) {
    // The picture may cover the cursor: look beneath it by geometry.
    const auto tops = QApplication::topLevelWidgets();
    for (QWidget *top : tops) {
      if (top == m_image || !top->isVisible() || !top->geometry().contains(global))
        continue;
      w = top->childAt(top->mapFromGlobal(global));
      if (!w)
        w = top;
      if (top == QApplication::activeWindow())
        break;
    }
  }
  TDragControl *c = AsControl(w);
  *widget = c ? dynamic_cast<QWidget *>(c) : nullptr;
  return c;
}

void TDragManager::SetCursorShape(bool accept) {
  if (m_cursorSet)
    QGuiApplication::changeOverrideCursor(
        QCursor(accept ? Qt::DragMoveCursor : Qt::ForbiddenCursor));
}

void TDragManager::MoveTo(const QPoint &global) {
  m_lastGlobal = global;
  if (!m_sourceWidget) {
    CancelDrag();
    return;
  }
  UpdateImage(global);
  QWidget *w = nullptr;
  TDragControl *c = ControlAt(global, &w);
  if (m_target && w != m_target.data()) {
    QWidget *oldW = m_target.data();
    TDragControl *old = m_targetControl;
    m_target = nullptr;
    m_targetControl = nullptr;
    const QPoint p = old->DragClient()->mapFromGlobal(global);
    RunReportingErrors("DragOver", [&] { old->DoDragOver(*m_object, p.x(), p.y(), dsDragLeave); });
    (void)oldW;
  }
  if (m_state != State::Dragging)
    return; // a handler ended the drag
  bool accept = false;
  if (c) {
    const TDragState st = (w == m_target.data()) ? dsDragMove : dsDragEnter;
    m_target = w;
    m_targetControl = c;
    const QPoint p = c->DragClient()->mapFromGlobal(global);
    RunReportingErrors("DragOver", [&] { accept = c->DoDragOver(*m_object, p.x(), p.y(), st); });
    if (!m_target || m_state != State::Dragging) {
      m_accepted = false;
      return;
    }
  }
  m_accepted = accept;
  SetCursorShape(accept);
  UpdateImage(global);
}

void TDragManager::Forget(const TDragControl &c) {
  if (m_state == State::Idle)
    return;
  // Its handlers are gone already: no event reaches it any more.
  if (m_targetControl == &c) {
    m_target = nullptr;
    m_targetControl = nullptr;
    m_accepted = false;
  }
  if (m_source == &c) {
    m_source = nullptr;
    m_sourceWidget = nullptr;
    CancelDrag();
  }
}

void TDragManager::CancelDrag() {
  if (m_state == State::Pending) {
    Reset();
    return;
  }
  if (m_state == State::Dragging)
    Finish(false, m_lastGlobal);
}

void TDragManager::Finish(bool drop, const QPoint &global) {
  if (drop && global != m_lastGlobal)
    MoveTo(global);
  if (m_state != State::Dragging)
    return;
  // From here on nested events find no drag.
  m_state = State::Idle;
  if (m_filter) {
    qApp->removeEventFilter(m_filter);
    m_filter->deleteLater();
    m_filter = nullptr;
  }
  if (m_image)
    m_image->hide();

  QWidget *taker = nullptr;
  if (m_target && m_targetControl) {
    TDragControl *t = m_targetControl;
    const QPoint p = t->DragClient()->mapFromGlobal(m_lastGlobal);
    if (drop && m_accepted) {
      taker = m_target.data();
      RunReportingErrors("DragDrop", [&] { t->DoDragDrop(*m_object, p.x(), p.y()); });
    } else {
      RunReportingErrors("DragOver", [&] { t->DoDragOver(*m_object, p.x(), p.y(), dsDragLeave); });
    }
  }
  if (m_sourceWidget && m_source) {
    TDragControl *s = m_source;
    const QPoint p = s->DragClient()->mapFromGlobal(m_lastGlobal);
    QPointer<QWidget> takerP(taker);
    RunReportingErrors("EndDrag", [&] { s->DoEndDrag(takerP.data(), p.x(), p.y()); });
  }
  Reset();
}

void TDragManager::Reset() {
  m_state = State::Idle;
  if (m_filter) {
    qApp->removeEventFilter(m_filter);
    m_filter->deleteLater();
    m_filter = nullptr;
  }
  if (m_image) {
    m_image->hide();
    m_image->deleteLater();
    m_image = nullptr;
  }
  if (m_cursorSet) {
    QGuiApplication::restoreOverrideCursor();
    m_cursorSet = false;
  }
  m_object.reset();
  m_target = nullptr;
  m_targetControl = nullptr;
  m_sourceWidget = nullptr;
  m_source = nullptr;
  m_accepted = false;
}
