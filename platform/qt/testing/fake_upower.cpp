// fake_upower BUS_ADDRESS INTERFACE_XML_DIR: a stand-in UPower service for tests. It
// serves the daemon object and its devices with the properties of the interfaces
// described in upower's own XML (read from INTERFACE_XML_DIR), introspects as that XML,
// and signals changes as the service does. Tests change it through a small control
// interface:
//   org.tolvane.FakeUPower.Set(s device, s property, s value)  adds the device if new
//   org.tolvane.FakeUPower.Remove(s device)
// where device is the last part of the object path ("DisplayDevice", "battery_BAT0",
// "line_power_AC") or "" for the daemon object (OnBattery ...). A value is converted
// to the property's type in the XML; an unknown property or bad value is an error.

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QFile>
#include <QHash>
#include <QMap>
#include <QXmlStreamReader>
#include <cstdio>

namespace {

const QString kRoot = QStringLiteral("/org/freedesktop/UPower");
const QString kDevices = QStringLiteral("/org/freedesktop/UPower/devices/");
const QString kDaemon = QStringLiteral("org.freedesktop.UPower");
const QString kDevice = QStringLiteral("org.freedesktop.UPower.Device");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kControl = QStringLiteral("org.tolvane.FakeUPower");

struct Interface {
    QString xml;                    // the <interface> element as the package ships it
    QHash<QString, QString> types;  // property name -> D-Bus type
};

Interface readInterface(const QString& file) {
    QFile in(file);
    Interface result;
    if (!in.open(QIODevice::ReadOnly)) {
        return result;
    }
    QByteArray text = in.readAll();
    qsizetype start = text.indexOf("<interface");
    qsizetype end = text.lastIndexOf("</interface>");
    if (start >= 0 && end > start) {
        result.xml = QString::fromUtf8(text.mid(start, end - start + 12));
    }
    QXmlStreamReader reader(text);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == u"property") {
            result.types.insert(reader.attributes().value(QStringLiteral("name")).toString(),
                                reader.attributes().value(QStringLiteral("type")).toString());
        }
    }
    return result;
}

QVariant convert(const QString& type, const QString& text, bool& ok) {
    ok = true;
    if (type == u"b") {
        ok = text == u"true" || text == u"false";
        return text == u"true";
    }
    if (type == u"u") {
        return text.toUInt(&ok);
    }
    if (type == u"i") {
        return text.toInt(&ok);
    }
    if (type == u"x") {
        return text.toLongLong(&ok);
    }
    if (type == u"t") {
        return text.toULongLong(&ok);
    }
    if (type == u"d") {
        return text.toDouble(&ok);
    }
    if (type == u"s") {
        return text;
    }
    ok = false;
    return {};
}

class FakeUPower : public QDBusVirtualObject {
  public:
    FakeUPower(QDBusConnection bus, Interface daemon, Interface device)
        : bus_(std::move(bus)), daemon_(std::move(daemon)), device_(std::move(device)) {
        objects_[kRoot] = {{QStringLiteral("DaemonVersion"), QStringLiteral("1.90.0")},
                           {QStringLiteral("OnBattery"), false},
                           {QStringLiteral("LidIsClosed"), false},
                           {QStringLiteral("LidIsPresent"), false}};
        objects_[kDevices + QStringLiteral("DisplayDevice")] = freshDevice();
    }

    QString introspect(const QString& path) const override {
        if (path == kRoot) {
            return daemon_.xml;
        }
        return objects_.contains(path) ? device_.xml : QString();
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        const QString path = message.path();
        const QString member = message.member();
        const QList<QVariant> args = message.arguments();
        QDBusMessage reply;
        if (message.interface() == u"org.freedesktop.DBus.Introspectable") {
            // Qt hands introspection of a virtual object to it like any other call.
            reply = message.createReply(QStringLiteral("<node>") + introspect(message.path()) +
                                        QStringLiteral("</node>"));
        } else if (message.interface() == kProperties && objects_.contains(path)) {
            const QVariantMap& object = objects_[path];
            if (member == u"GetAll") {
                reply = message.createReply(QVariant::fromValue(object));
            } else if (member == u"Get" && args.size() == 2 &&
                       object.contains(args[1].toString())) {
                reply = message.createReply(
                    QVariant::fromValue(QDBusVariant(object[args[1].toString()])));
            }
        } else if (message.interface() == kDaemon && path == kRoot) {
            if (member == u"EnumerateDevices") {
                QList<QDBusObjectPath> devices;
                for (auto it = objects_.begin(); it != objects_.end(); ++it) {
                    if (it.key() != kRoot && !it.key().endsWith(u"/DisplayDevice")) {
                        devices.append(QDBusObjectPath(it.key()));
                    }
                }
                reply = message.createReply(QVariant::fromValue(devices));
            } else if (member == u"GetDisplayDevice") {
                reply = message.createReply(QVariant::fromValue(
                    QDBusObjectPath(kDevices + QStringLiteral("DisplayDevice"))));
            }
        } else if (message.interface() == kControl && path == kRoot) {
            reply = control(message);
        }
        if (reply.type() == QDBusMessage::InvalidMessage) {
            reply = message.createErrorReply(QDBusError::UnknownMethod, member);
        }
        connection.send(reply);
        return true;
    }

  private:
    QVariantMap freshDevice() const {
        QVariantMap device;
        for (auto it = device_.types.begin(); it != device_.types.end(); ++it) {
            bool ok = false;
            device.insert(it.key(), convert(it.value(), it.value() == u"s" ? QString() : "0", ok));
        }
        return device;
    }

    QDBusMessage control(const QDBusMessage& message) {
        const QList<QVariant> args = message.arguments();
        QString name = args.value(0).toString();
        QString path = name.isEmpty() ? kRoot : kDevices + name;
        if (message.member() == u"Remove" && objects_.contains(path) && path != kRoot) {
            objects_.remove(path);
            signal(kRoot, kDaemon, QStringLiteral("DeviceRemoved"),
                   {QVariant::fromValue(QDBusObjectPath(path))});
            return message.createReply();
        }
        if (message.member() != u"Set" || args.size() != 3) {
            return message.createErrorReply(QDBusError::InvalidArgs, QStringLiteral("bad call"));
        }
        const Interface& interface = path == kRoot ? daemon_ : device_;
        QString property = args[1].toString();
        bool ok = false;
        QVariant value = convert(interface.types.value(property), args[2].toString(), ok);
        if (!interface.types.contains(property) || !ok) {
            return message.createErrorReply(QDBusError::InvalidArgs,
                                            QStringLiteral("no such property or bad value"));
        }
        if (!objects_.contains(path)) {
            objects_[path] = freshDevice();
            signal(kRoot, kDaemon, QStringLiteral("DeviceAdded"),
                   {QVariant::fromValue(QDBusObjectPath(path))});
        }
        objects_[path][property] = value;
        signal(path, kProperties, QStringLiteral("PropertiesChanged"),
               {path == kRoot ? kDaemon : kDevice, QVariantMap{{property, value}}, QStringList()});
        return message.createReply();
    }

    void signal(const QString& path, const QString& interface, const QString& name,
                const QList<QVariant>& args) {
        QDBusMessage message = QDBusMessage::createSignal(path, interface, name);
        message.setArguments(args);
        bus_.send(message);
    }

    QDBusConnection bus_;
    Interface daemon_;
    Interface device_;
    QMap<QString, QVariantMap> objects_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: fake_upower BUS_ADDRESS INTERFACE_XML_DIR\n");
        return 2;
    }
    QString dir = QString::fromUtf8(argv[2]);
    Interface daemon = readInterface(dir + QStringLiteral("/org.freedesktop.UPower.xml"));
    Interface device = readInterface(dir + QStringLiteral("/org.freedesktop.UPower.Device.xml"));
    if (daemon.types.isEmpty() || device.types.isEmpty()) {
        std::fprintf(stderr, "fake_upower: no UPower interface XML in %s\n", argv[2]);
        return 1;
    }
    QDBusConnection bus =
        QDBusConnection::connectToBus(QString::fromUtf8(argv[1]), QStringLiteral("fake-upower"));
    FakeUPower service(bus, daemon, device);
    if (!bus.isConnected() ||
        !bus.registerVirtualObject(kRoot, &service, QDBusConnection::SubPath) ||
        !bus.registerService(kDaemon)) {
        std::fprintf(stderr, "fake_upower: cannot serve on %s\n", argv[1]);
        return 1;
    }
    return app.exec();
}
