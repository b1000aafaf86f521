#pragma once
// TTimer: a window-message timer. It fires OnTimer every Interval ms while
// Enabled, Interval > 0 and a handler is set; any change restarts the period.
// Ticks do not queue up: an overdue timer fires once.

#include "framework/core/Component.h"

#include <memory>

class QTimer;

class TTimer : public TComponent {
    VN_COMPONENT(TTimer)
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned interval);

    Event<void(TObject*)> OnTimer;
    // Sets OnTimer and restarts the timer as the setting would.
    void SetOnTimer(Event<void(TObject*)> handler);
    // Re-reads the settings (after OnTimer was assigned directly).
    void UpdateTimer();

    void Loaded() override;

private:
    void Tick();

    bool enabled_ = true;
    unsigned interval_ = 1000;
    std::unique_ptr<QTimer> timer_;
};
