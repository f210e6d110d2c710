#include "views/design/busy_spinner.hpp"

#include <QEvent>
#include <QPainter>
#include <cmath>
#include <numbers>

#include "views/access/accessible_role.hpp"

namespace quorvane {

namespace {

constexpr int kSpokes = 8;
constexpr int kTickMs = 90;

}  // namespace

BusySpinner::BusySpinner(QWidget* parent) : QWidget(parent) {
    readAs(this, QAccessible::Animation);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, [this] {
        step_ = (step_ + 1) % kSpokes;
        update();
    });
}

void BusySpinner::setColor(const QColor& color) {
    color_ = color;
    update();
}

void BusySpinner::restart() {
    step_ = 0;
    if (timer_.isActive())
        timer_.start();
    update();
}

QSize BusySpinner::sizeHint() const {
    const int side = fontMetrics().height();
    return {side, side};
}

void BusySpinner::showEvent(QShowEvent* event) {
    timer_.start();
    QWidget::showEvent(event);
}

void BusySpinner::hideEvent(QHideEvent* event) {
    timer_.stop();
    QWidget::hideEvent(event);
}

void BusySpinner::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QWidget::changeEvent(event);
}

void BusySpinner::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double side = std::min(width(), height());
    const QPointF centre(width() / 2.0, height() / 2.0);
    const double outer = side * 0.42;
    const double inner = side * 0.2;
    QColor base = color_.isValid() ? color_ : palette().color(QPalette::WindowText);
    for (int i = 0; i < kSpokes; ++i) {
        // The newest spoke is darkest; the others fade behind it.
        const int age = (step_ - i + kSpokes) % kSpokes;
        QColor ink = base;
        ink.setAlphaF(static_cast<float>(base.alphaF() * (1.0 - 0.1 * age)));
        painter.setPen(QPen(ink, std::max(1.5, side * 0.1), Qt::SolidLine, Qt::RoundCap));
        const double angle = i * 2 * std::numbers::pi / kSpokes;
        const QPointF direction(std::cos(angle), std::sin(angle));
        painter.drawLine(centre + direction * inner, centre + direction * outer);
    }
}

}  // namespace quorvane
