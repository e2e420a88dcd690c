// Benchmark helpers: a monotonic timestamp on stdout, and a hook that runs once
// a widget's first paint has been handled.
#pragma once

#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <functional>

namespace quorvela::bench {

// CLOCK_MONOTONIC in nanoseconds: the clock the harness reads before exec.
inline void stamp(const char *what)
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("%s %lld\n", what, static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    std::fflush(stdout);
}

class FirstPaint : public QObject {
public:
    FirstPaint(QWidget *widget, std::function<void()> then)
        : QObject(widget), then_(std::move(then))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && then_) {
            // The paint is handled after this filter; act once it and the
            // flush to the screen that follows it are done.
            auto then = std::move(then_);
            then_ = nullptr;
            QTimer::singleShot(0, watched, then);
        }
        return false;
    }

private:
    std::function<void()> then_;
};

} // namespace quorvela::bench
