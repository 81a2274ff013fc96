#include "PrinterRecords.h"

#include <cstring>

namespace {

// Lays out records in two passes: the first (no buffer) only measures, the second writes.
class Packer {
public:
    Packer(BYTE* buffer, size_t fixedBytes) : buffer_(buffer), used_(fixedBytes) {}

    LPSTR Text(const std::string& text, bool nullWhenEmpty = true) {
        if (text.empty() && nullWhenEmpty) return nullptr;
        size_t bytes = text.size() + 1;
        LPSTR place = buffer_ ? reinterpret_cast<LPSTR>(buffer_ + used_) : nullptr;
        if (buffer_) std::memcpy(place, text.c_str(), bytes);
        used_ += bytes;
        return place;
    }

    // A device mode holds WORD and DWORD fields, so it starts on an 8-byte boundary.
    LPDEVMODEA DevMode(const std::vector<BYTE>& blob) {
        if (blob.empty()) return nullptr;
        used_ = (used_ + 7) & ~static_cast<size_t>(7);
        LPDEVMODEA place = buffer_ ? reinterpret_cast<LPDEVMODEA>(buffer_ + used_) : nullptr;
        if (buffer_) std::memcpy(place, blob.data(), blob.size());
        used_ += blob.size();
        return place;
    }

    size_t Used() const { return used_; }

private:
    BYTE* buffer_;
    size_t used_;
};

std::string TextOf(LPCSTR text) {
    return text != nullptr ? std::string(text) : std::string();
}

size_t PrinterStructSize(DWORD level) {
    switch (level) {
        case 1:
            return sizeof(PRINTER_INFO_1A);
        case 2:
            return sizeof(PRINTER_INFO_2A);
        case 4:
            return sizeof(PRINTER_INFO_4A);
        case 5:
            return sizeof(PRINTER_INFO_5A);
        default:
            return 0;
    }
}

void PackPrinter(const PrinterRecord& r, DWORD level, BYTE* slot, Packer& p) {
    switch (level) {
        case 1: {
            PRINTER_INFO_1A info = {};
            info.Flags = r.flags;
            info.pDescription = p.Text(r.description);
            info.pName = p.Text(r.name, false);
            info.pComment = p.Text(r.comment);
            if (slot) std::memcpy(slot, &info, sizeof info);
            break;
        }
        case 2: {
            PRINTER_INFO_2A info = {};
            info.pServerName = p.Text(r.server);
            info.pPrinterName = p.Text(r.name, false);
            info.pShareName = p.Text(r.share);
            info.pPortName = p.Text(r.port);
            info.pDriverName = p.Text(r.driver);
            info.pComment = p.Text(r.comment);
            info.pLocation = p.Text(r.location);
            info.pDevMode = p.DevMode(r.devMode);
            info.pSepFile = p.Text(r.sepFile);
            info.pPrintProcessor = p.Text(r.printProcessor);
            info.pDatatype = p.Text(r.datatype);
            info.pParameters = p.Text(r.parameters);
            info.Attributes = r.attributes;
            info.Priority = r.priority;
            info.DefaultPriority = r.defaultPriority;
            info.StartTime = r.startTime;
            info.UntilTime = r.untilTime;
            info.Status = r.status;
            info.cJobs = r.jobs;
            info.AveragePPM = r.averagePpm;
            if (slot) std::memcpy(slot, &info, sizeof info);
            break;
        }
        case 4: {
            PRINTER_INFO_4A info = {};
            info.pPrinterName = p.Text(r.name, false);
            info.pServerName = p.Text(r.server);
            info.Attributes = r.attributes;
            if (slot) std::memcpy(slot, &info, sizeof info);
            break;
        }
        case 5: {
            PRINTER_INFO_5A info = {};
            info.pPrinterName = p.Text(r.name, false);
            info.pPortName = p.Text(r.port);
            info.Attributes = r.attributes;
            info.DeviceNotSelectedTimeout = r.notSelectedTimeout;
            info.TransmissionRetryTimeout = r.retryTimeout;
            if (slot) std::memcpy(slot, &info, sizeof info);
            break;
        }
        default:
            break;
    }
}

PrinterRecord ReadPrinterRecord(const BYTE* entry, DWORD level) {
    PrinterRecord r;
    if (level == 1) {
        const PRINTER_INFO_1A* info = reinterpret_cast<const PRINTER_INFO_1A*>(entry);
        r.flags = info->Flags;
        r.description = TextOf(info->pDescription);
        r.name = TextOf(info->pName);
        r.comment = TextOf(info->pComment);
    } else if (level == 2) {
        const PRINTER_INFO_2A* info = reinterpret_cast<const PRINTER_INFO_2A*>(entry);
        r.server = TextOf(info->pServerName);
        r.name = TextOf(info->pPrinterName);
        r.share = TextOf(info->pShareName);
        r.port = TextOf(info->pPortName);
        r.driver = TextOf(info->pDriverName);
        r.comment = TextOf(info->pComment);
        r.location = TextOf(info->pLocation);
        if (info->pDevMode != nullptr) {
            const BYTE* dm = reinterpret_cast<const BYTE*>(info->pDevMode);
            r.devMode.assign(dm, dm + info->pDevMode->dmSize + info->pDevMode->dmDriverExtra);
        }
        r.sepFile = TextOf(info->pSepFile);
        r.printProcessor = TextOf(info->pPrintProcessor);
        r.datatype = TextOf(info->pDatatype);
        r.parameters = TextOf(info->pParameters);
        r.attributes = info->Attributes;
        r.priority = info->Priority;
        r.defaultPriority = info->DefaultPriority;
        r.startTime = info->StartTime;
        r.untilTime = info->UntilTime;
        r.status = info->Status;
        r.jobs = info->cJobs;
        r.averagePpm = info->AveragePPM;
    } else if (level == 4) {
        const PRINTER_INFO_4A* info = reinterpret_cast<const PRINTER_INFO_4A*>(entry);
        r.name = TextOf(info->pPrinterName);
        r.server = TextOf(info->pServerName);
        r.attributes = info->Attributes;
    } else if (level == 5) {
        const PRINTER_INFO_5A* info = reinterpret_cast<const PRINTER_INFO_5A*>(entry);
        r.name = TextOf(info->pPrinterName);
        r.port = TextOf(info->pPortName);
        r.attributes = info->Attributes;
        r.notSelectedTimeout = info->DeviceNotSelectedTimeout;
        r.retryTimeout = info->TransmissionRetryTimeout;
    }
    return r;
}

// With a buffer too small the spooler writes nothing and reports the size it needs.
BOOL FinishPacking(size_t bytes, DWORD size, DWORD* needed) {
    if (needed) *needed = static_cast<DWORD>(bytes);
    if (bytes > size) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    return TRUE;
}

}  // namespace

bool IsPrinterLevelPacked(DWORD level) {
    return PrinterStructSize(level) != 0;
}

std::vector<PrinterRecord> ReadPrinterRecords(const BYTE* buffer, DWORD count, DWORD level) {
    std::vector<PrinterRecord> records;
    size_t step = PrinterStructSize(level);
    for (DWORD i = 0; i < count && step != 0; ++i)
        records.push_back(ReadPrinterRecord(buffer + i * step, level));
    return records;
}

PrinterRecord RecordOfServerPrinter(const ServerPrinter& printer) {
    const ServerPrinterConfig& c = printer.config;
    PrinterRecord r;
    r.flags = PRINTER_ENUM_ICON8;
    r.description = c.name + "," + c.driver + "," + c.location;
    r.server = c.server;
    r.name = c.name;
    r.share = c.share;
    r.port = c.port;
    r.driver = c.driver;
    r.comment = c.comment;
    r.location = c.location;
    r.printProcessor = printer.printProcessor;
    r.datatype = printer.datatype;
    r.attributes = c.attributes | PRINTER_ATTRIBUTE_NETWORK;
    r.priority = 1;
    r.defaultPriority = 1;
    r.notSelectedTimeout = 15000;
    r.retryTimeout = 45000;
    return r;
}

BOOL PackPrinterRecords(const std::vector<PrinterRecord>& records, DWORD level, BYTE* buffer, DWORD size,
                        DWORD* needed) {
    size_t step = PrinterStructSize(level);
    Packer measure(nullptr, step * records.size());
    for (const PrinterRecord& r : records) PackPrinter(r, level, nullptr, measure);
    if (!FinishPacking(measure.Used(), buffer ? size : 0, needed)) return FALSE;
    Packer write(buffer, step * records.size());
    for (size_t i = 0; i < records.size(); ++i) PackPrinter(records[i], level, buffer + i * step, write);
    return TRUE;
}

BOOL PackJobs(const std::vector<SimulatedJob>& jobs, const std::string& printer, BYTE* buffer, DWORD size,
              DWORD* needed) {
    const size_t step = sizeof(JOB_INFO_1A);
    for (int pass = 0; pass < 2; ++pass) {
        BYTE* out = pass == 0 ? nullptr : buffer;
        Packer p(out, step * jobs.size());
        for (size_t i = 0; i < jobs.size(); ++i) {
            JOB_INFO_1A info = {};
            info.JobId = jobs[i].id;
            info.pPrinterName = p.Text(printer, false);
            info.pUserName = p.Text("tester");
            info.pDocument = p.Text(jobs[i].document);
            info.pDatatype = p.Text("RAW");
            info.Status = jobs[i].status;
            info.Priority = 1;
            info.Position = static_cast<DWORD>(i + 1);
            info.TotalPages = 1;
            if (out) std::memcpy(out + i * step, &info, sizeof info);
        }
        if (pass == 0 && !FinishPacking(p.Used(), buffer ? size : 0, needed)) return FALSE;
    }
    return TRUE;
}
