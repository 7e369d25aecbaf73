// SPDX-License-Identifier: MIT
#include "common/_0comvcl.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <map>

#ifdef BEUGWERK_HAVE_MULTIMEDIA
#include <QEventLoop>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#endif

#include "common/_0ZTINI.h"
#include "common/_ZT_cmn_A.h"

namespace {

QString ToQ(std::u16string_view s) {
  return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}

QPointer<QWidget>& RegisteredMainForm() {
  static QPointer<QWidget> form;
  return form;
}

// German captions, as the rest of the program speaks German.
struct TButtonInfo {
  const char* caption;
  QMessageBox::ButtonRole role;
};
TButtonInfo ButtonInfo(TMsgDlgBtn b) {
  switch (b) {
    case mbYes:
      return {"&Ja", QMessageBox::YesRole};
    case mbNo:
      return {"&Nein", QMessageBox::NoRole};
    case mbOK:
      return {"OK", QMessageBox::AcceptRole};
    case mbCancel:
      return {"Abbrechen", QMessageBox::RejectRole};
    case mbAbort:
      return {"Ab&bruch", QMessageBox::RejectRole};
    case mbRetry:
      return {"&Wiederholen", QMessageBox::AcceptRole};
    case mbIgnore:
      return {"&Ignorieren", QMessageBox::AcceptRole};
    case mbAll:
      return {"&Alle", QMessageBox::YesRole};
    case mbNoToAll:
      return {"N&ein für alle", QMessageBox::NoRole};
    case mbYesToAll:
      return {"Ja für a&lle", QMessageBox::YesRole};
    case mbHelp:
      return {"&Hilfe", QMessageBox::HelpRole};
    case mbClose:
      return {"&Schließen", QMessageBox::RejectRole};
  }
  return {"OK", QMessageBox::AcceptRole};
}

QMessageBox::Icon IconOf(TMsgDlgType t) {
  switch (t) {
    case mtWarning:
      return QMessageBox::Warning;
    case mtError:
      return QMessageBox::Critical;
    case mtInformation:
      return QMessageBox::Information;
    case mtConfirmation:
      return QMessageBox::Question;
    case mtCustom:
      return QMessageBox::NoIcon;
  }
  return QMessageBox::NoIcon;
}

TScreenRect ScreenRectAt(const QPoint& p) {
  QScreen* s = QGuiApplication::screenAt(p);
  if (!s) s = QGuiApplication::primaryScreen();
  if (!s) return {0, 0, 800, 600};
  const QRect r = s->availableGeometry();
  return {r.x(), r.y(), r.width(), r.height()};
}

// Where a dialog of size sz goes against the reference rectangle r.
QPoint AlignedPos(TMsgAlign a, const QRect& r, const QSize& sz) {
  const int left = r.left();
  const int right = r.left() + r.width() - sz.width();
  const int hcenter = r.left() + (r.width() - sz.width()) / 2;
  const int top = r.top();
  const int bottom = r.top() + r.height() - sz.height();
  const int vcenter = r.top() + (r.height() - sz.height()) / 2;
  switch (a) {
    case ma_Center:
      return {hcenter, vcenter};
    case ma_leftTop:
      return {left, top};
    case ma_RightTop:
      return {right, top};
    case ma_CenterTop:
      return {hcenter, top};
    case ma_LeftCenter:
      return {left, vcenter};
    case ma_RightCenter:
      return {right, vcenter};
    case ma_LeftBottom:
      return {left, bottom};
    case ma_RightBottom:
      return {right, bottom};
    case ma_CenterBottom:
      return {hcenter, bottom};
  }
  return {hcenter, vcenter};
}

// A message box that places itself once its size is known (after QMessageBox has laid it out
// in its own show handling, before the window is mapped).
class TPlacedMessageBox : public QMessageBox {
 public:
  TPlacedMessageBox(QRect reference, TMsgAlign align, bool fitIntoScreen)
      : FReference(reference), FAlign(align), FFit(fitIntoScreen) {}

 protected:
  void showEvent(QShowEvent* e) override {
    QMessageBox::showEvent(e);
    QPoint p = AlignedPos(FAlign, FReference, size());
    if (FFit) {
      TFormPlacement fp;
      fp.Left = p.x();
      fp.Top = p.y();
      fp.Width = width();
      fp.Height = height();
      FitIntoScreen(fp, ScreenRectAt(FReference.center()));
      p = {fp.Left, fp.Top};
    }
    move(p);
  }

 private:
  QRect FReference;
  TMsgAlign FAlign;
  bool FFit;
};

// The active form, else the main window, else the first 800 by 600 pixels.
QRect ReferenceRect() {
  if (QWidget* w = QApplication::activeWindow()) return w->geometry();
  if (QWidget* w = MainForm()) return w->geometry();
  return QRect(0, 0, 800, 600);
}

}  // namespace

// --- sounds ---------------------------------------------------------------------------------
void PlaySoundResource(const QString& name, bool wait) {
  const QString path = QStringLiteral(":/sounds/") + name + QStringLiteral(".wav");
  if (name.isEmpty() || !QFile::exists(path)) return;
#ifdef BEUGWERK_HAVE_MULTIMEDIA
  auto* effect = new QSoundEffect(qApp);
  effect->setSource(QUrl(QStringLiteral("qrc") + path));
  QObject::connect(effect, &QSoundEffect::playingChanged, effect, [effect] {
    if (!effect->isPlaying()) effect->deleteLater();
  });
  effect->play();
  if (wait) {
    QEventLoop loop;
    QObject::connect(effect, &QSoundEffect::playingChanged, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);  // a sound never holds up the program
    loop.exec();
  }
#else
  (void)wait;
#endif
}

// --- TMsgBoxWin -------------------------------------------------------------------------------
int TMsgBoxWin::Dlg(std::u16string_view Msg, TMsgDlgType dlgType, TMsgDlgButtons btns,
                    TMsgDlgBtn defButton) {
  QElapsedTimer open;
  open.start();
  if (OnStartDialog) OnStartDialog(*this);
  const bool cursorOverridden = QGuiApplication::overrideCursor() != nullptr;
  if (cursorOverridden) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
  struct TCleanup {
    TMsgBoxWin& box;
    QElapsedTimer& open;
    bool cursor;
    ~TCleanup() {
      box.FPrompting = false;
      if (cursor) QGuiApplication::restoreOverrideCursor();
      box.DialogDurationTotal += open.elapsed() / 86400000.0;
      if (box.OnEndDialog) box.OnEndDialog(box);
    }
  } cleanup{*this, open, cursorOverridden};

  QString msg = ToQ(Msg);
  if (msg.startsWith(u'$')) {
    const qsizetype blank = msg.indexOf(u' ');
    QString sound = msg.mid(1, blank < 0 ? -1 : blank - 1);
    msg = blank < 0 ? QString() : msg.mid(blank + 1);
    const bool wait = sound.startsWith(u'!');
    if (wait) sound.remove(0, 1);
    if (FSoundPlayer)
      FSoundPlayer(sound, wait);
    else
      PlaySoundResource(sound, wait);
    if (msg.isEmpty()) return mrNone;
  }
  if (msg.startsWith(u'!')) msg.remove(0, 1);
  if (msg.isEmpty()) return mrNone;

  const bool aligned = FUseNextAlign && FAlign != ma_Center;
  FUseNextAlign = false;
  TPlacedMessageBox box(ReferenceRect(), aligned ? FAlign : ma_Center, aligned);
  box.setWindowTitle(ToQ(ProgramBaseName()));
  box.setIcon(IconOf(dlgType));
  box.setTextFormat(Qt::PlainText);  // user text (a typed verb) is never markup
  box.setText(msg);
  std::map<QAbstractButton*, TMsgDlgBtn> buttons;
  QAbstractButton* escape = nullptr;
  QAbstractButton* no = nullptr;
  QAbstractButton* ok = nullptr;
  for (int b = mbYes; b <= mbClose; ++b) {
    if (!(btns & (1u << b))) continue;
    const TButtonInfo info = ButtonInfo(static_cast<TMsgDlgBtn>(b));
    QPushButton* button = box.addButton(QString::fromUtf8(info.caption), info.role);
    buttons[button] = static_cast<TMsgDlgBtn>(b);
    if (b == defButton) box.setDefaultButton(button);
    if (b == mbCancel) escape = button;
    if (b == mbNo) no = button;
    if (b == mbOK) ok = button;
  }
  // Esc answers Cancel, else No, else OK.
  box.setEscapeButton(escape ? escape : no ? no : ok);
  FPrompting = true;
  box.exec();
  FPrompting = false;
  const auto it = buttons.find(box.clickedButton());
  return it == buttons.end() ? mrCancel : ModalResultOf(it->second);
}

int TMsgBoxWin::Info(std::u16string_view Msg) {
  return Dlg(Msg, mtInformation, Btns({mbOK}), mbOK);
}
int TMsgBoxWin::ErrInfo(std::u16string_view Msg) {
  return Dlg(Msg, mtError, Btns({mbOK}), mbOK);
}
int TMsgBoxWin::YesNo(std::u16string_view Msg) {
  return Dlg(Msg, mtConfirmation, Btns({mbYes, mbNo}), mbYes);
}
int TMsgBoxWin::NoYes(std::u16string_view Msg) {
  return Dlg(Msg, mtConfirmation, Btns({mbYes, mbNo}), mbNo);
}
int TMsgBoxWin::YesCancel(std::u16string_view Msg) {
  return Dlg(Msg, mtConfirmation, Btns({mbYes, mbCancel}), mbYes);
}
int TMsgBoxWin::OkCancel(std::u16string_view Msg) {
  return Dlg(Msg, mtInformation, Btns({mbOK, mbCancel}), mbOK);
}
int TMsgBoxWin::IgnoreCancel(std::u16string_view Msg) {
  return Dlg(Msg, mtConfirmation, Btns({mbCancel, mbIgnore}), mbIgnore);
}
int TMsgBoxWin::YesNoCancel(std::u16string_view Msg, bool withRetry) {
  TMsgDlgButtons b = Btns({mbYes, mbNo, mbCancel});
  if (withRetry) b |= Btns({mbRetry});
  return Dlg(Msg, mtConfirmation, b, mbYes);
}
int TMsgBoxWin::NoYesCancel(std::u16string_view Msg, bool withRetry) {
  TMsgDlgButtons b = Btns({mbYes, mbNo, mbCancel});
  if (withRetry) b |= Btns({mbRetry});
  return Dlg(Msg, mtConfirmation, b, mbNo);
}
int TMsgBoxWin::YesNoAllCancel(std::u16string_view Msg, bool withRetry) {
  TMsgDlgButtons b = Btns({mbYes, mbNo, mbCancel, mbAll});
  if (withRetry) b |= Btns({mbRetry});
  return Dlg(Msg, mtConfirmation, b, mbNo);
}
int TMsgBoxWin::YesToAllNoCancel(std::u16string_view Msg, TMsgDlgBtn defButton, bool withRetry) {
  TMsgDlgButtons b = Btns({mbYes, mbNo, mbCancel, mbYesToAll});
  if (withRetry) b |= Btns({mbRetry});
  return Dlg(Msg, mtConfirmation, b, defButton);
}

// --- the program's object and the main window ----------------------------------------------
namespace {
TMsgBoxWin& InstallWindowed() {
  if (auto* win = dynamic_cast<TMsgBoxWin*>(&MsgBox())) return *win;
  auto box = std::make_unique<TMsgBoxWin>();
  TMsgBoxWin& ref = *box;
  SetMsgBox(std::move(box));
  return ref;
}

// Installed when the module is initialised, after the placeholder of _ZT_cmn (MsgBox()
// creates that on first use).
const bool g_installed = (InstallWindowed(), true);
}  // namespace

TMsgBoxWin& InstallMsgBoxWin() {
  TMsgBoxWin& box = InstallWindowed();
  // Not at module initialisation: the settings module may not be initialised by then.
  SetSettingsMessageCallback([](const std::string& message) { MsgBox().Info(Utf8ToUni(message)); });
  return box;
}

void SetMainForm(QWidget* form) {
  RegisteredMainForm() = form;
}

QWidget* MainForm() {
  if (RegisteredMainForm()) return RegisteredMainForm();
  for (QWidget* w : QApplication::topLevelWidgets())
    if (qobject_cast<QMainWindow*>(w)) return w;
  return nullptr;
}

void ShowMessageCentered(std::u16string_view text) {
  QWidget* main = MainForm();
  TPlacedMessageBox box(main ? main->geometry() : ReferenceRect(), ma_Center, false);
  box.setWindowTitle(ToQ(ProgramBaseName()));
  box.setIcon(QMessageBox::NoIcon);
  box.setTextFormat(Qt::PlainText);
  box.setText(ToQ(text));
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
}
