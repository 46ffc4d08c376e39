// A stand-in login manager for tests: serves org.freedesktop.login1 on the bus at
// argv[1], with the members interfaces/org.freedesktop.login1.xml declares.
// CanHibernate answers the text of argv[2]/answer ("yes" when missing); Suspend and
// Hibernate append "NAME ARG" lines to argv[2]/calls and then signal PrepareForSleep
// true and false, as the real one does around a sleep. While argv[2]/inhibited exists
// a block inhibitor is held: a request that may not ask the user is refused, as the
// real one refuses it when overriding the inhibitor would need authentication. The
// caller's session (session/auto) is idle since the CLOCK_MONOTONIC microseconds in
// argv[2]/idle-since, and not idle without that file.

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QFile>
#include <QTextStream>
#include <cstdio>

#include "platform/qt/testing/interface_xml.h"

namespace {

const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kSessionPath = QStringLiteral("/org/freedesktop/login1/session/auto");
const QString kSession = QStringLiteral("org.freedesktop.login1.Session");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

class FakeManager : public QDBusVirtualObject {
  public:
    explicit FakeManager(QString folder)
        : folder_(std::move(folder)),
          declared_(tv::standin::declaredProperties(QStringLiteral(TV_LOGIND_XML))) {}

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.path() == kSessionPath && message.interface() == kProperties &&
            message.member() == QStringLiteral("Get") && message.arguments().size() == 2) {
            connection.send(sessionProperty(message));
            return true;
        }
        if (message.path() != kPath || message.interface() != kManager) {
            return false;
        }
        const QString member = message.member();
        if (member == QStringLiteral("CanHibernate")) {
            connection.send(message.createReply(answer()));
            return true;
        }
        if (member != QStringLiteral("Suspend") && member != QStringLiteral("Hibernate")) {
            return false;
        }
        bool interactive = !message.arguments().isEmpty() && message.arguments()[0].toBool();
        if (!interactive && QFile::exists(folder_ + QStringLiteral("/inhibited"))) {
            connection.send(message.createErrorReply(
                QStringLiteral("org.freedesktop.DBus.Error.InteractiveAuthorizationRequired"),
                QStringLiteral("Interactive authentication required.")));
            return true;
        }
        QFile calls(folder_ + QStringLiteral("/calls"));
        if (calls.open(QIODevice::Append | QIODevice::Text)) {
            QTextStream(&calls) << member << ' ' << (interactive ? "true" : "false") << '\n';
        }
        connection.send(message.createReply());
        for (bool start : {true, false}) {
            QDBusMessage signal =
                QDBusMessage::createSignal(kPath, kManager, QStringLiteral("PrepareForSleep"));
            signal << start;
            connection.send(signal);
        }
        return true;
    }

  private:
    QDBusMessage sessionProperty(const QDBusMessage& message) const {
        const QString name = message.arguments()[1].toString();
        if (message.arguments()[0].toString() != kSession ||
            !declared_.value(kSession).contains(name)) {
            return message.createErrorReply(
                QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"),
                QStringLiteral("No such property"));
        }
        QFile file(folder_ + QStringLiteral("/idle-since"));
        bool idle = file.open(QIODevice::ReadOnly | QIODevice::Text);
        qulonglong since = idle ? QString::fromUtf8(file.readAll()).trimmed().toULongLong() : 0;
        QVariant value;
        if (name == QStringLiteral("IdleHint")) {
            value = idle;
        } else if (name == QStringLiteral("IdleSinceHintMonotonic")) {
            value = since;
        } else if (name == QStringLiteral("Active")) {
            value = true;
        } else {
            value = qulonglong(0);  // IdleSinceHint: wall-clock time, not kept here
        }
        return message.createReply(QVariant::fromValue(QDBusVariant(value)));
    }

    QString answer() const {
        QFile file(folder_ + QStringLiteral("/answer"));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            return QStringLiteral("yes");
        }
        return QString::fromUtf8(file.readAll()).trimmed();
    }

    QString folder_;
    QMap<QString, QMap<QString, tv::standin::DeclaredProperty>> declared_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: power_fake_logind BUS_ADDRESS FOLDER\n");
        return 2;
    }
    QDBusConnection bus =
        QDBusConnection::connectToBus(QString::fromUtf8(argv[1]), QStringLiteral("fake-logind"));
    FakeManager manager{QString::fromUtf8(argv[2])};
    if (!bus.isConnected() ||
        !bus.registerVirtualObject(kPath, &manager, QDBusConnection::SubPath) ||
        !bus.registerService(QStringLiteral("org.freedesktop.login1"))) {
        std::fprintf(stderr, "power_fake_logind: cannot serve on %s\n", argv[1]);
        return 1;
    }
    return app.exec();
}
