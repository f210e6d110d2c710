#include <QToolButton>

#include "app/screenshots/shot_list.hpp"
#include "presentation/detail_form/groups_section.hpp"
#include "presentation/detail_form/presets_section.hpp"
#include "presentation/detail_form/profile_section.hpp"
#include "presentation/detail_form/recovery_section.hpp"
#include "presentation/detail_form/reference_color_cards.hpp"
#include "presentation/detail_form/scenes_section.hpp"
#include "presentation/main_window/main_window_state.hpp"
#include "views/controls/confirmation_presenter.hpp"
#include "views/main_window/main_window.hpp"

namespace quorvane {

namespace {

using Build = std::function<void(DisplayStore&)>;

// The main window on `section` of `displayID`, as the sidebar opens it; the
// program grows the window until the page shows whole.
std::unique_ptr<MainWindow> windowOn(ViewContext& context, MainWindowSection section,
                                     DisplayID displayID) {
    context.store.setSelectedDisplayID(displayID);
    auto window = std::make_unique<MainWindow>(context);
    if (isAdvancedSection(section))
        window->state().openAdvancedSection(section);
    else
        window->state().selectSection(section);
    return window;
}

Shot detailShot(std::string name, ShotWorld world, MainWindowSection section, DisplayID displayID,
                std::function<void(ShotHardware&)> prepare = {}, Build build = {}) {
    return {std::move(name), world, Shot::Frame::mainWindow, std::move(prepare),
            [section, displayID, build](ViewContext& context) -> std::unique_ptr<QWidget> {
                if (build)
                    build(context.store);
                return windowOn(context, section, displayID);
            }};
}

DisplayColorProfile profile(std::string id, std::string name, bool current, bool factory) {
    DisplayColorProfile made;
    made.id = std::move(id);
    made.name = std::move(name);
    made.isCurrent = made.isDefault = current;
    made.isFactory = factory;
    made.url = "/usr/share/color/icc/" + made.id + ".icc";
    return made;
}

void withProfiles(ShotHardware& hardware) {
    hardware.profiles->setProfiles(
        kShotDDCMonitorID, {profile("dell-u2720q", "DELL U2720Q 공장 프로파일", true, true),
                            profile("sRGB", "sRGB IEC61966-2.1", false, false),
                            profile("studio-d65", "작업실 보정 D65 (2024-11)", false, false)});
}

void withColourChanges(DisplayStore& store) {
    store.updateColorAdjustment(kShotDDCMonitorID, [](ColorAdjustment& adjustment) {
        adjustment.warmth = 0.32;
        adjustment.softwareBrightness = 0.92;
        adjustment.redGain = 1.05;
    });
    store.clearRecentChangeRecoveryPrompt(std::nullopt);
}

const char* const kLongNames[] = {
    "오후 네 시 이후 눈이 편한 따뜻한 문서 작업용 설정 (왼쪽 모니터 기준으로 맞춤)",
    "사진 보정 — sRGB 기준 밝기 낮춤",
    "야간 코딩",
    "회의실 프로젝터 연결할 때 쓰는 아주 밝고 차가운 색감 설정입니다",
    "영화 감상 (어두운 방)",
    "디자인 검수용 D65 기준값과 감마 2.2에 가깝게 맞춘 세트",
};

void withManyEntries(DisplayStore& store) {
    for (const char* name : kLongNames) {
        store.saveCustomPreset(name, kShotDDCMonitorID);
        store.saveCustomScene(name);
    }
    store.saveDisplayGroup("책상 세트: 노트북 + 델 + HDMI");
    store.saveDisplayGroup("발표용 (노트북만 연결했을 때)");
    store.setBrightnessSyncGroupID(store.customDisplayGroups().front().id);
    store.setStatusMessage("준비됨");
}

void withRecoveryHistory(DisplayStore& store) {
    store.applyPreset(DisplayPreset::builtIns().at(1), kShotDDCMonitorID);
    store.updateColorAdjustment(kShotDDCMonitorID,
                                [](ColorAdjustment& adjustment) { adjustment.contrast = 1.15; });
    store.suspendQuorvaneEffect(kShotDDCMonitorID);
    store.clearRecentChangeRecoveryPrompt(std::nullopt);
}

void withStockComparison(DisplayStore& store) {
    withColourChanges(store);
    store.enterStockComparison(kShotDDCMonitorID);
}

void withCorrectionOff(DisplayStore& store) {
    withColourChanges(store);
    store.setSoftwareColorCorrectionEnabled(false);
}

// The page while a monitor write is in flight: the monitor's rows wait,
// disabled.
QWidget* holdingMonitorWrite(QWidget& shown, ShotScene& scene) {
    holdMonitorWrite(*scene.hardware, scene.context.store);
    return &shown;
}

// The page with its disclosures opened, each by a click as the user opens it.
QWidget* disclosuresOpened(QWidget& shown, ShotScene&) {
    for (auto* button : shown.findChildren<QToolButton*>()) {
        if (button->text() == QString::fromUtf8(ReferenceColorCards::kFineTuneLabel))
            button->click();
    }
    return &shown;
}

using Post = std::function<void(DisplayStore&, MainWindow&)>;

// A confirmation of the main window: the page asks the window's coordinator
// as its button does, and the dialog the window shows is photographed.
Shot dialogShot(std::string name, MainWindowSection section, Build build, Post post,
                std::function<void(ShotHardware&)> prepare = {}) {
    Shot shot = detailShot(std::move(name), ShotWorld::mixed, section, kShotDDCMonitorID,
                           std::move(prepare), std::move(build));
    shot.open = [post](QWidget& shown, ShotScene& scene) -> QWidget* {
        auto& window = static_cast<MainWindow&>(shown);
        post(scene.context.store, window);
        return window.confirmations().dialog();
    };
    return shot;
}

QuorvaneDestructiveConfirmationCoordinator& coordinator(MainWindow& window) {
    return window.confirmations().coordinator();
}

Post recoveryAction(RecoveryAction action) {
    return [action](DisplayStore& store, MainWindow& window) {
        RecoverySection::run(action, store, coordinator(window), *store.selectedDisplay());
    };
}

void addDialogShots(ShotList& shots) {
    using Section = MainWindowSection;
    shots.push_back(dialogShot("dialog-main-window-delete-preset", Section::presets,
                               withManyEntries, [](DisplayStore& store, MainWindow& window) {
                                   PresetsSection::requestDelete(store, coordinator(window),
                                                                 store.customPresets().front());
                               }));
    shots.push_back(dialogShot("dialog-main-window-delete-scene", Section::scenes, withManyEntries,
                               [](DisplayStore& store, MainWindow& window) {
                                   ScenesSection::requestDelete(store, coordinator(window),
                                                                store.customScenes().front());
                               }));
    shots.push_back(dialogShot("dialog-main-window-delete-group", Section::groups, withManyEntries,
                               [](DisplayStore& store, MainWindow& window) {
                                   GroupsSection::requestDelete(
                                       store, coordinator(window),
                                       store.customDisplayGroups().front());
                               }));
    shots.push_back(dialogShot(
        "dialog-main-window-apply-profile", Section::profile, {},
        [](DisplayStore& store, MainWindow& window) {
            auto& drafts = window.state().detailFormDrafts;
            ProfileSection::pick(drafts, kShotDDCMonitorID, "studio-d65");
            ProfileSection::requestApply(store, drafts, coordinator(window),
                                         *store.selectedDisplay());
        },
        withProfiles));
    shots.push_back(dialogShot(
        "dialog-main-window-restore-default-profile", Section::profile, {},
        [](DisplayStore& store, MainWindow& window) {
            ProfileSection::requestRestore(store, window.state().detailFormDrafts,
                                           coordinator(window), *store.selectedDisplay());
        },
        withProfiles));
    shots.push_back(dialogShot("dialog-main-window-emergency-recovery", Section::recovery,
                               withColourChanges,
                               recoveryAction(RecoveryAction::emergencyRecovery)));
    shots.push_back(dialogShot("dialog-main-window-delete-saved-colours", Section::recovery,
                               withColourChanges,
                               recoveryAction(RecoveryAction::deleteSavedColors)));
    shots.push_back(dialogShot("dialog-main-window-restore-output-colours", Section::recovery,
                               withColourChanges,
                               recoveryAction(RecoveryAction::restoreOutputColors)));
}

}  // namespace

// The pages of the display detail form, in the states a page can be in, and
// the confirmations the main window shows for them.
void addDetailFormShots(ShotList& shots) {
    using Section = MainWindowSection;
    shots.push_back(detailShot("detail-start", ShotWorld::mixed, Section::start, kShotBuiltinID));
    shots.push_back(detailShot("detail-color", ShotWorld::mixed, Section::color, kShotDDCMonitorID,
                               {}, withColourChanges));
    shots.push_back(detailShot("detail-color-prompt", ShotWorld::ddcMonitor, Section::color,
                               kShotDDCMonitorID, {}, [](DisplayStore& store) {
                                   store.updateColorAdjustment(kShotDDCMonitorID,
                                                               [](ColorAdjustment& adjustment) {
                                                                   adjustment.contrast = 1.2;
                                                               });
                               }));
    Shot fineTune = detailShot("detail-color-fine-tune", ShotWorld::mixed, Section::color,
                               kShotDDCMonitorID, {}, withColourChanges);
    fineTune.open = disclosuresOpened;
    shots.push_back(std::move(fineTune));
    shots.push_back(detailShot("detail-color-comparing", ShotWorld::mixed, Section::color,
                               kShotDDCMonitorID, {}, withStockComparison));
    shots.push_back(detailShot(
        "detail-profile", ShotWorld::mixed, Section::profile, kShotDDCMonitorID, withProfiles,
        [](DisplayStore& store) { store.setDisplayAlias("왼쪽 업무 모니터", kShotDDCMonitorID); }));
    shots.push_back(detailShot("detail-profile-none", ShotWorld::colourOnly, Section::profile,
                               kShotColourOnlyID));
    shots.push_back(detailShot("detail-hardware-ddc", ShotWorld::mixed, Section::hardware,
                               kShotDDCMonitorID, {},
                               [](DisplayStore& store) { store.probeDDC(kShotDDCMonitorID); }));
    Shot pending = detailShot("detail-hardware-ddc-pending-write", ShotWorld::mixed,
                              Section::hardware, kShotDDCMonitorID, {},
                              [](DisplayStore& store) { store.probeDDC(kShotDDCMonitorID); });
    pending.open = holdingMonitorWrite;
    shots.push_back(std::move(pending));
    shots.push_back(detailShot("detail-hardware-no-ddc", ShotWorld::colourOnly, Section::hardware,
                               kShotColourOnlyID, {},
                               [](DisplayStore& store) { store.probeDDC(kShotColourOnlyID); }));
    shots.push_back(detailShot("detail-hardware-builtin", ShotWorld::builtinPanel,
                               Section::hardware, kShotBuiltinID, {},
                               [](DisplayStore& store) { store.setBrightnessSyncEnabled(true); }));
    shots.push_back(detailShot("detail-hardware-builtin-no-backlight", ShotWorld::builtinPanel,
                               Section::hardware, kShotBuiltinID, [](ShotHardware& hardware) {
                                   hardware.brightness->setValue(kShotBuiltinID, std::nullopt);
                               }));
    for (auto [name, section] :
         {std::pair{"scenes", Section::scenes}, std::pair{"groups", Section::groups},
          std::pair{"presets", Section::presets}}) {
        shots.push_back(detailShot(std::string("detail-") + name + "-empty", ShotWorld::ddcMonitor,
                                   section, kShotDDCMonitorID));
        shots.push_back(detailShot(std::string("detail-") + name + "-many", ShotWorld::mixed,
                                   section, kShotDDCMonitorID, {}, withManyEntries));
    }
    shots.push_back(
        detailShot("detail-resolution", ShotWorld::mixed, Section::resolution, kShotDDCMonitorID));
    shots.push_back(detailShot("detail-diagnostics", ShotWorld::mixed, Section::diagnostics,
                               kShotDDCMonitorID));
    shots.push_back(detailShot("detail-recovery", ShotWorld::mixed, Section::recovery,
                               kShotDDCMonitorID, {}, withRecoveryHistory));
    shots.push_back(detailShot("detail-recovery-comparing", ShotWorld::mixed, Section::recovery,
                               kShotDDCMonitorID, {}, withStockComparison));
    shots.push_back(detailShot("detail-recovery-correction-off", ShotWorld::mixed,
                               Section::recovery, kShotDDCMonitorID, {}, withCorrectionOff));
    shots.push_back(detailShot("detail-recovery-fresh", ShotWorld::builtinPanel, Section::recovery,
                               kShotBuiltinID));
    addDialogShots(shots);
}

}  // namespace quorvane
