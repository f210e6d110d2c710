#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QScrollArea>
#include <QString>
#include <QWidget>
#include <string>
#include <vector>

namespace quorvane::testing {

// The deepest widget under `point` of `root`, named by its class and its
// accessible name or text, so a failure says which widget kept a colour.
inline std::string widgetAt(const QWidget& root, QPoint point) {
    const QWidget* hit = root.childAt(point);
    if (!hit)
        hit = &root;
    QString name = QString::fromLatin1(hit->metaObject()->className());
    for (const QWidget* up = hit; up && up != &root; up = up->parentWidget()) {
        if (!up->accessibleName().isEmpty()) {
            name += QStringLiteral(" in \"%1\"").arg(up->accessibleName());
            break;
        }
    }
    return name.toStdString();
}

// Expects the two pictures of `subject` (restyled) and its fresh twin the
// same pixel for pixel; on a difference it names the widget under the first
// differing pixel and keeps both pictures in the temporary folder.
inline void expectSamePicture(QWidget& subject, const QImage& restyledPicture,
                              const QImage& freshPicture, const std::string& name) {
    const QImage left = restyledPicture.convertToFormat(QImage::Format_ARGB32);
    const QImage right = freshPicture.convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(left.size(), right.size()) << name;
    int differing = 0;
    QPoint first(-1, -1);
    QRect area;
    for (int y = 0; y < left.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(left.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(right.constScanLine(y));
        for (int x = 0; x < left.width(); ++x) {
            if (a[x] == b[x])
                continue;
            if (differing++ == 0)
                first = QPoint(x, y);
            area |= QRect(x, y, 1, 1);
        }
    }
    if (differing == 0)
        return;
    const QString stem = QDir::temp().filePath(QString::fromStdString(name));
    left.save(stem + QStringLiteral("-restyled.png"));
    right.save(stem + QStringLiteral("-fresh.png"));
    const double ratio = left.devicePixelRatio();
    const QPoint logical(static_cast<int>(first.x() / ratio), static_cast<int>(first.y() / ratio));
    ADD_FAILURE() << name << ": " << differing << " pixels differ within (" << area.x() << ", "
                  << area.y() << ", " << area.width() << " x " << area.height() << "); first at ("
                  << first.x() << ", " << first.y() << ") in " << widgetAt(subject, logical)
                  << " (restyled " << QColor(left.pixel(first)).name().toStdString() << ", fresh "
                  << QColor(right.pixel(first)).name().toStdString() << "); pictures in "
                  << stem.toStdString() << "-*.png";
}

// Grabs both windows and expects them the same pixel for pixel: whatever a
// widget paints or picks itself shows, so no colour kept from an earlier
// theme escapes. The whole content of each scroll area is compared as well,
// also the part scrolled out of view. Neither window holds the keyboard
// while grabbed: a window opens with the focus on its first control, and
// only one can be the active one.
inline void expectSamePixels(QWidget& restyled, QWidget& fresh, const std::string& name) {
    QWidget* active = QApplication::activeWindow();
    QApplication::setActiveWindow(nullptr);
    expectSamePicture(restyled, restyled.grab().toImage(), fresh.grab().toImage(), name);
    const auto contents = [](QWidget& window) {
        std::vector<QWidget*> found;
        for (QScrollArea* area : window.findChildren<QScrollArea*>())
            if (area->isVisibleTo(&window) && area->widget())
                found.push_back(area->widget());
        return found;
    };
    const auto left = contents(restyled);
    const auto right = contents(fresh);
    ASSERT_EQ(left.size(), right.size()) << name;
    for (std::size_t i = 0; i < left.size(); ++i)
        expectSamePicture(*left[i], left[i]->grab().toImage(), right[i]->grab().toImage(),
                          name + "-scrolled-" + std::to_string(i));
    QApplication::setActiveWindow(active);
}

}  // namespace quorvane::testing
