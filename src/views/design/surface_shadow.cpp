#include "views/design/surface_shadow.hpp"

#include <qdrawutil.h>
#include <QAbstractScrollArea>
#include <QEvent>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "views/design/surface_panel.hpp"

namespace quorvane {

namespace {

// One pass of a box blur of half-width `radius` over the alpha values of
// `line` (`count` values `stride` apart), edges reading as transparent.
void boxBlurLine(uchar* line, int count, int stride, int radius, std::vector<int>& buffer) {
    buffer.assign(static_cast<std::size_t>(count), 0);
    for (int i = 0; i < count; ++i)
        buffer[static_cast<std::size_t>(i)] = line[i * stride];
    const int width = 2 * radius + 1;
    int sum = 0;
    for (int i = -radius; i <= radius; ++i)
        sum += (i >= 0 && i < count) ? buffer[static_cast<std::size_t>(i)] : 0;
    for (int i = 0; i < count; ++i) {
        line[i * stride] = static_cast<uchar>((sum + width / 2) / width);
        const int out = i - radius;
        const int in = i + radius + 1;
        sum -= (out >= 0) ? buffer[static_cast<std::size_t>(out)] : 0;
        sum += (in < count) ? buffer[static_cast<std::size_t>(in)] : 0;
    }
}

// Three box blurs come close to a Gaussian of the same spread: each box of
// half-width k adds k(k+1)/3 to the variance, so three add k(k+1).
int boxRadiusFor(double sigma) {
    const double k = (-1.0 + std::sqrt(1.0 + 4.0 * sigma * sigma)) / 2.0;
    return std::max(0, static_cast<int>(std::lround(k)));
}

}  // namespace

QImage blurredShape(QSize size, double radius, double sigma, int reach, double opacity) {
    QImage mask(size.width() + 2 * reach, size.height() + 2 * reach, QImage::Format_Alpha8);
    mask.fill(0);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawRoundedRect(QRectF(reach, reach, size.width(), size.height()), radius, radius);
    }
    const int box = boxRadiusFor(sigma);
    std::vector<int> buffer;
    if (box > 0) {
        for (int pass = 0; pass < 3; ++pass) {
            for (int y = 0; y < mask.height(); ++y)
                boxBlurLine(mask.scanLine(y), mask.width(), 1, box, buffer);
            const auto stride = static_cast<int>(mask.bytesPerLine());
            for (int x = 0; x < mask.width(); ++x)
                boxBlurLine(mask.bits() + x, mask.height(), stride, box, buffer);
        }
    }
    QImage shadow(mask.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < mask.height(); ++y) {
        const uchar* in = mask.constScanLine(y);
        auto* out = reinterpret_cast<QRgb*>(shadow.scanLine(y));
        for (int x = 0; x < mask.width(); ++x)
            out[x] = qRgba(0, 0, 0, static_cast<int>(std::lround(in[x] * opacity)));
    }
    return shadow;
}

const SurfaceShadowPainter::Piece& SurfaceShadowPainter::piece(int radius,
                                                               const SurfaceShadow& shadow,
                                                               double pixelRatio) {
    const auto key =
        std::make_tuple(radius, static_cast<int>(std::lround(shadow.sigma() * 100)),
                        static_cast<int>(std::lround(shadow.opacity * 1000)), pixelRatio);
    for (const auto& piece : pieces_) {
        if (piece.key == key)
            return piece;
    }
    // A square shape just large enough that its middle row and column are
    // plain edge: the corners and edges of any larger shape are cut from it.
    const int reach = static_cast<int>(std::ceil(shadow.reach() * pixelRatio));
    const int corner = static_cast<int>(std::ceil(radius * pixelRatio)) + reach;
    const int side = 2 * corner + 1;
    QPixmap pixmap =
        QPixmap::fromImage(blurredShape(QSize(side, side), radius * pixelRatio,
                                        shadow.sigma() * pixelRatio, reach, shadow.opacity));
    pixmap.setDevicePixelRatio(pixelRatio);
    pieces_.push_back({key, pixmap, static_cast<int>(std::ceil((corner + reach) / pixelRatio))});
    return pieces_.back();
}

void SurfaceShadowPainter::paint(QPainter& painter, const QRectF& shape, double cornerRadius,
                                 const SurfaceShadow& shadow) {
    if (shadow.opacity <= 0 || shape.isEmpty())
        return;
    const int reach = shadow.reach();
    const QRectF moved = shape.translated(0, shadow.offsetY);
    const QRect target = moved.adjusted(-reach, -reach, reach, reach).toAlignedRect();
    const double pixelRatio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const int radius = static_cast<int>(std::ceil(cornerRadius));
    const Piece& cut = piece(radius, shadow, pixelRatio);
    if (target.width() > 2 * cut.margin && target.height() > 2 * cut.margin) {
        const QMargins margins(cut.margin, cut.margin, cut.margin, cut.margin);
        qDrawBorderPixmap(&painter, target, margins, cut.pixmap);
        return;
    }
    // Too small to cut: blur the whole shape.
    QImage whole = blurredShape((moved.size() * pixelRatio).toSize(), cornerRadius * pixelRatio,
                                shadow.sigma() * pixelRatio,
                                static_cast<int>(std::ceil(reach * pixelRatio)), shadow.opacity);
    whole.setDevicePixelRatio(pixelRatio);
    painter.drawImage(moved.topLeft() - QPointF(reach, reach), whole);
}

SurfaceShadowLayer::SurfaceShadowLayer(QWidget* host) : QObject(host), host_(host) {
    if (!qobject_cast<SurfacePanel*>(host))
        host->installEventFilter(this);
}

QWidget* SurfaceShadowLayer::hostFor(const QWidget* widget) {
    for (QWidget* candidate = widget->parentWidget(); candidate;
         candidate = candidate->parentWidget()) {
        if (qobject_cast<SurfacePanel*>(candidate) || candidate->isWindow() ||
            candidate->autoFillBackground())
            return candidate;
        // The content of a scroll area: the viewport under it fills itself.
        QWidget* viewport = candidate->parentWidget();
        if (viewport && viewport->parentWidget()) {
            const auto* area = qobject_cast<QAbstractScrollArea*>(viewport->parentWidget());
            if (area && area->viewport() == viewport)
                return candidate;
        }
    }
    return nullptr;
}

SurfaceShadowLayer* SurfaceShadowLayer::existing(const QWidget* host) {
    return host->findChild<SurfaceShadowLayer*>(QString(), Qt::FindDirectChildrenOnly);
}

SurfaceShadowLayer* SurfaceShadowLayer::of(QWidget* host) {
    if (auto* layer = existing(host))
        return layer;
    return new SurfaceShadowLayer(host);
}

void SurfaceShadowLayer::join(SurfacePanel* panel) {
    std::erase_if(members_, [](const QPointer<SurfacePanel>& member) { return member.isNull(); });
    if (std::find(members_.begin(), members_.end(), panel) == members_.end())
        members_.emplace_back(panel);
    watchPath(panel);
    host_->update();
}

void SurfaceShadowLayer::leave(const SurfacePanel* panel) {
    std::erase_if(members_, [panel](const QPointer<SurfacePanel>& member) {
        return member.isNull() || member == panel;
    });
    if (host_->isVisible())
        host_->update();
}

// A widget between a panel and the host moving or changing size moves the
// panel within the host without telling it.
void SurfaceShadowLayer::watchPath(SurfacePanel* panel) {
    for (QWidget* widget = panel; widget && widget != host_; widget = widget->parentWidget())
        widget->installEventFilter(this);
}

void SurfaceShadowLayer::paint(QPainter& painter, const QRegion& region) {
    painter.save();
    painter.setClipRegion(region);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const auto& member : members_) {
        if (member.isNull() || !member->isVisibleTo(host_))
            continue;
        const QRectF shape = member->surfaceShape().translated(member->mapTo(host_, QPoint(0, 0)));
        painter_.paint(painter, shape, member->cornerRadius(), member->shadow());
    }
    painter.restore();
}

bool SurfaceShadowLayer::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Paint:
            if (watched == host_) {
                // The host draws itself first; the shadows go over that and
                // under its children, which paint afterwards.
                static_cast<QObject*>(host_)->event(event);
                QPainter painter(host_);
                paint(painter, static_cast<QPaintEvent*>(event)->region());
                return true;
            }
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            if (watched != host_)
                host_->update();
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace quorvane
