#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "spooler/RemovalSequence.h"

namespace {
// Records every action as a short word, so a whole run reads as one line, and every repaint as
// the nine rows it shows: "-" pending, "R" current (red), "G" done (green).
class FakeRemoval : public RemovalActions {
public:
    explicit FakeRemoval(RemovalSequence& s) : sequence(s) {}

    bool kept = false;
    AddOnStart startResult = kAddOnAbsent;
    int runningPolls = 0;  // polls that still find the program running
    bool tickDuringPrinters = false;
    std::string log;
    std::vector<std::string> repaints;
    std::string duringPrinters;  // what a repaint inside the printers step shows

    std::string Rows() const {
        std::string rows;
        for (int row = 0; row < kRemovalRowCount; ++row) rows += "-RG"[sequence.Look(row)];
        return rows;
    }

    void ComputeRemovalSet() override { Say("set"); }
    bool AddOnKept() override { return kept; }
    AddOnStart StartAddOn() override {
        Say("addon-start");
        return startResult;
    }
    bool AddOnRunning(bool watchWindow) override {
        Say(watchWindow ? "addon-window" : "addon-poll");
        if (runningPolls == 0) return false;
        --runningPolls;
        return true;
    }
    void EndAddOn(bool ended) override { Say(ended ? "addon-end" : "addon-abandon"); }
    void RemovePrinters() override {
        Say("printers");
        duringPrinters = Rows();
        if (tickDuringPrinters) sequence.Tick(*this, kRemovalTimerId);
    }
    void RemoveDrivers(const char* environment) override { Say("drivers" + Env(environment)); }
    void RemoveMonitors(const char* environment) override { Say("monitors" + Env(environment)); }
    void RunHooks() override { Say("hooks"); }
    void RemovePrintProcessors(const char* environment) override { Say("processors" + Env(environment)); }
    void RemoveServices() override { Say("services"); }
    void CloseWin95Spooler() override { Say("close95"); }
    void RequestReboot() override { Say("reboot-flag"); }
    void StopSpooler() override { Say("stop"); }
    void CollectOemPaths() override { Say("oem"); }
    void RemoveShortcuts() override { Say("shortcuts"); }
    void RemoveIniEntries() override { Say("ini"); }
    void RemoveLoadRunEntries() override { Say("loadrun"); }
    void RemoveFiles() override { Say("files"); }
    void RemoveRegistryEntries() override { Say("registry"); }
    void StartSpooler() override { Say("start"); }
    void OfferReboot() override { Say("offer"); }
    void Repaint() override { repaints.push_back(Rows()); }
    void TakeWaitCursor() override { Say("wait-cursor"); }
    void ShowWaitCursor() override { ++cursorShown; }
    void BringForward() override { Say("forward"); }
    void StopTicks() override { Say("stop-ticks"); }
    void Finish() override { Say("finish"); }

    int cursorShown = 0;

private:
    void Say(const std::string& word) { log += (log.empty() ? "" : " ") + word; }
    static std::string Env(const char* environment) {
        if (!environment) return "";
        return std::string(environment) == "Windows 4.0" ? ":4.0" : ":NT";
    }
    RemovalSequence& sequence;
};

// Ticks until the sequence has finished (or a safety limit); returns the number of ticks.
int RunToEnd(RemovalSequence& sequence, FakeRemoval& fake) {
    int ticks = 0;
    while (!sequence.Finished() && ticks < 500) {
        sequence.Tick(fake, kRemovalTimerId);
        ++ticks;
    }
    return ticks;
}

const char kSpoolerSteps[] =
    "printers drivers drivers:NT drivers:4.0 monitors monitors:NT monitors:4.0 hooks processors "
    "processors:NT "
    "processors:4.0 services";
const char kSystemSteps[] = "oem shortcuts forward ini loadrun files registry";
}  // namespace

TEST_CASE("a removal works through its states in order, one tick each, with the spooler work by family") {
    struct Case {
        const char* system;
        int family;
        int kind;
        const char* state8;
        const char* state16;
    } cases[] = {
        {"Windows 2000", kRemovalFamilyNT, 6, " stop", " start"},
        {"Windows 95", kRemovalFamilyWin9x, kRemovalKindWin95, " close95 reboot-flag", ""},
        {"Windows 98", kRemovalFamilyWin9x, 3, " reboot-flag", ""},
        {"Win32s", kRemovalFamilyWin32s, 1, "", ""},
        {"an unknown system", 0, 0, "", ""},
    };
    for (const Case& c : cases) {
        CAPTURE(c.system);
        RemovalSequence sequence;
        FakeRemoval fake(sequence);
        sequence.Start(fake, c.family, c.kind);
        int ticks = RunToEnd(sequence, fake);

        CHECK(fake.log == std::string("wait-cursor set addon-start ") + kSpoolerSteps + c.state8 + " " +
                              kSystemSteps + c.state16 + " stop-ticks offer finish");
        CHECK(ticks == 18);
        CHECK(fake.cursorShown == 18);
        CHECK(sequence.State() == kRemovalLastState);
    }
}

TEST_CASE("each refresh shows the rows before the current one green and the current one red") {
    RemovalSequence sequence;
    FakeRemoval fake(sequence);
    sequence.Start(fake, kRemovalFamilyNT, 6);
    CHECK(fake.repaints == std::vector<std::string>{"---------"});

    // What every tick painted, and what a repaint by the system after the tick shows: the row
    // after the last highlighted one is already current.
    struct Tick {
        std::vector<std::string> painted;
        const char* afterwards;
    } ticks[] = {
        {{"R--------", "GR-------"}, "GGR------"},  // 0: removal set
        {{"GR-------"}, "GGR------"},               // 1: add-ons
        {{"GGR------"}, "GGGR-----"},               // 2
        {{"GGGR-----"}, "GGGGR----"},               // 3: printers
        {{"GGGGR----"}, "GGGGGR---"},               // 4: drivers
        {{"GGGGGR---"}, "GGGGGGR--"},               // 5: monitors and hooks
        {{"GGGGGGR--"}, "GGGGGGGR-"},               // 6: print processors
        {{}, "GGGGGGGR-"},                          // 7: services
        {{"GGGGGGGR-"}, "GGGGGGGGR"},               // 8: spooler stop
        {{}, "GGGGGGGGR"},                          // 9
        {{}, "GGGGGGGGR"},                          // 10
        {{}, "GGGGGGGGR"},                          // 11
        {{}, "GGGGGGGGR"},                          // 12
        {{"GGGGGGGGR"}, "GGGGGGGGG"},               // 13: load/run entries
        {{}, "GGGGGGGGG"},                          // 14
        {{"GGGGGGGGG"}, "GGGGGGGGG"},               // 15: registry entries
        {{}, "GGGGGGGGG"},                          // 16
        {{}, "GGGGGGGGG"},                          // 17
    };
    int state = 0;
    for (const Tick& t : ticks) {
        CAPTURE(state);
        fake.repaints.clear();
        sequence.Tick(fake, kRemovalTimerId);
        CHECK(fake.repaints == t.painted);
        CHECK(fake.Rows() == t.afterwards);
        ++state;
    }
    CHECK(sequence.Finished());
    // Message boxes of the printers step repaint the page with the printers row current.
    CHECK(fake.duringPrinters == "GGR------");
}

TEST_CASE("the add-on state repeats while the Vizora program runs, and passes in one tick otherwise") {
    struct Case {
        const char* what;
        bool kept;
        AddOnStart start;
        int family;
        int runningPolls;
        int limit;
        int stateOneTicks;
        const char* addOnWords;
    } cases[] = {
        {"the Vizora utility's printers stay", true, kAddOnStarted, kRemovalFamilyNT, 5, 0, 1, ""},
        {"no program found", false, kAddOnAbsent, kRemovalFamilyNT, 5, 0, 1, "addon-start"},
        {"a dry run only records it", false, kAddOnNotRun, kRemovalFamilyWin32s, 5, 0, 1, "addon-start"},
        {"a program that does not start", false, kAddOnStartFailed, kRemovalFamilyNT, 5, 0, 1, "addon-start"},
        {"a program that runs for three polls", false, kAddOnStarted, kRemovalFamilyNT, 3, 0, 5,
         "addon-start addon-poll addon-poll addon-poll addon-poll addon-end"},
        {"ten seconds of a running program", false, kAddOnStarted, kRemovalFamilyNT, 50, 0, 52, nullptr},
        {"Win32s watches the window of a program that gave no process", false, kAddOnStartFailed,
         kRemovalFamilyWin32s, 2, 0, 4, "addon-start addon-window addon-window addon-window addon-end"},
        {"a caller's limit ends the wait", false, kAddOnStarted, kRemovalFamilyNT, 1000, 4, 4,
         "addon-start addon-poll addon-poll addon-poll addon-abandon"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.what);
        RemovalSequence sequence;
        FakeRemoval fake(sequence);
        fake.kept = c.kept;
        fake.startResult = c.start;
        fake.runningPolls = c.runningPolls;
        sequence.LimitAddOnWait(c.limit);
        sequence.Start(fake, c.family, 0);
        sequence.Tick(fake, kRemovalTimerId);
        fake.log.clear();
        int ticks = 0;
        while (sequence.State() == 1 && ticks < 2000) {
            sequence.Tick(fake, kRemovalTimerId);
            ++ticks;
            // Row 1 is red all the while.
            CHECK(fake.repaints.back() == "GR-------");
        }
        CHECK(ticks == c.stateOneTicks);
        if (c.addOnWords) CHECK(fake.log == c.addOnWords);
        // The sequence goes on: the next tick is state 2's.
        CHECK(sequence.State() == 2);
    }
}

TEST_CASE("ticks of other timers, ticks during a step and ticks after the end do nothing") {
    RemovalSequence sequence;
    FakeRemoval fake(sequence);

    sequence.Tick(fake, kRemovalTimerId);  // not started
    CHECK(fake.log.empty());

    sequence.Start(fake, kRemovalFamilyNT, 6);
    sequence.Tick(fake, 1126);
    CHECK(sequence.State() == 0);
    CHECK(fake.log.empty());

    // A message box of the printers step dispatches a timer tick: it must not start state 4.
    fake.tickDuringPrinters = true;
    while (sequence.State() < 4) sequence.Tick(fake, kRemovalTimerId);
    CHECK(fake.log == "wait-cursor set addon-start printers");
    CHECK(sequence.State() == 4);

    // The busy flag was cleared on the way out: the next tick runs state 4.
    fake.tickDuringPrinters = false;
    sequence.Tick(fake, kRemovalTimerId);
    CHECK(sequence.State() == 5);

    RunToEnd(sequence, fake);
    const std::string atEnd = fake.log;
    sequence.Tick(fake, kRemovalTimerId);
    CHECK(fake.log == atEnd);  // the closing message and the end messages come once
}
