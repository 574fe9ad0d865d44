#pragma once
// In-process drag and drop between the program's own controls (a column
// title dragged within a grid or onto another grid).
//
// A control that takes part implements TDragControl. Its BeginDrag starts a
// drag at once or after the mouse has moved a threshold; the manager then
// follows the mouse on the window thread: the source's DoStartDrag may supply
// a drag object, every control under the mouse is asked DoDragOver (enter,
// move, leave) and answers whether it accepts; releasing the button over an
// accepting control calls its DoDragDrop; the source's DoEndDrag always ends
// the drag, with the target control or null (refused, Esc, or the source
// vanished). A small picture of the drag object follows the cursor; the
// cursor shows whether the control under it accepts.
#include "platform/StringGridTypes.h"

#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <memory>

class QWidget;
class QLabel;

enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };

// What is being dragged. The source control is held weakly: it may be gone
// by the time a target looks at it (Control() is then null).
class TDragObject {
public:
  explicit TDragObject(QWidget *source);
  virtual ~TDragObject();

  QWidget *Control() const { return m_source.data(); }
  // The picture that follows the cursor (none when null) and the point of
  // it that sits under the cursor.
  virtual QPixmap DragImage() const { return m_image; }
  virtual QPoint HotSpot() const { return m_hotSpot; }
  void SetDragImage(const QPixmap &image, const QPoint &hotSpot);
  // Asked at every move: false hides the picture for now.
  virtual bool ShowDragImage() const { return true; }

private:
  QPointer<QWidget> m_source;
  QPixmap m_image;
  QPoint m_hotSpot;
};

// A control that can start drags or take drops. Coordinates are those of
// DragClient() (a scroll area's viewport, for example).
class TDragControl {
public:
  virtual ~TDragControl();

  virtual QWidget *DragClient() = 0;
  // The drag starts: the source may put its own object into obj; otherwise a
  // plain TDragObject of the source is used.
  virtual void DoStartDrag(std::unique_ptr<TDragObject> &obj) { (void)obj; }
  // Returns whether a drop here would be taken.
  virtual bool DoDragOver(TDragObject &source, int x, int y, TDragState state) {
    (void)source, (void)x, (void)y, (void)state;
    return false;
  }
  virtual void DoDragDrop(TDragObject &source, int x, int y) { (void)source, (void)x, (void)y; }
  // The drag is over; target is the control that took the drop, or null.
  virtual void DoEndDrag(QWidget *target, int x, int y) { (void)target, (void)x, (void)y; }
};

// The one drag of the application. Window thread only.
class TDragManager {
public:
  static TDragManager &Instance();

  // Starts a drag from source (the left button is expected to be down) with
  // the mouse at global (screen) position at. Immediate: the drag begins now.
  // Otherwise it begins once the mouse has moved threshold pixels (negative:
  // kDefaultThreshold) across or down from there; releasing the button before
  // that ends the attempt without any event. Returns false when a drag is
  // already running or source is no widget.
  bool BeginDrag(TDragControl &source, bool immediate, int threshold, const QPoint &at);
  // Ends the running drag (or attempt) as Esc does.
  void CancelDrag();
  // A control is being destroyed: it takes no further part in the drag (a
  // drag from it ends without events to it).
  void Forget(const TDragControl &c);

  // A drag (not a pending attempt) is running.
  bool Dragging() const { return m_state == State::Dragging; }
  // The running drag, or the pending attempt, started from this control.
  bool IsSource(const TDragControl &c) const;
  // The running drag's object (null when none).
  TDragObject *DragObject() const { return m_object.get(); }
  // The control the mouse is over and whether it accepts (null when none).
  QWidget *CurrentTarget() const { return m_target.data(); }
  bool Accepted() const { return m_accepted; }
  // The widget showing the drag image (for tests), null when none.
  QWidget *ImageWindow() const;

  // Pixels the mouse must travel before a pending drag begins, by default.
  static constexpr int kDefaultThreshold = 5;

private:
  TDragManager();
  ~TDragManager();
  class Filter;
  friend class Filter;
  enum class State { Idle, Pending, Dragging };

  bool HandleMouseMove(const QPoint &global);
  bool HandleRelease(const QPoint &global);
  void StartNow(const QPoint &global);
  void MoveTo(const QPoint &global);
  void Finish(bool drop, const QPoint &global);
  void Reset();
  void UpdateImage(const QPoint &global);
  TDragControl *ControlAt(const QPoint &global, QWidget **widget) const;
  static TDragControl *AsControl(QWidget *w);
  void SetCursorShape(bool accept);

  State m_state = State::Idle;
  QPointer<QWidget> m_sourceWidget;
  TDragControl *m_source = nullptr; // valid while m_sourceWidget is alive
  QPoint m_startGlobal;
  int m_threshold = kDefaultThreshold;
  std::unique_ptr<TDragObject> m_object;
  QPointer<QWidget> m_target;
  TDragControl *m_targetControl = nullptr; // valid while m_target is alive
  bool m_accepted = false;
  bool m_cursorSet = false;
  QPoint m_lastGlobal;
  Filter *m_filter = nullptr;
  QLabel *m_image = nullptr;
};
