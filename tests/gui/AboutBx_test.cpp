// SPDX-License-Identifier: MIT
// The about box: its text rules, defaults, links, buttons, painting and dragging.
#include "common/AboutBx.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "common/_0ZTINI.h"

namespace {

// Runs check on the box once it is shown; check closes it.
void WhenAboutShows(std::function<void(QDialog*)> check) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, check] {
    auto* form = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!form || !form->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    QTest::qWait(30);  // let it paint
    check(form);
  });
  timer->start();
}

QString LabelText(QDialog* form, const char* name) {
  auto* l = form->findChild<QLabel*>(QString::fromLatin1(name));
  return l ? l->text() : QStringLiteral("<none>");
}

TEST(AboutText, YearPlaceholder) {
  struct Row {
    const char* in;
    int year;
    const char* out;
  };
  const Row rows[] = {
      {"© 2000, %yyyy% Beugwerk-Team", 2026, "© 2000, 2026 Beugwerk-Team"},
      {"© 2026, %yyyy% Beugwerk-Team", 2026, "© 2026 Beugwerk-Team"},
      {"© %yyyy% Beugwerk-Team", 2026, "© 2026 Beugwerk-Team"},
      {"© 2026 %yyyy% X", 2026,
       "© 2026  X"},  // no comma two characters before: only the placeholder goes
      {"ohne Platzhalter 2026", 2026, "ohne Platzhalter 2026"},
  };
  for (const Row& r : rows)
    EXPECT_EQ(ReplaceYearPlaceholder(QString::fromUtf8(r.in), r.year), QString::fromUtf8(r.out))
        << r.in;
}

TEST(AboutText, VersionLineWithBuildDate) {
  struct Row {
    const char* text;
    std::array<int, 4> numbers;
    const char* line;
    bool dateShown;
  };
  const Row rows[] = {
      {"9.0.0.0", {9, 0, 0, 0}, "Version 9.0.0.0", false},
      // 2000-01-01 + 9800 days = 2026-10-31; 1234 * 2 s = 00:41:08
      {"9.0", {9, 0, 9800, 1234}, "Version 9.0 / 31.10.2026 00:41:08", true},
      // 18 February 2014 itself (5162 days) is not later than the limit
      {"9.0", {9, 0, 5162, 0}, "Version 9.0", false},
      {"9.0", {9, 0, 5163, 0}, "Version 9.0 / 19.02.2014 00:00:00", true},
  };
  for (const Row& r : rows) {
    bool shown = !r.dateShown;
    EXPECT_EQ(AboutVersionLine(r.text, r.numbers, &shown), r.line) << r.line;
    EXPECT_EQ(shown, r.dateShown) << r.line;
  }
}

TEST(About, Defaults) {
  TAbout about;
  EXPECT_EQ(about.Caption(), "Info");
  EXPECT_EQ(about.Head1(), QApplication::applicationDisplayName());
  EXPECT_EQ(about.Head2(), "");
  EXPECT_EQ(about.helpBtnText(), "&Hilfe");
  EXPECT_EQ(about.HelpContext(), 0);
  EXPECT_EQ(about.Alignment(), Qt::AlignHCenter);
  const int year =
      QFileInfo(QString::fromStdString(ProgramFile().string())).lastModified().date().year();
  EXPECT_EQ(about.Year(), year);
  EXPECT_TRUE(about.Copyright().contains(QString::number(year)));
  EXPECT_FALSE(about.Copyright().contains("%yyyy%"));
  EXPECT_TRUE(about.eMail().endsWith("?subject=" + QString::fromStdU16String(ProgramBaseName())));
  EXPECT_FALSE(about.Instit().isEmpty());
  EXPECT_TRUE(about.WWW().startsWith("https://"));
  EXPECT_EQ(about.VersionDate().size(), QString("dd.mm.yy hh:nn:ss").size());
}

TEST(About, OkEscAndWhatTheBoxShows) {
  QMainWindow main;
  main.setGeometry(100, 100, 700, 600);
  main.show();
  TAbout about;
  about.SetHead1("Beugwerk");
  about.SetVersionNr("9.0.0");
  about.SetImageName("fehlt.BMP");  // missing: takes no room
  WhenAboutShows([&](QDialog* form) {
    EXPECT_EQ(form->windowTitle(), "Info");
    EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(LabelText(form, "FHeadLabel1"), "Beugwerk");
    EXPECT_EQ(LabelText(form, "FVersionLabel"), "Version 9.0.0");
    EXPECT_EQ(LabelText(form, "FHeadLabel2"), "<none>");
    EXPECT_EQ(form->findChild<QLabel*>("FImage"), nullptr);
    EXPECT_EQ(LabelText(form, "FEMailLabel"), "info@beugwerk.de");
    EXPECT_EQ(form->findChild<QLabel*>("FEMailLabel")->toolTip(),
              "Eine Email an den Programmautor senden...");
    EXPECT_EQ(form->findChild<QLabel*>("FWWWLabel")->toolTip(),
              "Hier finden Sie weitere Informationen im Internet.");
    EXPECT_EQ(form->findChild<QPushButton*>("FHlpBtn"), nullptr);
    EXPECT_EQ(LabelText(form, "FLabelExeDate"), about.VersionDate());
    EXPECT_TRUE(LabelText(form, "FLabelWinVersion").contains("; "));
    // Centred on the main window.
    EXPECT_LE(std::abs(form->geometry().center().x() - main.geometry().center().x()), 1);

    // Gradient from warm at the top to cool at the bottom, white frame top/left, grey right/bottom.
    const QImage img = form->grab().toImage();
    EXPECT_EQ(QColor(img.pixel(0, 0)), QColor(Qt::white));
    EXPECT_EQ(QColor(img.pixel(img.width() - 1, img.height() / 2)), QColor(128, 128, 128));
    EXPECT_EQ(QColor(img.pixel(img.width() / 2, img.height() - 1)), QColor(128, 128, 128));
    const QColor high(img.pixel(4, 3));  // second band, just below the frame
    EXPECT_NEAR(high.red(), 244, 1);
    EXPECT_NEAR(high.green(), 220, 1);
    EXPECT_NEAR(high.blue(), 196, 1);
    const QColor low(img.pixel(4, img.height() - 4));
    EXPECT_NEAR(low.red(), 242, 1);
    EXPECT_NEAR(low.green(), 247, 2);
    EXPECT_NEAR(low.blue(), 254, 2);

    const std::filesystem::path out = BEUGWERK_TEST_OUTPUT;
    std::filesystem::create_directories(out);
    img.save(QString::fromStdString((out / "about.png").string()));
    form->findChild<QPushButton*>("FOkBtn")->click();
  });
  EXPECT_TRUE(about.Execute());

  WhenAboutShows([](QDialog* form) { QTest::keyClick(form, Qt::Key_Escape); });
  EXPECT_FALSE(about.Execute());
}

TEST(About, LinksOpenAndClose) {
  TAbout about;
  QList<QUrl> opened;
  about.OpenUrl = [&](const QUrl& u) { opened << u; };
  WhenAboutShows([](QDialog* form) {
    auto* l = form->findChild<QLabel*>("FWWWLabel");
    QTest::mouseClick(l, Qt::LeftButton);
  });
  EXPECT_FALSE(about.Execute());
  WhenAboutShows([](QDialog* form) {
    QTest::mouseClick(form->findChild<QLabel*>("FEMailLabel"), Qt::LeftButton);
  });
  EXPECT_FALSE(about.Execute());
  ASSERT_EQ(opened.size(), 2);
  EXPECT_EQ(opened[0], QUrl(about.WWW()));
  EXPECT_EQ(opened[1].scheme(), "mailto");
  EXPECT_EQ(opened[1].toString(), "mailto:" + about.eMail());
}

TEST(About, HelpButtonSecondHeadingAndBuildDate) {
  TAbout about;
  about.SetHelpContext(7);
  about.SetHead2("Verbformen");
  int help = 0;
  about.OnHelp = [&](int ctx) { help = ctx; };
  WhenAboutShows([](QDialog* form) {
    EXPECT_EQ(LabelText(form, "FHeadLabel2"), "Verbformen");
    EXPECT_EQ(LabelText(form, "FVersionLabel"), "<none>");
    auto* btn = form->findChild<QPushButton*>("FHlpBtn");
    ASSERT_NE(btn, nullptr);
    EXPECT_EQ(btn->text(), "&Hilfe");
    btn->click();
    form->findChild<QPushButton*>("FOkBtn")->click();
  });
  EXPECT_TRUE(about.Execute());
  EXPECT_EQ(help, 7);

  TAbout built;
  built.SetVersionNr("9.0");
  built.SetFileVersionNumbers({9, 0, 9800, 1234});
  WhenAboutShows([](QDialog* form) {
    EXPECT_EQ(LabelText(form, "FVersionLabel"), "Version 9.0 / 31.10.2026 00:41:08");
    EXPECT_EQ(LabelText(form, "FLabelExeDate"), "");  // the date is in the version line already
    form->accept();
  });
  built.Execute();
}

TEST(About, ImageBesideTheProgramWidensTheBox) {
  // A bitmap named without folder is looked for beside the program.
  QImage picture(420, 40, QImage::Format_RGB32);
  picture.fill(QColor(30, 90, 160));
  const auto file = ProgramFile().parent_path() / "about_test_bild.BMP";
  ASSERT_TRUE(picture.save(QString::fromStdString(file.string()), "BMP"));
  TAbout about;
  about.SetImageName("about_test_bild.BMP");
  WhenAboutShows([](QDialog* form) {
    auto* img = form->findChild<QLabel*>("FImage");
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(img->pixmap().width(), 420);
    EXPECT_GE(form->width(), 440);
    form->accept();
  });
  about.Execute();
  std::filesystem::remove(file);
}

TEST(About, DraggingMovesTheBox) {
  TAbout about;
  WhenAboutShows([](QDialog* form) {
    const QPoint before = form->pos();
    auto* head = form->findChild<QLabel*>("FInstitLabel");
    const QPoint start = head->mapTo(form, QPoint(5, 5));
    QTest::mousePress(form, Qt::LeftButton, {}, start);
    QMouseEvent move(QEvent::MouseMove, QPointF(start + QPoint(40, 25)),
                     QPointF(form->mapToGlobal(start + QPoint(40, 25))), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form, &move);
    QTest::mouseRelease(form, Qt::LeftButton, {}, start + QPoint(40, 25));
    QTest::qWait(30);
    EXPECT_EQ(form->pos(), before + QPoint(40, 25));
    form->accept();
  });
  about.Execute();
}

}  // namespace
