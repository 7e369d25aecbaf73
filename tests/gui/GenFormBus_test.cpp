// SPDX-License-Identifier: MIT
// The GenForm service on a private session bus: the bus name, form and list requests through
// Poke/Request with the Advise signal, macro pokes acting on the window, unknown items, and two
// runs of the real program (the second finds the name taken, the first keeps serving and
// closes on "[CLOS]").
#include "app/GenFormBus.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "GuiTestSupport.h"
#include "app/MainWindow.h"
#include "app/Request.h"
#include "common/ZTHistCmb.h"

namespace {

using guitest::WaitFor;

const bool kPrepared = guitest::PrepareBrowser();

const QString kItem = "BwGen";

// A client with a connection of its own, so that its calls cross the bus like another
// program's; every call has a time limit and runs the event loop while it waits.
class TClient : public QObject {
 public:
  explicit TClient(const QString& service)
      : FBus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, "genform-client")),
        FService(service) {}
  ~TClient() override { QDBusConnection::disconnectFromBus("genform-client"); }

  QDBusMessage Call(const QString& method, const QList<QVariant>& args) {
    QDBusMessage m =
        QDBusMessage::createMethodCall(FService, kGenFormPath, kGenFormInterface, method);
    m.setArguments(args);
    QDBusPendingCall pending = FBus.asyncCall(m, 20000);
    WaitFor([&] { return pending.isFinished(); }, 25000);
    return pending.reply();
  }
  QString Ask(const QString& request) {
    Call("Poke", {kItem, request});
    return Call("Request", {kItem}).arguments().value(0).toString();
  }
  QDBusConnection& Bus() { return FBus; }

 private:
  QDBusConnection FBus;
  QString FService;
};

class TAdviseSink : public QObject {
  Q_OBJECT

 public:
  QStringList Received;

 public Q_SLOTS:
  void Take(const QString& item, const QString& text) { Received.append(item + "=" + text); }
};

// The same request answered by the service without any transport.
QString Direct(const QString& request) {
  TRequestService service;
  service.Poke(request.toStdU16String());
  return QString::fromStdU16String(service.ItemText());
}

TEST(GenFormBusName, FollowsTheProgramFileName) {
  struct Row {
    const char* program;
    const char* name;
  } rows[] = {
      {"/usr/bin/beugwerk-gui", "de.beugwerk.beugwerk-gui"},
      {"C:/Programme/Beugwerk.exe", "de.beugwerk.Beugwerk"},
      {"/opt/Beugwerk.v9.bin", "de.beugwerk.Beugwerk"},
      {"/opt/3verb", "de.beugwerk._3verb"},
      {"/opt/wörter buch", "de.beugwerk.w_rter_buch"},
      {"/opt/.hidden", "de.beugwerk._"},
  };
  for (const Row& r : rows)
    EXPECT_EQ(GenFormBusName(QString::fromUtf8(r.program)), r.name) << r.program;
}

class GenFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kPrepared);
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "needs a session bus";
    window = std::make_unique<TForm1>();
    window->show();
    ASSERT_TRUE(WaitFor([&] { return window->windowTitle().startsWith("Deutsche Verbformen"); }));
    ASSERT_TRUE(window->GenFormServing());
    client = std::make_unique<TClient>(window->GenFormServiceName());
  }
  void TearDown() override {
    client.reset();
    window.reset();
  }

  guitest::TPrivateSettings settings;
  std::unique_ptr<TForm1> window;
  std::unique_ptr<TClient> client;
};

TEST_F(GenFormTest, AnswersFormsAndListsAsTheRequestServiceDoes) {
  EXPECT_EQ(window->GenFormServiceName(), GenFormBusName(QCoreApplication::applicationFilePath()));
  EXPECT_TRUE(client->Bus().interface()->isServiceRegistered(window->GenFormServiceName()));
  EXPECT_EQ(client->Call("Request", {kItem}).arguments().value(0).toString(), "A:gehen");
  struct Row {
    const char* request;
    const char* answer;  // nullptr: as the service answers, checked below
  } rows[] = {
      {"G2:lesen", "liest"},
      {"G7:lesen", "** unbekannter Formname! **"},
      {"S", "-"},
      {"2:gehen", nullptr},
      {"A1:gehen", nullptr},
      {"A0:anfangen", nullptr},
  };
  for (const Row& r : rows) {
    const QString answer = client->Ask(r.request);
    EXPECT_EQ(answer, Direct(r.request)) << r.request;
    if (r.answer) {
      EXPECT_EQ(answer, r.answer) << r.request;
    }
  }
  const QStringList forms = client->Ask("A1:gehen").split("\r\n");
  EXPECT_EQ(forms.mid(0, 3), (QStringList{"gehe", "gehst", "geht"}));
  EXPECT_FALSE(forms.contains("-"));
  EXPECT_EQ(forms.size(), QSet<QString>(forms.begin(), forms.end()).size()) << "no form twice";
}

TEST_F(GenFormTest, AdviseCarriesEachNewValue) {
  TAdviseSink sink;
  ASSERT_TRUE(client->Bus().connect(window->GenFormServiceName(), kGenFormPath, kGenFormInterface,
                                    "Advise", &sink, SLOT(Take(QString, QString))));
  client->Ask("G2:lesen");
  client->Ask("G2:lesen");
  EXPECT_TRUE(WaitFor([&] { return sink.Received.size() >= 2; }, 10000));
  // Each poke is advised, also one that repeats the last answer.
  EXPECT_EQ(sink.Received, (QStringList{"BwGen=liest", "BwGen=liest"}));
}

TEST_F(GenFormTest, MacroPokeShowsThePhraseAndKeepsThePokedText) {
  EXPECT_EQ(client->Ask("[INF=lesen]"), "[INF=lesen]");
  EXPECT_TRUE(WaitFor([&] { return window->windowTitle() == "Deutsche Verbformen: lesen"; }))
      << window->windowTitle().toStdString();
  EXPECT_EQ(window->InputText(), "lesen");
  // Execute takes the same commands; the case of the word does not matter.
  client->Call("Execute", {"[inf=gehen]"});
  EXPECT_TRUE(WaitFor([&] { return window->windowTitle() == "Deutsche Verbformen: gehen"; }));
  client->Call("Execute", {"MINIMIZE"});  // its word is "MINI": ignored
  QTest::qWait(200);
  EXPECT_FALSE(window->isMinimized());
  client->Call("Execute", {"min"});
  EXPECT_TRUE(WaitFor([&] { return window->isMinimized(); }));
  EXPECT_EQ(client->Ask("[RES]"), "[RES]");
  EXPECT_TRUE(WaitFor([&] { return !window->isMinimized() && window->isVisible(); }));
}

TEST_F(GenFormTest, UnknownItemIsAnError) {
  const QDBusMessage reply = client->Call("Request", {"Anderes"});
  EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage);
  EXPECT_EQ(reply.errorName(), "de.beugwerk.GenForm.Error.UnknownItem");
  EXPECT_EQ(client->Call("Poke", {"Anderes", "G2:lesen"}).type(), QDBusMessage::ErrorMessage);
  EXPECT_EQ(client->Call("Request", {kItem}).arguments().value(0).toString(), "A:gehen");
}

TEST_F(GenFormTest, CloseMacroClosesTheWindow) {
  ASSERT_TRUE(window->isVisible());
  client->Call("Execute", {"[CLOS]"});
  EXPECT_TRUE(WaitFor([&] { return !window->isVisible(); }));
}

// The real program twice: the second start finds the name taken and says so; the first still
// answers and ends on "[CLOS]".
TEST(GenFormProgram, SecondInstanceFindsTheNameTaken) {
  guitest::TPrivateSettings settings;
  const QString name = GenFormBusName(BEUGWERK_GUI_EXE);
  QProcess first, second;
  auto stop = [](QProcess& p) {
    if (p.state() != QProcess::NotRunning) {
      p.kill();
      p.waitForFinished(5000);
    }
  };
  first.setProcessChannelMode(QProcess::MergedChannels);
  first.start(BEUGWERK_GUI_EXE, {});
  ASSERT_TRUE(first.waitForStarted(10000));
  QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
  const bool serving = WaitFor([&] { return bus->isServiceRegistered(name).value(); }, 60000);
  if (!serving) stop(first);
  ASSERT_TRUE(serving) << QString::fromLocal8Bit(first.readAll()).toStdString();

  second.setProcessChannelMode(QProcess::MergedChannels);
  second.start(BEUGWERK_GUI_EXE, {});
  ASSERT_TRUE(second.waitForStarted(10000));
  QString said;
  WaitFor(
      [&] {
        said += QString::fromLocal8Bit(second.readAll());
        return said.contains("schon vergeben");
      },
      60000);
  stop(second);
  EXPECT_TRUE(said.contains(name + " ist schon vergeben")) << said.toStdString();

  {
    TClient client(name);
    EXPECT_EQ(client.Ask("G2:lesen"), "liest");
    client.Call("Execute", {"[CLOS]"});
  }
  const bool ended = WaitFor([&] { return first.state() == QProcess::NotRunning; }, 30000);
  if (!ended) stop(first);
  EXPECT_TRUE(ended) << "[CLOS] ends the program";
  EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
}

}  // namespace

#include "GenFormBus_test.moc"
