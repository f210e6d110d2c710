#include "views/settings/settings_appearance_card.hpp"

#include <QVBoxLayout>
#include <algorithm>

#include "presentation/controls/appearance_switcher_model.hpp"
#include "presentation/settings/appearance_card_texts.hpp"
#include "services/display_store/display_store.hpp"
#include "views/access/accessible_role.hpp"
#include "views/controls/settings_segmented_picker.hpp"
#include "views/design/appearance_switcher.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/settings_card_frame.hpp"
#include "views/design/settings_tinted_tile.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/theme.hpp"
#include "views/design/themed_text.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/qt_text.hpp"
#include "views/view_context.hpp"

namespace quorvane {

namespace {

constexpr double kLightBlockOpacity = 0.46;
constexpr double kDarkBlockOpacity = 0.34;

// The tinted block one setting sits on: its copy beside the control while
// both fit, the control under the copy otherwise.
class SettingControlBlock : public SettingsTintedTile {
  public:
    SettingControlBlock(Theme& theme, const QString& title, WrappingLabel* detail, QWidget* control,
                        int controlMaximumWidth, QWidget* parent)
        : SettingsTintedTile(
              theme, {ColorRole::track, kLightBlockOpacity, kDarkBlockOpacity, 12, {}}, parent) {
        auto* column = new QVBoxLayout(this);
        column->setContentsMargins(12, 12, 12, 12);
        auto* copy = new QWidget;
        auto* copyColumn = new QVBoxLayout(copy);
        copyColumn->setContentsMargins(0, 0, 0, 0);
        copyColumn->setSpacing(4);
        title_ = themedLabel(theme, title, QuorvaneFontStyle::caption, QFont::DemiBold);
        copyColumn->addWidget(title_);
        copyColumn->addWidget(detail);
        // The control's own width where its labels need more than the
        // limit at a large text size: a clipped label is worse than a wider block.
        const auto limit = [control, controlMaximumWidth] {
            control->setMaximumWidth(std::max(controlMaximumWidth, control->sizeHint().width()));
        };
        limit();
        connect(&theme, &Theme::changed, control, limit);
        // Side by side the copy's title and the control's labels share a baseline.
        auto* fit = new FitToWidth(12, 8);
        fit->setRowAlignment(Qt::AlignBaseline);
        fit->addWidget(copy);
        fit->addStretch(12);
        fit->addWidget(control);
        column->addWidget(fit);
    }

    // The block's title, which names its control.
    QWidget* title() const { return title_; }

  private:
    QWidget* title_ = nullptr;
};

std::vector<QString> textSizeLabels() {
    std::vector<QString> labels;
    for (const auto size : kAllTextSizes)
        labels.push_back(toQString(displayName(size)));
    return labels;
}

}  // namespace

SettingsAppearanceCard::SettingsAppearanceCard(ViewContext& context, QWidget* parent)
    : QWidget(parent), store_(context.store) {
    Theme& theme = context.theme;
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto frame = makeSettingsCard(
        theme, QuorvaneGlyph::appearance, [] { return ColorRole::accent; }, QStringLiteral("보기"),
        QStringLiteral("글자와 외형"));
    outer->addWidget(frame.panel);

    // Each block's title names its picker, read once.
    textSizePicker_ = new SettingsSegmentedPicker(theme, textSizeLabels(), {});
    textSizeDetail_ = themedLabel(theme, {}, QuorvaneFontStyle::caption, QFont::Normal, true);
    auto* textSizeBlock = new SettingControlBlock(
        theme, QStringLiteral("글자 크기"), textSizeDetail_, textSizePicker_, 360, frame.panel);
    labelBy(textSizePicker_, textSizeBlock->title());
    frame.column->addWidget(textSizeBlock);
    auto* preview =
        themedLabel(theme, QStringLiteral("미리보기: 메뉴와 설명 글자가 이 크기로 표시됩니다."),
                    QuorvaneFontStyle::body);
    preview->setContentsMargins(0, 7, 0, 7);
    frame.column->addWidget(preview);
    frame.column->addWidget(divider(frame.panel));

    appearanceSwitcher_ =
        new AppearanceSwitcher(context, true, false, AppearanceSwitcher::Chrome::panel);
    appearanceDetail_ = themedLabel(theme, {}, QuorvaneFontStyle::caption, QFont::Normal, true);
    auto* appearanceBlock =
        new SettingControlBlock(theme, QStringLiteral("화면 모드"), appearanceDetail_,
                                appearanceSwitcher_, 420, frame.panel);
    appearanceSwitcher_->labelByHeading(appearanceBlock->title());
    frame.column->addWidget(appearanceBlock);

    connect(textSizePicker_, &SettingsSegmentedPicker::picked, this, [this](int index) {
        store_.setTextSize(kAllTextSizes.at(static_cast<std::size_t>(index)));
    });
    refresh();
}

void SettingsAppearanceCard::refresh() {
    textSizePicker_->setSelected(static_cast<int>(store_.textSize()));
    textSizeDetail_->setText(toQString(quorvane::textSizeDetail(store_.textSize())));
    appearanceDetail_->setText(toQString(AppearanceSwitcherModel::helpText(store_.appearance())));
}

QString SettingsAppearanceCard::textSizeDetail() const {
    return textSizeDetail_->text();
}

}  // namespace quorvane
