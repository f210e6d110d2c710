#include <QVBoxLayout>

#include "app/screenshots/shot_list.hpp"
#include "presentation/main_window/main_window_state.hpp"
#include "views/controls/confirmation_presenter.hpp"
#include "views/detail_form/display_detail_form.hpp"

namespace quorvane {

namespace {

// The detail column on its own, as wide as in the main window and taller,
// so a picture shows most of a page.
class DetailColumn : public QWidget {
  public:
    DetailColumn(ViewContext& context, MainWindowSection section, DisplayID displayID) {
        const bool veryLarge = context.theme.textSize() == QuorvaneTextSize::veryLarge;
        context.store.setSelectedDisplayID(displayID);
        state_.selectedSection = section;
        confirmations_ = new ConfirmationPresenter(this);
        form_ = new DisplayDetailForm(context, state_, *confirmations_, this);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(form_);
        state_.sectionsChanged = [this] { form_->refresh(); };
        connect(&context.bridge, &StoreBridge::storeChanged, form_, &DisplayDetailForm::refresh);
        // Taller than the screen, so one picture holds the whole page.
        setFixedSize(veryLarge ? QSize(620, 1500) : QSize(580, 1250));
    }

  private:
    MainWindowState state_;
    ConfirmationPresenter* confirmations_ = nullptr;
    DisplayDetailForm* form_ = nullptr;
};

using Build = std::function<void(DisplayStore&)>;

Shot detailShot(std::string name, ShotWorld world, MainWindowSection section, DisplayID displayID,
                std::function<void(ShotHardware&)> prepare = {}, Build build = {}) {
    return {std::move(name), world, Shot::Frame::natural, std::move(prepare),
            [section, displayID, build](ViewContext& context) -> std::unique_ptr<QWidget> {
                if (build)
                    build(context.store);
                return std::make_unique<DetailColumn>(context, section, displayID);
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

}  // namespace

// The pages of the display detail form.
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
    shots.push_back(detailShot(
        "detail-profile", ShotWorld::mixed, Section::profile, kShotDDCMonitorID, withProfiles,
        [](DisplayStore& store) { store.setDisplayAlias("왼쪽 업무 모니터", kShotDDCMonitorID); }));
    shots.push_back(detailShot("detail-profile-none", ShotWorld::colourOnly, Section::profile,
                               kShotColourOnlyID));
    shots.push_back(detailShot("detail-hardware-ddc", ShotWorld::mixed, Section::hardware,
                               kShotDDCMonitorID, {},
                               [](DisplayStore& store) { store.probeDDC(kShotDDCMonitorID); }));
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
    shots.push_back(detailShot("detail-recovery-fresh", ShotWorld::builtinPanel, Section::recovery,
                               kShotBuiltinID));
}

}  // namespace quorvane
