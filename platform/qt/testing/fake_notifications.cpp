// fake_notifications BUS_ADDRESS FOLDER INTERFACE_XML: a stand-in notification server
// for tests. It introspects as the interface XML (taken from a running server) and
// answers every method of it; each Notify and CloseNotification is appended to
// FOLDER/calls as one line:
//   Notify APP|REPLACES|ICON|SUMMARY|BODY|urgency=N|TIMEOUT -> ID
//   Close ID
// A call whose arguments do not match the interface's signature is an error.

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QFile>
#include <QStringList>
#include <QVariantMap>
#include <cstdio>

namespace {

const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

class FakeServer : public QDBusVirtualObject {
  public:
    FakeServer(QString folder, QString xml) : folder_(std::move(folder)), xml_(std::move(xml)) {}

    QString introspect(const QString& path) const override {
        return path == kPath ? xml_ : QString();
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        const QString member = message.member();
        const QList<QVariant> args = message.arguments();
        QDBusMessage reply;
        if (message.interface() == u"org.freedesktop.DBus.Introspectable") {
            // Qt hands introspection of a virtual object to it like any other call.
            reply = message.createReply(QStringLiteral("<node>") + introspect(message.path()) +
                                        QStringLiteral("</node>"));
        } else if (message.interface() != kInterface) {
            reply = message.createErrorReply(QDBusError::UnknownInterface, message.interface());
        } else if (member == u"Notify" && message.signature() == u"susssasa{sv}i") {
            QVariantMap hints = qdbus_cast<QVariantMap>(args[6]);
            std::uint32_t id = args[1].toUInt() != 0 ? args[1].toUInt() : ++lastId_;
            record(QStringLiteral("Notify %1|%2|%3|%4|%5|urgency=%6|%7 -> %8")
                       .arg(args[0].toString(), args[1].toString(), args[2].toString(),
                            args[3].toString(), args[4].toString(),
                            QString::number(hints.value(QStringLiteral("urgency")).toInt()),
                            args[7].toString())
                       .arg(id));
            reply = message.createReply(QVariant::fromValue(id));
        } else if (member == u"CloseNotification" && message.signature() == u"u") {
            record(QStringLiteral("Close %1").arg(args[0].toUInt()));
            reply = message.createReply();
        } else if (member == u"GetCapabilities" && message.signature().isEmpty()) {
            reply = message.createReply(QStringList{QStringLiteral("body")});
        } else if (member == u"GetServerInformation" && message.signature().isEmpty()) {
            reply = message.createReply();
            reply << QStringLiteral("fake") << QStringLiteral("tolvane") << QStringLiteral("1")
                  << QStringLiteral("1.2");
        } else {
            reply = message.createErrorReply(QDBusError::InvalidArgs, member);
        }
        connection.send(reply);
        return true;
    }

  private:
    void record(const QString& line) {
        QFile out(folder_ + QStringLiteral("/calls"));
        if (out.open(QIODevice::Append)) {
            out.write(line.toUtf8().replace('\n', "\\n") + '\n');
        }
    }

    QString folder_;
    QString xml_;
    std::uint32_t lastId_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: fake_notifications BUS_ADDRESS FOLDER INTERFACE_XML\n");
        return 2;
    }
    QFile xml(QString::fromUtf8(argv[3]));
    if (!xml.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "fake_notifications: cannot read %s\n", argv[3]);
        return 1;
    }
    QDBusConnection bus = QDBusConnection::connectToBus(QString::fromUtf8(argv[1]),
                                                        QStringLiteral("fake-notifications"));
    FakeServer server(QString::fromUtf8(argv[2]), QString::fromUtf8(xml.readAll()));
    if (!bus.isConnected() || !bus.registerVirtualObject(kPath, &server) ||
        !bus.registerService(kInterface)) {
        std::fprintf(stderr, "fake_notifications: cannot serve on %s\n", argv[1]);
        return 1;
    }
    return app.exec();
}
