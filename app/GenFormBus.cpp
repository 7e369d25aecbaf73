// SPDX-License-Identifier: MIT
#include "app/GenFormBus.h"

#include <QDBusConnectionInterface>
#include <QFileInfo>
#include <exception>

#include "app/Request.h"

namespace {

QString Q(std::u16string_view s) {
  return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}

}  // namespace

QString GenFormBusName(const QString& programPath) {
  const QString file = QFileInfo(programPath).fileName();
  QString element = file.left(file.indexOf(QLatin1Char('.')));
  for (QChar& c : element) {
    const bool allowed = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                         (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                         (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                         c == QLatin1Char('_') || c == QLatin1Char('-');
    if (!allowed) c = QLatin1Char('_');
  }
  if (element.isEmpty() || element.front().isDigit()) element.prepend(QLatin1Char('_'));
  return QStringLiteral("de.beugwerk.") + element;
}

TGenFormBus::TGenFormBus(TRequestService& service, QObject* parent)
    : QObject(parent), FService(service) {}

TGenFormBus::~TGenFormBus() {
  if (!FName.isEmpty()) {
    FBus.unregisterObject(QLatin1String(kGenFormPath));
    FBus.unregisterService(FName);
  }
}

bool TGenFormBus::Register(QDBusConnection bus, const QString& name, QString* error) {
  if (!bus.isConnected()) {
    if (error) *error = bus.lastError().message();
    return false;
  }
  // The name first: a second window must not take over the object of the first.
  QDBusConnectionInterface* iface = bus.interface();
  const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
      iface->registerService(name, QDBusConnectionInterface::DontQueueService,
                             QDBusConnectionInterface::DontAllowReplacement);
  if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
    if (error)
      *error = reply.isValid() ? QStringLiteral("ein anderes Programm beantwortet schon Anfragen")
                               : reply.error().message();
    return false;
  }
  if (!bus.registerObject(QLatin1String(kGenFormPath), this,
                          QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals)) {
    iface->unregisterService(name);
    if (error) *error = bus.lastError().message();
    return false;
  }
  FBus = bus;
  FName = name;
  return true;
}

bool TGenFormBus::KnownItem(const QString& item) {
  if (item == Q(TRequestService::kItem)) return true;
  if (calledFromDBus())
    sendErrorReply(QStringLiteral("de.beugwerk.GenForm.Error.UnknownItem"),
                   QStringLiteral("Unbekanntes Element \"%1\"; es gibt nur \"%2\".")
                       .arg(item, Q(TRequestService::kItem)));
  return false;
}

void TGenFormBus::ReportFailure(const std::exception& e) {
  // An error must not cross the bus dispatcher; the client gets it as the call's error.
  if (calledFromDBus())
    sendErrorReply(QStringLiteral("de.beugwerk.GenForm.Error.Failed"), QString::fromUtf8(e.what()));
}

void TGenFormBus::Poke(const QString& item, const QString& text) {
  if (!KnownItem(item)) return;
  try {
    FService.Poke(text.toStdU16String());
  } catch (const std::exception& e) {
    ReportFailure(e);
    return;
  }
  // Every poke changes the item (it takes the request, then the answer), so advise links hear
  // of each one, also when the answer repeats the last.
  emit Advise(item, Request(item));
}

QString TGenFormBus::Request(const QString& item) {
  if (!KnownItem(item)) return {};
  return Q(FService.ItemText());
}

void TGenFormBus::Execute(const QString& macro) {
  try {
    FService.ExecuteMacro(macro.toStdU16String());
  } catch (const std::exception& e) {
    ReportFailure(e);
  }
}
