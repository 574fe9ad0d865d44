#pragma once

class QWidget;

// The application's main window, for services that act on it (window flash, the
// parent of message boxes). Window thread only.
void SetAppMainWindow(QWidget *window);
// The window set with SetAppMainWindow while it exists; otherwise the first top-level
// main window of the application; null when there is none.
QWidget *AppMainWindow();
