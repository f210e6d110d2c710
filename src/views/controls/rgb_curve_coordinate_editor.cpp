#include "views/controls/rgb_curve_coordinate_editor.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

#include "views/controls/rgb_curve_graph_view.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/monospaced_font.hpp"
#include "views/design/plain_text_button.hpp"
#include "views/design/segmented_picker.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/qt_text.hpp"

namespace quorvane {

namespace {

constexpr int kPickerMaximumWidth = 260;
constexpr qreal kPanelRadius = 14;

}  // namespace

// A short "label value" text on a capsule of its tint at 12 %.
class CurvePill : public QLabel {
  public:
    explicit CurvePill(QWidget* parent) : QLabel(parent) {
        setContentsMargins(8, 4, 8, 4);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }

    void show(const QString& text, const QColor& tint) {
        if (text != this->text())
            setText(text);
        if (tint != tint_) {
            tint_ = tint;
            QPalette colours = palette();
            colours.setColor(QPalette::WindowText, tint);
            setPalette(colours);
        }
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QColor fill = tint_;
        fill.setAlphaF(0.12f);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        const qreal radius = height() / 2.0;
        painter.drawRoundedRect(rect(), radius, radius);
        painter.end();
        QLabel::paintEvent(event);
    }

  private:
    QColor tint_;
};

RGBCurveCoordinateEditor::RGBCurveCoordinateEditor(Theme& theme, Read read, Write write,
                                                   QWidget* parent)
    : QWidget(parent), theme_(theme), read_(std::move(read)), write_(std::move(write)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(10);

    // The title and hint beside the channel picker while both fit, else
    // above it; side by side the title and the segments share a baseline.
    auto* headerRow = new FitToWidth(10, 7, this);
    headerRow->setRowAlignment(Qt::AlignBaseline);
    auto* header = new QWidget(headerRow);
    auto* headerColumn = new QVBoxLayout(header);
    headerColumn->setContentsMargins(0, 0, 0, 0);
    headerColumn->setSpacing(3);
    title_ = new QLabel(QStringLiteral("곡선 그래프로 조정"), header);
    auto* hint = new WrappingLabel(
        QStringLiteral("참고 이미지처럼 곡선 점을 잡아 끌어 중간톤을 바꿉니다."), header);
    hint->setSecondary(true);
    hint_ = hint;
    headerColumn->addWidget(title_);
    headerColumn->addWidget(hint_);
    headerRow->addWidget(header);
    headerRow->addStretch(10);

    std::vector<QString> titles;
    for (const auto channel : kAllRGBCurveChannels)
        titles.push_back(toQString(channelTitle(channel)));
    auto* picker = new SegmentedPicker(theme_, titles, QStringLiteral("RGB 곡선 채널"), headerRow);
    picker->setMaximumWidth(kPickerMaximumWidth);
    picker->setSelected(0);
    connect(picker, &SegmentedPicker::picked, this,
            [this](int id) { selectChannel(kAllRGBCurveChannels[std::size_t(id)]); });
    channelPicker_ = picker;
    headerRow->addWidget(picker);
    column->addWidget(headerRow);

    graph_ = new RGBCurveGraphView(theme_, this);
    connect(graph_, &RGBCurveGraphView::pointChanged, this, &RGBCurveCoordinateEditor::preview);
    connect(graph_, &RGBCurveGraphView::pointCommitted, this, &RGBCurveCoordinateEditor::commit);
    column->addWidget(graph_);

    // The pills and the reset button on one line while they fit. Where
    // they cannot without clipping (a half-width card of the colour page)
    // the three pills still keep their one line, 8 apart, and only the
    // button goes to the next.
    auto* readout = new FitToWidth(8, 6, this);
    readout->setSharedLineLook(8, Qt::AlignVCenter);
    gammaPill_ = new CurvePill(readout);
    xPill_ = new CurvePill(readout);
    yPill_ = new CurvePill(readout);
    readout->addWidget(gammaPill_, 0);
    readout->addWidget(xPill_, 0);
    readout->addWidget(yPill_, 0);
    readout->addStretch(6);
    resetButton_ = new PlainTextButton(theme_, QStringLiteral("기본"), readout);
    connect(resetButton_, &QAbstractButton::clicked, this, &RGBCurveCoordinateEditor::reset);
    readout->addWidget(resetButton_, 1);
    readout_ = readout;
    column->addWidget(readout);

    connect(&theme_, &Theme::changed, this, &RGBCurveCoordinateEditor::restyle);
    restyle();
    refresh();
}

void RGBCurveCoordinateEditor::refresh() {
    gammas_ = read_ ? read_() : RGBGammas{};
    redraw();
}

void RGBCurveCoordinateEditor::restyle() {
    title_->setFont(theme_.font(QuorvaneFontStyle::caption, QFont::DemiBold));
    hint_->setFont(theme_.font(QuorvaneFontStyle::caption2));
    const QFont pill = monospaced(theme_.font(QuorvaneFontStyle::caption2, QFont::DemiBold));
    for (auto* label : {gammaPill_, xPill_, yPill_})
        label->setFont(pill);
    redraw();
}

void RGBCurveCoordinateEditor::selectChannel(RGBCurveChannel channel) {
    model_.selectChannel(channel);
    redraw();
}

void RGBCurveCoordinateEditor::preview(double input, double output) {
    model_.preview(input, output);
    redraw();
}

void RGBCurveCoordinateEditor::commit(double input, double output) {
    const auto edit = model_.commit(input, output);
    if (write_)
        write_(edit);
    refresh();
}

void RGBCurveCoordinateEditor::reset() {
    if (write_)
        write_(model_.reset());
    refresh();
}

void RGBCurveCoordinateEditor::redraw() {
    const auto channel = model_.selectedChannel();
    const QColor tint = RGBCurveGraphView::channelTint(theme_, channel);
    const QColor secondary = theme_.color(ColorRole::secondary);

    graph_->setCurve(model_.displayedGamma(gammas_), channel, model_.controlInput());
    graph_->setAccessibleTexts(toQString(model_.graphAccessibleName()));
    gammaPill_->show(toQString(model_.gammaPillLabel() + " " + model_.gammaText(gammas_)), tint);
    xPill_->show(QStringLiteral("X %1").arg(model_.xPercent()), secondary);
    yPill_->show(QStringLiteral("Y %1").arg(model_.yPercent(gammas_)), secondary);
    resetButton_->setEnabled(!model_.isSelectedChannelNeutral(gammas_));
    resetButton_->setToolTip(toQString(model_.resetHelp()));
    channelPicker_->setSelected(
        int(std::find(kAllRGBCurveChannels.begin(), kAllRGBCurveChannels.end(), channel) -
            kAllRGBCurveChannels.begin()));
    update();
}

void RGBCurveCoordinateEditor::paintEvent(QPaintEvent*) {
    const bool dark = theme_.scheme() == ColorScheme::dark;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF panel = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setBrush(dark ? QColor::fromRgbF(0.278f, 0.263f, 0.239f, 0.42f)
                          : QColor::fromRgbF(0.937f, 0.922f, 0.886f, 0.58f));
    QColor border = RGBCurveGraphView::channelTint(theme_, model_.selectedChannel());
    border.setAlphaF(0.28f);
    painter.setPen(QPen(border, 1));
    painter.drawRoundedRect(panel, kPanelRadius, kPanelRadius);
}

}  // namespace quorvane
