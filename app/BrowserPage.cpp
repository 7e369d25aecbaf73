// SPDX-License-Identifier: MIT
#include "app/BrowserPage.h"

#include <QBuffer>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace {

// setHtml carries the page in a data address, which the browser limits to 2 MB; a margin
// stays for the address's own prefix.
constexpr qsizetype kSetHtmlLimit = 2 * 1024 * 1024 - 64 * 1024;

TMemoryPageHandler* PageHandler(QWebEngineProfile* profile) {
  if (const QWebEngineUrlSchemeHandler* h = profile->urlSchemeHandler(kPageScheme))
    return const_cast<TMemoryPageHandler*>(static_cast<const TMemoryPageHandler*>(h));
  auto* handler = new TMemoryPageHandler(profile);
  profile->installUrlSchemeHandler(kPageScheme, handler);
  return handler;
}

}  // namespace

void RegisterBrowserSchemes() {
  for (const char* name : {kPageScheme, kDriveScheme}) {
    if (QWebEngineUrlScheme::schemeByName(name).name() == name) continue;
    QWebEngineUrlScheme scheme(name);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    QWebEngineUrlScheme::registerScheme(scheme);
  }
}

QUrl TMemoryPageHandler::Add(const QByteArray& utf8) {
  const int id = FNext++;
  FPages[id] = utf8;
  while (static_cast<int>(FPages.size()) > kKept) FPages.erase(FPages.begin());
  return QUrl(QStringLiteral("%1:page/%2").arg(QLatin1String(kPageScheme)).arg(id));
}

void TMemoryPageHandler::requestStarted(QWebEngineUrlRequestJob* job) {
  bool ok = false;
  const int id = job->requestUrl().path().section(QLatin1Char('/'), -1).toInt(&ok);
  const auto it = ok ? FPages.find(id) : FPages.end();
  if (it == FPages.end()) {
    job->fail(QWebEngineUrlRequestJob::UrlNotFound);
    return;
  }
  auto* buffer = new QBuffer(job);
  buffer->setData(it->second);
  buffer->open(QIODevice::ReadOnly);
  job->reply("text/html", buffer);
}

void TDriveHandler::requestStarted(QWebEngineUrlRequestJob* job) {
  QByteArray bytes = Provide ? Provide(job->requestUrl()) : QByteArray();
  if (bytes.isEmpty()) {
    job->fail(QWebEngineUrlRequestJob::UrlNotFound);
    return;
  }
  auto* buffer = new QBuffer(job);
  buffer->setData(bytes);
  buffer->open(QIODevice::ReadOnly);
  job->reply("text/html", buffer);
}

TBrowserPage::TBrowserPage(QObject* parent) : QWebEnginePage(parent) {}

void TBrowserPage::SetDriveProvider(std::function<QByteArray(const QUrl& url)> provide) {
  QWebEngineProfile* p = profile();
  auto* handler = const_cast<TDriveHandler*>(
      qobject_cast<const TDriveHandler*>(p->urlSchemeHandler(kDriveScheme)));
  if (!handler) {
    handler = new TDriveHandler(p);
    p->installUrlSchemeHandler(kDriveScheme, handler);
  }
  handler->Provide = std::move(provide);
}

void TBrowserPage::ShowOwn(const QString& html, const QUrl& baseUrl) {
  QByteArray utf8 = html.toUtf8();
  ++FOwnLoads;
  if (utf8.size() < kSetHtmlLimit) {
    setHtml(html, baseUrl);
    return;
  }
  // Served from memory, the page cannot borrow another address; a base element does the same
  // for its relative links.
  const QString base =
      QStringLiteral("<base href=\"%1\">").arg(baseUrl.toString(QUrl::FullyEncoded));
  const qsizetype head = html.indexOf(QStringLiteral("<head>"), 0, Qt::CaseInsensitive);
  if (head >= 0) utf8 = (html.left(head + 6) + base + html.mid(head + 6)).toUtf8();
  // The byte order mark tells the browser the encoding of a page that comes without a header.
  utf8.prepend("\xEF\xBB\xBF");
  load(PageHandler(profile())->Add(utf8));
}

bool TBrowserPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
  bool own = false;
  if (isMainFrame && FOwnLoads > 0 && type != NavigationTypeBackForward &&
      (url.scheme() == QLatin1String("data") || url.scheme() == QLatin1String(kPageScheme))) {
    --FOwnLoads;
    own = true;
  }
  if (OnNavigation && !OnNavigation(url, isMainFrame, own)) return false;
  return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}
