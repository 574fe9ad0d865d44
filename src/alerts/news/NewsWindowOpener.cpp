#include "alerts/news/NewsWindowOpener.h"

#include "alerts/news/NewsForm.h"

TfrmNews *NewsWindow() { return TfrmNews::Instance(); }

TfrmNews *OpenNewsWindow(const std::string &symbol) {
  if (TfrmNews *window = TfrmNews::Instance()) {
    window->ShowSymbol(symbol);
    window->show();
    if (window->isMinimized())
      window->showNormal();
    window->raise();
    window->activateWindow();
    return window;
  }
  auto *window = new TfrmNews(nullptr);
  window->show();
  window->raise();
  window->activateWindow();
  window->ShowSymbol(symbol);
  return window;
}
