#!/usr/bin/env python3
"""Holds a removal to its dry-run report and its action log, on the machine dumps taken around it.

  removal_oracle.py check --before B --after A [--report R.json] [--log L] [--scenario S.scn]
                          [--partial] [--intact]
  removal_oracle.py same B A            the two dumps are equal (a report run, or a run that failed
                                        before removing anything, changed nothing)

B and A are dump files (qe2e_dump's lines; several files each, comma-separated, for the scenario
dump and the whole-machine audit). The check fails, one line per finding, when
  - an object the report lists as present is still on the machine after the removal and the log
    does not say it was deferred, kept with a reason or failed (an object the dumps cannot show
    must be in the log with what became of it);
  - the log says the removal removed or deferred an object the report did not list;
  - a line differs between the dumps and belongs to no object that the report lists as present or
    the log records as removed, deferred or done. The scenario's [report] section may name lines
    ("unlisted = LINE-START ; reason") that change by a program the tool only starts, such as a hook.
With --partial (a removal that a failure cut short, fault-table.sh) the first check is left out:
listed objects may stay, but nothing may change that the report and the log do not name. With
--intact, every printer and port monitor still installed afterwards must also still have what it
loads: its driver with the driver's files, its print processor with its DLL, the monitor's DLL
(files of the system directory tree that were there before, none of them left for deletion at the
restart).
Exit status: 0 all hold, 1 a finding, 2 an input cannot be read.
"""
import argparse
import json
import re
import sys
from collections import namedtuple

# One object the removal looked at, from the report or a log line; name and scope as written.
Record = namedtuple("Record", "kind name scope outcome detail")
# An object a dump line belongs to. gone: removing the object takes the line away; otherwise the
# object's removal may only change it (a printer moved to WinPrint, a new default printer).
Owner = namedtuple("Owner", "kind name scope gone")

OUTCOMES = ("present", "removed", "deferred", "kept", "not present", "failed", "done")
EXPLAINS = ("present", "removed", "deferred", "done")
# Kinds whose removal the dry run cannot foresee: a folder the files step empties goes with them.
UNFORESEEN = {"directory"}
# Kinds whose removal Wine does not show, so the log's word is taken: DeletePrintProcessorA removes
# nothing there, and the key the tool deletes after it is the 32-bit spooler's ("Windows NT x86"),
# which the 64-bit test build's spooler does not use.
TAKEN_FROM_LOG = {"processor"}

GONE, CHANGED = True, False
PRINT = r"hklm\\system\\currentcontrolset\\control\\print"

# The objects a machine dump line belongs to, by line form (see tools/e2e/StateDump.h). Patterns
# match the line ignoring case; owners name a record kind, its object and its scope with {group}
# references ({default} is the default printer before the removal). "*" stands for any object.
# "@deferred" stands for any record deferred by the mechanism its name gives.
LINE_OWNERS = [
    (r"printer (?P<p>.+?) \| driver=", [("printer", "{p}", None, GONE), ("connection", "{p}", None, GONE),
                                        ("printer-processor", "{p}", None, CHANGED),
                                        ("default-printer", "{p}", None, CHANGED)]),
    (r"printer-data (?P<p>.+?) \| ", [("printer", "{p}", None, GONE), ("connection", "{p}", None, GONE)]),
    (r"default-printer (?P<p>.+)", [("default-printer", "{p}", None, CHANGED), ("printer", "{p}", None, CHANGED),
                                    ("printer", "{default}", None, CHANGED)]),
    (r"driver (?P<env>.+?) \| (?P<d>.+?) \| files=", [("driver", "{d}", "{env}", GONE)]),
    (r"monitor (?P<m>.+?) \| ", [("monitor", "{m}", None, GONE)]),
    (r"processor (?P<env>.+?) \| (?P<x>.+)", [("processor", "{x}", "{env}", GONE)]),
    (r"service (?P<s>.+?) \| ", [("service", "{s}", None, GONE), ("spooler", "{s}", None, CHANGED)]),
    # win.ini's [Devices] and [PrinterPorts] are values of the keys of those names under HKCU.
    (r"ini win\.ini \| \[(?P<sec>devices|printerports)\] (?P<p>[^=]*)=",
     [("printer", "{p}", None, GONE), ("connection", "{p}", None, GONE),
      ("registry-value", "{p}", r"HKCU\Software\Microsoft\Windows NT\CurrentVersion\{sec}", GONE)]),
    # "name,driver,port"; the name may hold commas of its own.
    (r"ini win\.ini \| \[windows\] device=(?P<p>.*?)(,[^,]*,[^,]*)?$", [("default-printer", "{p}", None, CHANGED),
                                                          ("printer", "{p}", None, CHANGED),
                                                          ("printer", "{default}", None, CHANGED)]),
    (r"ini win\.ini \| \[windows\] (load|run)=", [("load-entry", "*", None, CHANGED)]),
    # WININIT.INI holds short (8.3) paths, which name no record: the mechanism answers for its lines.
    (r"ini .*\\wininit\.ini \| ", [("@deferred", "WININIT.INI", None, CHANGED)]),
    (r"ini .*\\zwininit\.ini \| \[rename\] (?P<f>[^=]*)=", [("@deferred", "zwininit.ini", None, CHANGED),
                                                            ("file", "{f}", None, CHANGED)]),
    (r"ini (?P<f>.+?) \| \[(?P<s>[^]]*)\] (?P<k>[^=]*)=", [("ini-entry", "[{s}] {k}", "{f}", GONE)]),
    (r"pending delete (?P<f>.+)", [("file", "{f}", None, CHANGED), ("shortcut", "{f}", None, CHANGED),
                                   ("directory", "{f}", None, CHANGED)]),
    (r"pending rename (?P<f>.+?) -> ", [("file", "{f}", None, CHANGED)]),
    (r"dir (?P<f>.+)", [("directory", "{f}", None, GONE), ("group", "{f}", None, GONE)]),
    # Windows 9x renames WININIT.INI to WININIT.BAK once it has carried it out.
    (r"file .*\\wininit\.(ini|bak) \| ", [("@deferred", "WININIT.INI", None, CHANGED)]),
    (r"file .*\\zwininit\.ini \| ", [("@deferred", "zwininit.ini", None, CHANGED)]),
    (r"file (?P<f>.+?) \| \d+ bytes", [("file", "{f}", None, GONE), ("shortcut", "{f}", None, GONE),
                                       ("ini-entry", "*", "{f}", CHANGED)]),
]

# Registry keys of the spooler's objects, matched on the key's path (a key at or below them, and its
# values) or, with "|", on "key|value". Generic keys and values are owned by the registry records
# that name them or a key above them (registry_owners).
REGISTRY_OWNERS = [
    (PRINT + r"\\printers\\(?P<p>[^\\|]+)", [("printer", "{p}", None, GONE), ("connection", "{p}", None, GONE),
                                             ("printer-processor", "{p}", None, CHANGED),
                                             ("default-printer", "{p}", None, CHANGED)]),
    (PRINT + r"\\environments\\(?P<env>[^\\|]+)\\drivers\\version-\d+\\(?P<d>[^\\|]+)",
     [("driver", "{d}", "{env}", GONE)]),
    (PRINT + r"\\environments\\(?P<env>[^\\|]+)\\print processors\\(?P<x>[^\\|]+)",
     [("processor", "{x}", "{env}", GONE)]),
    (PRINT + r"\\monitors\\(?P<m>[^\\|]+)", [("monitor", "{m}", None, GONE)]),
    (r"hklm\\system\\currentcontrolset\\services\\(?P<s>[^\\|]+)", [("service", "{s}", None, GONE)]),
    (r"hkcu\\software\\microsoft\\windows nt\\currentversion\\(devices|printerports)\|(?P<p>.+)",
     [("printer", "{p}", None, GONE), ("connection", "{p}", None, GONE)]),
    (r"hkcu\\software\\microsoft\\windows nt\\currentversion\\windows\|device",
     [("default-printer", "*", None, CHANGED), ("printer", "{default}", None, CHANGED)]),
    (r"hkcu\\software\\microsoft\\windows nt\\currentversion\\windows\|(load|run)",
     [("load-entry", "*", None, CHANGED)]),
    (r"hklm\\system\\currentcontrolset\\control\\session manager\|pendingfilerenameoperations",
     [("@deferred", "MoveFileEx", None, CHANGED)]),
]

# How a record's name and scope are compared with an owner's: paths ignoring case, registry paths
# with their root spelled one way, a registry value as "key|value".
ROOTS = {"hkey_local_machine": "hklm", "hkey_current_user": "hkcu", "hkey_classes_root": "hkcr",
         "hkey_users": "hku"}
REGISTRY_NAME_KINDS = {"registry-key", "registry-tree"}
REGISTRY_VALUE_KINDS = {"registry-value", "run-value"}


def registry_path(text):
    """A registry path in one spelling: short root, lower case, HKCR as Wine stores it."""
    path = text.strip().rstrip("\\").lower()
    root, _, rest = path.partition("\\")
    root = ROOTS.get(root, root)
    if root == "hkcr":
        root, rest = "hklm\\software\\classes", rest
    return root + ("\\" + rest if rest else "")


def record_key(kind, name, scope):
    """The (kind, name, scope) under which a record or an owner is looked up."""
    kind = kind.lower()
    if kind in REGISTRY_NAME_KINDS:
        return kind, registry_path(name), ""
    if kind == "uniqueid-key":  # the removal of the tree HKCR\ID
        return "registry-tree", registry_path((scope or "HKCR") + "\\" + name), ""
    if kind in REGISTRY_VALUE_KINDS:
        return kind, registry_path(scope or "") + "|" + name.lower(), ""
    return kind, name.lower().rstrip("\\"), (scope or "").lower()


def key_of(obj):
    return record_key(obj.kind, obj.name, obj.scope or "")


def parse_report(text):
    """The report's objects: {"objects": {kind: [{name, outcome, scope, detail}, ...]}, ...}."""
    report = json.loads(text)
    records = []
    for kind, rows in report.get("objects", {}).items():
        for row in rows:
            records.append(Record(kind, row.get("name", ""), row.get("scope", ""), row.get("outcome", ""),
                                  row.get("detail", "")))
    return records


LOG_LINE = re.compile(r'^(?P<time>.*?)  (?P<step>\S+)  (?P<kind>[a-z-]+) "(?P<name>.*)"(?: \((?P<scope>.*?)\))?: '
                      r'(?P<outcome>' + "|".join(OUTCOMES) + r')(?:: (?P<detail>.*?))?(?: \(error \d+\))?$')


def parse_log(text):
    """Action-log lines ("time  step  kind "object" (scope): outcome: detail (error N)"); other lines
    (answers, the exit code) are skipped."""
    records = []
    for line in text.splitlines():
        m = LOG_LINE.match(line.rstrip("\r"))
        if m:
            records.append(Record(m["kind"], m["name"], m["scope"] or "", m["outcome"], m["detail"] or ""))
    return records


def _expand(owners, groups):
    out = []
    for kind, name, scope, gone in owners:
        out.append(Owner(kind, name.format(**groups), scope.format(**groups) if scope else None, gone))
    return out


def registry_owners(path, value, default):
    """Owners of a "key PATH" line (value None) or a "value PATH | VALUE" line."""
    key = registry_path(path)
    target = key + ("|" + value.lower() if value is not None else "")
    owners = []
    for pattern, rows in REGISTRY_OWNERS:
        m = re.match(pattern + r"(?=$|\\|\|)", target)
        if m:
            owners += _expand(rows, dict(m.groupdict(), default=default))
    parts = key.split("\\")
    for i in range(1, len(parts) + 1):
        above = "\\".join(parts[:i])
        owners.append(Owner("registry-tree", above, None, GONE))
    owners.append(Owner("registry-key", key, None, GONE))
    if value is not None:
        owners += [Owner(kind, value, key, GONE) for kind in REGISTRY_VALUE_KINDS]
    return owners


def line_owners(line, default=""):
    """The objects a dump line belongs to."""
    m = re.match(r"key (?P<k>.+)$", line)
    if m:
        return registry_owners(m["k"], None, default)
    m = re.match(r"value (?P<k>.+?) \| (?P<v>.+?) = ", line)
    if m:
        return registry_owners(m["k"], "" if m["v"] == "@" else m["v"], default)
    owners = []
    for pattern, rows in LINE_OWNERS:
        m = re.match(pattern, line, re.IGNORECASE)
        if m:
            owners += _expand(rows, dict(m.groupdict(), default=default))
    return owners


class Explanations:
    """The records that may answer for a change, looked up by kind and name."""

    def __init__(self, records):
        self.by_name, self.by_kind, self.deferred = {}, {}, set()
        for r in records:
            if r.outcome not in EXPLAINS:
                continue
            kind, name, scope = key_of(r)
            self.by_name.setdefault((kind, name), set()).add(scope)
            self.by_kind.setdefault(kind, set()).add(scope)
            if r.outcome == "deferred":
                self.deferred.add(r.detail.lower())

    def answers(self, owner):
        if owner.kind == "@deferred":
            return owner.name.lower() in self.deferred
        kind, name, scope = key_of(owner)
        scopes = self.by_kind.get(kind, ()) if owner.name == "*" else self.by_name.get((kind, name), ())
        return any(not scope or not s or s == scope for s in scopes)


def default_printer(lines):
    for line in lines:
        if line.startswith("default-printer "):
            return line[len("default-printer "):]
    return ""


def normalised(lines):
    """Dump lines keyed ignoring case: one key may be listed twice under two spellings of its path
    (the scenario's and the audit's)."""
    return {line.lower(): line for line in lines}


def same_object(a, b):
    """Whether two (kind, name, scope) keys name one object; an empty scope (the spooler's own
    environment) matches any."""
    return a[:2] == b[:2] and (not a[2] or not b[2] or a[2] == b[2])


def gone_index(lines, default, objects):
    """{(kind, name): [(scope, line)]}: the lines each object's removal takes away, of the lines that
    hold the last part of an object's name (every line an object owns does, and the whole-machine
    audit has some 35,000 lines)."""
    needles = {re.split(r"[\\|]", key_of(o)[1])[-1] for o in objects}
    index = {}
    for line in lines:
        low = line.lower()
        if not any(n in low for n in needles):
            continue
        for o in line_owners(line, default):
            if o.gone:
                kind, name, scope = key_of(o)
                index.setdefault((kind, name), []).append((scope, line))
    return index


def describe(r):
    return '%s "%s"%s' % (r.kind, r.name, " (%s)" % r.scope if r.scope else "")


def check(before, after, report, log, unlisted=(), partial=False):
    """Findings, one text each; before and after are lists of dump lines, report and log lists of
    Record (report None when the removal has none). partial: listed objects may stay."""
    findings = []
    default = default_printer(before)
    old, new = normalised(before), normalised(after)
    listed = [r for r in report or [] if r.outcome == "present"]
    index = gone_index(before, default, [] if partial else listed)
    for obj in [] if partial else listed:
        key = key_of(obj)
        by_scope = {}
        for scope, line in index.get(key[:2], []):
            if same_object(key, key[:2] + (scope,)):
                by_scope.setdefault(scope, []).append(line)
        if obj.kind in TAKEN_FROM_LOG:
            by_scope = {}
        lines = [line for scoped in by_scope.values() for line in scoped]
        left = [line for line in lines if line.lower() in new]
        # Without an environment the record is the spooler's own copy, which is one of them: the
        # environment whose lines all went (Windows 9x's own is "Windows 4.0", beside the test
        # spooler's "Windows x64" copy, which the tool does not see).
        if not key[2] and any(scope and not any(line.lower() in new for line in scoped)
                              for scope, scoped in by_scope.items()):
            left = []
        logged = [r for r in log if same_object(key, key_of(r))]
        outcomes = sorted({r.outcome for r in logged})
        # Still there is right when the log says why: deferred, kept with a reason, or failed (a
        # failure the log names is what a removal that cannot finish must leave).
        excused = bool({"deferred", "failed"} & set(outcomes)) or \
            any(r.outcome == "kept" and r.detail for r in logged)
        if lines and left and not excused:
            findings.append("the report lists %s as present; it is still there and the log says %s:\n    %s"
                            % (describe(obj), ", ".join(outcomes) or "nothing", "\n    ".join(left)))
        elif not lines and not {"removed", "deferred", "done"} & set(outcomes) and not excused:
            findings.append("the report lists %s as present; the log says %s"
                            % (describe(obj), ", ".join(outcomes) or "nothing of it"))

    if report is not None:
        listed_keys = [key_of(r) for r in listed]
        for r in log:
            if r.outcome in ("removed", "deferred") and r.kind not in UNFORESEEN and \
                    not any(same_object(key_of(r), k) for k in listed_keys):
                findings.append("the log says %s %s, which the report does not list" % (r.outcome, describe(r)))

    explanations = Explanations((report or []) + log)
    unexplained = []
    for sign, keys in (("-", sorted(set(old) - set(new))), ("+", sorted(set(new) - set(old)))):
        for k in keys:
            line = (old if sign == "-" else new)[k]
            if any(k.startswith(u.lower()) for u in unlisted):
                continue
            if not any(explanations.answers(o) for o in line_owners(line, default)):
                unexplained.append("%s %s" % (sign, line))
    if unexplained:
        findings.append("changed, and named by neither the report nor the log:\n    " + "\n    ".join(unexplained))
    return findings


def broken_remains(before, after):
    """Findings about printers and monitors that stay but lost a file they load (see --intact)."""
    system = re.compile(r"file (?P<path>[a-z]:\\windows\\system32\\.*?) \| ", re.IGNORECASE)

    def system_files(lines):
        found = {}
        for line in lines:
            m = system.match(line)
            if m:
                found.setdefault(m["path"].rsplit("\\", 1)[-1].lower(), set()).add(m["path"].lower())
        return found

    had, has = system_files(before), system_files(after)
    pending = {line[len("pending delete "):].lower() for line in after if line.startswith("pending delete ")}
    drivers, processors, monitors, processor_dlls = {}, set(), [], {}
    for line in after:
        m = re.match(r"driver [^|]+ \| (?P<d>.+?) \| files=(?P<f>.*)$", line)
        if m:
            drivers.setdefault(m["d"].lower(), set()).update(f.lower() for f in m["f"].split(",") if f)
        m = re.match(r"processor [^|]+ \| (?P<x>.+)$", line)
        if m:
            processors.add(m["x"].lower())
        m = re.match(r"monitor (?P<m>.+?) \| (?P<dll>.+)$", line)
        if m:
            monitors.append((m["m"], m["dll"].lower()))
        m = re.match(r"value .*\\print processors\\(?P<x>[^\\|]+) \| driver = sz:(?P<dll>.+)$", line, re.IGNORECASE)
        if m:
            processor_dlls.setdefault(m["x"].lower(), set()).add(m["dll"].lower())

    def lost(name):
        return sorted(p for p in had.get(name, ()) if p not in has.get(name, set()) or p in pending)

    findings = []
    for line in after:
        m = re.match(r"printer (?P<p>.+?) \| driver=(?P<d>.*?) \| .*processor=(?P<x>.*?) \|", line)
        if not m:
            continue
        what = []
        files = drivers.get(m["d"].lower())
        if files is None:
            what.append("its driver %s" % m["d"])
        for name in sorted(files or ()):
            what += lost(name)
        if m["x"].lower() not in processors:
            what.append("its print processor %s" % m["x"])
        for dll in sorted(processor_dlls.get(m["x"].lower(), ())):
            what += lost(dll)
        if what:
            findings.append("printer %s stays without %s" % (m["p"], ", ".join(what)))
    for monitor, dll in monitors:
        if lost(dll):
            findings.append("monitor %s stays without %s" % (monitor, ", ".join(lost(dll))))
    return findings


def read_lines(paths):
    lines = []
    for path in paths.split(","):
        with open(path, encoding="utf-8", errors="surrogateescape") as f:
            lines += [line.rstrip("\r\n") for line in f if line.strip()]
    return lines


def scenario_unlisted(path):
    """The [report] section's "unlisted = LINE-START" entries."""
    unlisted, inside = [], False
    with open(path, encoding="utf-8", errors="surrogateescape") as f:
        for raw in f:
            line = re.sub(r"\s+;.*$", "", raw.strip())
            if line.startswith("["):
                inside = line.lower() == "[report]"
            elif inside and "=" in line and line.split("=", 1)[0].strip().lower() == "unlisted":
                unlisted.append(line.split("=", 1)[1].strip())
    return unlisted


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    sub = parser.add_subparsers(dest="command", required=True)
    c = sub.add_parser("check")
    c.add_argument("--before", required=True)
    c.add_argument("--after", required=True)
    c.add_argument("--report")
    c.add_argument("--log")
    c.add_argument("--scenario")
    c.add_argument("--partial", action="store_true")
    c.add_argument("--intact", action="store_true")
    s = sub.add_parser("same")
    s.add_argument("before")
    s.add_argument("after")
    args = parser.parse_args(argv)
    try:
        if args.command == "same":
            before, after = read_lines(args.before), read_lines(args.after)
            findings = []
            if before != after:
                old, new = set(before), set(after)
                diff = ["- " + line for line in before if line not in new] + \
                    ["+ " + line for line in after if line not in old]
                findings.append("the run changed the machine:\n    " + "\n    ".join(diff))
        else:
            report = None
            if args.report:
                with open(args.report, encoding="utf-8") as f:
                    report = parse_report(f.read())
            log = []
            if args.log:
                with open(args.log, encoding="utf-8", errors="surrogateescape") as f:
                    log = parse_log(f.read())
            unlisted = scenario_unlisted(args.scenario) if args.scenario else []
            before, after = read_lines(args.before), read_lines(args.after)
            findings = check(before, after, report, log, unlisted, args.partial)
            if args.intact:
                findings += broken_remains(before, after)
    except (OSError, ValueError) as e:
        print("removal oracle: %s" % e, file=sys.stderr)
        return 2
    for f in findings:
        print(f)
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
