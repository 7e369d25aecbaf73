// SPDX-License-Identifier: MIT
#include "app/MainWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QStringDecoder>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrlQuery>
#include <QWebEngineHistory>
#include <QWebEngineView>
#include <QWindow>
#include <cstdio>
#include <optional>

#include "app/BrowserPage.h"
#include "app/GenFormBus.h"
#include "common/AboutBx.h"
#include "common/SiteConfig.h"
#include "common/ZT.Resources.h"
#include "common/ZTHistCmb.h"
#include "common/_0ZTINI.h"
#include "common/_0comvcl.h"
#include "common/_ZT_cmn_A.h"
#include "engine/_ZTVerbLists.h"
#include "generator/PageAddress.h"
#include "generator/VerbGenerator.h"

namespace {

QString Q(std::u16string_view s) {
  return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}
std::u16string U(const QString& s) {
  return s.toStdU16String();
}

constexpr std::u16string_view kFormSection = u"Form1";
constexpr std::u16string_view kHistName = u"Form1\\HistoryComboBox1";
constexpr std::u16string_view kDesignCaption = u"Deutscher Beugwerk";
constexpr std::u16string_view kFirstPhrase = u"den Generator ausprobieren";

// The page as the browser gets it: every line ended by CR LF, as the pages are written.
QString NormalisedLines(const QString& html) {
  const std::vector<std::u16string> lines = SplitLinesW(U(html));
  QString out;
  out.reserve(html.size() + static_cast<qsizetype>(lines.size()));
  for (const std::u16string& l : lines) {
    out += Q(l);
    out += QStringLiteral("\r\n");
  }
  return out;
}

}  // namespace

QUrl PageBaseUrl() {
  // The folder of the online pages: the built-in pages link to their neighbours relatively.
  return QUrl(Q(site::kOnlineServer) + QStringLiteral("/beugwerkde/"));
}

TBuiltInPage BuiltInPageFor(const QUrl& url) {
  const QUrl address = url.adjusted(QUrl::RemoveFragment | QUrl::RemoveQuery);
  if (address == QUrl(Q(site::kHelpPageUrl))) return {"BeugwerkHelp", url.fragment()};
  if (address == QUrl(Q(site::kTheoryPageUrl))) return {"VERBHTM", url.fragment()};
  return {};
}

float ZoomFactor(TZoom z) {
  static constexpr float kFactors[] = {0.6f, 0.8f, 1.0f, 1.3f, 1.8f};
  return kFactors[z];
}

bool IsArticleAddress(const QUrl& url) {
  // The browser reads "C:\xxx\..." as an address with the scheme "c"; compare what it kept,
  // with slashes and backslashes alike and percent escapes undone.
  QString s = QUrl::fromPercentEncoding(url.toEncoded());
  s.replace(QLatin1Char('/'), QLatin1Char('\\'));
  return s.compare(Q(kArticleAddress), Qt::CaseInsensitive) == 0;
}

bool IsOnlineGeneratorPage(const QUrl& url) {
  // On any host: the page's links are relative to wherever the page came from.
  return url.path() == Q(site::kGeneratorPath);
}

std::optional<TPageQuery> OnlinePageQuery(const QUrl& url) {
  if (!IsOnlineGeneratorPage(url)) return std::nullopt;
  // The raw query, read as the server reads it (UTF-8, else Windows-1252).
  const QByteArray query = url.query(QUrl::FullyEncoded).toLatin1();
  TPageQuery parsed;
  if (ParsePageQuery(std::string_view(query.constData(), static_cast<std::size_t>(query.size())),
                     parsed) != TQueryError::qe_none)
    return std::nullopt;
  return parsed;
}

QString OnlinePagePhrase(const QUrl& url) {
  const std::optional<TPageQuery> query = OnlinePageQuery(url);
  return query ? Q(query->phrase).trimmed() : QString();
}

// The icon lives in the library's resources, which a static library must register itself
// (outside any namespace: the macro declares the registration function where it stands).
static void InitGuiResources() {
  Q_INIT_RESOURCE(beugwerk_gui);
}

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  InitGuiResources();
  setWindowIcon(QIcon(QStringLiteral(":/beugwerk/beugwerk.svg")));
  setWindowTitle(Q(kDesignCaption));
  setFont(QFont(QStringLiteral("Arial")));
  setMinimumSize(200, 600);
  resize(590, 588 + 60);

  // The verb objects exist from here on, so the lists stay loaded for the whole run.
  FRequests = std::make_unique<TRequestService>();
  Verb.SetOnErrMsg([this](const std::u16string& m) { FErrMsg = m; });

  FBrowser = new QWebEngineView(this);
  FPage = new TBrowserPage(FBrowser);
  FPage->OnNavigation = [this](const QUrl& url, bool mainFrame, bool own) {
    return OnNavigation(url, mainFrame, own);
  };
  FPage->SetDriveProvider([](const QUrl& url) {
    // Reached only when the browser did not ask the window first.
    if (!IsArticleAddress(url)) return QByteArray();
    const std::optional<std::string_view> bytes = FindTextResource("VERBHTM");
    return bytes ? QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size())) : QByteArray();
  });
  FBrowser->setPage(FPage);
  setCentralWidget(FBrowser);
  connect(FPage, &QWebEnginePage::loadFinished, this, &TForm1::OnLoadFinished);
  connect(FPage, &QWebEnginePage::titleChanged, this, &TForm1::OnTitleChanged);

  CreateToolBar();
  CreateMenus();
  FStatusLabel = new QLabel(this);
  FProgress = new QProgressBar(this);
  FProgress->setMaximumWidth(160);
  FProgress->hide();
  statusBar()->addWidget(FStatusLabel, 1);
  statusBar()->addPermanentWidget(FProgress);

  RestorePlacement();
  RegisterGenForm();

  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
    if (s == Qt::ApplicationActive) OnApplicationActive();
  });
  if (!FVerbListsProblem.empty())
    QTimer::singleShot(0, this, [this] { MsgBox().ErrInfo(Utf8ToUni(FVerbListsProblem)); });
}

TForm1::~TForm1() {
  // The browser goes before the verb objects; its page must not outlive the profile.
  delete FBrowser;
  FBrowser = nullptr;
}

std::string TForm1::LocateVerbLists() {
  // $BEUGWERK_VERBLISTS, the viewer program's folder when it is recorded, beside the program,
  // the installed copy; the embedded lists when none of them is there. A window cannot stop
  // at start as a command does: it says what is wrong and works with the embedded lists.
  const TVerbListsSource source = ExamineVerbLists(DefaultVerbListsSearch({}));
  VerbListsPath = source.Usable() ? source.choice.path : std::filesystem::path();
  if (source.Usable()) return {};
  return VerbListsSourceMessage(source) + "\nEs gelten die eingebauten Verblisten.";
}

void TForm1::CreateToolBar() {
  QToolBar* bar = addToolBar(QStringLiteral("Eingabe"));
  bar->setMovable(false);
  bar->setFloatable(false);
  bar->toggleViewAction()->setVisible(false);
  FBackBtn = new QToolButton(bar);
  FBackBtn->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
  FBackBtn->setToolTip(QStringLiteral("Zurück"));
  FBackBtn->setEnabled(false);
  FForwardBtn = new QToolButton(bar);
  FForwardBtn->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
  FForwardBtn->setToolTip(QStringLiteral("Vorwärts"));
  FForwardBtn->setEnabled(false);
  bar->addWidget(FBackBtn);
  bar->addWidget(FForwardBtn);
  connect(FBackBtn, &QToolButton::clicked, this, [this] { FBrowser->back(); });
  connect(FForwardBtn, &QToolButton::clicked, this, [this] { FBrowser->forward(); });
  // The buttons follow what the browser can do.
  auto update = [this] {
    FBackBtn->setEnabled(FBrowser->history()->canGoBack());
    FForwardBtn->setEnabled(FBrowser->history()->canGoForward());
  };
  connect(FPage, &QWebEnginePage::urlChanged, this, update);
  connect(FPage, &QWebEnginePage::loadFinished, this, update);

  FInput = new THistoryComboBox(bar);
  FInput->setObjectName(QStringLiteral("HistoryComboBox1"));
  FInput->SetHistName(kHistName);
  FInput->SetCrOnly(false);
  FInput->SetLeftMargin(0);
  FInput->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  FInput->setMinimumContentsLength(12);
  FInput->setInsertPolicy(QComboBox::NoInsert);
  FInput->LoadItems();
  bar->addWidget(FInput);
  connect(FInput, &THistoryComboBox::EnterPressed, this, &TForm1::OnInputConfirmed);
  // Choosing an entry from the list shows it; the history is not reordered for that.
  connect(FInput, &QComboBox::activated, this, [this](int) { GenerateAndShow(); });
}

void TForm1::CreateMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&Datei"));
  FFullFormsAction = file->addAction(QStringLiteral("Vollformengenerierung"));
  connect(FFullFormsAction, &QAction::triggered, this, [this] { RunFullForms(); });
  FSitemapAction = file->addAction(QStringLiteral("Sitemap erzeugen"));
  connect(FSitemapAction, &QAction::triggered, this, &TForm1::RunSitemap);
  FSitemapAction->setVisible(IsDeveloperMachine());
  file->addSeparator();
  QAction* quit = file->addAction(QStringLiteral("&Beenden"));
  quit->setShortcut(QKeySequence::Quit);
  connect(quit, &QAction::triggered, this, &QWidget::close);

  QMenu* view = menuBar()->addMenu(QStringLiteral("Ansicht"));
  QAction* larger = view->addAction(QStringLiteral("Größer"));
  // Ctrl with the plus key, on the main block or on the keypad.
  larger->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Plus),
       QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Plus))});
  connect(larger, &QAction::triggered, this, &TForm1::ZoomIn);
  QAction* smaller = view->addAction(QStringLiteral("Kleiner"));
  // The keypad's divide key, not a minus key.
  smaller->setShortcut(
      QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Slash)));
  connect(smaller, &QAction::triggered, this, &TForm1::ZoomOut);
  QAction* normal = view->addAction(QStringLiteral("Normal"));
  normal->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
  connect(normal, &QAction::triggered, this, &TForm1::ZoomNormal);
  for (QAction* a : {larger, smaller, normal}) a->setShortcutContext(Qt::ApplicationShortcut);
  view->addSeparator();
  // Kept for the session, like the orthography: every page then shows the further blocks.
  FAllFormsAction = view->addAction(QStringLiteral("Alle Formen"));
  FAllFormsAction->setCheckable(true);
  connect(FAllFormsAction, &QAction::toggled, this, [this] {
    FShownHtml.clear();
    GenerateAndShow();
  });

  QMenu* settings = menuBar()->addMenu(QStringLiteral("Einstellungen"));
  QMenu* ortho = settings->addMenu(QStringLiteral("Orthographie"));
  FOrthoGroup = new QActionGroup(this);
  FOrthoGroup->setExclusive(true);
  const QString captions[] = {QStringLiteral("aktuell"), QStringLiteral("vor der Reform"),
                              QStringLiteral("vor der Reform, Schweiz")};
  for (int tag = 1; tag <= 3; ++tag) {
    QAction* a = ortho->addAction(captions[tag - 1]);
    a->setCheckable(true);
    a->setData(tag);
    a->setChecked(tag == 1);
    FOrthoGroup->addAction(a);
    connect(a, &QAction::triggered, this, [this, tag] { SetOrthography(tag); });
  }

  QMenu* help = menuBar()->addMenu(QStringLiteral("?"));
  QAction* helpAction = help->addAction(QStringLiteral("Hilfe"));
  helpAction->setShortcut(QKeySequence::HelpContents);
  connect(helpAction, &QAction::triggered, this, &TForm1::ShowHelp);
  QAction* info = help->addAction(QStringLiteral("&Info"));
  connect(info, &QAction::triggered, this, &TForm1::ShowAbout);
}

void TForm1::RegisterGenForm() {
  FBus = new TGenFormBus(*FRequests, this);
  FServiceName = GenFormBusName(QCoreApplication::applicationFilePath());
  QString error;
  FServing = FBus->Register(QDBusConnection::sessionBus(), FServiceName, &error);
  if (!FServing) {
    // Another window already answers under this name; this one works on without the service.
    const QString text =
        QStringLiteral("Der Dienst %1 ist schon vergeben: %2").arg(FServiceName, error);
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
                 text.toLocal8Bit().constData());
    statusBar()->showMessage(text, 15000);
  }
  // Macro commands act on the window once the bus call has been answered, so a client never
  // waits for a page to load.
  FRequests->SetOnMacro([this](TRequestMacro macro, const std::u16string& phrase) {
    const QString p = Q(phrase);
    QTimer::singleShot(0, this, [this, macro, p] {
      switch (macro) {
        case rm_Show:
          ShowPhrase(p);
          break;
        case rm_Minimize:
          showMinimized();
          break;
        case rm_Restore:
          RestoreToFront();
          break;
        case rm_Close:
          close();
          break;
      }
    });
  });
}

QString TForm1::InputText() const {
  return FInput->currentText();
}

void TForm1::SetInputText(const QString& text) {
  FInput->setEditText(text);
}

bool TForm1::AllFormsShown() const {
  return FAllFormsAction && FAllFormsAction->isChecked();
}

void TForm1::GenerateAndShow() {
  GenerateAndShow(AllFormsShown());
}

void TForm1::GenerateAndShow(bool allForms) {
  QString text = FInput->currentText();
  if (text.isEmpty() && FInput->HistoryStrings().isEmpty()) {
    // A first start: show what the generator does, and remember that phrase.
    text = Q(kFirstPhrase);
    FInput->SetHistoryStrings({text});
    FInput->setEditText(text);
    FInput->SaveItems();
  }
  // Without the menu item the page ends with the link to the page of all forms.
  ShowHtml(Q(GetVerbPageHtml(U(text), false, Verb.OrthoTyp(),
                             allForms ? TPageForms::allForms : TPageForms::tableWithLink)));
}

bool TForm1::ShowHtml(const QString& html) {
  if (!FBrowser) return false;
  const QString page = NormalisedLines(html);
  // The same page again (a window activation, a dialog closed) would only add a history entry.
  if (page == FShownHtml) return true;
  FShownHtml = page;
  FLoadDone = false;
  FLoadOk = false;
  FPage->ShowOwn(page, PageBaseUrl());
  // Wait for the page, with the window answering all along; a browser that hangs does not
  // hang the window.
  QElapsedTimer timer;
  timer.start();
  QEventLoop loop;
  QTimer tick;
  tick.setInterval(20);
  connect(&tick, &QTimer::timeout, &loop, [&] {
    if (FLoadDone || timer.elapsed() > kShowHtmlWaitMs || !FBrowser) loop.quit();
  });
  tick.start();
  if (!FLoadDone) loop.exec();
  return FLoadDone && FLoadOk;
}

void TForm1::ShowResourcePage(std::string_view name, const QString& fragment) {
  const std::optional<std::string_view> bytes = FindTextResource(name);
  if (!bytes) return;
  // The built-in pages are kept in UTF-8; an older Windows-1252 copy is read as such.
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString html = utf8.decode(QByteArrayView(bytes->data(), static_cast<qsizetype>(bytes->size())));
  if (utf8.hasError()) html = Q(Latin1ToUni(*bytes));
  if (html.startsWith(QChar(0xFEFF))) html.remove(0, 1);
  if (!ShowHtml(html) || fragment.isEmpty()) return;
  // Only names made of letters, digits, "-" and "_" reach the script.
  static const QRegularExpression kPlainName(QStringLiteral("^[A-Za-z0-9_-]{1,64}$"));
  if (!kPlainName.match(fragment).hasMatch()) return;
  FPage->runJavaScript(
      QStringLiteral("(document.getElementById('%1')||document.getElementsByName('%1')[0]||"
                     "document.body).scrollIntoView()")
          .arg(fragment));
}

void TForm1::OnLoadFinished(bool ok) {
  FLoadDone = true;
  FLoadOk = ok;
  ApplyZoom();
  if (ok) emit PageShown();
}

void TForm1::OnTitleChanged(const QString& title) {
  // A page without a title reports its address; the caption keeps its last text then.
  if (title.isEmpty() || title.startsWith(QStringLiteral("data:")) ||
      title.startsWith(QStringLiteral("about:")) ||
      title.startsWith(QStringLiteral("beugwerk-page:")))
    return;
  setWindowTitle(title);
}

bool TForm1::OnNavigation(const QUrl& url, bool isMainFrame, bool ownLoad) {
  if (ownLoad) return true;
  if (!isMainFrame) return true;
  if (IsArticleAddress(url)) {
    QTimer::singleShot(0, this, [this] { ShowResourcePage("VERBHTM"); });
    return false;
  }
  if (const TBuiltInPage builtIn = BuiltInPageFor(url); !builtIn.name.empty()) {
    // The online help and article are the texts built into the program: shown from there,
    // they need no network.
    QTimer::singleShot(0, this,
                       [this, builtIn] { ShowResourcePage(builtIn.name, builtIn.fragment); });
    return false;
  }
  if (IsOnlineGeneratorPage(url)) {
    // A link to the online generator (another reading of a doubly usable prefix, an example
    // of the help page, the page of all forms) is conjugated here; without a phrase it shows
    // the current input. A query the server would refuse names no phrase.
    const std::optional<TPageQuery> query = OnlinePageQuery(url);
    const QString phrase = query ? Q(query->phrase).trimmed() : QString();
    const bool allForms = AllFormsShown() || (query && query->allForms);
    QTimer::singleShot(0, this, [this, phrase, allForms] {
      if (!phrase.isEmpty()) {
        FInput->setEditText(phrase);
        FInput->SaveItems();
      }
      FShownHtml.clear();
      GenerateAndShow(allForms);
    });
    return false;
  }
  FShownHtml.clear();  // the browser leaves the page: showing it again is a new load
  return true;
}

void TForm1::ApplyZoom() {
  if (!FBrowser) return;
  const QScreen* s = screen();
  const double dpi = s ? s->logicalDotsPerInch() : 96.0;
  FBrowser->setZoomFactor(static_cast<double>(ZoomFactor(FZoom)) * dpi / 96.0);
}

double TForm1::AppliedZoomFactor() const {
  return FBrowser ? FBrowser->zoomFactor() : 0.0;
}

void TForm1::ZoomIn() {
  if (FZoom < z_largest) FZoom = static_cast<TZoom>(FZoom + 1);
  ApplyZoom();
}

void TForm1::ZoomOut() {
  if (FZoom > z_smallest) FZoom = static_cast<TZoom>(FZoom - 1);
  ApplyZoom();
}

void TForm1::ZoomNormal() {
  FZoom = z_normal;
  ApplyZoom();
}

void TForm1::SetOrthography(int tag) {
  static constexpr TOrthoTyp kByTag[] = {NeuOrtho, AltOrtho, ChOrtho};
  if (tag >= 1 && tag <= 3) {
    Verb.SetOrthoTyp(kByTag[tag - 1]);
    for (QAction* a : FOrthoGroup->actions())
      if (a->data().toInt() == tag) a->setChecked(true);
  }
  GenerateAndShow();
}

void TForm1::ShowPhrase(const QString& phrase) {
  FInput->setEditText(phrase);
  GenerateAndShow();
  RestoreToFront();
}

void TForm1::RestoreToFront() {
  showNormal();
  raise();
  activateWindow();
}

void TForm1::OnInputConfirmed() {
  FInput->lineEdit()->selectAll();
  GenerateAndShow();
}

void TForm1::ShowHelp() {
  ShowResourcePage("BeugwerkHelp");
}

void TForm1::ShowAbout() {
  TAbout about(this);
  about.SetHead1(Q(kDesignCaption));
  about.SetVersionNr(QStringLiteral(BEUGWERK_VERSION));
  about.SetprojectIcon(windowIcon());
  about.Execute();
}

void TForm1::OnApplicationActive() {
  bool reloaded = false;
  try {
    reloaded = CheckVerbListsFile();
  } catch (const std::exception& e) {
    MsgBox().ErrInfo(Utf8ToUni(e.what()));
    return;
  }
  if (reloaded) {
    FShownHtml.clear();
    GenerateAndShow();
  }
}

void TForm1::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
    // Back in the window (also after a dialog): the input box has the focus, the page is fresh.
    FInput->setFocus();
    QTimer::singleShot(0, this, [this] { GenerateAndShow(); });
  }
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (FShown) return;
  FShown = true;
  // The first page comes with the window, whether or not the desktop activates it.
  QTimer::singleShot(0, this, [this] { GenerateAndShow(); });
  // The zoom follows the pixel density of the screen the window is on.
  auto followScreen = [this](QScreen* s) {
    if (FScreenDpi) disconnect(FScreenDpi);
    if (s)
      FScreenDpi = connect(s, &QScreen::logicalDotsPerInchChanged, this, [this] { ApplyZoom(); });
    ApplyZoom();
  };
  if (QWindow* w = windowHandle()) connect(w, &QWindow::screenChanged, this, followScreen);
  followScreen(screen());
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (FBatchRunning) {
    // The running list stops after its current verb, then the window closes.
    FCloseAfterBatch = true;
    event->ignore();
    return;
  }
  SavePlacement();
  FInput->SaveItems();
  event->accept();
}

namespace {

TScreenRect VirtualScreen() {
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (!primary) return {0, 0, 800, 600};
  const QRect r = primary->availableVirtualGeometry();
  return {r.left(), r.top(), r.width(), r.height()};
}

}  // namespace

void TForm1::RestorePlacement() {
  TFormPlacement p;
  const QRect g = geometry();
  p.Left = g.left();
  p.Top = g.top();
  p.Width = g.width();
  p.Height = g.height();
  p.FontName = U(font().family());
  p.FontSize = font().pointSize();
  try {
    RestoreFormPlacement(p, kFormSection, VirtualScreen(), &GetUserSettings());
  } catch (const std::exception&) {
    return;  // unreadable settings: the window keeps its design size
  }
  setGeometry(p.Left, p.Top, std::max(p.Width, minimumWidth()),
              std::max(p.Height, minimumHeight()));
  if (p.WindowState == ws_Maximized) setWindowState(windowState() | Qt::WindowMaximized);
}

void TForm1::SavePlacement() {
  TFormPlacement p;
  const QRect g = isMaximized() ? normalGeometry() : geometry();
  p.Left = g.left();
  p.Top = g.top();
  p.Width = g.width();
  p.Height = g.height();
  p.WindowState = isMaximized() ? ws_Maximized : (isMinimized() ? ws_Minimized : ws_Normal);
  p.Visible = isVisible();
  try {
    SaveFormPlacement(p, kFormSection, pf_Size | pf_Position, &GetUserSettings());
    GetUserSettings().Save();
  } catch (const std::exception&) {
    // Placement is a convenience; a settings file that cannot be written must not stop closing.
  }
}
