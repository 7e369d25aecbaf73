// SPDX-License-Identifier: MIT
// The window's file commands: full forms of a list of infinitives, and the developer's sitemap.
#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QProgressBar>
#include <QUrl>

#include "app/FullForms.h"
#include "app/FullFormsJob.h"
#include "app/MainWindow.h"
#include "app/Request.h"
#include "app/Sitemap.h"
#include "common/ZT.Files.h"
#include "common/_0ZTINI.h"
#include "common/_0comvcl.h"

namespace {

QString PathText(const std::filesystem::path& p) {
  return QFile::decodeName(p.native().c_str());
}
std::filesystem::path PathOf(const QString& s) {
  return std::filesystem::path(QFile::encodeName(s).toStdString());
}

QString SystemError(int error) {
  return QString::fromStdString(SystemErrorText(error));
}

void ShowError(const QString& text) {
  MsgBox().ErrInfo(text.toStdU16String());
}

// Thrown from the progress callback when the window closes during a run.
struct TBatchStopped {};

}  // namespace

void TForm1::RunFullForms() {
  if (FBatchRunning) return;
  const std::filesystem::path remembered = ReadInfiListFile();
  const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Liste der Infinitive..."),
                                                    PathText(remembered));
  if (file.isEmpty()) return;
  RunFullForms(file);
}

void TForm1::RunFullForms(const QString& listFile) {
  if (FBatchRunning) return;
  const std::filesystem::path input = PathOf(listFile);
  WriteInfiListFile(std::filesystem::absolute(input));

  FBatchRunning = true;
  FFullFormsAction->setEnabled(false);
  FProgress->setRange(0, 1000);
  FProgress->setValue(0);
  FProgress->show();
  TFullFormsJob job;
  job.input = input;
  job.ortho = Verb.OrthoTyp();
  job.verb = &Verb;
  TFullFormsResult result;
  bool stopped = false;
  try {
    result = RunFullFormsFile(job, [&](int n, double share) {
      FProgress->setValue(static_cast<int>(1000.0 * share));
      FStatusLabel->setText(QStringLiteral("Vollformen: %1 Verben").arg(n));
      // The window answers between two verbs: menus, the input box, the GenForm service.
      QCoreApplication::processEvents();
      if (FCloseAfterBatch) throw TBatchStopped{};
    });
  } catch (const TBatchStopped&) {
    stopped = true;
  }
  FBatchRunning = false;
  FFullFormsAction->setEnabled(true);
  FProgress->hide();
  FStatusLabel->clear();
  if (FCloseAfterBatch) {
    close();
    return;
  }
  if (stopped) return;
  switch (result.failure) {
    case TFullFormsResult::TFailure::none:
      ShowMessageCentered(QString::fromUtf8(FullFormsMessage(result.count, result.output.string()))
                              .toStdU16String());
      return;
    case TFullFormsResult::TFailure::sameFile:
      ShowError(
          QStringLiteral("%1: Eingabe und Ausgabe sind dieselbe Datei.").arg(PathText(input)));
      return;
    case TFullFormsResult::TFailure::read:
    case TFullFormsResult::TFailure::write:
      ShowError(QStringLiteral("%1: %2").arg(PathText(result.failedPath),
                                             SystemError(result.systemError)));
      return;
  }
}

void TForm1::RunSitemap() {
  // The developer's folders; the registry replacement may name others.
  const std::u16string projectDefault = (DocumentsFolder() / "Beugwerk").u16string();
  const std::filesystem::path project = RegReadString(u"MAINWIN", u"ProjectFolder", projectDefault);
  const std::filesystem::path web =
      RegReadString(u"MAINWIN", u"WebFolder", (project / "web").u16string());
  const std::filesystem::path input = project / "verben.txt";
  const std::filesystem::path output = web / "beugwerkSitemap.xml";
  try {
    const TSitemapList list = SitemapList(ReadSitemapLines(input));
    std::error_code ec;
    std::filesystem::create_directories(web, ec);
    WriteSitemap(list.phrases, output);
    FStatusLabel->setText(QString::fromStdString(SitemapMessage(list, output)));
  } catch (const std::exception& e) {
    ShowError(QString::fromUtf8(e.what()));
    return;
  }
  // The desktop's own program for XML files opens it.
  QDesktopServices::openUrl(QUrl::fromLocalFile(PathText(output)));
}
