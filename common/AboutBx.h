// SPDX-License-Identifier: MIT
// The about box: a borderless box with a warm-to-cool gradient that names the program, its
// version, the maker with web and e-mail links, the system and the program file's date. Create
// a TAbout (it fills the defaults), change what differs, call Execute.
//
//   TAbout about(this);
//   about.SetHead2(u"");            // empty: the version line is shown
//   if (about.Execute()) ...        // true when closed with "OK"
#pragma once

#include <QDateTime>
#include <QIcon>
#include <QObject>
#include <QString>
#include <QUrl>
#include <array>
#include <functional>
#include <string_view>

class QDialog;

// %yyyy% becomes year; when the year already occurs in the text the placeholder is dropped
// together with a comma two characters before it ("© 2026, %yyyy% X" -> "© 2026 X").
QString ReplaceYearPlaceholder(const QString& text, int year);

// "Version " + text, and " / " + the build date when the numeric version differs from the
// text and its date (1 January 2000 + third number days + fourth number * 2 s) is later than
// 18 February 2014. buildDateShown tells whether the date went into the line.
QString AboutVersionLine(const QString& fileVersion, const std::array<int, 4>& numeric,
                         bool* buildDateShown = nullptr);

class TAbout : public QObject {
  Q_OBJECT

 public:
  explicit TAbout(QObject* aOwner = nullptr);

  // Builds the box, shows it modally; true when it was closed with "OK".
  bool Execute();

  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int c) { FHelpContext = c; }
  const QString& Caption() const { return FCaption; }
  void SetCaption(const QString& s) { FCaption = s; }
  const QString& ImageName() const { return FImageName; }
  void SetImageName(const QString& s) { FImageName = s; }
  Qt::Alignment Alignment() const { return FAlignment; }
  void SetAlignment(Qt::Alignment a) { FAlignment = a; }
  const QString& Head1() const { return FHead1; }
  void SetHead1(const QString& s) { FHead1 = s; }
  const QString& Head2() const { return FHead2; }
  void SetHead2(const QString& s) { FHead2 = s; }
  const QString& Instit() const { return FInstit; }
  void SetInstit(const QString& s) { FInstit = s; }
  const QString& Copyright() const { return FCopyright; }
  void SetCopyright(const QString& s) { FCopyright = ReplaceYearPlaceholder(s, FYear); }
  const QString& WWW() const { return FWWW; }
  void SetWWW(const QString& s) { FWWW = s; }
  const QString& eMail() const { return FEMail; }
  void SeteMail(const QString& s) { FEMail = s; }
  const QString& helpBtnText() const { return FHelpBtnText; }
  void SethelpBtnText(const QString& s) { FHelpBtnText = s; }
  const QString& VersionDate() const { return FVersionDate; }
  void SetVersionDate(const QString& s) { FVersionDate = s; }
  // The version text ("FileVersion"); default the application's version.
  const QString& VersionNr() const { return FVersionNr; }
  void SetVersionNr(const QString& s) { FVersionNr = s; }
  // The numeric file version; default the numbers read from VersionNr.
  void SetFileVersionNumbers(const std::array<int, 4>& n) {
    FNumbers = n;
    FNumbersSet = true;
  }
  const QString& HintEmail() const { return FHintEmail; }
  void SetHintEmail(const QString& s) { FHintEmail = s; }
  const QString& HintWWW() const { return FHintWWW; }
  void SetHintWWW(const QString& s) { FHintWWW = s; }
  const QIcon& projectIcon() const { return FProjectIcon; }
  void SetprojectIcon(const QIcon& i) { FProjectIcon = i; }
  int Year() const { return FYear; }

  // The help button's action (with HelpContext); links open through OpenUrl, by default the
  // desktop's handler (QDesktopServices).
  std::function<void(int helpContext)> OnHelp;
  std::function<void(const QUrl&)> OpenUrl;

  // The box while Execute runs, else nullptr (tests, screenshots).
  QDialog* Form() const { return FForm; }

 private:
  int FHelpContext = 0;
  QString FCaption, FImageName, FHead1, FHead2, FInstit, FCopyright, FWWW, FEMail, FHelpBtnText,
      FVersionDate, FVersionNr, FHintEmail, FHintWWW;
  Qt::Alignment FAlignment = Qt::AlignHCenter;
  QIcon FProjectIcon;
  int FYear = 0;
  std::array<int, 4> FNumbers{};
  bool FNumbersSet = false;
  QDialog* FForm = nullptr;
};
