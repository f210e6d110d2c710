#include <gtest/gtest.h>

#include "display_store/store_world.hpp"
#include "models/ddc/ddc_write_queue_error.hpp"
#include "presentation/detail_form/monitor_settings_section.hpp"

namespace quorvane::testing {
namespace {

using Section = MonitorSettingsSection;

std::vector<std::string> titles(const Section& section) {
    std::vector<std::string> out;
    for (const auto& row : section.monitorRows)
        out.push_back(row.title);
    return out;
}

struct MonitorWorld {
    explicit MonitorWorld(std::vector<DisplaySnapshot> displays = {
                              externalDisplay(1, "Studio", 1001)}) {
        world.connect(std::move(displays));
        controller = std::make_shared<HeldDDCController>();
        startWithMonitorLink(world, controller);
    }
    DisplayStore& store() { return *world.store; }
    Section section(std::size_t index = 0) {
        return Section::make(store(), store().displays()[index]);
    }
    void answer(const std::map<DDCVCPCode, std::pair<std::uint16_t, std::uint16_t>>& values) {
        store().probeDDC(1);
        controller->answerProbe(1, values);
        world.scheduler->runUntilIdle();
    }

    StoreWorld world;
    std::shared_ptr<HeldDDCController> controller;
};

TEST(MonitorSettingsSectionTest, NeverProbedShowsNoMonitorRows) {
    MonitorWorld w;
    const auto page = w.section();
    EXPECT_TRUE(page.monitorRows.empty());
    EXPECT_FALSE(page.input);
    EXPECT_FALSE(page.systemBrightness);
    EXPECT_FALSE(page.probeDisabled);
    EXPECT_EQ(page.probeTitle, "가능 여부 확인");
    EXPECT_FALSE(page.showsSyncNote);
}

TEST(MonitorSettingsSectionTest, OnlyAnsweredControlsHaveRowsInPageOrder) {
    MonitorWorld w;
    // Volume first in the answer; the page still lists brightness first.
    w.answer({{DDCVCPCode::audioVolume, {30, 100}}, {DDCVCPCode::brightness, {0, 0}}});
    const auto page = w.section();
    EXPECT_EQ(titles(page), (std::vector<std::string>{"모니터 밝기", "모니터 볼륨"}));
    EXPECT_FALSE(page.input);
    // Without a maximum the slider sits at 0 and the text is the raw value.
    EXPECT_EQ(page.monitorRows[0].value, 0);
    EXPECT_EQ(page.monitorRows[0].valueText, "0");
    EXPECT_DOUBLE_EQ(page.monitorRows[0].minimum, 0.05);
    EXPECT_DOUBLE_EQ(page.monitorRows[1].value, 0.3);
    EXPECT_EQ(page.monitorRows[1].valueText, "30%");
}

TEST(MonitorSettingsSectionTest, InputOnlyMonitorShowsTheInputRowAlone) {
    MonitorWorld w;
    w.answer({{DDCVCPCode::inputSource, {17, 27}}});
    auto page = w.section();
    EXPECT_TRUE(page.monitorRows.empty());
    ASSERT_TRUE(page.input);
    EXPECT_EQ(page.input->menuTitle, "현재: HDMI-1");
    EXPECT_EQ(Section::inputMenuTitle(99), "현재: 값 99");
}

TEST(MonitorSettingsSectionTest, ChoosingAnInputWritesItsValueAsADiscreteAction) {
    MonitorWorld w;
    w.answer({{DDCVCPCode::inputSource, {17, 27}}, {DDCVCPCode::contrast, {50, 100}}});
    const auto& options = Section::inputOptions();
    ASSERT_EQ(options.back().label, "USB-C");
    Section::chooseInput(w.store(), 1, options.back().value);
    ASSERT_EQ(w.world.writeQueue->held.size(), 1u);
    const auto& request = w.world.writeQueue->held[0].first;
    EXPECT_EQ(request.key.code, DDCVCPCode::inputSource);
    EXPECT_EQ(request.rawValue, 27);
    EXPECT_EQ(request.kind, DDCWriteRequestKind::discreteAction);

    // While the write is pending every monitor control is disabled.
    const auto page = w.section();
    EXPECT_TRUE(page.monitorControlsDisabled);
    EXPECT_TRUE(page.probeDisabled);
    EXPECT_EQ(page.probeTitle, "확인 중…");
    EXPECT_EQ(page.monitorRows.size(), 1u);  // present, not removed
}

TEST(MonitorSettingsSectionTest, FailedInputSwitchReachesTheStatusLine) {
    MonitorWorld w;
    w.answer({{DDCVCPCode::inputSource, {17, 27}}});
    Section::chooseInput(w.store(), 1, 15);
    auto [request, completion] = std::move(w.world.writeQueue->held.front());
    w.world.writeQueue->held.clear();
    completion(DDCWriteResult::answering(
        request, DDCWriteResultOutcome::failed(DDCWriteQueueError::timeout().description())));
    w.world.scheduler->runUntilIdle();
    EXPECT_NE(w.store().statusMessage().find(DDCWriteQueueError::timeout().description()),
              std::string::npos)
        << w.store().statusMessage();
    EXPECT_FALSE(w.section().monitorControlsDisabled);
}

TEST(MonitorSettingsSectionTest, SliderCommitScalesToTheMonitorMaximum) {
    MonitorWorld w;
    w.answer({{DDCVCPCode::contrast, {10, 200}}});
    Section::commitMonitorValue(w.store(), 1, DDCVCPCode::contrast, 0.5);
    ASSERT_EQ(w.world.writeQueue->held.size(), 1u);
    EXPECT_EQ(w.world.writeQueue->held[0].first.rawValue, 100);
}

TEST(MonitorSettingsSectionTest, BuiltInPanelRowsAndNotes) {
    auto panel = builtinDisplay(1);
    panel.hardwareBrightness = 0.125;
    MonitorWorld w({panel});
    w.store().setBrightnessSyncEnabled(true);
    const auto page = Section::make(w.store(), panel);
    ASSERT_TRUE(page.systemBrightness);
    EXPECT_EQ(page.systemBrightness->valueText, "13%");  // 12.5 rounds away from zero
    EXPECT_TRUE(page.probeDisabled);
    EXPECT_EQ(page.statusNote, std::string(Section::kBuiltinNote));
    EXPECT_TRUE(page.showsSyncNote);

    auto noBacklight = panel;
    noBacklight.hardwareBrightness.reset();
    EXPECT_FALSE(Section::make(w.store(), noBacklight).systemBrightness);
}

TEST(MonitorSettingsSectionTest, ProbeTitleByBadgeKind) {
    using Kind = DDCCapabilityBadgeKind;
    EXPECT_EQ(Section::probeButtonTitle(false, Kind::recheckNeeded), "다시 확인");
    for (auto kind : {Kind::unchecked, Kind::confirmed, Kind::unstable, Kind::unsupported})
        EXPECT_EQ(Section::probeButtonTitle(false, kind), "가능 여부 확인");
    EXPECT_EQ(Section::probeButtonTitle(true, Kind::recheckNeeded), "확인 중…");
}

// A check's outcome heard as one sentence: the verdict, then the line under
// it when there is one.
TEST(MonitorSettingsSectionTest, ProbeOutcomeIsTheVerdictThenItsNote) {
    Section page;
    page.badge.title = "미지원";
    EXPECT_EQ(page.probeOutcome(), "미지원");
    page.statusNote = "경로를 찾지 못했습니다.";
    EXPECT_EQ(page.probeOutcome(), "미지원. 경로를 찾지 못했습니다.");
    page.badge.title.clear();
    EXPECT_EQ(page.probeOutcome(), "경로를 찾지 못했습니다.");
}

}  // namespace
}  // namespace quorvane::testing
