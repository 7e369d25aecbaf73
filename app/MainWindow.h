// SPDX-License-Identifier: MIT
// The desktop program's main window: the input box with its history, back and forward, the
// embedded browser that shows the result page, the menus (batch full forms, sitemap, zoom,
// orthography, help), and the GenForm service for other programs on the session bus.
//
//   TForm1 w;            // finds the verb lists, creates its verb objects, restores placement
//   w.show();            // the first page follows at once
//   w.SetInputText(u"sich anziehen"); w.GenerateAndShow();
//
// The window holds no grammar: pages come from GetVerbPageHtml, request answers from
// TRequestService, full forms from WriteFullForms.
#pragma once

#include <QMainWindow>
#include <QString>
#include <QUrl>
#include <memory>
#include <optional>
#include <string_view>

#include "app/Request.h"
#include "engine/_ZTVerb.h"
#include "generator/PageAddress.h"

class QAction;
class QActionGroup;
class QLabel;
class QProgressBar;
class QToolButton;
class QWebEngineView;
class THistoryComboBox;
class TGenFormBus;
class TBrowserPage;

// Page zoom levels of the "Ansicht" menu.
enum TZoom { z_smallest, z_small, z_normal, z_large, z_largest };
float ZoomFactor(TZoom z);  // 0.6, 0.8, 1.0, 1.3, 1.8

// The address the built-in help page uses for the article; shown from the resources instead.
inline constexpr std::u16string_view kArticleAddress = u"C:\\xxx\\Beugwerk.htm";
bool IsArticleAddress(const QUrl& url);
bool IsOnlineGeneratorPage(const QUrl& url);
// The phrase of a link to the online generator page ("...verbformen-deutsch.htm?infi=...", on
// any host), read by the server's query parser (UTF-8, else Windows-1252) and trimmed; empty
// when the link is something else or its query is one the server refuses (a broken escape, a
// repeated key, bytes that are no text). The window keeps its own orthography.
QString OnlinePagePhrase(const QUrl& url);
// The whole query of such a link (phrase, orthography, "alle=1"); none when the link is
// something else or its query is one the server refuses.
std::optional<TPageQuery> OnlinePageQuery(const QUrl& url);

// The address pages are shown under, so that links relative to the online pages resolve.
QUrl PageBaseUrl();
// The built-in page (resource name and anchor) that stands for an address of the online help or
// article; no name for any other address.
struct TBuiltInPage {
  std::string_view name;
  QString fragment;
};
TBuiltInPage BuiltInPageFor(const QUrl& url);

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  void GenerateAndShow();  // the page of all forms when "Ansicht" > "Alle Formen" is on
  void GenerateAndShow(bool allForms);
  bool AllFormsShown() const;  // "Alle Formen" is on
  // Hands the page to the browser and waits (at most kShowHtmlWaitMs) until it has loaded;
  // false when the browser did not finish in time or failed.
  bool ShowHtml(const QString& html);
  // Shows the resource page, scrolled to the element named fragment when one is given.
  void ShowResourcePage(std::string_view name, const QString& fragment = {});

  // Commands, also reachable through the menus and the GenForm service.
  void ZoomIn();
  void ZoomOut();
  void ZoomNormal();
  void SetOrthography(int tag);            // 1 aktuell, 2 vor der Reform, 3 vor der Reform, Schweiz
  void ShowPhrase(const QString& phrase);  // input box text, page, window to the front
  void RestoreToFront();
  void RunFullForms();  // asks for the list
  void RunFullForms(const QString& listFile);
  void RunSitemap();
  void ShowHelp();
  void ShowAbout();

  // State, for the status line and the tests.
  QString InputText() const;
  void SetInputText(const QString& text);
  THistoryComboBox* InputBox() const { return FInput; }
  QWebEngineView* Browser() const { return FBrowser; }
  TZoom Zoom() const { return FZoom; }
  TOrthoTyp Orthography() const { return Verb.OrthoTyp(); }
  double AppliedZoomFactor() const;
  TRequestService& Requests() { return *FRequests; }
  QString GenFormServiceName() const { return FServiceName; }
  bool GenFormServing() const { return FServing; }
  bool BatchRunning() const { return FBatchRunning; }
  QAction* SitemapAction() const { return FSitemapAction; }

  static constexpr int kShowHtmlWaitMs = 15000;

 signals:
  void PageShown();  // a page of ShowHtml has finished loading

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void CreateMenus();
  void CreateToolBar();
  void RegisterGenForm();
  void ApplyZoom();
  void OnLoadFinished(bool ok);
  void OnTitleChanged(const QString& title);
  bool OnNavigation(const QUrl& url, bool isMainFrame, bool ownLoad);
  void OnApplicationActive();
  void OnInputConfirmed();
  void RestorePlacement();
  void SavePlacement();
  QString PageStatus() const;

  // Before any verb object: the first one loads the lists from there. The message says why
  // a file named for the lists cannot be used (the window then works with the built-in
  // copy); empty when they can.
  static std::string LocateVerbLists();
  const std::string FVerbListsProblem = LocateVerbLists();
  TVerbGen Verb;  // the window's verb object: batch runs; carries the orthography
  std::unique_ptr<TRequestService> FRequests;  // with its own verb object (VO2)
  std::u16string FErrMsg;                      // last analysis message of Verb, kept, not shown
  TZoom FZoom = z_normal;

  THistoryComboBox* FInput = nullptr;
  QWebEngineView* FBrowser = nullptr;
  TBrowserPage* FPage = nullptr;
  TGenFormBus* FBus = nullptr;
  QToolButton* FBackBtn = nullptr;
  QToolButton* FForwardBtn = nullptr;
  QAction* FFullFormsAction = nullptr;
  QAction* FSitemapAction = nullptr;
  QAction* FAllFormsAction = nullptr;
  QActionGroup* FOrthoGroup = nullptr;
  QLabel* FStatusLabel = nullptr;
  QProgressBar* FProgress = nullptr;

  QMetaObject::Connection FScreenDpi;
  QString FServiceName;
  bool FServing = false;
  bool FShown = false;
  QString FShownHtml;      // the page on display, while the browser has not left it
  bool FLoadDone = false;  // the load ShowHtml waits for has finished
  bool FLoadOk = false;
  bool FBatchRunning = false;
  bool FCloseAfterBatch = false;
};
