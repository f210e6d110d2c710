#include "views/detail_form/slider_row_views.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include "presentation/main_window/slider_row_model.hpp"
#include "presentation/main_window/slider_scale.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/detail_form/detail_labels.hpp"
#include "views/detail_form/detail_page.hpp"

namespace quorvane {

namespace {

// A slider row over the shared row rules: the thumb moves a draft, the
// release and each nudge commit once.
class SliderRow : public QWidget {
  public:
    SliderRow(Theme& theme, SliderRowSpec spec, SliderRowKind kind, QWidget* parent)
        : QWidget(parent),
          spec_(std::move(spec)),
          model_(kind, spec_.minimum, spec_.maximum, spec_.nudgeStep, spec_.formatter,
                 spec_.minimum),
          scale_(spec_.minimum, spec_.maximum, spec_.nudgeStep) {
        setToolTip(qText(spec_.help));
        auto* column = new QVBoxLayout(this);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(4);
        auto* header = new QHBoxLayout;
        auto* titles = new QVBoxLayout;
        titles->setSpacing(1);
        titles->addWidget(
            makeText(theme, qText(spec_.title), QuorvaneFontStyle::body, QFont::Medium));
        if (spec_.subtitle)
            titles->addWidget(makeCaption(theme, qText(*spec_.subtitle)));
        header->addLayout(titles, 1);
        value_ = new QLabel;
        QFont mono = theme.font(QuorvaneFontStyle::callout, QFont::DemiBold);
        mono.setFamily(QStringLiteral("monospace"));
        value_->setFont(mono);
        value_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value_->setMinimumWidth(sliderReadoutMinimumWidth(theme.textSize()));
        header->addWidget(value_, 0, Qt::AlignTop);
        column->addLayout(header);

        auto* line = new QHBoxLayout;
        line->setSpacing(6);
        minus_ = new QToolButton;
        minus_->setText(QStringLiteral("−"));
        minus_->setAccessibleName(qText(spec_.title) + QStringLiteral(" 낮추기"));
        plus_ = new QToolButton;
        plus_->setText(QStringLiteral("+"));
        plus_->setAccessibleName(qText(spec_.title) + QStringLiteral(" 높이기"));
        slider_ = new QSlider(Qt::Horizontal);
        slider_->setRange(0, scale_.maximumPosition());
        slider_->setAccessibleName(qText(spec_.title));
        line->addWidget(minus_);
        line->addWidget(slider_, 1);
        line->addWidget(plus_);
        column->addLayout(line);

        connect(slider_, &QSlider::sliderPressed, this, [this] { model_.beginEditing(); });
        connect(slider_, &QSlider::sliderMoved, this, [this](int position) {
            model_.moveDraft(scale_.value(position));
            show(outsideText_);
        });
        connect(slider_, &QSlider::sliderReleased, this, [this] { commit(model_.endEditing()); });
        // Keyboard and page steps while the thumb is not held commit at once.
        connect(slider_, &QSlider::actionTriggered, this, [this](int action) {
            if (slider_->isSliderDown() || action == QAbstractSlider::SliderMove)
                return;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    model_.beginEditing();
                    model_.moveDraft(scale_.value(slider_->sliderPosition()));
                    commit(model_.endEditing());
                },
                Qt::QueuedConnection);
        });
        connect(minus_, &QToolButton::clicked, this, [this] { commit(model_.nudgeDown()); });
        connect(plus_, &QToolButton::clicked, this, [this] { commit(model_.nudgeUp()); });
    }

    void refresh(double value, const std::string& valueText) {
        outsideText_ = valueText;
        model_.setOutsideValue(value);
        show(valueText);
    }

    QSlider* slider() const { return slider_; }

  private:
    void commit(double value) {
        if (spec_.commit)
            spec_.commit(value);
        show(outsideText_);
    }

    void show(const std::string& valueText) {
        if (!slider_->isSliderDown()) {
            const QSignalBlocker block(slider_);
            slider_->setValue(scale_.position(model_.thumbValue()));
        }
        value_->setText(qText(model_.displayedValueText(valueText)));
        minus_->setEnabled(model_.canDecrement());
        plus_->setEnabled(model_.canIncrement());
    }

    SliderRowSpec spec_;
    SliderRowModel model_;
    SliderScale scale_;
    std::string outsideText_;
    QLabel* value_ = nullptr;
    QSlider* slider_ = nullptr;
    QToolButton* minus_ = nullptr;
    QToolButton* plus_ = nullptr;
};

QVBoxLayout* fill(QWidget* owner) {
    auto* layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    return layout;
}

}  // namespace

SoftwareSliderRowView::SoftwareSliderRowView(DetailFormContext& context, SliderRowSpec spec,
                                             QWidget* parent)
    : QWidget(parent) {
    row_ = new SliderRow(context.theme, std::move(spec), SliderRowKind::software, this);
    fill(this)->addWidget(row_);
}

void SoftwareSliderRowView::refresh(double value, const std::string& valueText) {
    static_cast<SliderRow*>(row_)->refresh(value, valueText);
}

MonitorSliderRowView::MonitorSliderRowView(DetailFormContext& context, SliderRowSpec spec,
                                           QWidget* parent)
    : QWidget(parent) {
    row_ = new SliderRow(context.theme, std::move(spec), SliderRowKind::monitor, this);
    fill(this)->addWidget(row_);
}

void MonitorSliderRowView::refresh(double value, const std::string& valueText, bool enabled) {
    static_cast<SliderRow*>(row_)->refresh(value, valueText);
    row_->setEnabled(enabled);
}

}  // namespace quorvane
