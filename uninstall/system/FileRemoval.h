#pragma once
// Deleting the files the removal profile names in every search location, deferring files in use.
#include <vector>

#include "spooler/RemovalContext.h"
#include "system/FileSweep.h"
#include "system/OemDirectories.h"

// 1 when the file no longer exists, 0 when its deletion was scheduled for the next restart (or the
// scheduling was tried and failed). Records the outcome under step and kind (the shortcut step
// records its shortcuts as such). A read-only file loses the attribute and is deleted. Only a file
// that is there is scheduled: a directory is left alone, and a path where none can be found after
// the failure (a name Windows refuses) is recorded as failed; 1 is returned for both.
int DeleteFileOrDefer(RemovalContext& ctx, const char* path, const char* step = "files",
                      const char* kind = "file");
void RemoveFilesStep(RemovalContext& ctx);

// The machine as the file walks see it, through ctx: deletions recorded, nothing changed in a dry
// run. Counts the directory listings, for the benchmark.
class MachineFileOps : public FileSweepOps {
public:
    explicit MachineFileOps(RemovalContext& ctx) : ctx_(ctx) {}

    bool ListDirectory(const char* directory, std::vector<DirectoryEntry>& entries) override;
    int DeleteOrDefer(const char* path) override { return DeleteFileOrDefer(ctx_, path); }
    void RemoveEmptyDirectory(const char* directory) override;
    void RefuseLongPath(const char* directory, const char* name) override;
    void KeepRestartHelper(const char* path) override;

    long Listings() const { return listings_; }

private:
    RemovalContext& ctx_;
    long listings_ = 0;
};

// Directories that an OEM walk must never remove folders from: the Windows and system directories,
// Program Files and Common Files, the user's profile and the folder of all profiles, the Start Menu
// and its Programs folder (the user's and the common ones). Each is listed as given and in every
// other spelling Windows gives it (full, short and long names). Returns the error of a registry read
// that failed (the Program Files folders of Windows 95 and NT 4 then go unlisted), or 0.
long CollectProtectedDirectories(std::vector<ProtectedDirectory>& out);

// The step's search places: ctx's directory and tree lists, and the OEM directories of the removal
// profile's OemPaths (parent rule applied, refused ones recorded as kept, inner ones first).
void BuildFileSearchPlaces(RemovalContext& ctx, FileSearchPlaces& places);
