// A stand-in login manager for tests: serves org.freedesktop.login1 on the bus at
// argv[1]. CanHibernate answers the text of argv[2]/answer ("yes" when missing);
// Suspend and Hibernate append "NAME ARG" lines to argv[2]/calls and then signal
// PrepareForSleep true and false, as the real one does around a sleep.

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QFile>
#include <QTextStream>
#include <cstdio>

namespace {

const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");

class FakeManager : public QDBusVirtualObject {
  public:
    explicit FakeManager(QString folder) : folder_(std::move(folder)) {}

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.interface() != kManager) {
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
        QFile calls(folder_ + QStringLiteral("/calls"));
        if (calls.open(QIODevice::Append | QIODevice::Text)) {
            bool interactive = !message.arguments().isEmpty() && message.arguments()[0].toBool();
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
    QString answer() const {
        QFile file(folder_ + QStringLiteral("/answer"));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            return QStringLiteral("yes");
        }
        return QString::fromUtf8(file.readAll()).trimmed();
    }

    QString folder_;
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
    if (!bus.isConnected() || !bus.registerVirtualObject(kPath, &manager) ||
        !bus.registerService(QStringLiteral("org.freedesktop.login1"))) {
        std::fprintf(stderr, "power_fake_logind: cannot serve on %s\n", argv[1]);
        return 1;
    }
    return app.exec();
}
