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

class TBrowserPage : public QWebEnginePage {
  Q_OBJECT

 public:
  explicit TBrowserPage(QObject* parent);
  // Shows the page; UTF-8 of any size.
  void ShowOwn(const QString& html);

  // Called for every navigation request: return false to cancel it. ownLoad is set for the
  // loads ShowOwn started.
  std::function<bool(const QUrl& url, bool isMainFrame, bool ownLoad)> OnNavigation;

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

 private:
  int FOwnLoads = 0;
};
