#pragma once
// Receives the login manager's PrepareForSleep signal. QtDBus delivers bus signals
// only to a slot named by its signature, so this one object keeps that form.

#include <QDBusConnection>
#include <QObject>

#include "platform/power_events.h"

namespace tv {

class LogindPowerEvents : public QObject, public PowerEvents {
    Q_OBJECT

  public:
    explicit LogindPowerEvents(const QDBusConnection& bus);
    ~LogindPowerEvents() override;

    void setListener(Listener listener) override { listener_ = std::move(listener); }
    bool isListening() const override { return listening_; }

  public Q_SLOTS:
    // true before the machine sleeps, false after it wakes.
    void prepareForSleep(bool start);

  private:
    QDBusConnection bus_;
    Listener listener_;
    bool listening_ = false;
};

}  // namespace tv
