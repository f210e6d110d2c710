#include "views/import_sheet/settings_import_preview_sheet.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QSpacerItem>
#include <QVBoxLayout>
#include <algorithm>

#include "models/coding/number_format.hpp"
#include "models/settings/quorvane_settings_import_display_adjustment.hpp"
#include "presentation/design/control_metrics.hpp"
#include "presentation/design/key_combination_breaks.hpp"
#include "presentation/import_sheet/settings_import_sheet_texts.hpp"
#include "presentation/settings/settings_import_entry.hpp"
#include "presentation/settings/settings_window_layout.hpp"
#include "views/access/accessible_role.hpp"
#include "views/access/spoken_text.hpp"
#include "views/controls/settings_segmented_picker.hpp"
#include "views/design/adaptive_grid.hpp"
#include "views/design/eliding_picker.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/monospaced_font.hpp"
#include "views/design/settings_card_frame.hpp"
#include "views/design/settings_tinted_tile.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/text_size_refit.hpp"
#include "views/design/theme.hpp"
#include "views/design/theme_follow.hpp"
#include "views/design/themed_text.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/import_sheet/import_mapping_notice_view.hpp"
#include "views/qt_text.hpp"

namespace quorvane {

namespace {

using Mode = QuorvaneSettingsImportMode;

constexpr int kSummaryTileMinimum = 170;
constexpr int kSheetMinimumWidth = 680;
constexpr int kSheetMinimumHeight = 560;
constexpr int kModePickerMaximumWidth = 360;
// The target picker's least, ideal and greatest width.
constexpr int kTargetPickerMinimum = 220;
constexpr int kTargetPickerIdeal = 280;
constexpr int kTargetPickerMaximum = 320;

QVBoxLayout* column(QWidget* widget, int spacing, int margin = 0) {
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(spacing);
    return layout;
}

// The tinted tiles the capsules stand on: the before-and-after section and
// its rows, the change plan and its cards.
const SettingsTintedTile::Look kBeforeAfterSection{ColorRole::insetSurface, 0.9, 0.9, 12,
                                                   ColorUse{ColorRole::accent, 0.22}};
const SettingsTintedTile::Look kBeforeAfterRow{ColorRole::track, 0.44, 0.34, 10,
                                               ColorUse{ColorRole::surfaceBorder, 0.55}};
const SettingsTintedTile::Look kPlanSection{ColorRole::surface, 0.92, 0.92, 12,
                                            ColorUse{ColorRole::surfaceBorder, 0.66}};
const SettingsTintedTile::Look kPlanCard{ColorRole::insetSurface, 0.72, 0.72, 10,
                                         ColorUse{ColorRole::surfaceBorder, 0.56}};

// How a capsule of the sheet looks: its type, text colour, the opacity of
// its soft amber fill per scheme and its horizontal inset.
struct CapsuleLook {
    QuorvaneFontStyle style = QuorvaneFontStyle::caption2;
    QFont::Weight weight = QFont::Medium;
    ColorRole text = ColorRole::secondary;
    double lightFill = 0.78;
    double darkFill = 0.66;
    int horizontalInset = 7;
};

// A capsule standing on `tiles` (outermost first) on the sheet's ground; its
// text takes the shade of its colour that reads on its fill there.
StatusPill* capsule(Theme& theme, const QString& text, CapsuleLook look,
                    std::vector<SettingsTintedTile::Look> tiles) {
    auto* pill = new StatusPill(theme, text);
    pill->setInsets(look.horizontalInset, 4);
    const auto restyle = [pill, &theme, look, tiles] {
        const ColorScheme scheme = theme.scheme();
        const ColorUse fill{ColorRole::accentFill,
                            bySchemePair(scheme, look.lightFill, look.darkFill)};
        TextGround ground{PageGround::window, {}};
        for (const auto& tile : tiles)
            ground.washes.push_back(
                {tile.fill, bySchemePair(scheme, tile.lightOpacity, tile.darkOpacity)});
        ground.washes.push_back(fill);
        pill->setFont(theme.font(look.style, look.weight));
        pill->setColors(theme.color(fill), Qt::transparent);
        pill->setTextColor(theme.textColor(look.text, ground));
    };
    restyle();
    QObject::connect(&theme, &Theme::changed, pill, restyle);
    return pill;
}

// A classification badge of a plan entry, its symbol before the label.
StatusPill* badge(Theme& theme, const ChangePlanBadge& look,
                  std::vector<SettingsTintedTile::Look> tiles) {
    auto* pill = capsule(theme, toQString(look.label), {}, std::move(tiles));
    pill->setSymbol(std::string(look.symbol));
    return pill;
}

// The small arrow between two values, in the caption size and the
// secondary colour.
SymbolImage* arrow(Theme& theme, const ComparisonArrow& look) {
    auto* image = new SymbolImage(std::string(look.symbol));
    image->setContentsMargins(0, look.topPadding, 0, 0);
    const auto restyle = [image, &theme] {
        image->setFont(theme.font(QuorvaneFontStyle::caption));
        image->setColor(theme.color(ColorRole::secondary));
    };
    restyle();
    QObject::connect(&theme, &Theme::changed, image, restyle);
    return image;
}

// A section heading: its symbol and title on one line of `row`, which they
// share when the row stacks.
void addSymbolTitle(FitToWidth& row, Theme& theme, std::string symbol, const QString& title) {
    auto* icon = new SymbolImage(std::move(symbol));
    const auto restyle = [icon, &theme] {
        icon->setFont(theme.font(QuorvaneFontStyle::headline, QFont::DemiBold));
        icon->setColor(theme.color(ColorRole::primary));
    };
    restyle();
    QObject::connect(&theme, &Theme::changed, icon, restyle);
    row.addWidget(icon, 0);
    row.addWidget(themedLabel(theme, title, QuorvaneFontStyle::headline, QFont::DemiBold), 0);
}

// A titled value of a plan card: a soft rounded tile with the value wrapped,
// stretched to the width its row leaves it (side by side, the before and
// after values share the card's width).
QWidget* valuePill(Theme& theme, const QString& title, const std::string& value) {
    auto* pill = new SettingsTintedTile(theme, {ColorRole::track, 0.42, 0.34, 8, {}});
    pill->setObjectName(QStringLiteral("planValue"));
    QSizePolicy stretched(QSizePolicy::Expanding, QSizePolicy::Preferred);
    stretched.setHeightForWidth(true);
    pill->setSizePolicy(stretched);
    auto* layout = new QVBoxLayout(pill);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(3);
    layout->addWidget(
        themedLabel(theme, title, QuorvaneFontStyle::caption2, QFont::DemiBold, true));
    layout->addWidget(themedLabel(theme, toQString(value), QuorvaneFontStyle::caption));
    return pill;
}

// A before or after value of the comparison rows, its title and border in
// `tint`: ideally 150 wide, wider for a long value but never beyond 210,
// where the value keeps to two lines, shrinking a little before it is cut.
class ComparisonPill : public SettingsTintedTile {
  public:
    ComparisonPill(Theme& theme, const QString& title, const std::string& value, ColorRole tint)
        : SettingsTintedTile(theme, {ColorRole::surface, 0.82, 0.82, 9, ColorUse{tint, 0.22}}) {
        setMinimumWidth(kLeast);
        setMaximumWidth(kMost);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(9, 7, 9, 7);
        layout->setSpacing(3);
        auto* heading = themedLabel(theme, title, QuorvaneFontStyle::caption2, QFont::DemiBold);
        const auto restyle = [heading, &theme, tint] { heading->setTextColor(theme.color(tint)); };
        restyle();
        QObject::connect(&theme, &Theme::changed, heading, restyle);
        layout->addWidget(heading);
        auto* shown = themedLabel(theme, toQString(value), QuorvaneFontStyle::caption);
        shown->setObjectName(QStringLiteral("comparisonValue"));
        shown->setLineLimit(2, 0.86);
        layout->addWidget(shown);
    }

    QSize sizeHint() const override {
        const int width = std::clamp(SettingsTintedTile::sizeHint().width(), kIdeal, kMost);
        return {width, heightForWidth(width)};
    }

  private:
    static constexpr int kLeast = 120;
    static constexpr int kIdeal = 150;
    static constexpr int kMost = 210;
};

// Lets a click on a check box's wrapped text toggle the box, as its own
// text would.
class ClickToToggle : public QObject {
  public:
    ClickToToggle(QCheckBox* box, QObject* parent) : QObject(parent), box_(box) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease && box_->isEnabled())
            box_->click();
        return QObject::eventFilter(watched, event);
    }

  private:
    QCheckBox* box_;
};

void clear(QVBoxLayout* layout) {
    while (auto* item = layout->takeAt(0)) {
        if (auto* widget = item->widget())
            widget->deleteLater();
        delete item;
    }
}

SettingsTintedTile::Look rowLook(Mode mode, bool duplicate) {
    if (mode == Mode::globalOnly)
        return {ColorRole::track, 0.40, 0.30, 10, {}};
    if (duplicate)
        return {ColorRole::warning, 0.12, 0.18, 10, {}};
    return {ColorRole::track, 0.48, 0.38, 10, {}};
}

}  // namespace

SettingsImportPreviewSheet::SettingsImportPreviewSheet(ViewContext& context,
                                                       QuorvaneSettingsImportDraft draft,
                                                       QWidget* parent)
    : QDialog(parent),
      context_(context),
      model_(std::move(draft), context.store.displays(), context.store.displayAliasesByKey(),
             localHotKeyImportState(context.store)) {
    Theme& theme = context_.theme;
    setWindowTitle(QStringLiteral("설정 가져오기 미리보기"));
    auto* outer = column(this, 0);

    auto* header = new QWidget(this);
    auto* headerColumn = column(header, 6, 20);
    headerColumn->addWidget(themedLabel(theme, QStringLiteral("설정 가져오기 미리보기"),
                                        QuorvaneFontStyle::title3, QFont::DemiBold));
    headerColumn->addWidget(themedLabel(
        theme,
        QStringLiteral("가져오는 순간 화면 색상, 모니터 밝기, 해상도, 모니터 자체 값을 바로 바꾸지 "
                       "않습니다. 먼저 어느 디스플레이에 연결할지 확인하세요."),
        QuorvaneFontStyle::callout, QFont::Normal, true));
    outer->addWidget(header);
    outer->addWidget(divider(this));

    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // No stop for the keyboard: Tab goes from control to control and the
    // area follows, never resting on a nameless pane.
    scroll->setFocusPolicy(Qt::NoFocus);
    auto* page = new QWidget;
    auto* sections = column(page, 18, 20);
    sections->addWidget(buildSummary());
    sections->addWidget(buildMode());
    sections->addWidget(buildMapping());

    auto* beforeAfter = new SettingsTintedTile(theme, kBeforeAfterSection, page);
    beforeAfter->setObjectName(QStringLiteral("beforeAfterSection"));
    auto* beforeAfterColumn = column(beforeAfter, 12, 12);
    auto* beforeAfterHeader = new FitToWidth(10, 5);
    beforeAfterHeader->setRowAlignment(Qt::AlignBaseline);
    addSymbolTitle(*beforeAfterHeader, theme, "arrow.left.arrow.right",
                   QStringLiteral("적용 전 미리보기"));
    beforeAfterHeader->addStretch();
    beforeAfterHeader->addWidget(
        capsule(theme, QStringLiteral("Before → After"),
                {QuorvaneFontStyle::caption, QFont::DemiBold, ColorRole::ink, 0.72, 0.72, 8},
                {kBeforeAfterSection}));
    beforeAfterColumn->addWidget(beforeAfterHeader);
    beforeAfterColumn->addWidget(themedLabel(
        theme,
        QStringLiteral("가져오기 전에는 아무것도 변하지 않습니다. 아래 값은 저장될 설정의 전/후 "
                       "비교이며, 화면 밝기·DDC/CI·해상도 API는 이 시트에서 호출하지 않습니다."),
        QuorvaneFontStyle::caption, QFont::Normal, true));
    beforeAfter_ = new QVBoxLayout;
    beforeAfter_->setSpacing(8);
    beforeAfterColumn->addLayout(beforeAfter_);
    sections->addWidget(beforeAfter);

    auto* plan = new SettingsTintedTile(theme, kPlanSection, page);
    auto* planColumn = column(plan, 10, 12);
    auto* planHeader = new FitToWidth(8, 4);
    planHeader->setRowAlignment(Qt::AlignBaseline);
    addSymbolTitle(*planHeader, theme, "list.bullet.rectangle", QStringLiteral("전체 변경 계획"));
    planHeader->addStretch();
    planCount_ = themedLabel(theme, {}, QuorvaneFontStyle::caption, QFont::Normal, true);
    planHeader->addWidget(planCount_);
    planColumn->addWidget(planHeader);
    planSummary_ = themedLabel(theme, {}, QuorvaneFontStyle::caption, QFont::Normal, true);
    planColumn->addWidget(planSummary_);
    plan_ = new QVBoxLayout;
    plan_->setSpacing(8);
    planColumn->addLayout(plan_);
    sections->addWidget(plan);
    sections->addWidget(buildSafety());
    sections->addStretch(1);
    scroll->setWidget(page);
    outer->addWidget(scroll, 1);
    outer->addWidget(divider(this));

    auto* footer = new QWidget(this);
    auto* footerColumn = column(footer, 0, 20);
    auto* buttons = new FitToWidth(8, 8);
    cancel_ = new QPushButton(QStringLiteral("취소"), footer);
    import_ = new QPushButton(QStringLiteral("가져오기"), footer);
    cancel_->setAutoDefault(false);
    import_->setDefault(true);
    buttons->addWidget(cancel_);
    buttons->addStretch();
    buttons->addWidget(import_);
    footerColumn->addWidget(buttons);
    outer->addWidget(footer);

    // The buttons report first and close afterwards, so the window knows a
    // cancel from a dismissal.
    connect(cancel_, &QPushButton::clicked, this, [this] {
        emit cancelRequested();
        done(QDialog::Rejected);
    });
    connect(import_, &QPushButton::clicked, this, [this] {
        if (!model_.canConfirm())
            return;
        const auto confirmation = model_.confirmation();
        emit importConfirmed(confirmation.mode, confirmation.mappings,
                             confirmation.switchSelectionToMappedDisplay);
        done(QDialog::Accepted);
    });
    const auto restyle = [this, &theme] {
        for (auto* button : {cancel_, import_})
            button->setFont(theme.baseFont());
        const int width =
            std::max(kSheetMinimumWidth, settings_layout::minimumWidth(theme.textSize()));
        setMinimumSize(width, kSheetMinimumHeight);
    };
    restyle();
    connect(&theme, &Theme::changed, this, restyle);
    refitOnTextSizeChange(theme, this);
    refresh();
}

QWidget* SettingsImportPreviewSheet::buildSummary() {
    Theme& theme = context_.theme;
    auto* section = new QWidget;
    auto* layout = column(section, 10);
    layout->addWidget(themedLabel(theme, QStringLiteral("파일에 들어있는 내용"),
                                  QuorvaneFontStyle::headline, QFont::DemiBold));
    auto* grid = new AdaptiveGrid(kSummaryTileMinimum, 8, 10);
    for (const auto& tile :
         settingsImportSummaryTiles(model_.draft().preferences, model_.localHotKeyState())) {
        auto* widget = new SettingsTintedTile(
            theme, {ColorRole::track, 0.54, 0.44, 10, ColorUse{ColorRole::surfaceBorder, 0.62}});
        auto* tileColumn = column(widget, 4, 10);
        tileColumn->addWidget(themedLabel(theme, toQString(tile.title), QuorvaneFontStyle::caption,
                                          QFont::Normal, true));
        // A key combination in the value stays whole: the grid's columns
        // are never narrower than the value's widest word.
        auto* value = themedLabel(theme, toQString(withKeyCombinationsWhole(tile.value)),
                                  QuorvaneFontStyle::headline, QFont::DemiBold);
        value->setKeepsWordsWhole(true);
        // The joiners that keep it whole are not read out.
        setSpokenName(value, value->text());
        tileColumn->addWidget(value);
        // A tile stretched to its row's height keeps its text at the top.
        tileColumn->addStretch(1);
        grid->addTile(widget);
    }
    layout->addWidget(grid);
    layout->addWidget(themedLabel(
        theme,
        QStringLiteral(
            "작업 모드 단축키의 켜짐 상태와 비상 복구 단축키는 이 컴퓨터의 로컬 안전 설정을 "
            "유지합니다. 로컬 단축키가 이미 켜져 있으면 가져온 안전한 바인딩만 활성화될 수 있고, "
            "비상 복구 단축키와 충돌하는 바인딩은 제외됩니다. URL 프리셋 자동화도 파일 값으로 "
            "켜지지 않습니다. 작업 모드와 모니터 묶음 안의 고급 대상 식별자는 이번 단계에서 자동 "
            "변환하지 않고 그대로 가져옵니다. 화면별 색상값만 아래 매핑을 따릅니다."),
        QuorvaneFontStyle::caption, QFont::Normal, true));
    return section;
}

QWidget* SettingsImportPreviewSheet::buildMode() {
    Theme& theme = context_.theme;
    auto* section = new QWidget;
    auto* layout = column(section, 8);
    auto* heading = themedLabel(theme, QStringLiteral("가져오기 방식"), QuorvaneFontStyle::headline,
                                QFont::DemiBold);
    layout->addWidget(heading);
    // The heading names the picker; the same words as its title beside the
    // segments are not read a second time.
    modePicker_ = new SettingsSegmentedPicker(
        theme,
        {toQString(importModeSegmentLabel(Mode::fullWithDisplayMapping)),
         toQString(importModeSegmentLabel(Mode::globalOnly))},
        {}, section);
    labelBy(modePicker_, heading);
    // The picker carries its own title before the segments, the two at
    // most 360 wide together.
    auto* labelled = new QWidget(section);
    labelled->setMaximumWidth(kModePickerMaximumWidth);
    auto* labelledRow = new QHBoxLayout(labelled);
    labelledRow->setContentsMargins(0, 0, 0, 0);
    labelledRow->setSpacing(8);
    auto* pickerTitle =
        themedLabel(theme, QStringLiteral("가져오기 방식"), QuorvaneFontStyle::body);
    hideFromAccessibility(pickerTitle);
    // The segments are taller than a line of text at every size: the title
    // sits on their middle, not at the row's top.
    labelledRow->addWidget(pickerTitle, 0, Qt::AlignVCenter);
    labelledRow->addWidget(modePicker_, 1);
    layout->addWidget(labelled);
    modeDescription_ = themedLabel(theme, {}, QuorvaneFontStyle::caption, QFont::Normal, true);
    layout->addWidget(modeDescription_);
    connect(modePicker_, &SettingsSegmentedPicker::picked, this, [this](int index) {
        model_.setMode(index == 1 ? Mode::globalOnly : Mode::fullWithDisplayMapping);
        refresh();
    });
    return section;
}

QWidget* SettingsImportPreviewSheet::buildMapping() {
    Theme& theme = context_.theme;
    auto* section = new QWidget;
    auto* layout = column(section, 10);
    auto* heading = new FitToWidth(8, 4);
    heading->addWidget(themedLabel(theme, QStringLiteral("화면별 색상값 연결"),
                                   QuorvaneFontStyle::headline, QFont::DemiBold));
    heading->addStretch();
    mappedCount_ = themedLabel(theme, {}, QuorvaneFontStyle::caption, QFont::Normal, true);
    heading->addWidget(mappedCount_);
    layout->addWidget(heading);

    const auto& adjustments = model_.draft().importedDisplayAdjustments;
    if (adjustments.empty()) {
        layout->addWidget(themedLabel(theme,
                                      QStringLiteral("이 파일에는 화면별 색상값이 없습니다."),
                                      QuorvaneFontStyle::callout, QFont::Normal, true));
    }
    for (const auto& adjustment : adjustments) {
        const std::string id = adjustment.identityRawValue;
        auto* row = new SettingsTintedTile(theme, rowLook(model_.mode(), false), section);
        auto* rowLayout = column(row, 0, 10);
        auto* fit = new FitToWidth(12, 8);
        auto* labels = new QWidget;
        auto* labelColumn = column(labels, 3);
        const QString importedLabel =
            toQString(QuorvaneSettingsImportDisplayAdjustment::displayLabel(id));
        labelColumn->addWidget(
            themedLabel(theme, importedLabel, QuorvaneFontStyle::body, QFont::Medium));
        auto* raw = new WrappingLabel(toQString(id));
        raw->setSecondary(true);
        followTheme(theme, raw, [raw, &theme] {
            raw->setFont(monospaced(theme.font(QuorvaneFontStyle::caption2)));
        });
        raw->setSelectable(true);
        labelColumn->addWidget(raw);
        auto* picker = new ElidingPicker;
        // Named by its title (not on screen); the display it maps is heard
        // with it, as the row shows it beside the picker.
        setSpokenName(picker, QStringLiteral("적용 대상"));
        setSpokenDescription(picker, toQString(importTargetPickerDescription(id)));
        picker->setMinimumWidth(kTargetPickerMinimum);
        picker->setMaximumWidth(kTargetPickerMaximum);
        picker->setIdealWidth(kTargetPickerIdeal);
        fillPicker(picker, id);
        connect(picker, &QComboBox::activated, this, [this, picker, id](int index) {
            model_.setTarget(id, picker->itemData(index).toString().toStdString());
            refresh();
        });
        fit->addWidget(labels);
        fit->addStretch();
        fit->addWidget(picker);
        rowLayout->addWidget(fit);
        layout->addWidget(row);
        rows_[id] = {row, picker};
    }

    for (auto*& notice : notices_) {
        notice = new ImportMappingNoticeView(theme, section);
        layout->addWidget(notice);
    }

    // The switch's text wraps beside it (a check box's own text never does,
    // and would hold the sheet wider than its least width); it toggles too.
    const QString switchText = QStringLiteral(
        "가져온 파일의 선택 디스플레이가 위에서 연결된 경우, 앱 선택도 그 "
        "디스플레이로 이동");
    auto* switchRow = new QHBoxLayout;
    switchRow->setSpacing(6);
    selectionSwitch_ = new QCheckBox(section);
    setSpokenName(selectionSwitch_, switchText);
    auto* switchLabel = themedLabel(theme, switchText, QuorvaneFontStyle::body);
    switchLabel->installEventFilter(new ClickToToggle(selectionSwitch_, switchLabel));
    // The box grows with the text and sits centred on its first line.
    auto* boxColumn = new QVBoxLayout;
    boxColumn->setSpacing(0);
    auto* lift = new QSpacerItem(0, 0, QSizePolicy::Fixed, QSizePolicy::Fixed);
    boxColumn->addItem(lift);
    boxColumn->addWidget(selectionSwitch_);
    boxColumn->addStretch();
    switchRow->addLayout(boxColumn);
    switchRow->addWidget(switchLabel, 1);
    selectionSwitchText_ = switchLabel;
    const auto restyleSwitch = [switchLabel, lift, boxColumn, &theme] {
        // The box is as tall as the control size's indicator (the sheet may
        // not have taken its sizes yet when this runs first).
        const int box = controlMetrics(theme.controlSize()).indicator;
        const int line = QFontMetrics(switchLabel->font()).height();
        lift->changeSize(0, std::max(0, (line - box) / 2), QSizePolicy::Fixed, QSizePolicy::Fixed);
        boxColumn->invalidate();
    };
    restyleSwitch();
    connect(&theme, &Theme::changed, switchLabel, restyleSwitch);
    connect(selectionSwitch_, &QCheckBox::toggled, this, [this](bool on) {
        model_.setSwitchSelectionToMappedDisplay(on);
        refresh();
    });
    layout->addLayout(switchRow);
    layout->addWidget(themedLabel(
        theme,
        QStringLiteral("기본값은 안전하게 현재 선택 디스플레이를 유지합니다. 실수로 다른 모니터에 "
                       "설정이 붙지 않도록, 선택 이동은 명시적으로 켰을 때만 실행됩니다."),
        QuorvaneFontStyle::caption, QFont::Normal, true));
    layout->addWidget(themedLabel(
        theme,
        QStringLiteral("전체 가져오기에서는 화면별 색상값 목록을 새 매핑 결과로 교체합니다. "
                       "연결하지 않고 보존하려면 \u2018공통만\u2019을 고르세요."),
        QuorvaneFontStyle::caption, QFont::Normal, true));
    return section;
}

QWidget* SettingsImportPreviewSheet::buildSafety() {
    Theme& theme = context_.theme;
    auto* section = new SettingsTintedTile(
        theme, {ColorRole::accentFill, 0.62, 0.56, 12, ColorUse{ColorRole::accent, 0.18}});
    auto* layout = column(section, 8, 12);
    auto* heading = new FitToWidth(6, 4);
    addSymbolTitle(*heading, theme, "checkmark.shield", QStringLiteral("안전 확인"));
    heading->addStretch();
    layout->addWidget(heading);
    layout->addWidget(themedLabel(
        theme,
        QStringLiteral("이 단계는 저장된 Quorvane 설정만 바꿉니다. 실제 화면 보정, DDC/CI 하드웨어 "
                       "쓰기, 시스템 밝기/해상도 API 호출은 하지 않습니다."),
        QuorvaneFontStyle::caption, QFont::Normal, true));
    layout->addWidget(themedLabel(
        theme,
        QStringLiteral("밝기 동기화 그룹은 가져온 그룹 목록에 없는 ID면 자동으로 비워집니다."),
        QuorvaneFontStyle::caption, QFont::Normal, true));
    return section;
}

void SettingsImportPreviewSheet::fillPicker(QComboBox* picker,
                                            const std::string& importedIdentity) {
    picker->clear();
    picker->addItem(QStringLiteral("건너뛰기"), toQString(kSkipImportTarget));
    for (const auto& target : model_.visibleImportTargets())
        picker->addItem(toQString(target.pickerLabel), toQString(target.identityRawValue));
    const QString current = toQString(model_.target(importedIdentity));
    picker->setCurrentIndex(picker->findData(current));
}

QComboBox* SettingsImportPreviewSheet::targetPicker(const std::string& importedIdentity) const {
    const auto found = rows_.find(importedIdentity);
    return found == rows_.end() ? nullptr : found->second.picker;
}

void SettingsImportPreviewSheet::refresh() {
    const bool full = model_.mode() == Mode::fullWithDisplayMapping;
    modePicker_->setSelected(full ? 0 : 1);
    modeDescription_->setText(toQString(importModeDescription(model_.mode())));
    mappedCount_->setText(toQString(formatDecimal(model_.mappedDisplayCount()) + "개 연결됨"));
    for (const auto& [id, row] : rows_) {
        row.picker->setEnabled(full);
        row.tile->setLook(rowLook(model_.mode(), model_.isDuplicateRow(id)));
    }
    // Each notice keeps its place: the one of each kind that holds shows.
    const auto notices = importMappingNotices(model_);
    for (std::size_t kind = 0; kind < notices_.size(); ++kind) {
        const auto holding = std::find_if(
            notices.begin(), notices.end(),
            [kind](const auto& notice) { return static_cast<std::size_t>(notice.kind) == kind; });
        if (holding != notices.end())
            notices_[kind]->setNotice(*holding);
        notices_[kind]->setVisible(holding != notices.end());
    }
    selectionSwitch_->setEnabled(model_.selectionSwitchEnabled());
    selectionSwitchText_->setEnabled(model_.selectionSwitchEnabled());
    selectionSwitch_->setChecked(model_.switchSelectionToMappedDisplay());
    import_->setEnabled(model_.canConfirm());
    showPlan();
}

void SettingsImportPreviewSheet::showPlan() {
    auto plan = settingsImportChangePlan(model_);
    // Most choices leave the plan as it is: its cards stay.
    if (plan == shownPlan_)
        return;
    shownPlan_ = std::move(plan);
    rebuildPlanSections(*shownPlan_);
}

void SettingsImportPreviewSheet::rebuildPlanSections(const QuorvaneChangePlan& plan) {
    Theme& theme = context_.theme;
    clear(beforeAfter_);
    const auto preview = beforeAfterPreview(plan);
    for (const auto& entry : preview.entries) {
        auto* row = new SettingsTintedTile(theme, kBeforeAfterRow);
        auto* fit = new FitToWidth(10, 7);
        fit->setObjectName(QStringLiteral("comparison"));
        column(row, 0, 10)->addWidget(fit);
        auto* titleBlock = new QWidget;
        auto* titleColumn = column(titleBlock, 3);
        titleColumn->addWidget(themedLabel(theme, toQString(entry.title),
                                           QuorvaneFontStyle::caption, QFont::DemiBold));
        auto* badges = new QHBoxLayout;
        badges->setSpacing(6);
        for (const auto& look : comparisonBadges(entry))
            badges->addWidget(badge(theme, look, {kBeforeAfterSection, kBeforeAfterRow}));
        badges->addStretch();
        titleColumn->addLayout(badges);
        fit->addWidget(titleBlock);
        fit->addStretch(8);
        // Narrow rows keep the two values side by side under the title, the
        // arrow then pointing down from the title to them.
        fit->setSharedLineLook(8, Qt::AlignTop);
        fit->addWidget(
            new ComparisonPill(theme, QStringLiteral("현재"),
                               entry.beforeValue.value_or("변경 없음"), ColorRole::secondary),
            1);
        auto* between = arrow(theme, comparisonArrow(FitArrangement::horizontal));
        between->setObjectName(QStringLiteral("comparisonArrow"));
        connect(fit, &FitToWidth::arrangementChanged, between, [between](FitArrangement now) {
            const auto look = comparisonArrow(now);
            between->setSystemName(std::string(look.symbol));
            between->setContentsMargins(0, look.topPadding, 0, 0);
            between->updateGeometry();
        });
        fit->addWidget(between, 1);
        fit->addWidget(
            new ComparisonPill(theme, QStringLiteral("가져온 후"),
                               entry.afterValue.value_or("변경 없음"), ColorRole::accent),
            1);
        beforeAfter_->addWidget(row);
    }
    if (preview.remainder > 0) {
        beforeAfter_->addWidget(
            themedLabel(theme,
                        QStringLiteral("+ ") + QString::number(preview.remainder) +
                            QStringLiteral("개 세부 단계는 아래 전체 변경 계획에서 확인"),
                        QuorvaneFontStyle::caption2, QFont::Medium, true));
    }

    planCount_->setText(QString::number(plan.entries.size()) + QStringLiteral("단계"));
    planSummary_->setText(toQString(plan.summary));
    clear(plan_);
    for (const auto& entry : plan.entries) {
        auto* card = new SettingsTintedTile(theme, kPlanCard);
        card->setObjectName(toQString(entry.id));
        auto* cardColumn = column(card, 7, 10);
        auto* heading = new FitToWidth(8, 6);
        heading->setRowAlignment(Qt::AlignBaseline);
        auto* title =
            themedLabel(theme, toQString(entry.title), QuorvaneFontStyle::body, QFont::Medium);
        title->setObjectName(QStringLiteral("planCardTitle"));
        heading->addWidget(title);
        heading->addStretch();
        for (const auto& look : changePlanBadges(entry))
            heading->addWidget(badge(theme, look, {kPlanSection, kPlanCard}));
        cardColumn->addWidget(heading);
        if (entry.targetLabel) {
            cardColumn->addWidget(
                themedLabel(theme, QStringLiteral("대상: ") + toQString(*entry.targetLabel),
                            QuorvaneFontStyle::caption, QFont::Normal, true));
        }
        if (entry.beforeValue || entry.afterValue) {
            auto* values = new FitToWidth(10, 6);
            values->setObjectName(QStringLiteral("planValues"));
            values->setRowAlignment(Qt::AlignTop);
            values->setSharedLineLook(10, Qt::AlignTop);
            // Before and after share the card's width evenly, so the arrows
            // of the cards under each other stand at one x.
            values->setEqualGrowth(true);
            if (entry.beforeValue)
                values->addWidget(valuePill(theme, QStringLiteral("전"), *entry.beforeValue));
            // The arrow belongs to the after value and moves down with it.
            if (entry.afterValue) {
                values->addWidget(arrow(theme, {"arrow.right", 5}), 1);
                values->addWidget(valuePill(theme, QStringLiteral("후"), *entry.afterValue), 1);
            }
            cardColumn->addWidget(values);
        }
        cardColumn->addWidget(themedLabel(theme, toQString(entry.sideEffectNote),
                                          QuorvaneFontStyle::caption2, QFont::Normal, true));
        cardColumn->addWidget(themedLabel(theme, toQString(entry.recoveryNote),
                                          QuorvaneFontStyle::caption2, QFont::Normal, true));
        plan_->addWidget(card);
    }
}

std::vector<QString> SettingsImportPreviewSheet::planCardTitles() const {
    std::vector<QString> titles;
    for (int index = 0; index < plan_->count(); ++index) {
        auto* card = plan_->itemAt(index)->widget();
        if (!card)
            continue;
        if (auto* title = card->findChild<WrappingLabel*>(QStringLiteral("planCardTitle")))
            titles.push_back(title->text());
    }
    return titles;
}

}  // namespace quorvane
