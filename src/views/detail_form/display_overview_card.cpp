#include "views/detail_form/display_overview_card.hpp"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "presentation/detail_form/display_overview.hpp"
#include "views/access/spoken_text.hpp"
#include "views/controls/spoken_result.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/text_field.hpp"
#include "views/design/theme.hpp"
#include "views/design/theme_follow.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/detail_form/detail_labels.hpp"
#include "views/detail_form/detail_page.hpp"

namespace quorvane {

namespace {

constexpr int kAliasFieldMaximumWidth = 360;

ColorRole toneRole(IdentityBadgeTone tone) {
    switch (tone) {
        case IdentityBadgeTone::green:
            return ColorRole::systemGreen;
        case IdentityBadgeTone::orange:
            return ColorRole::systemOrange;
        case IdentityBadgeTone::secondary:
            return ColorRole::secondary;
    }
    return ColorRole::secondary;
}

}  // namespace

DisplayOverviewCard::DisplayOverviewCard(DetailFormContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    Theme& theme = context.theme;
    auto* panel = new SurfacePanel(theme, SurfacePanel::Kind::hero, 14, 16, this);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 4, 0, 4);
    outer->addWidget(panel);

    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);

    title_ = makeText(theme, QString(), QuorvaneFontStyle::title3, QFont::DemiBold);
    badge_ = new StatusPill(theme, QString());
    followTheme(theme, badge_, [this, &theme] {
        badge_->setFont(theme.font(QuorvaneFontStyle::caption, QFont::DemiBold));
        tintBadge();
    });
    // The title and the badge stand on one baseline, whatever their sizes.
    auto* titleRow = new FitToWidth(8, 6);
    titleRow->setRowAlignment(Qt::AlignBaseline);
    titleRow->addWidget(title_);
    titleRow->addWidget(badge_);
    titleRow->addStretch(0);
    column->addWidget(titleRow);

    modeLine_ = makeText(theme, QString(), QuorvaneFontStyle::body, QFont::Normal, true);
    column->addWidget(modeLine_);
    reason_ = makeCaption(theme, QString());
    column->addWidget(reason_);

    column->addLayout(
        makeSymbolRow(makeSymbol(theme, "checkmark.shield", QuorvaneFontStyle::caption,
                                 QFont::Normal, ColorRole::secondary),
                      makeCaption(theme, DisplayOverview::kHint)));

    auto* alias = makeAliasEditor();
    alias->setContentsMargins(0, 2, 0, 0);
    column->addWidget(alias);
}

QWidget* DisplayOverviewCard::makeAliasEditor() {
    Theme& theme = context_.theme;
    auto* editor = new QWidget;
    auto* column = new QVBoxLayout(editor);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    column->addWidget(makeText(theme, DisplayOverview::kAliasHeading, QuorvaneFontStyle::caption,
                               QFont::DemiBold, true));

    aliasField_ = new TextField(theme);
    aliasField_->setPlaceholderText(DisplayOverview::kAliasPlaceholder);
    setSpokenName(aliasField_, DisplayOverview::kAliasHeading);
    aliasField_->setMaximumWidth(kAliasFieldMaximumWidth);
    // Typing only records the draft; Return saves nothing by itself.
    connect(aliasField_, &QLineEdit::textEdited, this, [this](const QString& text) {
        AliasEditor::edit(context_.state.detailFormDrafts, displayID_, text.toStdString());
        emit draftsChanged();
    });

    saveButton_ = new QPushButton(QStringLiteral("저장"));
    clearButton_ = new QPushButton(QStringLiteral("지우기"));
    connect(saveButton_, &QPushButton::clicked, this, [this] {
        speakResultOf(saveButton_, context_.store, [this] {
            AliasEditor::save(context_.store, context_.state.detailFormDrafts, displayID_);
        });
        emit draftsChanged();
    });
    connect(clearButton_, &QPushButton::clicked, this, [this] {
        AliasEditor::clear(context_.store, context_.state.detailFormDrafts, displayID_);
        emit draftsChanged();
    });
    auto* buttons = new QWidget;
    auto* buttonRow = new QHBoxLayout(buttons);
    buttonRow->setContentsMargins(0, 0, 0, 0);
    buttonRow->setSpacing(8);
    buttonRow->addWidget(saveButton_);
    buttonRow->addWidget(clearButton_);

    auto* fieldRow = new FitToWidth(8, 8);
    fieldRow->addWidget(aliasField_);
    fieldRow->addWidget(buttons);
    fieldRow->addStretch(0);
    column->addWidget(fieldRow);
    column->addWidget(makeCaption(theme, DisplayOverview::kAliasHelp));
    return editor;
}

// The tone's colour in the current scheme, again after every theme change.
void DisplayOverviewCard::tintBadge() {
    // The pill stands on the overview's hero card.
    badge_->setTone(toneRole(badgeTone_), PageGround::card);
}

void DisplayOverviewCard::refresh(const DisplaySnapshot& display) {
    displayID_ = display.id;
    const auto overview = DisplayOverview::make(context_.store, display);
    title_->setText(qText(overview.title));
    badge_->setVisible(overview.badge.has_value());
    if (overview.badge) {
        badgeTone_ = overview.badge->tone;
        badge_->setText(qText(overview.badge->title));
        badge_->setSymbol(overview.badge->systemImage);
        tintBadge();
    }
    modeLine_->setText(qText(overview.modeLine));
    reason_->setVisible(overview.reason.has_value());
    reason_->setText(qText(overview.reason.value_or("")));

    const auto descriptor = context_.store.identityDescriptor(display.id);
    const auto& drafts = context_.state.detailFormDrafts;
    const QString value = qText(AliasEditor::fieldValue(drafts, display.id, descriptor));
    // Only a real difference is written, so the cursor stays where the user
    // is typing.
    if (aliasField_->text() != value)
        aliasField_->setText(value);
    clearButton_->setEnabled(!AliasEditor::clearDisabled(drafts, display.id, descriptor));
}

}  // namespace quorvane
