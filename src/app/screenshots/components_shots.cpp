#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <functional>

#include "app/screenshots/shot_list.hpp"
#include "views/controls/correction_toggle.hpp"
#include "views/controls/ddc_badge_view.hpp"
#include "views/controls/hardware_write_tag.hpp"
#include "views/controls/health_check_wizard.hpp"
#include "views/controls/hold_to_compare_button.hpp"
#include "views/controls/nudge_button.hpp"
#include "views/controls/recent_change_prompt_view.hpp"
#include "views/controls/recovery_journal_view.hpp"
#include "views/controls/support_card.hpp"
#include "views/design/appearance_switcher.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/glyph_icon.hpp"
#include "views/design/shrinking_label.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/symbol_table.hpp"
#include "views/design/symbol_tile_icon.hpp"
#include "views/design/theme_follow.hpp"
#include "views/design/wrapping_label.hpp"

namespace quorvane {

namespace {

constexpr int kGalleryWidth = 680;

QWidget* narrow(QWidget* inner, int width, QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(inner);
    box->setFixedWidth(width);
    return box;
}

// A page of labelled sections, each showing components in their states.
class Gallery {
  public:
    explicit Gallery(ViewContext& context)
        : context_(context),
          root_(std::make_unique<QWidget>()),
          column_(new QVBoxLayout(root_.get())) {
        column_->setContentsMargins(16, 16, 16, 16);
        column_->setSpacing(10);
    }

    Theme& theme() { return context_.theme; }
    QWidget* parent() { return root_.get(); }

    void section(const QString& title) {
        auto* label = new QLabel(title, root_.get());
        styled(label, [label, &theme = theme()] {
            label->setFont(theme.font(QuorvaneFontStyle::caption, QFont::DemiBold));
            label->setStyleSheet(
                QStringLiteral("color: %1").arg(theme.color(ColorRole::secondary).name()));
        });
        column_->addSpacing(6);
        column_->addWidget(label);
    }
    void add(QWidget* widget) { column_->addWidget(widget); }
    // A fixed-width box in a row of its own: a column measures a fixed-width
    // item at the column's width, a row at the item's own.
    void addNarrow(QWidget* inner, int width) {
        auto* layout = row();
        layout->addWidget(narrow(inner, width, root_.get()));
        layout->addStretch(1);
    }
    void add(QLayout* layout) { column_->addLayout(layout); }
    QHBoxLayout* row() {
        auto* layout = new QHBoxLayout;
        layout->setSpacing(8);
        column_->addLayout(layout);
        return layout;
    }

    // Styles `widget` now and after every theme change, as the
    // application's own views do, so a gallery switched live restyles too.
    void styled(QWidget* widget, std::function<void()> restyle) {
        followTheme(theme(), widget, std::move(restyle));
    }

    // The gallery's height fits its content now and after every theme change
    // (connected last, so the components have restyled first).
    std::unique_ptr<QWidget> finish() {
        column_->addStretch(1);
        theme().applyToWindow(root_.get());
        root_->setFixedWidth(kGalleryWidth);
        QWidget* root = root_.get();
        followTheme(theme(), root, [root] { fitHeight(*root); });
        return std::move(root_);
    }

  private:
    static void fitHeight(QWidget& root) {
        // Let every widget take its style and every nested layout the new
        // fonts before measuring.
        root.ensurePolished();
        root.setMinimumHeight(0);
        root.setMaximumHeight(QWIDGETSIZE_MAX);
        for (int pass = 0; pass < 4; ++pass) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            root.layout()->activate();
        }
        const int height = root.hasHeightForWidth() ? root.heightForWidth(kGalleryWidth)
                                                    : root.sizeHint().height();
        root.setFixedHeight(std::max(height, root.sizeHint().height()));
    }

    ViewContext& context_;
    std::unique_ptr<QWidget> root_;
    QVBoxLayout* column_;
};

std::unique_ptr<QWidget> designGallery(ViewContext& context) {
    Gallery gallery(context);
    Theme& theme = gallery.theme();
    QWidget* parent = gallery.parent();

    gallery.section(QStringLiteral("칩 버튼: 기본 · 눌림 · 꺼짐"));
    const std::pair<QuorvaneChipProminence, QString> prominences[] = {
        {QuorvaneChipProminence::neutral, QStringLiteral("다시 읽기")},
        {QuorvaneChipProminence::accent, QStringLiteral("적용")},
        {QuorvaneChipProminence::warning, QStringLiteral("되돌리기")},
        {QuorvaneChipProminence::destructive, QStringLiteral("삭제")}};
    for (int state = 0; state < 3; ++state) {
        auto* row = gallery.row();
        for (const auto& [prominence, title] : prominences) {
            auto* chip = new ChipButton(theme, title, prominence, parent);
            chip->setDown(state == 1);
            chip->setEnabled(state != 2);
            if (prominence == QuorvaneChipProminence::neutral)
                chip->setSymbol("arrow.clockwise");
            row->addWidget(chip);
        }
        row->addStretch(1);
    }
    gallery.section(QStringLiteral("타일 버튼"));
    auto* tiles = new QGridLayout;
    tiles->setSpacing(8);
    int index = 0;
    for (const auto& [prominence, title] : prominences) {
        auto* tile = new TileButton(theme, title + QStringLiteral(" 프리셋"), prominence, parent);
        tile->setDetailText(QStringLiteral("감마 1.10 · 따뜻하게"));
        tiles->addWidget(tile, index / 2, index % 2);
        ++index;
    }
    gallery.add(tiles);

    // The panel's preset tiles: the accessible frame, long names wrapping,
    // a user's "&" shown as typed.
    gallery.section(QStringLiteral("프리셋 그리드 타일"));
    auto* framed = new QGridLayout;
    framed->setSpacing(6);
    const QString names[] = {QStringLiteral("따뜻하게"),
                             QStringLiteral("R&&D 야간 작업용 아주 따뜻한 화면")};
    for (int column = 0; column < 2; ++column) {
        auto* tile = new TileButton(theme, names[column], QuorvaneChipProminence::neutral, parent);
        gallery.styled(tile, [tile, &theme] {
            tile->setFont(theme.font(QuorvaneFontStyle::body, QFont::DemiBold));
        });
        tile->setDetailText(column == 0 ? QStringLiteral("기본") : QStringLiteral("사용자"));
        tile->setAccessibleFrame(8);
        framed->addWidget(tile, 0, column, Qt::AlignTop);
    }
    gallery.add(framed);

    gallery.section(QStringLiteral("글리프"));
    auto* glyphs = gallery.row();
    for (auto glyph : kAllGlyphs) {
        auto* icon = new GlyphIcon(glyph, 28, 1.6, theme.color(ColorRole::accent), parent);
        gallery.styled(icon, [icon, &theme] { icon->setTint(theme.color(ColorRole::accent)); });
        glyphs->addWidget(icon);
    }
    glyphs->addStretch(1);

    gallery.section(QStringLiteral("기호 아이콘"));
    auto* symbols = new QGridLayout;
    symbols->setSpacing(6);
    int column = 0;
    for (auto name : symbolNames()) {
        symbols->addWidget(new SymbolTileIcon(theme, std::string(name), 28, parent), column / 16,
                           column % 16);
        ++column;
    }
    gallery.add(symbols);

    gallery.section(QStringLiteral("패널 · 상태 알약 · 직접 적용 태그"));
    auto* panels = gallery.row();
    for (auto kind : {SurfacePanel::Kind::soft, SurfacePanel::Kind::hero}) {
        auto* panel = new SurfacePanel(theme, kind, 14, 16, parent);
        auto* inside = new QVBoxLayout(panel);
        inside->setContentsMargins(0, 0, 0, 0);
        auto* label = new WrappingLabel(kind == SurfacePanel::Kind::soft
                                            ? QStringLiteral("보통 카드의 내용입니다.")
                                            : QStringLiteral("페이지 머리 카드입니다."),
                                        panel);
        gallery.styled(label,
                       [label, &theme] { label->setFont(theme.font(QuorvaneFontStyle::body)); });
        inside->addWidget(label);
        panels->addWidget(panel);
    }
    auto* tags = gallery.row();
    auto* pill = new StatusPill(theme, QStringLiteral("단축키 등록됨"), parent);
    gallery.styled(pill, [pill, &theme] {
        pill->setTone(ColorRole::green, PageGround::window);
        pill->setFont(theme.font(QuorvaneFontStyle::caption, QFont::DemiBold));
    });
    tags->addWidget(pill);
    tags->addWidget(new HardwareWriteTag(theme, true, parent));
    tags->addWidget(new HardwareWriteTag(theme, false, parent));
    tags->addStretch(1);

    gallery.section(QStringLiteral("화면 모드: 도구 막대 · 패널 · 좁은 카드 · 작게"));
    gallery.add(
        new AppearanceSwitcher(context, false, false, AppearanceSwitcher::Chrome::toolbar, parent));
    gallery.add(
        new AppearanceSwitcher(context, true, false, AppearanceSwitcher::Chrome::panel, parent));
    gallery.addNarrow(
        new AppearanceSwitcher(context, true, false, AppearanceSwitcher::Chrome::panel, parent),
        260);
    gallery.add(
        new AppearanceSwitcher(context, true, true, AppearanceSwitcher::Chrome::panel, parent));

    gallery.section(QStringLiteral("줄어드는 글자 (넓게 · 좁게)"));
    for (int width : {420, 150}) {
        auto* label = new ShrinkingLabel(QStringLiteral("대상: 작업실 모니터, 거실 TV, 내장 화면"),
                                         0.82, parent);
        gallery.styled(label, [label, &theme] {
            label->setFont(theme.font(QuorvaneFontStyle::body, QFont::DemiBold));
        });
        label->setElideMode(Qt::ElideMiddle);
        label->setFixedWidth(width);
        gallery.add(label);
    }
    return gallery.finish();
}

HoldToCompareButton* fakeCompare(Theme& theme, bool enabled, bool comparing, bool compact,
                                 QWidget* parent) {
    auto* button = new HoldToCompareButton(
        theme,
        [] {
            return std::optional<QuorvaneTemporaryNeutralComparisonToken>(
                QuorvaneTemporaryNeutralComparisonToken{"gallery", "gallery"});
        },
        [](const QuorvaneTemporaryNeutralComparisonToken&) {}, compact, parent);
    if (comparing)
        button->toggleForAccessibility();
    button->setComparisonEnabled(enabled);
    return button;
}

std::unique_ptr<QWidget> controlsGallery(ViewContext& context) {
    Gallery gallery(context);
    Theme& theme = gallery.theme();
    QWidget* parent = gallery.parent();

    gallery.section(QStringLiteral("조정 단추 (켜짐 · 꺼짐)"));
    auto* nudges = gallery.row();
    for (bool enabled : {true, false}) {
        for (auto direction : {QuorvaneAdjustmentNudgeDirection::decrement,
                               QuorvaneAdjustmentNudgeDirection::increment}) {
            auto* nudge = new NudgeButton(
                theme, "대비", direction, 0.05, [] {}, parent);
            nudge->setEnabled(enabled);
            nudges->addWidget(nudge);
        }
    }
    nudges->addStretch(1);

    gallery.section(QStringLiteral("누르는 동안 원래 색 보기: 대기 · 비교 중 · 꺼짐 · 작게"));
    auto* compares = gallery.row();
    compares->addWidget(fakeCompare(theme, true, false, false, parent));
    compares->addWidget(fakeCompare(theme, false, true, false, parent));
    auto* compares2 = gallery.row();
    compares2->addWidget(fakeCompare(theme, false, false, false, parent));
    compares2->addWidget(fakeCompare(theme, true, false, true, parent));

    gallery.section(QStringLiteral("화면 색감 보정"));
    auto* toggles = gallery.row();
    toggles->addWidget(new CorrectionToggle(context, false, parent));
    toggles->addWidget(new CorrectionToggle(context, true, parent));

    gallery.section(QStringLiteral("최근 변경 복구 (넓게 · 좁게 · 작게)"));
    gallery.add(new RecentChangePromptView(context, false, parent));
    gallery.addNarrow(new RecentChangePromptView(context, false, parent), 330);
    gallery.addNarrow(new RecentChangePromptView(context, true, parent), 330);

    gallery.section(QStringLiteral("DDC 배지"));
    const DDCCapabilityBadge badges[] = {
        {DDCCapabilityBadgeKind::checking, "확인 중", "모니터 응답을 기다립니다.",
         "progress.indicator", DDCCapabilityBadgeTone::secondary},
        {DDCCapabilityBadgeKind::confirmed, "직접 조정 가능", "밝기 · 대비 · 입력",
         "checkmark.circle", DDCCapabilityBadgeTone::green},
        {DDCCapabilityBadgeKind::unstable, "응답이 불안정함", std::nullopt,
         "exclamationmark.triangle", DDCCapabilityBadgeTone::orange},
        {DDCCapabilityBadgeKind::unsupported, "직접 조정 안 됨",
         "이 연결은 DDC/CI를 지원하지 않습니다.", "xmark.octagon.fill",
         DDCCapabilityBadgeTone::red}};
    for (const auto& badge : badges) {
        auto* view = new DDCBadgeView(theme, true, parent);
        gallery.styled(view,
                       [view, &theme] { view->setFont(theme.font(QuorvaneFontStyle::body)); });
        view->setBadge(badge);
        gallery.add(view);
    }
    return gallery.finish();
}

QuorvaneDisplaySupportSummary badInputSummary(QuorvaneDisplaySupportSummary summary) {
    summary.title = "";
    summary.overallMessage = std::string(40, 'M') + " שלום עולם, זהו טקסט ארוך מימין לשמאל " +
                             "그리고 아주 긴 한국어 설명이 이어집니다.";
    summary.technicalDetails.assign(3, std::string(120, 'x'));
    for (auto& row : summary.capabilities)
        row.detail += " " + std::string(90, 'W');
    return summary;
}

std::unique_ptr<QWidget> supportGallery(ViewContext& context) {
    Gallery gallery(context);
    const auto summary = context.store.supportSummary(kShotDDCMonitorID);
    if (!summary)
        return nullptr;
    gallery.section(QStringLiteral("지원 카드 (외장 · 긴 글)"));
    gallery.add(new SupportCard(
        gallery.theme(), *summary, [] {}, [] {}, gallery.parent()));
    gallery.add(new SupportCard(
        gallery.theme(), badInputSummary(*summary), [] {}, [] {}, gallery.parent()));
    gallery.section(QStringLiteral("상태 점검"));
    auto* wizard = new HealthCheckWizard(gallery.theme(), *summary, nullptr, gallery.parent());
    wizard->setTechnicalDetailsExpanded(true);
    gallery.add(wizard);
    return gallery.finish();
}

QuorvaneRecoveryJournalEntry journalEntry(QuorvaneRecoveryJournalStatus status, std::string title,
                                          std::string summary, std::string detail, int targets) {
    QuorvaneRecoveryJournalEntry entry;
    entry.id = title + summary;
    entry.status = status;
    entry.actionTitle = std::move(title);
    entry.summary = std::move(summary);
    entry.detail = std::move(detail);
    for (int i = 0; i < targets; ++i)
        entry.targets.push_back({static_cast<std::uint32_t>(i), "id", "작업실 모니터"});
    return entry;
}

std::unique_ptr<QWidget> journalGallery(ViewContext& context) {
    Gallery gallery(context);
    using Status = QuorvaneRecoveryJournalStatus;
    QuorvaneRecoveryJournal journal;
    journal.entries = {
        journalEntry(Status::applied, "색상 조정", "작업실 모니터에 적용했습니다.", "감마 1.10", 1),
        journalEntry(Status::partial, "장면 적용", "3개 화면 중 2개에 적용했습니다.",
                     "거실 TV: 쓰기 실패", 3),
        journalEntry(Status::blocked, "프리셋 자동화", "URL 자동화가 꺼져 있습니다.", "", 0),
        journalEntry(Status::undone, "되돌리기", "이전 값으로 돌아갔습니다.", "", 1),
        journalEntry(Status::skipped, "장면 적용", "보이지 않음", "", 0)};
    gallery.section(QStringLiteral("복구 기록 (한도 4)"));
    auto* regular = new RecoveryJournalView(gallery.theme(), false, 4, gallery.parent());
    regular->setJournal(journal);
    gallery.add(regular);
    gallery.section(QStringLiteral("작게 · 비어 있음"));
    auto* compact = new RecoveryJournalView(gallery.theme(), true, 2, gallery.parent());
    compact->setJournal(journal);
    gallery.add(compact);
    gallery.add(new RecoveryJournalView(gallery.theme(), false, 4, gallery.parent()));
    gallery.add(new RecoveryJournalView(gallery.theme(), true, 4, gallery.parent()));
    gallery.section(QStringLiteral("긴 글 · 오른쪽에서 왼쪽 · 빈 글 · 수백 개"));
    QuorvaneRecoveryJournal bad;
    bad.entries.push_back(journalEntry(Status::partial, std::string(150, 'A'),
                                       "שלום עולם — טקסט ארוך מימין לשמאל עם מספרים 123",
                                       std::string(200, 'z'), 40));
    bad.entries.push_back(journalEntry(Status::applied, "", "", "", 0));
    for (int i = 0; i < 300; ++i)
        bad.entries.push_back(journalEntry(Status::skipped, "반복", std::to_string(i), "", 0));
    auto* badView = new RecoveryJournalView(gallery.theme(), false, 3, gallery.parent());
    badView->setJournal(bad);
    gallery.add(badView);
    return gallery.finish();
}

}  // namespace

// The pictures of the shared components (design system and controls).
void addComponentsShots(ShotList& shots) {
    shots.push_back(
        {"components-design", ShotWorld::mixed, Shot::Frame::natural, {}, designGallery});
    shots.push_back({"components-controls",
                     ShotWorld::mixed,
                     Shot::Frame::natural,
                     {},
                     [](ViewContext& context) {
                         // A colour change so the recovery banner has a prompt to show.
                         context.store.updateColorAdjustment(
                             kShotColourOnlyID,
                             [](ColorAdjustment& value) { value.redGamma = 1.1; });
                         return controlsGallery(context);
                     }});
    shots.push_back(
        {"components-support", ShotWorld::mixed, Shot::Frame::natural, {}, supportGallery});
    shots.push_back(
        {"components-journal", ShotWorld::mixed, Shot::Frame::natural, {}, journalGallery});
}

}  // namespace quorvane
