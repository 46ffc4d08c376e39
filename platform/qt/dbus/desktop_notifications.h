#pragma once
// Desktop notifications (org.freedesktop.Notifications on the session bus). Calls are
// sent without waiting; where no notification server runs they fail quietly and
// nothing is shown.

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <cstdint>

namespace tv {

class DesktopNotifications {
  public:
    explicit DesktopNotifications(const QDBusConnection& bus) : bus_(bus) {}

    // Shows a notification of critical urgency (it stays until closed) with the given
    // icon name; a notification still shown from an earlier call is replaced.
    void showCritical(const QString& appName, const QString& icon, const QString& title,
                      const QString& body);
    // Closes the notification shown last, if any.
    void close();

    bool shown() const { return shown_; }

  private:
    QDBusConnection bus_;
    // Owns the calls waiting for an answer, so none outlives this object.
    QObject pending_;
    bool shown_ = false;
    // The server's id of the shown notification; 0 until its answer came.
    std::uint32_t id_ = 0;
    bool closeWhenAnswered_ = false;
    std::uint32_t request_ = 0;
};

}  // namespace tv
