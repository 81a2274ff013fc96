#include <doctest/doctest.h>

#include <string>

#include "shell/LoadingSequence.h"

namespace {
// Records every action as a short word, so a whole run reads as one line.
class FakeLoading : public LoadingActions {
public:
    int administrator = 1;
    bool nt = true;
    int spoolerStarts = 1;
    int scriptsFound = 2;
    int censusResults[2] = {3, 3};
    int censusCalls = 0;
    int result = -1;
    int failedWith = 0;
    int progressSteps = 0;
    std::string log;

    int IsAdministrator() override { log += "admin "; return administrator; }
    bool IsNT() override { return nt; }
    void CloseRelatedApplications() override { log += "close "; }
    void StopSpooler() override { log += "stop "; }
    int StartSpooler() override { log += "start "; return spoolerStarts; }
    int FindScripts() override { log += "find "; return scriptsFound; }
    void WarnNoScripts() override { log += "warn "; }
    void LoadScripts() override { log += "load "; }
    void ApplyVizoraRule() override { log += "vizora "; }
    int TakeCensus() override {
        log += "census ";
        return censusResults[censusCalls++ < 1 ? 0 : 1];
    }
    void StepProgress() override { ++progressSteps; }
    void SetProgressPosition(int position) override { log += "pos" + std::to_string(position) + " "; }
    void SetProgressStep(int step) override { log += "step" + std::to_string(step) + " "; }
    void Fail(int stringId) override { failedWith = stringId; result = 0; }
    void Finish(int value) override { result = value; }
};

// Ticks until the sequence ends (or a safety limit); returns the number of ticks.
int RunToEnd(FakeLoading& fake, LoadingCounters& counters, int* step) {
    int ticks = 0;
    while (fake.result < 0 && ticks < 200) {
        LoadingTick(fake, kLoadingTimerId, step, counters);
        ++ticks;
    }
    return ticks;
}
}  // namespace

TEST_CASE("a complete run takes its steps in order, with nine and four ticks of waiting") {
    FakeLoading fake;
    LoadingCounters counters;
    int step = 0;
    int ticks = RunToEnd(fake, counters, &step);

    CHECK(fake.result == 1);
    CHECK(fake.log == "admin close stop start find pos20 step5 load vizora census close step1 pos95 ");
    CHECK(ticks == 1 + 1 + 1 + 9 + 1 + 4 + 1 + 1 + 1 + 1 + 1);
    // Two progress steps per tick, except the last tick, which ends the dialog instead.
    CHECK(fake.progressSteps == 2 * ticks - 1);
    CHECK(counters.busy == 0);
}

TEST_CASE("outside the NT family the spooler is left alone but the waits still take their ticks") {
    FakeLoading fake;
    fake.nt = false;
    fake.spoolerStarts = 0;  // must not be asked
    LoadingCounters counters;
    int step = 0;
    int ticks = RunToEnd(fake, counters, &step);

    CHECK(fake.result == 1);
    CHECK(fake.log == "admin close find pos20 step5 load vizora census close step1 pos95 ");
    CHECK(ticks == 22);
}

TEST_CASE("a failing check ends loading with its message") {
    LoadingCounters counters;
    int step = 0;
    SUBCASE("no administrator rights") {
        FakeLoading fake;
        fake.administrator = 0;
        RunToEnd(fake, counters, &step);
        CHECK(fake.failedWith == 151);
        CHECK(fake.log == "admin ");
        CHECK(step == 1);
    }
    SUBCASE("the spooler does not start again") {
        FakeLoading fake;
        fake.spoolerStarts = 0;
        RunToEnd(fake, counters, &step);
        CHECK(fake.failedWith == 152);
        CHECK(fake.log == "admin close stop start ");
        CHECK(step == 5);
    }
    CHECK(counters.busy == 0);
}

TEST_CASE("the census is retried once from closing the applications, and the waits pass at once") {
    LoadingCounters counters;
    int step = 0;
    SUBCASE("the retry succeeds") {
        FakeLoading fake;
        fake.censusResults[0] = 0;
        int ticks = RunToEnd(fake, counters, &step);
        CHECK(fake.result == 1);
        CHECK(fake.log ==
              "admin close stop start find pos20 step5 load vizora census pos5 "
              "close stop start find pos20 step5 load vizora census close step1 pos95 ");
        CHECK(ticks == 22 + 9);  // steps 1 to 9 once more, each wait a single tick
        CHECK(counters.censusAttempts == 2);
    }
    SUBCASE("a second failure is accepted and loading completes") {
        FakeLoading fake;
        fake.censusResults[0] = 0;
        fake.censusResults[1] = 0;
        RunToEnd(fake, counters, &step);
        CHECK(fake.result == 1);
        CHECK(fake.censusCalls == 2);
    }
}

TEST_CASE("without scripts the warning comes once and loading goes on") {
    FakeLoading fake;
    fake.scriptsFound = 0;
    LoadingCounters counters;
    int step = 0;
    RunToEnd(fake, counters, &step);
    CHECK(fake.result == 1);
    CHECK(fake.log == "admin close stop start find warn pos20 step10 load vizora census close step1 pos95 ");
}

TEST_CASE("the script progress step shares ten points among the scripts") {
    const int table[][2] = {{0, 10}, {1, 10}, {3, 3}, {10, 1}, {11, 0}, {500, 0}};
    for (const auto& row : table) CHECK(ScriptProgressStep(row[0]) == row[1]);
}

TEST_CASE("ticks of other timers and ticks during a running step are dropped") {
    FakeLoading fake;
    LoadingCounters counters;
    int step = 0;
    LoadingTick(fake, 1130, &step, counters);
    CHECK(step == 0);
    CHECK(fake.progressSteps == 0);

    counters.busy = 1;
    LoadingTick(fake, kLoadingTimerId, &step, counters);
    CHECK(step == 0);
    CHECK(fake.log.empty());
}
