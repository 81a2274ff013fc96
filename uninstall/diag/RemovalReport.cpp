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

    // Kinds in the order the removal meets them.
    Json objects = Json::object();
    for (const Entry& entry : entries_) {
        Json row = {{"name", text(entry.object)}, {"outcome", OutcomeName(entry.outcome)}};
        if (!entry.scope.empty()) row["scope"] = text(entry.scope);
        if (!entry.detail.empty()) row["detail"] = text(entry.detail);
        if (entry.error) row["error"] = entry.error;
        row["step"] = entry.step;
        objects[entry.kind].push_back(row);
    }

    Json report = {{"printers", {{"selected", selected}, {"remaining", remaining}}},
                   {"objects", objects},
                   {"exitCode", exitCode_}};
    // Invalid bytes are replaced rather than thrown on: a report with one odd name is still a report.
    return report.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}
