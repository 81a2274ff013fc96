#pragma once
// The one implementation of the removal sequence's steps: every state's work as a call of a step
// function on one removal context. The removal page derives from it for the painting, the cursor
// and the end; a removal without a window uses it as it is, and a dry run sets ctx.dryRun.
#include "spooler/AddOnRemoval.h"
#include "spooler/RemovalContext.h"
#include "spooler/RemovalSequence.h"
#include "system/Reboot.h"

// Fills the context's two file-search lists: the directories searched without recursion and the
// directory trees searched two levels deep, each sorted and without duplicates; the 9x-environment
// driver and processor directories only on the NT family.
void BuildSearchLists(RemovalContext& ctx);

class RemovalSteps : public RemovalActions {
public:
    explicit RemovalSteps(RemovalContext& context) : ctx(context) {}
    ~RemovalSteps() override;

    RemovalSteps(const RemovalSteps&) = delete;
    RemovalSteps& operator=(const RemovalSteps&) = delete;

    void ComputeRemovalSet() override;
    bool AddOnKept() override;
    AddOnStart StartAddOn() override;
    bool AddOnRunning(bool watchWindow) override;
    void EndAddOn(bool ended) override;
    void RemovePrinters() override;
    void RemoveDrivers(const char* environment) override;
    void RemoveMonitors(const char* environment) override;
    void RunHooks() override;
    void RemovePrintProcessors(const char* environment) override;
    void RemoveServices() override;
    void CloseWin95Spooler() override;
    void RequestReboot() override;
    void StopSpooler() override;
    void CollectOemPaths() override;
    void RemoveShortcuts() override;
    void RemoveIniEntries() override;
    void RemoveLoadRunEntries() override;
    void RemoveFiles() override;
    void RemoveRegistryEntries() override;
    void StartSpooler() override;
    void OfferReboot() override;
    // What the closing step made of the restart the removal may need.
    RestartOutcome Restart() const { return restart; }
    // The closing start of the spooler was refused: printing stays off until someone starts it.
    bool SpoolerLeftStopped() const { return spoolerLeftStopped; }

    void Repaint() override {}
    void TakeWaitCursor() override {}
    void ShowWaitCursor() override {}
    void BringForward() override {}
    void StopTicks() override {}
    void Finish() override {}

protected:
    RemovalContext& ctx;

private:
    AddOnRun addOn;
    RestartOutcome restart = kRestartNotNeeded;
    bool spoolerLeftStopped = false;
};
