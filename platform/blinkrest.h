// The text cursor rests after a while without input, as on GNOME: after ten
// seconds with no key or click it stops blinking (and stays shown) until the
// next one. A pupil thinking over a sum then costs the machine next to nothing.
#pragma once

#include <QObject>
#include <QTimer>

namespace quorvela {

class BlinkRest : public QObject {
    Q_OBJECT
public:
    explicit BlinkRest(QObject *parent = nullptr, int restAfterMs = 10000);
    ~BlinkRest() override;
    bool resting() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void wake();

    int flashTime_;
    QTimer rest_;
};

} // namespace quorvela
