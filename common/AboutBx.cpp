// SPDX-License-Identifier: MIT
#include "common/AboutBx.h"

#include <unistd.h>

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QSysInfo>
#include <QVBoxLayout>

#include "common/SiteConfig.h"
#include "common/_0ZTINI.h"
#include "common/_0comvcl.h"

namespace {

QString ToQ(std::u16string_view s) {
  return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}

QStringList AboutFonts() {
  return {QStringLiteral("Segoe UI"), QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")};
}

QDateTime ProgramFileTime() {
  const QFileInfo exe(QString::fromStdString(ProgramFile().string()));
  return exe.exists() ? exe.lastModified() : QDateTime::currentDateTime();
}

// The build tool shown in the system line.
QString BuildToolText() {
#if defined(__clang__)
  QString compiler = QStringLiteral("Clang %1.%2").arg(__clang_major__).arg(__clang_minor__);
#elif defined(__GNUC__)
  QString compiler = QStringLiteral("GCC %1.%2").arg(__GNUC__).arg(__GNUC_MINOR__);
#else
  QString compiler = QStringLiteral("C++");
#endif
  return compiler + QStringLiteral(", Qt ") + QString::fromLatin1(QT_VERSION_STR);
}

// A label that acts as a link: blue, underlined, a pointing hand, a hint.
class TLinkLabel : public QLabel {
 public:
  TLinkLabel(const QString& text, const QString& hint, std::function<void()> onClick,
             QWidget* parent)
      : QLabel(text, parent), FOnClick(std::move(onClick)) {
    setToolTip(hint);
    setCursor(Qt::PointingHandCursor);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, QColor(0, 0, 255));
    setPalette(p);
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
  }

 protected:
  // Presses stay here, so a click on a link never starts dragging the box.
  void mousePressEvent(QMouseEvent* e) override { e->accept(); }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && FOnClick)
      FOnClick();
  }

 private:
  std::function<void()> FOnClick;
};

// The box: gradient in 3-pixel bands, a white frame top and left, grey right and bottom, and
// dragging with the left button anywhere on it.
class TAboutForm : public QDialog {
 public:
  explicit TAboutForm(QWidget* parent)
      : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QColor top(244, 220, 196), bottom(242, 248, 255);
    const int h = std::max(1, height());
    for (int y = 0; y < height(); y += 3) {
      const double t = static_cast<double>(y) / h;
      const QColor c(top.red() + (bottom.red() - top.red()) * t,
                     top.green() + (bottom.green() - top.green()) * t,
                     top.blue() + (bottom.blue() - top.blue()) * t);
      p.fillRect(0, y, width(), 3, c);
    }
    p.fillRect(0, 0, width(), 2, Qt::white);
    p.fillRect(0, 0, 2, height(), Qt::white);
    p.fillRect(width() - 2, 0, 2, height(), QColor(128, 128, 128));
    p.fillRect(0, height() - 2, width(), 2, QColor(128, 128, 128));
  }
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) {
      FDragging = true;
      FGrab = e->globalPosition().toPoint() - frameGeometry().topLeft();
      e->accept();
    }
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (FDragging && (e->buttons() & Qt::LeftButton)) move(e->globalPosition().toPoint() - FGrab);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) FDragging = false;
  }

 private:
  bool FDragging = false;
  QPoint FGrab;
};

QLabel* AddLine(QVBoxLayout* layout, QWidget* parent, const char* name, const QString& text,
                Qt::Alignment align) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextFormat(Qt::PlainText);
  layout->addWidget(label, 0, align);
  return label;
}

QPixmap LoadAboutImage(const QString& name) {
  if (name.isEmpty()) return {};
  if (name.endsWith(QStringLiteral(".BMP"), Qt::CaseInsensitive)) {
    QString path = name;
    if (!path.contains(u':') && !QFileInfo(path).isAbsolute())
      path = QString::fromStdString(ProgramFile().parent_path().string()) + u'/' + name;
    return QPixmap(path);
  }
  QString res = name;
  if (res.endsWith(QStringLiteral(".BR"), Qt::CaseInsensitive)) res.chop(3);
  return QPixmap(QStringLiteral(":/images/") + res);
}

}  // namespace

// --- text rules -------------------------------------------------------------------------------
QString ReplaceYearPlaceholder(const QString& text, int year) {
  const QString placeholder = QStringLiteral("%yyyy%");
  const qsizetype p = text.indexOf(placeholder);
  if (p < 0) return text;
  const QString y = QString::number(year);
  QString r = text;
  if (text.contains(y)) {
    const qsizetype from = p >= 2 && text[p - 2] == u',' ? p - 2 : p;
    r.remove(from, p + placeholder.size() - from);
  } else {
    r.replace(p, placeholder.size(), y);
  }
  return r;
}

QString AboutVersionLine(const QString& fileVersion, const std::array<int, 4>& n,
                         bool* buildDateShown) {
  QString line = QStringLiteral("Version ") + fileVersion;
  bool shown = false;
  const QString numeric = QStringLiteral("%1.%2.%3.%4").arg(n[0]).arg(n[1]).arg(n[2]).arg(n[3]);
  if (numeric != fileVersion) {
    const QDateTime built =
        QDateTime(QDate(2000, 1, 1), QTime(0, 0)).addDays(n[2]).addSecs(qint64(n[3]) * 2);
    if (built > QDateTime(QDate(2014, 2, 18), QTime(23, 59, 59))) {
      line += QStringLiteral(" / ") + built.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
      shown = true;
    }
  }
  if (buildDateShown) *buildDateShown = shown;
  return line;
}

// --- TAbout -------------------------------------------------------------------------------------
TAbout::TAbout(QObject* aOwner) : QObject(aOwner) {
  const QDateTime fileTime = ProgramFileTime();
  FYear = fileTime.date().year();
  FCaption = QStringLiteral("Info");
  FHead1 = QApplication::applicationDisplayName();
  FHelpBtnText = QStringLiteral("&Hilfe");
  FVersionDate = fileTime.toString(QStringLiteral("dd.MM.yy hh:mm:ss"));
  FVersionNr = QApplication::applicationVersion();
  SetCopyright(ToQ(site::kDefaultCopyright));
  FInstit = ToQ(site::kInstitution);
  FWWW = ToQ(site::kAboutWWW);
  FEMail = ToQ(site::kAboutEMail) + QStringLiteral("?subject=") + ToQ(ProgramBaseName());
  OpenUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };
}

bool TAbout::Execute() {
  QWidget* main = MainForm();
  TAboutForm form(main);
  FForm = &form;
  form.setWindowTitle(FCaption);
  QFont base = form.font();
  base.setFamilies(AboutFonts());
  form.setFont(base);
  const Qt::Alignment align = FAlignment & Qt::AlignHorizontal_Mask;

  auto* layout = new QVBoxLayout(&form);
  layout->setContentsMargins(16, 12, 16, 10);
  layout->setSpacing(6);

  // Icon and first heading side by side.
  auto* top = new QHBoxLayout;
  auto* icon = new QLabel(&form);
  icon->setObjectName(QStringLiteral("FAppIcon"));
  const QIcon appIcon = FProjectIcon.isNull() ? QApplication::windowIcon() : FProjectIcon;
  if (!appIcon.isNull()) icon->setPixmap(appIcon.pixmap(48, 48));
  top->addWidget(icon, 0, Qt::AlignLeft | Qt::AlignVCenter);
  auto* head1 = new QLabel(FHead1, &form);
  head1->setObjectName(QStringLiteral("FHeadLabel1"));
  head1->setTextFormat(Qt::PlainText);
  QFont big = base;
  big.setPointSizeF(base.pointSizeF() * 1.8);
  big.setBold(true);
  head1->setFont(big);
  top->addWidget(head1, 1, align | Qt::AlignVCenter);
  layout->addLayout(top);

  bool buildDateShown = false;
  if (!FHead2.isEmpty()) {
    AddLine(layout, &form, "FHeadLabel2", FHead2, align);
  } else {
    std::array<int, 4> n = FNumbers;
    if (!FNumbersSet) {
      const QStringList parts = FVersionNr.split(u'.');
      for (int i = 0; i < 4 && i < parts.size(); ++i) n[i] = parts[i].toInt();
    }
    AddLine(layout, &form, "FVersionLabel", AboutVersionLine(FVersionNr, n, &buildDateShown),
            align);
  }

  const QPixmap image = LoadAboutImage(FImageName);
  if (!image.isNull()) {
    auto* img = new QLabel(&form);
    img->setObjectName(QStringLiteral("FImage"));
    img->setPixmap(image);
    layout->addWidget(img, 0, align);
    form.setMinimumWidth(image.width() + 20);
  }

  if (!FInstit.isEmpty()) AddLine(layout, &form, "FInstitLabel", FInstit, align);
  if (!FCopyright.isEmpty()) AddLine(layout, &form, "FCopyrightLabel", FCopyright, align);
  if (!FWWW.isEmpty()) {
    const QString hint = FHintWWW.isEmpty()
                             ? QStringLiteral("Hier finden Sie weitere Informationen im Internet.")
                             : FHintWWW;
    auto* www = new TLinkLabel(
        FWWW, hint,
        [this, &form] {
          if (OpenUrl) OpenUrl(QUrl(FWWW));
          form.reject();
        },
        &form);
    www->setObjectName(QStringLiteral("FWWWLabel"));
    layout->addWidget(www, 0, align);
  }
  if (!FEMail.isEmpty()) {
    const QString hint = FHintEmail.isEmpty()
                             ? QStringLiteral("Eine Email an den Programmautor senden...")
                             : FHintEmail;
    const QString shown = FEMail.section(u'?', 0, 0);
    auto* mail = new TLinkLabel(
        shown, hint,
        [this, &form] {
          if (OpenUrl) OpenUrl(QUrl(QStringLiteral("mailto:") + FEMail));
          form.reject();
        },
        &form);
    mail->setObjectName(QStringLiteral("FEMailLabel"));
    layout->addWidget(mail, 0, align);
  }

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  if (FHelpContext != 0) {
    auto* help = new QPushButton(FHelpBtnText, &form);
    help->setObjectName(QStringLiteral("FHlpBtn"));
    QObject::connect(help, &QPushButton::clicked, &form, [this] {
      if (OnHelp) OnHelp(FHelpContext);
    });
    buttons->addWidget(help);
  }
  auto* ok = new QPushButton(QStringLiteral("OK"), &form);
  ok->setObjectName(QStringLiteral("FOkBtn"));
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, &form, &QDialog::accept);
  buttons->addWidget(ok);
  buttons->addStretch();
  layout->addSpacing(4);
  layout->addLayout(buttons);

  // System and build tool at the left, the program file's date at the right.
  QFont small = base;
  small.setPointSizeF(base.pointSizeF() * 0.85);
  auto* bottom = new QHBoxLayout;
  const QString admin = geteuid() == 0 ? QStringLiteral(" Admin ") : QStringLiteral(" ");
  auto* sys = new QLabel(
      QSysInfo::prettyProductName() + QStringLiteral(";") + admin + BuildToolText(), &form);
  sys->setObjectName(QStringLiteral("FLabelWinVersion"));
  sys->setFont(small);
  bottom->addWidget(sys, 1, Qt::AlignLeft);
  auto* date = new QLabel(buildDateShown ? QString() : FVersionDate, &form);
  date->setObjectName(QStringLiteral("FLabelExeDate"));
  date->setFont(small);
  bottom->addWidget(date, 0, Qt::AlignRight);
  layout->addSpacing(6);
  layout->addLayout(bottom);

  // As wide as the widest line needs; centred on the main window, kept on the screen.
  form.resize(360, form.sizeHint().height());
  form.adjustSize();
  const QRect ref = main ? main->geometry()
                         : (QGuiApplication::primaryScreen()
                                ? QGuiApplication::primaryScreen()->availableGeometry()
                                : QRect(0, 0, 800, 600));
  TFormPlacement fp;
  fp.Width = form.width();
  fp.Height = form.height();
  fp.Left = ref.left() + (ref.width() - fp.Width) / 2;
  fp.Top = ref.top() + (ref.height() - fp.Height) / 2;
  if (QScreen* s = QGuiApplication::screenAt(ref.center()) ? QGuiApplication::screenAt(ref.center())
                                                           : QGuiApplication::primaryScreen()) {
    const QRect a = s->availableGeometry();
    FitIntoScreen(fp, TScreenRect{a.x(), a.y(), a.width(), a.height()});
  }
  form.move(fp.Left, fp.Top);

  const int result = form.exec();
  FForm = nullptr;
  return result == QDialog::Accepted;
}
