// SPDX-License-Identifier: MIT
// The browser page of the main window: tells the window about every navigation before it
// happens (so the window can cancel it and show something of its own), and takes pages from
// memory, through setHtml, or, above setHtml's 2 MB limit, from a scheme served from memory.
//
//   RegisterBrowserSchemes();            // before the QApplication exists
//   TBrowserPage page(view);
//   page.ShowOwn(html);                  // navigations of ShowOwn arrive with ownLoad set
#pragma once

#include <QByteArray>
#include <QWebEnginePage>
#include <QWebEngineUrlSchemeHandler>
#include <functional>
#include <map>

// The scheme of pages served from memory.
inline constexpr char kPageScheme[] = "beugwerk-page";
// A Windows path such as "C:\xxx\Beugwerk.htm" reads as an address of the scheme "c"; known to
// the browser, its navigations reach the window instead of the desktop's URL handlers.
inline constexpr char kDriveScheme[] = "c";
void RegisterBrowserSchemes();

// Serves the pages handed to it; keeps the latest few so that back and forward still find them.
class TMemoryPageHandler : public QWebEngineUrlSchemeHandler {
  Q_OBJECT

 public:
  using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
  QUrl Add(const QByteArray& utf8);
  void requestStarted(QWebEngineUrlRequestJob* job) override;

 private:
  static constexpr int kKept = 20;
  std::map<int, QByteArray> FPages;
  int FNext = 1;
};

// Serves addresses of the drive scheme from what the owner provides (empty: not found).
class TDriveHandler : public QWebEngineUrlSchemeHandler {
  Q_OBJECT

 public:
  using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
  void requestStarted(QWebEngineUrlRequestJob* job) override;
  std::function<QByteArray(const QUrl& url)> Provide;
};

class TBrowserPage : public QWebEnginePage {
  Q_OBJECT

 public:
  explicit TBrowserPage(QObject* parent);
  // Shows the page as if it came from baseUrl (relative links resolve there); any size.
  void ShowOwn(const QString& html, const QUrl& baseUrl);

  // Called for every navigation request: return false to cancel it. ownLoad is set for the
  // loads ShowOwn started.
  std::function<bool(const QUrl& url, bool isMainFrame, bool ownLoad)> OnNavigation;
  // The page a "c:" address shows when the browser loads it without asking first (UTF-8).
  void SetDriveProvider(std::function<QByteArray(const QUrl& url)> provide);

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

 private:
  int FOwnLoads = 0;
};
