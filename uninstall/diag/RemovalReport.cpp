#include "RemovalReport.h"

#include <nlohmann/json.hpp>

using Json = nlohmann::ordered_json;

void RemovalReport::Record(const ActionRecord& record) {
    entries_.push_back(Entry{record.step, record.kind, record.object, record.scope, record.detail,
                             record.outcome, record.error});
}

std::string RemovalReport::ToJson(TextConverter convert) const {
    auto text = [convert](const std::string& ansi) { return convert ? convert(ansi) : ansi; };

    Json selected = Json::array();
    Json remaining = Json::array();
    for (const InstalledPrinter& printer : printers_) {
        if (printer.deleted) continue;
        Json row = {{"name", text(printer.name.Text())}, {"driver", text(printer.driver.Text())}};
        if (!printer.location.IsEmpty()) row["server"] = text(printer.location.Text());
        if (printer.isDefault) row["default"] = true;
        if (printer.isForeign || printer.excluded) {
            row["maker"] = !printer.isForeign;
            remaining.push_back(row);
        } else {
            row["connection"] = !printer.location.IsEmpty();
            selected.push_back(row);
        }
    }

    // What loading did, in order; then the removal's objects by kind, kinds in the order the
    // removal meets them.
    Json loading = Json::array();
    Json objects = Json::object();
    for (const Entry& entry : entries_) {
        Json row = {{"name", text(entry.object)}, {"outcome", OutcomeName(entry.outcome)}};
        if (!entry.scope.empty()) row["scope"] = text(entry.scope);
        if (!entry.detail.empty()) row["detail"] = text(entry.detail);
        if (entry.error) row["error"] = entry.error;
        if (entry.step == kLoadingStep) {
            row["kind"] = entry.kind;
            loading.push_back(row);
        } else {
            row["step"] = entry.step;
            objects[entry.kind].push_back(row);
        }
    }

    // "format" changes only when a reader of an older report would misread this one.
    Json report = {{"format", 1},
                   {"exitCode", exitCode_},
                   {"printers", {{"selected", selected}, {"remaining", remaining}}},
                   {"loading", loading},
                   {"objects", objects}};
    // Invalid bytes are replaced rather than thrown on: a report with one odd name is still a report.
    return report.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}
