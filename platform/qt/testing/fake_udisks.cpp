// A stand-in UDisks2 for tests: serves the drives of argv[2]/drives (lines "NAME
// ROTATION_RATE", each an ATA drive) on the bus at argv[1], with the properties that
// interfaces/org.freedesktop.UDisks2.Drive.xml declares. SetConfiguration appends
// "NAME KEY VALUE" lines to argv[2]/calls; while argv[2]/password exists it refuses
// as the daemon does when polkit would ask for a password.

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QFile>
#include <QTextStream>
#include <cstdio>

#include "platform/qt/testing/interface_xml.h"

using Interfaces = QMap<QString, QVariantMap>;
using Objects = QMap<QDBusObjectPath, Interfaces>;
Q_DECLARE_METATYPE(Interfaces)
Q_DECLARE_METATYPE(Objects)

namespace {

const QString kRoot = QStringLiteral("/org/freedesktop/UDisks2");
const QString kDrives = QStringLiteral("/org/freedesktop/UDisks2/drives/");
const QString kDrive = QStringLiteral("org.freedesktop.UDisks2.Drive");

QVariant defaultOf(const QString& type) {
    if (type == QStringLiteral("s"))
        return QString();
    if (type == QStringLiteral("b"))
        return false;
    if (type == QStringLiteral("t"))
        return qulonglong(0);
    if (type == QStringLiteral("u"))
        return uint(0);
    if (type == QStringLiteral("i"))
        return 0;
    if (type == QStringLiteral("x"))
        return qlonglong(0);
    if (type == QStringLiteral("d"))
        return 0.0;
    if (type == QStringLiteral("as"))
        return QStringList();
    if (type == QStringLiteral("a{sv}"))
        return QVariantMap();
    return {};
}

class Udisks : public QDBusVirtualObject {
  public:
    explicit Udisks(QString folder) : folder_(std::move(folder)) {
        declared_ = tv::standin::declaredProperties(QStringLiteral(TV_UDISKS_XML));
        QFile file(folder_ + QStringLiteral("/drives"));
        if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
                QStringList words = line.simplified().split(QLatin1Char(' '));
                if (words.size() == 2) {
                    drives_[words[0]] = words[1].toInt();
                }
            }
        }
    }

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& bus) override {
        if (message.path() == kRoot && message.member() == QStringLiteral("GetManagedObjects")) {
            bus.send(message.createReply(QVariant::fromValue(objects())));
            return true;
        }
        QString name = message.path().mid(kDrives.size());
        if (message.path().startsWith(kDrives) && drives_.contains(name) &&
            message.interface() == kDrive &&
            message.member() == QStringLiteral("SetConfiguration") &&
            message.arguments().size() == 2) {
            bus.send(setConfiguration(message, name));
            return true;
        }
        return false;
    }

  private:
    static QVariantMap unwrap(const QVariant& argument) {
        QVariantMap map;
        argument.value<QDBusArgument>() >> map;
        return map;
    }

    QDBusMessage setConfiguration(const QDBusMessage& message, const QString& name) {
        QVariantMap value = unwrap(message.arguments()[0]);
        QVariantMap options = unwrap(message.arguments()[1]);
        if (QFile::exists(folder_ + QStringLiteral("/password"))) {
            bool quiet = options.value(QStringLiteral("auth.no_user_interaction")).toBool();
            return message.createErrorReply(
                quiet ? QStringLiteral("org.freedesktop.UDisks2.Error.NotAuthorizedCanObtain")
                      : QStringLiteral("org.freedesktop.UDisks2.Error.NotAuthorizedDismissed"),
                QStringLiteral("Not authorized to perform operation"));
        }
        QFile calls(folder_ + QStringLiteral("/calls"));
        if (calls.open(QIODevice::Append | QIODevice::Text)) {
            for (auto it = value.begin(); it != value.end(); ++it) {
                QTextStream(&calls)
                    << name << ' ' << it.key() << ' ' << it.value().toString() << '\n';
                configuration_[name][it.key()] = it.value();
            }
        }
        return message.createReply();
    }

    Objects objects() const {
        Objects objects;
        for (auto drive = drives_.begin(); drive != drives_.end(); ++drive) {
            Interfaces interfaces;
            for (auto it = declared_.begin(); it != declared_.end(); ++it) {
                QVariantMap properties;
                for (auto p = it->begin(); p != it->end(); ++p) {
                    QVariant value = defaultOf(p->type);
                    if (value.isValid()) {
                        properties[p.key()] = value;
                    }
                }
                interfaces[it.key()] = properties;
            }
            interfaces[kDrive][QStringLiteral("Id")] = drive.key();
            interfaces[kDrive][QStringLiteral("RotationRate")] = drive.value();
            interfaces[kDrive][QStringLiteral("Configuration")] = configuration_.value(drive.key());
            objects[QDBusObjectPath(kDrives + drive.key())] = interfaces;
        }
        return objects;
    }

    QString folder_;
    QMap<QString, QMap<QString, tv::standin::DeclaredProperty>> declared_;
    QMap<QString, int> drives_;
    QMap<QString, QVariantMap> configuration_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: fake_udisks BUS_ADDRESS FOLDER\n");
        return 2;
    }
    qDBusRegisterMetaType<Interfaces>();
    qDBusRegisterMetaType<Objects>();
    QDBusConnection bus =
        QDBusConnection::connectToBus(QString::fromUtf8(argv[1]), QStringLiteral("fake-udisks"));
    Udisks udisks{QString::fromUtf8(argv[2])};
    if (!bus.isConnected() ||
        !bus.registerVirtualObject(kRoot, &udisks, QDBusConnection::SubPath) ||
        !bus.registerService(QStringLiteral("org.freedesktop.UDisks2"))) {
        std::fprintf(stderr, "fake_udisks: cannot serve on %s\n", argv[1]);
        return 1;
    }
    return app.exec();
}
