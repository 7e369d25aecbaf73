// SPDX-License-Identifier: MIT
// The GenForm service on the D-Bus session bus: other programs obtain single forms and word-form
// lists and drive the window (show a phrase, minimise, restore, close). Only a transport: the
// answers come from TRequestService.
//
//   Name:      de.beugwerk.<program name>   (GenFormBusName)
//   Object:    /GenForm
//   Interface: de.beugwerk.GenForm
//     Poke(item, text)         the request; the item's value becomes the answer
//     Request(item) -> text    the item's value (lines joined by CR LF)
//     Execute(macro)           "[INF=lesen]", "[MIN]", "[RES]", "[CLOS]"
//     signal Advise(item, text) the item's new value after each poke
//
//   gdbus call --session --dest de.beugwerk.beugwerk-gui --object-path /GenForm
//     --method de.beugwerk.GenForm.Poke BwGen G2:lesen       (one command line)
#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QString>

class TRequestService;

inline constexpr char kGenFormPath[] = "/GenForm";
inline constexpr char kGenFormInterface[] = "de.beugwerk.GenForm";

// "de.beugwerk." + the program's file name cut before its first "."; characters a bus name
// may not hold become "_", and so does a leading digit of the element.
QString GenFormBusName(const QString& programPath);

class TGenFormBus : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "de.beugwerk.GenForm")
  Q_CLASSINFO("D-Bus Introspection",
              "  <interface name=\"de.beugwerk.GenForm\">\n"
              "    <method name=\"Poke\">\n"
              "      <arg name=\"item\" type=\"s\" direction=\"in\"/>\n"
              "      <arg name=\"text\" type=\"s\" direction=\"in\"/>\n"
              "    </method>\n"
              "    <method name=\"Request\">\n"
              "      <arg name=\"item\" type=\"s\" direction=\"in\"/>\n"
              "      <arg name=\"text\" type=\"s\" direction=\"out\"/>\n"
              "    </method>\n"
              "    <method name=\"Execute\">\n"
              "      <arg name=\"macro\" type=\"s\" direction=\"in\"/>\n"
              "    </method>\n"
              "    <signal name=\"Advise\">\n"
              "      <arg name=\"item\" type=\"s\"/>\n"
              "      <arg name=\"text\" type=\"s\"/>\n"
              "    </signal>\n"
              "  </interface>\n")

 public:
  TGenFormBus(TRequestService& service, QObject* parent);
  ~TGenFormBus() override;
  // Exports the object and takes the name; false (with the bus's reason) when the name is
  // already taken or the bus cannot be reached.
  bool Register(QDBusConnection bus, const QString& name, QString* error);

 public Q_SLOTS:
  void Poke(const QString& item, const QString& text);
  QString Request(const QString& item);
  void Execute(const QString& macro);

 Q_SIGNALS:
  void Advise(const QString& item, const QString& text);

 private:
  bool KnownItem(const QString& item);
  void ReportFailure(const std::exception& e);

  TRequestService& FService;
  QDBusConnection FBus{QString()};
  QString FName;
};
