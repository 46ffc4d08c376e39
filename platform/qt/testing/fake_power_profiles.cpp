// A stand-in power-profiles-daemon for tests: serves net.hadess.PowerProfiles as
// declared in interfaces/net.hadess.PowerProfiles.xml (introspected from the real
// daemon) on the bus at argv[1]. argv[2] is a folder: "profiles" lists the profiles
// offered (default: performance balanced power-saver), "upower" also serves the
// newer org.freedesktop.UPower.PowerProfiles names, "refuse" denies every change as
// a daemon without polkit does. Each change of ActiveProfile is appended to "calls"
// as "INTERFACE ActiveProfile NAME".

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QFile>
#include <QTextStream>
#include <cstdio>

#include "platform/qt/testing/interface_xml.h"

namespace {

const QString kHadess = QStringLiteral("net.hadess.PowerProfiles");
const QString kUpower = QStringLiteral("org.freedesktop.UPower.PowerProfiles");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kInvalidArgs = QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs");

// One daemon answering under both names, as newer daemons do.
struct State {
    explicit State(const QString& folder) {
        QFile file(folder + QStringLiteral("/profiles"));
        profiles = file.open(QIODevice::ReadOnly)
                       ? QString::fromUtf8(file.readAll()).simplified().split(QLatin1Char(' '))
                       : QStringList{QStringLiteral("performance"), QStringLiteral("balanced"),
                                     QStringLiteral("power-saver")};
        active = profiles.contains(QStringLiteral("balanced")) ? QStringLiteral("balanced")
                                                               : profiles.value(0);
    }
    QStringList profiles;
    QString active;
};

class Daemon : public QDBusVirtualObject {
  public:
    Daemon(QString folder, QString interface, State& state)
        : folder_(std::move(folder)), interface_(std::move(interface)), state_(state) {
        declared_ = tv::standin::declaredProperties(QStringLiteral(TV_PPD_XML)).value(kHadess);
        xml_ = tv::standin::readXml(QStringLiteral(TV_PPD_XML));
        xml_.replace(kHadess, interface_);
    }

    QString introspect(const QString&) const override {
        // The whole document is the object's: strip the outer node for Qt to wrap.
        QString inner = xml_;
        inner.remove(0, inner.indexOf(QStringLiteral("<interface name=\"") + interface_));
        return inner.left(inner.lastIndexOf(QStringLiteral("</node>")));
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& bus) override {
        if (message.interface() != kProperties || message.arguments().size() < 2) {
            return false;
        }
        const QString member = message.member();
        const QString interface = message.arguments()[0].toString();
        const QString name = message.arguments()[1].toString();
        if (member == QStringLiteral("Get")) {
            bool known = interface == interface_ && declared_.contains(name);
            bus.send(
                known ? message.createReply(QVariant::fromValue(QDBusVariant(value(name))))
                      : message.createErrorReply(kInvalidArgs, QStringLiteral("No such property")));
            return true;
        }
        if (member == QStringLiteral("Set") && message.arguments().size() == 3) {
            bus.send(set(message, interface, name));
            return true;
        }
        return false;
    }

  private:
    QDBusMessage set(const QDBusMessage& message, const QString& interface, const QString& name) {
        if (interface != interface_ || !declared_.contains(name)) {
            return message.createErrorReply(kInvalidArgs, QStringLiteral("No such property"));
        }
        if (!declared_[name].writable) {
            return message.createErrorReply(
                QStringLiteral("org.freedesktop.DBus.Error.PropertyReadOnly"),
                name + QStringLiteral(" is read-only"));
        }
        if (QFile::exists(folder_ + QStringLiteral("/refuse"))) {
            return message.createErrorReply(
                QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"),
                QStringLiteral("Not authorized"));
        }
        QString profile = message.arguments()[2].value<QDBusVariant>().variant().toString();
        if (!state_.profiles.contains(profile)) {
            return message.createErrorReply(kInvalidArgs, QStringLiteral("Invalid profile name '") +
                                                              profile + QStringLiteral("'"));
        }
        state_.active = profile;
        QFile calls(folder_ + QStringLiteral("/calls"));
        if (calls.open(QIODevice::Append | QIODevice::Text)) {
            QTextStream(&calls) << interface_ << " ActiveProfile " << profile << '\n';
        }
        return message.createReply();
    }

    QVariant value(const QString& name) const {
        if (name == QStringLiteral("ActiveProfile")) {
            return state_.active;
        }
        if (name == QStringLiteral("Profiles")) {
            QList<QVariantMap> entries;
            for (const QString& profile : state_.profiles) {
                entries.append({{QStringLiteral("Profile"), profile},
                                {QStringLiteral("Driver"), QStringLiteral("placeholder")}});
            }
            return QVariant::fromValue(entries);
        }
        if (declared_[name].type == QStringLiteral("as")) {
            return QStringList();
        }
        if (declared_[name].type == QStringLiteral("aa{sv}")) {
            return QVariant::fromValue(QList<QVariantMap>());
        }
        return QString();
    }

    QString folder_;
    QString interface_;
    QString xml_;
    QMap<QString, tv::standin::DeclaredProperty> declared_;
    State& state_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: fake_power_profiles BUS_ADDRESS FOLDER\n");
        return 2;
    }
    qDBusRegisterMetaType<QList<QVariantMap>>();
    QString folder = QString::fromUtf8(argv[2]);
    QDBusConnection bus =
        QDBusConnection::connectToBus(QString::fromUtf8(argv[1]), QStringLiteral("fake-ppd"));
    State state(folder);
    Daemon hadess(folder, kHadess, state);
    Daemon upower(folder, kUpower, state);
    bool served = bus.isConnected() &&
                  bus.registerVirtualObject(QStringLiteral("/net/hadess/PowerProfiles"), &hadess) &&
                  bus.registerService(kHadess);
    if (served && QFile::exists(folder + QStringLiteral("/upower"))) {
        served = bus.registerVirtualObject(QStringLiteral("/org/freedesktop/UPower/PowerProfiles"),
                                           &upower) &&
                 bus.registerService(kUpower);
    }
    if (!served) {
        std::fprintf(stderr, "fake_power_profiles: cannot serve on %s\n", argv[1]);
        return 1;
    }
    return app.exec();
}
