// fake_sni_watcher BUS_ADDRESS FOLDER INTERFACE_XML: a stand-in StatusNotifierWatcher
// with a host registered, as a panel that shows StatusNotifierItems runs one. It
// introspects as the interface XML and appends each registered item's service name
// to FOLDER/items, one a line.

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QFile>
#include <QStringList>
#include <QVariantMap>
#include <cstdio>

namespace {

const QString kPath = QStringLiteral("/StatusNotifierWatcher");
const QString kInterface = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

class FakeWatcher : public QDBusVirtualObject {
  public:
    FakeWatcher(QString folder, QString xml) : folder_(std::move(folder)), xml_(std::move(xml)) {}

    QString introspect(const QString& path) const override {
        return path == kPath ? xml_ : QString();
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        const QList<QVariant> args = message.arguments();
        const QString member = message.member();
        QDBusMessage reply;
        if (message.interface() == u"org.freedesktop.DBus.Introspectable") {
            // Qt hands introspection of a virtual object to it like any other call.
            reply = message.createReply(QStringLiteral("<node>") + introspect(message.path()) +
                                        QStringLiteral("</node>"));
        } else if (message.interface() == kInterface && member == u"RegisterStatusNotifierItem" &&
                   message.signature() == u"s") {
            // An item may give its object path only; the sender is then its service.
            QString item = args[0].toString();
            if (item.startsWith(u'/')) {
                item = message.service() + item;
            }
            items_.append(item);
            QFile out(folder_ + QStringLiteral("/items"));
            if (out.open(QIODevice::Append)) {
                out.write(item.toUtf8() + '\n');
            }
            reply = message.createReply();
            QDBusMessage signal = QDBusMessage::createSignal(
                kPath, kInterface, QStringLiteral("StatusNotifierItemRegistered"));
            signal << item;
            connection.send(signal);
        } else if (message.interface() == kInterface && member == u"RegisterStatusNotifierHost" &&
                   message.signature() == u"s") {
            reply = message.createReply();
        } else if (message.interface() == kProperties &&
                   (member == u"Get" || member == u"GetAll")) {
            QVariantMap properties{{QStringLiteral("RegisteredStatusNotifierItems"), items_},
                                   {QStringLiteral("IsStatusNotifierHostRegistered"), true},
                                   {QStringLiteral("ProtocolVersion"), 0}};
            if (member == u"GetAll") {
                reply = message.createReply(QVariant::fromValue(properties));
            } else if (args.size() == 2 && properties.contains(args[1].toString())) {
                reply = message.createReply(
                    QVariant::fromValue(QDBusVariant(properties[args[1].toString()])));
            }
        }
        if (reply.type() == QDBusMessage::InvalidMessage) {
            reply = message.createErrorReply(QDBusError::UnknownMethod, member);
        }
        connection.send(reply);
        return true;
    }

  private:
    QString folder_;
    QString xml_;
    QStringList items_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: fake_sni_watcher BUS_ADDRESS FOLDER INTERFACE_XML\n");
        return 2;
    }
    QFile xml(QString::fromUtf8(argv[3]));
    if (!xml.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "fake_sni_watcher: cannot read %s\n", argv[3]);
        return 1;
    }
    QDBusConnection bus =
        QDBusConnection::connectToBus(QString::fromUtf8(argv[1]), QStringLiteral("fake-watcher"));
    FakeWatcher watcher(QString::fromUtf8(argv[2]), QString::fromUtf8(xml.readAll()));
    if (!bus.isConnected() || !bus.registerVirtualObject(kPath, &watcher) ||
        !bus.registerService(kInterface)) {
        std::fprintf(stderr, "fake_sni_watcher: cannot serve on %s\n", argv[1]);
        return 1;
    }
    return app.exec();
}
