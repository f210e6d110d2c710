#include "views/design/wrapping_label.hpp"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "presentation/design/text_fit.hpp"
#include "views/design/wrapped_text.hpp"

namespace quorvane {

namespace {

// The narrowest a wrapped label asks to be: a few characters.
constexpr int kMinimumCharacters = 6;

}  // namespace

WrappingLabel::WrappingLabel(const QString& text, QWidget* parent) : QLabel(parent) {
    // The format first: changing it sets the text again, and Qt would
    // announce the new label's name twice.
    setTextFormat(Qt::PlainText);
    setText(text);
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

void WrappingLabel::setKeepsWordsWhole(bool whole) {
    wordsWhole_ = whole;
    updateGeometry();
}

QSize WrappingLabel::minimumSizeHint() const {
    int width = std::min(sizeHint().width(), fontMetrics().averageCharWidth() * kMinimumCharacters);
    if (wordsWhole_) {
        const QMargins margins = contentsMargins();
        const int word = static_cast<int>(std::ceil(widestWordWidth(text(), font())));
        width = std::max(width, word + margins.left() + margins.right() + 1);
    }
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
    return wrappedLineCount(text(), font, lineWidth);
}

double WrappingLabel::contentHeight(const QFont& font, double lineWidth, int limit,
                                    QPainter* painter) const {
    return layOutWrappedText(text(), font, lineWidth, limit, painter, {},
                             alignment() & Qt::AlignHCenter ? Qt::AlignHCenter : Qt::AlignLeft);
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
