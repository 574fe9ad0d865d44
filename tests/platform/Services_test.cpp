// The small desktop services: clipboard, URL opener, window flash, embedded browser,
// uncaught-error handler and the main-window registry.
#include "platform/AppWindow.h"
#include "platform/Clipboard.h"
#include "platform/EmbeddedBrowser.h"
#include "platform/OpenUrl.h"
#include "platform/UncaughtError.h"
#include "platform/WindowFlash.h"

#include <QMainWindow>
#include <gtest/gtest.h>
#include <utility>

namespace {

TEST(Clipboard, FakeKeepsTheText) {
  FakeClipboard fake;
  SetAppClipboard(&fake);
  AppClipboard().SetText("http://example.com/news/1");
  EXPECT_EQ(fake.Text(), "http://example.com/news/1");
  SetAppClipboard(nullptr);
  EXPECT_NE(dynamic_cast<QtClipboard *>(&AppClipboard()), nullptr);
}

TEST(Clipboard, RealClipboardRoundTrip) {
  QtClipboard clipboard;
  clipboard.SetText("IBM 105.50");
  EXPECT_EQ(clipboard.Text(), "IBM 105.50");
}

TEST(OpenUrl, GoesThroughTheInstalledOpener) {
  FakeUrlOpener fake;
  SetAppUrlOpener(&fake);
  EXPECT_TRUE(OpenURL("http://example.com/a"));
  EXPECT_FALSE(OpenURL("  "));
  fake.SetFail(true);
  EXPECT_FALSE(OpenURL("http://example.com/b"));
  SetAppUrlOpener(nullptr);
  EXPECT_EQ(fake.Opened(),
            (std::vector<std::string>{"http://example.com/a", "  ", "http://example.com/b"}));
}

TEST(OpenUrl, TheDesktopOpenerRefusesABlankAddress) {
  DesktopUrlOpener opener;
  EXPECT_FALSE(opener.Open(""));
  EXPECT_FALSE(opener.Open(" \t"));
}

// Links from outside data open only as web addresses, through one check.
TEST(OpenUrl, OnlyWebLinksAreTaken) {
  const struct {
    const char *link;
    const char *url; // "" when refused
  } cases[] = {
      {"http://news.example/a b", "http://news.example/a b"},
      {"  HTTPS://News.Example/x?a=1&b=2 ", "HTTPS://News.Example/x?a=1&b=2"},
      {"www.example.com/story", "http://www.example.com/story"},
      {"example.com:8080/a", "http://example.com:8080/a"},
      {"file:///etc/passwd", ""},
      {"javascript:alert(1)", ""},
      {"JavaScript:alert(1)", ""},
      {"smb://server/share", ""},
      {"ftp://ftp.example.com/a", ""},
      {"data:text/html,<b>x</b>", ""},
      {"/etc/passwd", ""},
      {"~/notes.txt", ""},
      {"..\\x", ""},
      {"http:///nohost", ""},
      {"http://a.example/\x01", ""},
      {"", ""},
  };
  FakeUrlOpener fake;
  SetAppUrlOpener(&fake);
  std::vector<std::string> expectedOpened;
  for (const auto &c : cases) {
    EXPECT_EQ(WebLinkUrl(c.link), c.url) << c.link;
    EXPECT_EQ(OpenWebLink(c.link), *c.url != 0) << c.link;
    if (*c.url)
      expectedOpened.push_back(c.url);
  }
  SetAppUrlOpener(nullptr);
  EXPECT_EQ(fake.Opened(), expectedOpened);
}

TEST(WindowFlash, FakeRecordsFlashAndRestore) {
  FakeWindowFlash fake;
  SetAppWindowFlash(&fake);
  AppWindowFlash().FlashMainWindow(true);
  AppWindowFlash().FlashMainWindow(false);
  SetAppWindowFlash(nullptr);
  EXPECT_EQ(fake.Calls(), (std::vector<bool>{true, false}));
}

TEST(WindowFlash, RealFlashCopesWithAndWithoutAMainWindow) {
  QtWindowFlash flash;
  flash.FlashMainWindow(true); // no main window yet
  QMainWindow window;
  SetAppMainWindow(&window);
  flash.FlashMainWindow(true);
  flash.FlashMainWindow(false);
  SetAppMainWindow(nullptr);
}

TEST(AppWindow, ForgetsADestroyedWindow) {
  auto window = std::make_unique<QMainWindow>();
  SetAppMainWindow(window.get());
  EXPECT_EQ(AppMainWindow(), window.get());
  window.reset();
  EXPECT_EQ(AppMainWindow(), nullptr);
  SetAppMainWindow(nullptr);
}

TEST(AppWindow, FallsBackToTheFirstMainWindow) {
  QMainWindow window;
  EXPECT_EQ(AppMainWindow(), &window);
}

TEST(EmbeddedBrowser, NoneIsAvailableByDefault) {
  EXPECT_FALSE(EmbeddedBrowserAvailable());
  std::unique_ptr<EmbeddedBrowser> browser = CreateEmbeddedBrowser(nullptr);
  ASSERT_NE(browser, nullptr);
  EXPECT_FALSE(browser->Available());
  EXPECT_EQ(browser->Widget(), nullptr);
  browser->Navigate("http://example.com");
  EXPECT_FALSE(browser->HasDocument());
  EXPECT_FALSE(browser->Busy());
}

TEST(EmbeddedBrowser, AnInstalledFactoryIsUsed) {
  SetEmbeddedBrowserFactory([](QWidget *) -> std::unique_ptr<EmbeddedBrowser> {
    return std::make_unique<FakeEmbeddedBrowser>();
  });
  EXPECT_TRUE(EmbeddedBrowserAvailable());
  EXPECT_TRUE(CreateEmbeddedBrowser(nullptr)->Available());
  SetEmbeddedBrowserFactory(nullptr);
  EXPECT_FALSE(EmbeddedBrowserAvailable());
}

TEST(EmbeddedBrowser, FakeRaisesNavigationAndCommandStateEvents) {
  FakeEmbeddedBrowser browser;
  std::vector<std::string> completed;
  std::vector<std::pair<int, bool>> states;
  browser.OnNavigateComplete = [&](const std::string &url) { completed.push_back(url); };
  browser.OnCommandStateChange = [&](int command, bool enable) {
    states.emplace_back(command, enable);
  };
  browser.Navigate("http://a");
  EXPECT_TRUE(browser.Busy());
  EXPECT_FALSE(browser.HasDocument());
  browser.FinishNavigation();
  browser.Navigate("http://b");
  browser.FinishNavigation();
  browser.GoBack();
  browser.FinishNavigation();
  EXPECT_EQ(browser.LocationURL(), "http://a");
  EXPECT_EQ(completed, (std::vector<std::string>{"http://a", "http://b", "http://a"}));
  const std::vector<std::pair<int, bool>> expected{
      {bcNavigateForward, false}, {bcNavigateBack, false}, // at a
      {bcNavigateForward, false}, {bcNavigateBack, true},  // at b
      {bcNavigateForward, true},  {bcNavigateBack, false}, // back at a
  };
  EXPECT_EQ(states, expected);
}

TEST(UncaughtError, AFailingHandlerDoesNotPropagate) {
  SetUncaughtErrorHandler([](const std::string &) { throw std::runtime_error("log full"); });
  EXPECT_NO_THROW(ReportUncaughtError("something"));
  SetUncaughtErrorHandler(nullptr);
}

} // namespace
