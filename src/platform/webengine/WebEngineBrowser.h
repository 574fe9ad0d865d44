#pragma once
// The embedded browser on Qt WebEngine: a page view with a find bar under it.
// Built only with TV_WEBENGINE; callers reach it through EmbeddedBrowser.h.
#include "platform/EmbeddedBrowser.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>

class BrowserFindBar;
class QPrinter;
class QWebEngineProfile;
class QWebEngineView;

class TWebEngineBrowser final : public QObject, public EmbeddedBrowser {
  Q_OBJECT

public:
  TWebEngineBrowser(QWidget *parent, QWebEngineProfile *profile);
  ~TWebEngineBrowser() override;

  bool Available() const override { return true; }
  QWidget *Widget() override { return m_frame; }

  void Navigate(const std::string &url) override;
  void GoBack() override;
  void GoForward() override;
  void Stop() override;
  void Refresh() override;
  void Print() override;
  void Find() override;

  bool Busy() const override { return m_busy; }
  bool HasDocument() const override { return m_hasDocument; }
  std::string LocationURL() const override;

private:
  void RaiseCommandStates();
  void PrintToPdf();
  void PrintThroughDialog();

  QPointer<QWidget> m_frame; // owned by the parent window
  QWebEngineView *m_view = nullptr;
  BrowserFindBar *m_findBar = nullptr;
  std::unique_ptr<QPrinter> m_printer; // kept while a print job runs
  bool m_busy = false;
  bool m_hasDocument = false;
};

// Whether the engine can start here: its page process is installed (or named by
// QTWEBENGINE_PROCESS_PATH) and executable.
bool WebEngineCanStart();

// A factory for TWebEngineBrowser; the engine's switches are set and the
// profile (cache and cookies under profileFolder) is made with the first browser.
EmbeddedBrowserFactory WebEngineBrowserFactory(const std::string &profileFolder);
