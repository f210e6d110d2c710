#include "views/design/wrapping_label.hpp"

#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

#include "presentation/design/text_fit.hpp"

namespace quorvane {

namespace {

// The narrowest a wrapped label asks to be: a few characters.
constexpr int kMinimumCharacters = 6;

// Breaks one paragraph into lines `lineWidth` wide, at word boundaries where
// it can and anywhere in a word longer than the line.
void breakLines(QTextLayout& layout, double lineWidth) {
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
        line.setLineWidth(lineWidth);
    layout.endLayout();
}

}  // namespace

WrappingLabel::WrappingLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeading | Qt::AlignTop);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void WrappingLabel::setSelectable(bool selectable) {
    setTextInteractionFlags(selectable ? Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard
                                       : Qt::NoTextInteraction);
    if (selectable)
        setCursor(Qt::IBeamCursor);
    else
        unsetCursor();
}

bool WrappingLabel::selectable() const {
    return textInteractionFlags() & Qt::TextSelectableByMouse;
}

void WrappingLabel::setSecondary(bool secondary) {
    setForegroundRole(secondary ? QPalette::PlaceholderText : QPalette::WindowText);
}

void WrappingLabel::setTextColor(const QColor& color) {
    color_ = color;
    update();
}

void WrappingLabel::setLineLimit(int lines, double minimumScaleFactor) {
    lineLimit_ = std::max(0, lines);
    minimumScaleFactor_ = minimumScaleFactor;
    updateGeometry();
    update();
}

QSize WrappingLabel::sizeHint() const {
    const QMargins margins = contentsMargins();
    int width = 0;
    const QStringList lines = text().split(QLatin1Char('\n'));
    for (const auto& line : lines)
        width = std::max(width, fontMetrics().horizontalAdvance(line));
    width += margins.left() + margins.right() + 1;
    return {width, heightForWidth(width)};
}

QSize WrappingLabel::minimumSizeHint() const {
    const int width =
        std::min(sizeHint().width(), fontMetrics().averageCharWidth() * kMinimumCharacters);
    return {width, fontMetrics().height()};
}

int WrappingLabel::heightForWidth(int width) const {
    if (selectable())
        return QLabel::heightForWidth(width);
    return layoutHeight(width, nullptr);
}

int WrappingLabel::layoutHeight(int width, QPainter* painter) const {
    const QMargins margins = contentsMargins();
    const double lineWidth = std::max(1, width - margins.left() - margins.right());
    const QFont font = lineLimit_ > 0 ? fittedFont(width) : this->font();
    if (painter)
        painter->translate(margins.left(), margins.top());
    const double height = contentHeight(font, lineWidth, lineLimit_, painter);
    return static_cast<int>(std::ceil(height)) + margins.top() + margins.bottom();
}

QFont WrappingLabel::fittedFont(int width) const {
    const QMargins margins = contentsMargins();
    const double lineWidth = std::max(1, width - margins.left() - margins.right());
    QFont candidate = font();
    const double full = font().pointSizeF() > 0 ? font().pointSizeF() : 12.0;
    const auto fit = fitTextToLines(full, minimumScaleFactor_, lineLimit_, [&](double size) {
        candidate.setPointSizeF(size);
        return linesAt(candidate, lineWidth);
    });
    candidate.setPointSizeF(fit.pointSize);
    return candidate;
}

int WrappingLabel::linesAt(const QFont& font, double lineWidth) const {
    int lines = 0;
    for (const auto& paragraph : text().split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font);
        breakLines(layout, lineWidth);
        lines += layout.lineCount();
    }
    return lines;
}

// Lays the text out from the top left, at most `limit` lines (0 = all), and
// draws it when given a painter; the last allowed line of a longer text ends
// in "…". Returns the height taken.
double WrappingLabel::contentHeight(const QFont& font, double lineWidth, int limit,
                                    QPainter* painter) const {
    if (text().isEmpty())
        return 0;
    const QStringList paragraphs = text().split(QLatin1Char('\n'));
    double y = 0;
    int shown = 0;
    for (qsizetype index = 0; index < paragraphs.size(); ++index) {
        const QString& paragraph = paragraphs[index];
        QTextLayout layout(paragraph, font);
        breakLines(layout, lineWidth);
        for (int number = 0; number < layout.lineCount(); ++number) {
            QTextLine line = layout.lineAt(number);
            const bool lastAllowed = limit > 0 && shown + 1 == limit;
            const bool more = number + 1 < layout.lineCount() || index + 1 < paragraphs.size();
            if (lastAllowed && more) {
                if (painter) {
                    // The rest of the text, run together, cut to the line.
                    const QString rest = (paragraph.mid(line.textStart()) + QLatin1Char(' ') +
                                          paragraphs.mid(index + 1).join(QLatin1Char(' ')))
                                             .simplified();
                    painter->setFont(font);
                    painter->drawText(
                        QPointF(0, y + line.ascent()),
                        QFontMetricsF(font).elidedText(rest, Qt::ElideRight, lineWidth));
                }
                return y + line.height();
            }
            if (painter)
                line.draw(painter, QPointF(0, y - line.y()));
            y += line.height();
            ++shown;
        }
    }
    return y;
}

void WrappingLabel::paintEvent(QPaintEvent* event) {
    if (selectable()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setPen(color_.isValid() ? color_ : palette().color(foregroundRole()));
    layoutHeight(width(), &painter);
}

}  // namespace quorvane
