#include "views/detail_form/profile_section_view.hpp"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "views/design/chip_button.hpp"
#include "views/design/eliding_picker.hpp"
#include "views/design/spoken_text.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/detail_form/detail_labels.hpp"
#include "views/detail_form/form_rows.hpp"

namespace quorvane {

ProfileSectionView::ProfileSectionView(DetailFormContext& context, QWidget* parent)
    : DetailPage(parent), context_(context) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);
    auto* intro = makeCaption(context.theme, ProfileSection::kIntro);
    intro->setToolTip(ProfileSection::kIntroHelp);
    column->addWidget(intro);
    body_ = new QVBoxLayout;
    body_->setSpacing(12);
    column->addLayout(body_);
}

void ProfileSectionView::clearBody() {
    clearLayout(body_);
    picker_ = nullptr;
    applyButton_ = cancelButton_ = restoreButton_ = nullptr;
}

void ProfileSectionView::refresh(const DisplaySnapshot& display) {
    display_ = display;
    const auto model =
        ProfileSection::make(context_.store, display, context_.state.detailFormDrafts);
    if (shown_ && *shown_ == model)
        return;
    // The list and the picker's entries are rebuilt only when they changed;
    // a new candidate or enabled state updates the widgets in place.
    const bool sameShape = shown_ && shown_->available == model.available &&
                           shown_->options == model.options && shown_->rows == model.rows &&
                           shown_->currentProfile == model.currentProfile &&
                           shown_->unavailableDescription == model.unavailableDescription;
    if (!sameShape) {
        clearBody();
        if (model.available)
            buildAvailable(model);
        else
            buildUnavailable(model);
    }
    if (model.available)
        updateAvailable(model);
    shown_ = model;
}

void ProfileSectionView::buildUnavailable(const ProfileSection& model) {
    Theme& theme = context_.theme;
    body_->addWidget(makeUnavailableContent(theme, "camera.filters",
                                            ProfileSection::kNoInformationTitle,
                                            qText(model.unavailableDescription)));
    auto* refresh = new ChipButton(theme, QStringLiteral("프로파일 정보 새로고침"),
                                   QuorvaneChipProminence::neutral);
    connect(refresh, &QAbstractButton::clicked, this, [this] {
        if (display_)
            ProfileSection::refreshWithoutInformation(context_.store, display_->id);
    });
    body_->addWidget(refresh, 0, Qt::AlignHCenter);
}

void ProfileSectionView::buildAvailable(const ProfileSection& model) {
    Theme& theme = context_.theme;
    if (model.currentProfile) {
        auto* value = new QWidget;
        auto* valueColumn = new QVBoxLayout(value);
        valueColumn->setContentsMargins(0, 0, 0, 0);
        valueColumn->setSpacing(2);
        auto* name = makeText(theme, qText(model.currentProfile->name), QuorvaneFontStyle::body);
        name->setAlignment(Qt::AlignRight);
        valueColumn->addWidget(name);
        if (model.currentProfile->badges) {
            auto* badges = makeCaption(theme, qText(*model.currentProfile->badges));
            badges->setAlignment(Qt::AlignRight);
            valueColumn->addWidget(badges);
        }
        body_->addWidget(makeLabeledRow(theme, QStringLiteral("현재 프로파일"), value));
    }

    picker_ = new ElidingPicker;
    picker_->setToolTip(ProfileSection::kPickerHelp);
    setSpokenName(picker_, QStringLiteral("프로파일 선택"));
    // Long profile names must not widen the page; the list shows them whole.
    picker_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    picker_->setMinimumContentsLength(14);
    for (const auto& option : model.options)
        picker_->addItem(qText(option.name), qText(option.id));
    connect(picker_, &QComboBox::activated, this, [this](int index) {
        if (!display_ || index < 0)
            return;
        ProfileSection::pick(context_.state.detailFormDrafts, display_->id,
                             picker_->itemData(index).toString().toStdString());
        emit draftsChanged();
    });
    body_->addWidget(makeLabeledRow(theme, QStringLiteral("프로파일 선택"), picker_));

    applyButton_ = new QPushButton(QStringLiteral("선택한 프로파일 적용…"));
    applyButton_->setToolTip(ProfileSection::kApplyHelp);
    cancelButton_ = new QPushButton(QStringLiteral("선택 취소"));
    connect(applyButton_, &QPushButton::clicked, this, [this] {
        if (display_)
            ProfileSection::requestApply(context_.store, context_.state.detailFormDrafts,
                                         context_.confirmations, *display_);
    });
    connect(cancelButton_, &QPushButton::clicked, this, [this] {
        if (!display_)
            return;
        ProfileSection::cancelPick(context_.state.detailFormDrafts, display_->id);
        emit draftsChanged();
    });
    body_->addWidget(makeButtonRow({applyButton_, cancelButton_}));

    for (const auto& row : model.rows) {
        auto* item = new QWidget;
        item->setToolTip(qText(row.tooltip));
        auto* itemColumn = new QVBoxLayout(item);
        itemColumn->setContentsMargins(0, 2, 0, 2);
        itemColumn->setSpacing(2);
        auto* top = new QHBoxLayout;
        top->addWidget(makeText(theme, qText(row.name), QuorvaneFontStyle::body), 1);
        if (row.isCurrent)
            top->addWidget(makeCurrentMark(theme));
        itemColumn->addLayout(top);
        itemColumn->addWidget(makeCaption(theme, qText(row.summary)));
        body_->addWidget(item);
    }

    auto* refresh = new QPushButton(QStringLiteral("프로파일 정보 새로고침"));
    connect(refresh, &QPushButton::clicked, this, [this] {
        if (!display_)
            return;
        ProfileSection::refresh(context_.store, context_.state.detailFormDrafts, display_->id);
        emit draftsChanged();
    });
    restoreButton_ = new QPushButton(QStringLiteral("기본/공장 프로파일로 복원…"));
    restoreButton_->setToolTip(ProfileSection::kRestoreHelp);
    connect(restoreButton_, &QPushButton::clicked, this, [this] {
        if (display_)
            ProfileSection::requestRestore(context_.store, context_.state.detailFormDrafts,
                                           context_.confirmations, *display_);
    });
    body_->addWidget(makeButtonRow({refresh, restoreButton_}));
}

void ProfileSectionView::updateAvailable(const ProfileSection& model) {
    const int index = picker_->findData(qText(model.candidate));
    if (picker_->currentIndex() != index)
        picker_->setCurrentIndex(index);
    applyButton_->setEnabled(!model.applyDisabled);
    cancelButton_->setEnabled(!model.cancelDisabled);
    restoreButton_->setEnabled(!model.restoreDisabled);
}

}  // namespace quorvane
