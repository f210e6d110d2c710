#include "services/ddc/ddc_write_queue.hpp"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "platform/simulated/manual_scheduler.hpp"

namespace quorvane {
namespace {

using Outcome = DDCWriteResultOutcome;
using std::chrono::milliseconds;

const std::string kSettlingText = "이전 모니터 설정 요청을 정리 중입니다. 잠시 후 다시 시도하세요.";
const std::string kTimeoutText = "모니터 응답 시간이 초과되었습니다.";
const std::string kCancelledText = "모니터 설정 요청이 취소되었습니다.";

// A writer whose every write answers after `latency` with what `reply`
// makes of it (by default the value written), unless the test holds it.
class ScriptedWriter final : public DDCWriting {
  public:
    struct Call {
        std::uint32_t displayID;
        DDCVCPCode code;
        std::uint16_t value;
        Duration at;
    };

    explicit ScriptedWriter(ManualScheduler& scheduler) : scheduler_(scheduler) {}

    void write(std::uint32_t displayID, DDCVCPCode code, std::uint16_t value,
               ResultHandler completion) override {
        const Call call{displayID, code, value, scheduler_.monotonicNow() - start};
        calls.push_back(call);
        if (holdNext) {
            holdNext = false;
            held.push_back([this, call, completion] { completion(reply(call)); });
            return;
        }
        scheduler_.postAfter(latency, [this, call, completion] { completion(reply(call)); });
    }

    // Answers the oldest held write now.
    void releaseHeld() {
        auto answer = held.front();
        held.erase(held.begin());
        answer();
    }

    MonotonicTime start;
    Duration latency = milliseconds(100);
    bool holdNext = false;
    std::function<DDCControlResult(const Call&)> reply = [](const Call& call) {
        return DDCControlResult::success({call.code, call.value, 100});
    };
    std::vector<Call> calls;
    std::vector<std::function<void()>> held;

  private:
    ManualScheduler& scheduler_;
};

class DDCWriteQueueTest : public ::testing::Test {
  protected:
    DDCWriteQueueTest() { writer->start = scheduler.monotonicNow(); }

    DDCWriteRequest submit(DDCVCPCode code, std::uint16_t value, std::uint32_t display = 1) {
        DDCWriteRequest request{std::string("R").append(std::to_string(++requestCount)),
                                {display, code},
                                value,
                                DDCWriteRequestKind::sliderFinalValue};
        queue.submit(request, [this](DDCWriteResult result) {
            EXPECT_FALSE(results.contains(result.requestID)) << "second answer";
            results[result.requestID] = result;
            answeredAt[result.requestID] = scheduler.monotonicNow() - writer->start;
        });
        return request;
    }
    bool answered(const DDCWriteRequest& request) const { return results.contains(request.id); }
    Outcome outcome(const DDCWriteRequest& request) const { return results.at(request.id).outcome; }
    Duration elapsed() const { return scheduler.monotonicNow() - writer->start; }

    ManualScheduler scheduler;
    std::shared_ptr<ScriptedWriter> writer = std::make_shared<ScriptedWriter>(scheduler);
    DDCWriteQueue queue{writer, scheduler};
    std::map<std::string, DDCWriteResult> results;
    std::map<std::string, Duration> answeredAt;
    int requestCount = 0;
};

TEST_F(DDCWriteQueueTest, AppliedWriteCarriesTheReadBackAndTheRequestsFields) {
    const auto request = submit(DDCVCPCode::contrast, 40, 5);
    scheduler.runUntilIdle();
    EXPECT_FALSE(answered(request));
    scheduler.advance(milliseconds(100));
    ASSERT_TRUE(answered(request));
    EXPECT_EQ(results.at(request.id),
              (DDCWriteResult{request.id,
                              {5, DDCVCPCode::contrast},
                              40,
                              DDCWriteRequestKind::sliderFinalValue,
                              Outcome::applied({DDCVCPCode::contrast, 40, 100})}));
}

TEST_F(DDCWriteQueueTest, NewerRequestSupersedesAWaitingOneAndIsWrittenAfterThePause) {
    submit(DDCVCPCode::contrast, 70);
    scheduler.runUntilIdle();  // the contrast write is now in flight
    const auto first = submit(DDCVCPCode::brightness, 30);
    const auto second = submit(DDCVCPCode::brightness, 60);
    scheduler.runUntilIdle();
    ASSERT_TRUE(answered(first));
    EXPECT_EQ(outcome(first), Outcome::supersededBy(60));
    EXPECT_EQ(elapsed(), Duration::zero());

    scheduler.advance(std::chrono::seconds(2));
    ASSERT_EQ(writer->calls.size(), 2u);
    EXPECT_EQ(writer->calls[1].code, DDCVCPCode::brightness);
    EXPECT_EQ(writer->calls[1].value, 60);
    // Contrast answered at 0.1 s, then the 0.2 s spacing.
    EXPECT_EQ(writer->calls[1].at, milliseconds(300));
    EXPECT_EQ(outcome(second).kind, Outcome::Kind::applied);
}

TEST_F(DDCWriteQueueTest, ReplacedRequestKeepsItsControlsPlaceInTheOrder) {
    const auto first = submit(DDCVCPCode::brightness, 10);
    submit(DDCVCPCode::contrast, 20);
    submit(DDCVCPCode::brightness, 30);
    scheduler.advance(std::chrono::seconds(2));
    ASSERT_EQ(writer->calls.size(), 2u);
    EXPECT_EQ(writer->calls[0].code, DDCVCPCode::brightness);
    EXPECT_EQ(writer->calls[0].value, 30);
    EXPECT_EQ(writer->calls[1].code, DDCVCPCode::contrast);
    EXPECT_EQ(outcome(first), Outcome::supersededBy(30));
}

TEST_F(DDCWriteQueueTest, RequestBeingWrittenIsNotSuperseded) {
    const auto inFlight = submit(DDCVCPCode::brightness, 10);
    scheduler.runUntilIdle();
    const auto next = submit(DDCVCPCode::brightness, 20);
    scheduler.advance(std::chrono::seconds(1));
    EXPECT_EQ(outcome(inFlight).kind, Outcome::Kind::applied);
    EXPECT_EQ(outcome(next).kind, Outcome::Kind::applied);
    ASSERT_EQ(writer->calls.size(), 2u);
    EXPECT_EQ(writer->calls[1].value, 20);
}

TEST_F(DDCWriteQueueTest, SpacingFollowsFailedWritesToo) {
    writer->reply = [](const ScriptedWriter::Call&) {
        return DDCControlResult::failure(DDCControllerError::transport("전송 실패"));
    };
    const auto failed = submit(DDCVCPCode::brightness, 10);
    const auto next = submit(DDCVCPCode::contrast, 20);
    scheduler.advance(std::chrono::seconds(1));
    EXPECT_EQ(outcome(failed), Outcome::failed("전송 실패"));
    ASSERT_EQ(writer->calls.size(), 2u);
    EXPECT_EQ(writer->calls[1].at, milliseconds(300));
    EXPECT_TRUE(answered(next));
}

TEST_F(DDCWriteQueueTest, ReadBackMustEqualTheRequestButTheMaximumMayDiffer) {
    writer->reply = [](const ScriptedWriter::Call& call) {
        const std::uint16_t seen = call.code == DDCVCPCode::brightness ? 48 : call.value;
        return DDCControlResult::success({call.code, seen, 255});
    };
    const auto mismatch = submit(DDCVCPCode::brightness, 50);
    const auto fine = submit(DDCVCPCode::contrast, 50);
    scheduler.advance(std::chrono::seconds(1));
    EXPECT_EQ(outcome(mismatch),
              Outcome::failed("모니터 밝기이 요청한 값으로 확인되지 않았습니다. 요청 50, 확인 48"));
    EXPECT_EQ(outcome(fine), Outcome::applied({DDCVCPCode::contrast, 50, 255}));
}

TEST_F(DDCWriteQueueTest, SlowWriteTimesOutAndTheDisplaySettlesUntilItReturns) {
    writer->latency = std::chrono::seconds(5);
    const auto slow = submit(DDCVCPCode::brightness, 10);
    scheduler.runUntilIdle();
    const auto waiting = submit(DDCVCPCode::contrast, 20);
    const auto otherDisplay = submit(DDCVCPCode::contrast, 20, 2);

    scheduler.advance(milliseconds(3999));
    EXPECT_FALSE(answered(slow));
    scheduler.advance(milliseconds(1));
    EXPECT_EQ(outcome(slow), Outcome::failed(kTimeoutText));
    EXPECT_EQ(outcome(waiting), Outcome::failed(kSettlingText));
    EXPECT_EQ(answeredAt.at(waiting.id), std::chrono::seconds(4));
    // Another display's worker was never held up.
    EXPECT_EQ(outcome(otherDisplay).kind, Outcome::Kind::failed);
    EXPECT_EQ(outcome(otherDisplay).failureText, kTimeoutText);

    scheduler.advance(milliseconds(500));
    const auto refused = submit(DDCVCPCode::brightness, 30);
    scheduler.runUntilIdle();
    EXPECT_EQ(outcome(refused), Outcome::failed(kSettlingText));
    EXPECT_EQ(elapsed(), milliseconds(4500));

    scheduler.advance(milliseconds(500));  // the late write returns at 5 s
    const auto accepted = submit(DDCVCPCode::brightness, 40);
    scheduler.advance(std::chrono::seconds(6));
    EXPECT_EQ(outcome(accepted), Outcome::failed(kTimeoutText));
    ASSERT_EQ(writer->calls.size(), 3u);
    EXPECT_EQ(writer->calls[2].at, std::chrono::seconds(5));
}

TEST_F(DDCWriteQueueTest, WriteThatNeverReturnsSettlesForTheLimit) {
    writer->holdNext = true;
    submit(DDCVCPCode::brightness, 10);
    scheduler.advance(std::chrono::seconds(4));
    scheduler.advance(milliseconds(7999));
    const auto refused = submit(DDCVCPCode::brightness, 20);
    scheduler.runUntilIdle();
    EXPECT_EQ(outcome(refused), Outcome::failed(kSettlingText));
    scheduler.advance(milliseconds(1));
    const auto accepted = submit(DDCVCPCode::brightness, 30);
    scheduler.advance(std::chrono::seconds(1));
    EXPECT_EQ(outcome(accepted).kind, Outcome::Kind::applied);

    // The abandoned write finally answers: nobody hears of it again.
    writer->releaseHeld();
    scheduler.runUntilIdle();
    EXPECT_EQ(results.size(), 3u);
}

TEST_F(DDCWriteQueueTest, EachSettlingPeriodEndsOnlyByItsOwnWriteOrLimit) {
    writer->latency = std::chrono::seconds(5);
    submit(DDCVCPCode::brightness, 10);
    scheduler.advance(std::chrono::seconds(5));  // timed out at 4, returned at 5
    writer->holdNext = true;
    submit(DDCVCPCode::brightness, 20);
    scheduler.advance(std::chrono::seconds(4));  // times out at 9, settles until 17
    scheduler.advance(std::chrono::seconds(4));  // 13: the first period's limit has passed
    const auto refused = submit(DDCVCPCode::contrast, 30);
    scheduler.runUntilIdle();
    EXPECT_EQ(outcome(refused), Outcome::failed(kSettlingText));
    scheduler.advance(std::chrono::seconds(4));
    const auto accepted = submit(DDCVCPCode::contrast, 40);
    scheduler.runUntilIdle();
    EXPECT_FALSE(answered(accepted));
}

TEST_F(DDCWriteQueueTest, CancellingOnlyAffectsWaitingRequests) {
    const auto inFlight = submit(DDCVCPCode::brightness, 10);
    scheduler.runUntilIdle();
    const auto waiting = submit(DDCVCPCode::contrast, 20);
    const auto after = submit(DDCVCPCode::audioVolume, 30);
    queue.cancel(waiting);
    queue.cancel(inFlight);
    scheduler.runUntilIdle();
    EXPECT_EQ(outcome(waiting), Outcome::failed(kCancelledText));
    EXPECT_FALSE(answered(inFlight));

    scheduler.advance(std::chrono::seconds(1));
    EXPECT_EQ(outcome(inFlight).kind, Outcome::Kind::applied);
    EXPECT_EQ(outcome(after).kind, Outcome::Kind::applied);
    ASSERT_EQ(writer->calls.size(), 2u);
    EXPECT_EQ(writer->calls[1].code, DDCVCPCode::audioVolume);

    queue.cancel(after);  // already answered
    scheduler.runUntilIdle();
    EXPECT_EQ(results.size(), 3u);
}

TEST_F(DDCWriteQueueTest, AnswersAreNeverGivenFromInsideSubmit) {
    writer->latency = std::chrono::seconds(5);
    submit(DDCVCPCode::brightness, 1);
    scheduler.advance(std::chrono::seconds(4));
    const auto refused = submit(DDCVCPCode::brightness, 2);
    EXPECT_FALSE(answered(refused));
    scheduler.runUntilIdle();
    EXPECT_TRUE(answered(refused));
}

TEST_F(DDCWriteQueueTest, DestroyedQueueGivesNoMoreAnswers) {
    auto shortLived = std::make_unique<DDCWriteQueue>(writer, scheduler);
    bool called = false;
    shortLived->submit({"X", {1, DDCVCPCode::brightness}, 5, DDCWriteRequestKind::discreteAction},
                       [&called](const DDCWriteResult&) { called = true; });
    scheduler.runUntilIdle();
    shortLived.reset();
    scheduler.advance(std::chrono::seconds(10));
    EXPECT_FALSE(called);
}

}  // namespace
}  // namespace quorvane
