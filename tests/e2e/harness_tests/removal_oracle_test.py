"""The removal oracle (tools/e2e/removal_oracle.py) on hand-made dumps, reports and logs."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "tools", "e2e"))
import removal_oracle as oracle  # noqa: E402


def rec(kind, name, scope="", outcome="removed", detail=""):
    return oracle.Record(kind, name, scope, outcome, detail)


PRINT = r"HKLM\SYSTEM\CurrentControlSet\Control\Print"
LASER = "printer Quellan Laser 5 | driver=QLN | port=LPT1: | processor=winprint | attributes=0x0"
OFFICE = "printer Quellan Laser 5 (Office) | driver=QLN | port=FILE: | processor=winprint | attributes=0x0"
QLN_INI = r"C:\windows\qln.ini"

# (dump line, record, whether the record answers for a change of the line)
OWNERSHIP = [
    # a printer: its line, data, keys and per-user entries; not a printer whose name begins the same
    (LASER, rec("printer", "Quellan Laser 5"), True),
    (OFFICE, rec("printer", "Quellan Laser 5"), False),
    ("printer-data Quellan Laser 5 | UniqueID = sz:{1}", rec("printer", "Quellan Laser 5"), True),
    ("key " + PRINT + r"\Printers\Quellan Laser 5\PrinterDriverData", rec("printer", "Quellan Laser 5"), True),
    ("key " + PRINT + r"\Printers\Quellan Laser 5 (Office)", rec("printer", "Quellan Laser 5"), False),
    (r"value HKCU\Software\Microsoft\Windows NT\CurrentVersion\Devices | Quellan Laser 5 = sz:winspool,LPT1:",
     rec("printer", "Quellan Laser 5"), True),
    ("ini win.ini | [PrinterPorts] Quellan Laser 5=wineps.drv,LPT1:,15,45", rec("printer", "Quellan Laser 5"), True),
    ("ini win.ini | [Devices] Quellan Laser 5=wineps.drv,LPT1:",
     rec("registry-value", "Quellan Laser 5", r"HKCU\Software\Microsoft\Windows NT\CurrentVersion\Devices"), True),
    ("ini win.ini | [Devices] Quellan Laser 5=wineps.drv,LPT1:",
     rec("registry-value", "Quellan Laser 5", r"HKCU\Software\Microsoft\Windows NT\CurrentVersion\PrinterPorts"),
     False),
    # a printer moved to WinPrint or made the default changes; the default printer's removal moves it
    (LASER, rec("printer-processor", "Quellan Laser 5", "QLNPROC", "done"), True),
    ("default-printer Zeta", rec("default-printer", "Zeta", outcome="done"), True),
    ("default-printer Zeta", rec("printer", "Old Default"), True),
    ("default-printer Zeta", rec("printer", "Another"), False),
    ("ini win.ini | [windows] device=Zeta,winspool,LPT2:", rec("default-printer", "Zeta", outcome="done"), True),
    # the name ends at the driver and port, the last two fields: it may hold commas of its own
    ("ini win.ini | [windows] device=Zeta, 2nd floor,winspool,LPT2:",
     rec("default-printer", "Zeta, 2nd floor", outcome="done"), True),
    ("ini win.ini | [windows] device=Zeta, 2nd floor,winspool,LPT2:", rec("default-printer", "Zeta", outcome="done"),
     False),
    # drivers by environment; a record without one is the spooler's own
    ("driver Windows x64 | QLN | files=QLN.DLL", rec("driver", "QLN", "Windows x64"), True),
    ("driver Windows x64 | QLN | files=QLN.DLL", rec("driver", "QLN"), True),
    ("driver Windows 4.0 | QLN | files=QLN.DLL", rec("driver", "QLN", "Windows x64"), False),
    ("key " + PRINT + r"\Environments\Windows x64\Drivers\Version-3\QLN", rec("driver", "QLN"), True),
    ("key " + PRINT + r"\Environments\Windows x64\Drivers\Version-3\QLN Two", rec("driver", "QLN"), False),
    ("monitor Quellan Port Monitor | qlnmon.dll", rec("monitor", "Quellan Port Monitor"), True),
    ("processor Windows x64 | QLNPROC", rec("processor", "QLNPROC", "Windows x64"), True),
    ("service QLNSpool | type=16 | start=3 | image=x | state=stopped", rec("service", "QLNSpool"), True),
    (r"key HKLM\SYSTEM\CurrentControlSet\Services\QLNSpool", rec("service", "QLNSpool"), True),
    (r"key HKLM\SYSTEM\CurrentControlSet\Services\QLNSpooler", rec("service", "QLNSpool"), False),
    # registry entries: a key record owns the key and its values, a tree all below it, a value itself;
    # roots and case are spelled either way
    (r"key HKLM\SOFTWARE\TOVARI QUELLAN\Laser", rec("registry-key", r"HKLM\SOFTWARE\TOVARI QUELLAN\Laser"), True),
    (r"value HKLM\SOFTWARE\TOVARI QUELLAN\Laser | Model = sz:5",
     rec("registry-key", r"HKEY_LOCAL_MACHINE\Software\Tovari Quellan\Laser"), True),
    (r"key HKLM\SOFTWARE\TOVARI QUELLAN\Laser\Trays", rec("registry-key", r"HKLM\SOFTWARE\TOVARI QUELLAN\Laser"),
     False),
    (r"key HKLM\SOFTWARE\TOVARI QUELLAN\Laser\Trays", rec("registry-tree", r"HKLM\SOFTWARE\TOVARI QUELLAN\Laser"),
     True),
    (r"key HKLM\SOFTWARE\TOVARI QUELLAN\LaserJet", rec("registry-tree", r"HKLM\SOFTWARE\TOVARI QUELLAN\Laser"),
     False),
    (r"value HKLM\SOFTWARE\TOVARI QUELLAN\Status | Interval = dword:30",
     rec("registry-value", "Interval", r"HKLM\SOFTWARE\TOVARI QUELLAN\Status"), True),
    (r"value HKLM\SOFTWARE\TOVARI QUELLAN\Status | Version = sz:5.10",
     rec("registry-value", "Interval", r"HKLM\SOFTWARE\TOVARI QUELLAN\Status"), False),
    (r"value HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run | QLNStatus = sz:x",
     rec("run-value", "QLNStatus", r"HKLM\Software\Microsoft\Windows\CurrentVersion\Run"), True),
    (r"key HKLM\SOFTWARE\Classes\{5B3C}\Sub", rec("uniqueid-key", "{5B3C}", "HKCR"), True),
    (r"key HKLM\SOFTWARE\Classes\{5B3C0}", rec("uniqueid-key", "{5B3C}", "HKCR"), False),
    # INI entries: the entry's line in its file and the file's size; not a longer key or another file
    ("ini %s | [Printers] Laser=QLNLSR.DLL" % QLN_INI, rec("ini-entry", "[Printers] Laser", QLN_INI), True),
    ("ini %s | [Printers] LaserPort=LPT1:" % QLN_INI, rec("ini-entry", "[Printers] Laser", QLN_INI), False),
    (r"ini C:\windows\other.ini | [Printers] Laser=x", rec("ini-entry", "[Printers] Laser", QLN_INI), False),
    ("file %s | 28 bytes" % QLN_INI, rec("ini-entry", "[Printers] Laser", QLN_INI), True),
    (r"ini win.ini | [windows] load=QLNA.EXE", rec("load-entry", "QLNB.EXE", "win.ini [windows] load"), True),
    # files, shortcuts and groups by full path, ignoring case
    (r"file C:\windows\system32\QLNUTIL.DLL | 3 bytes", rec("file", r"c:\WINDOWS\system32\qlnutil.dll"), True),
    (r"file C:\windows\system32\QLNUTIL.DLL.BAK | 3 bytes", rec("file", r"C:\windows\system32\QLNUTIL.DLL"), False),
    (r"file C:\users\root\Start Menu\Q\Setup.lnk | 9 bytes", rec("shortcut", r"C:\users\root\Start Menu\Q\Setup.lnk"),
     True),
    (r"dir C:\users\root\Start Menu\Q", rec("group", r"C:\users\root\Start Menu\Q"), True),
    (r"dir C:\QUELLAN\OEM01", rec("directory", "C:\\QUELLAN\\OEM01\\"), True),
    # a deferred deletion answers for its pending entry, and its mechanism for what it writes
    (r"pending delete C:\windows\system32\QLNFILE.DLL",
     rec("file", r"C:\windows\system32\QLNFILE.DLL", outcome="deferred", detail="MoveFileEx"), True),
    (r"value HKLM\SYSTEM\CurrentControlSet\Control\Session Manager | PendingFileRenameOperations = multi:x",
     rec("file", r"C:\x", outcome="deferred", detail="MoveFileEx"), True),
    (r"ini C:\windows\wininit.ini | [rename] NUL=C:\QUELLA~1\QLNFILE.DLL",
     rec("file", r"C:\Quellan Printers\QLNFILE.DLL", outcome="deferred", detail="WININIT.INI"), True),
    (r"file C:\windows\wininit.ini | 40 bytes", rec("file", r"C:\x", outcome="deferred", detail="MoveFileEx"), False),
    (r"file C:\windows\wininit.bak | 40 bytes", rec("file", r"C:\x", outcome="deferred", detail="WININIT.INI"), True),
    (r"ini C:\Uninstall\zwininit.ini | [RENAME] C:\X.DLL=NUL",
     rec("file", r"C:\X.DLL", outcome="deferred", detail="zwininit.ini"), True),
    # only outcomes that change the machine answer for a change
    (LASER, rec("printer", "Quellan Laser 5", outcome="kept", detail="in use"), False),
    (LASER, rec("printer", "Quellan Laser 5", outcome="failed"), False),
    (LASER, rec("printer", "Quellan Laser 5", outcome="not present"), False),
    (LASER, rec("printer", "Quellan Laser 5", outcome="present"), True),
]

SPOOLER_KEYS = ["key " + PRINT + r"\Printers\Quellan Laser 5", LASER,
                r"value HKCU\Software\Microsoft\Windows NT\CurrentVersion\Devices | Quellan Laser 5 = sz:x"]
HOOK = rec("hook", r"C:\Uninstall\QHOOKB.DLL", outcome="present", detail="RecordHook")
DRIVER_COPIES = ["driver Windows 4.0 | QLN | files=QLN.DLL", "driver Windows x64 | QLN | files=QLN.DLL"]
PRESENT_LASER = rec("printer", "Quellan Laser 5", outcome="present")

# (case, before, after, report, log, texts the findings hold; none when the removal holds)
REMOVALS = [
    ("gone as the report said", SPOOLER_KEYS, [], [PRESENT_LASER], [rec("printer", "Quellan Laser 5")], []),
    ("still there though the log says removed", SPOOLER_KEYS, SPOOLER_KEYS, [PRESENT_LASER],
     [rec("printer", "Quellan Laser 5")], ["it is still there and the log says removed"]),
    ("still there, deferred", SPOOLER_KEYS, SPOOLER_KEYS, [PRESENT_LASER],
     [rec("printer", "Quellan Laser 5", outcome="deferred", detail="MoveFileEx")], []),
    ("still there, kept with a reason", SPOOLER_KEYS, SPOOLER_KEYS, [PRESENT_LASER],
     [rec("printer", "Quellan Laser 5", outcome="kept", detail="refused by the spooler")], []),
    ("still there, the failure logged", SPOOLER_KEYS, SPOOLER_KEYS, [PRESENT_LASER],
     [rec("printer", "Quellan Laser 5", outcome="failed")], []),
    ("still there, kept without a reason", SPOOLER_KEYS, SPOOLER_KEYS, [PRESENT_LASER],
     [rec("printer", "Quellan Laser 5", outcome="kept")], ["still there and the log says kept"]),
    ("the spooler's own copy went, another environment's stays", DRIVER_COPIES, DRIVER_COPIES[1:],
     [rec("driver", "QLN", outcome="present")], [rec("driver", "QLN")], []),
    ("no environment's copy went", DRIVER_COPIES, DRIVER_COPIES, [rec("driver", "QLN", outcome="present")],
     [rec("driver", "QLN")], ["it is still there and the log says removed"]),
    ("not in the dumps, the log says done", [], [], [HOOK], [rec("hook", HOOK.name, outcome="done")], []),
    ("not in the dumps, the log is silent", [], [], [HOOK], [], ["the log says nothing of it"]),
    ("removed what the report did not list", [], [], [], [rec("file", r"C:\windows\QLNREAD.TXT")],
     ['the log says removed file "C:\\windows\\QLNREAD.TXT", which the report does not list']),
    ("a folder the removal emptied", [r"dir C:\QUELLAN\OEM01"], [], [], [rec("directory", r"C:\QUELLAN\OEM01")], []),
    ("a change nobody names", [r"file C:\windows\system32\OTHER.DLL | 5 bytes"], [], [], [],
     ["named by neither the report nor the log:\n    - file C:\\windows\\system32\\OTHER.DLL | 5 bytes"]),
    ("a line appears that nobody names", [], [r"key HKCU\Software\Other"], [], [], ["+ key HKCU\\Software\\Other"]),
    ("one key spelled two ways, unchanged", [r"key HKLM\Software\Q", r"key HKLM\SOFTWARE\Q"],
     [r"key HKLM\SOFTWARE\Q"], [], [], []),
]


# A printer on its driver and print processor and a port monitor, with the files they load.
ON_QLNPROC = "printer Quellan Laser 5 | driver=QLN | port=LPT1: | processor=QLNPROC | attributes=0x0"
DRIVER_FILE = r"file C:\windows\system32\spool\drivers\x64\3\QLN.DLL | 3 bytes"
PROCESSOR_DLL = r"file C:\windows\system32\spool\prtprocs\x64\qlnproc.dll | 3 bytes"
MONITOR_DLL = r"file C:\windows\system32\qlnmon.dll | 3 bytes"
PRINTING = [ON_QLNPROC, "driver Windows x64 | QLN | files=QLN.DLL", "processor Windows x64 | QLNPROC",
            "value " + PRINT + r"\Environments\Windows x64\Print Processors\QLNPROC | Driver = sz:qlnproc.dll",
            "monitor Quellan Port Monitor | qlnmon.dll", DRIVER_FILE, PROCESSOR_DLL, MONITOR_DLL,
            r"file C:\QUELLAN\OEM01\QLN.DLL | 3 bytes"]

# (case, lines gone, lines added, texts the findings hold; none when everything still loads)
BROKEN = [
    ("all there", [], [], []),
    ("an OEM copy of a driver file gone", [r"file C:\QUELLAN\OEM01\QLN.DLL | 3 bytes"], [], []),
    ("the printer gone with its files", [ON_QLNPROC, DRIVER_FILE, PROCESSOR_DLL], [], []),
    ("a driver file gone", [DRIVER_FILE], [], ["printer Quellan Laser 5 stays without c:\\windows\\system32\\spool"]),
    ("the driver gone", ["driver Windows x64 | QLN | files=QLN.DLL"], [], ["stays without its driver QLN"]),
    ("the processor's DLL left for the restart", [], [r"pending delete C:\windows\system32\spool\prtprocs\x64\qlnproc.dll"],
     ["printer Quellan Laser 5 stays without c:\\windows\\system32\\spool\\prtprocs\\x64\\qlnproc.dll"]),
    ("the processor gone", ["processor Windows x64 | QLNPROC"], [], ["its print processor QLNPROC"]),
    ("the monitor's DLL gone", [MONITOR_DLL], [], ["monitor Quellan Port Monitor stays without"]),
]


class OwnershipTest(unittest.TestCase):
    def test_which_records_answer_for_a_line(self):
        for line, record, expected in OWNERSHIP:
            with self.subTest(line=line, record=record):
                answers = oracle.Explanations([record])
                got = any(answers.answers(o) for o in oracle.line_owners(line, default="Old Default"))
                self.assertEqual(got, expected)


class CheckTest(unittest.TestCase):
    def test_removals(self):
        for case, before, after, report, log, texts in REMOVALS:
            with self.subTest(case):
                findings = "\n".join(oracle.check(before, after, report, log))
                if not texts:
                    self.assertEqual(findings, "")
                for text in texts:
                    self.assertIn(text, findings)

    def test_unlisted_lines_are_left_to_the_scenario(self):
        before = [r"ini C:\Uninstall\calls.ini | [QHOOKB.DLL] calls=1"]
        self.assertEqual(oracle.check([], before, [], [], unlisted=[r"ini C:\Uninstall\calls.ini"]), [])

    def test_without_a_report_only_the_log_names_changes(self):
        self.assertEqual(oracle.check([LASER], [], None, [rec("printer", "Quellan Laser 5")]), [])

    def test_a_removal_cut_short_may_leave_listed_objects_but_change_nothing_else(self):
        self.assertEqual(oracle.check(SPOOLER_KEYS, SPOOLER_KEYS, [PRESENT_LASER], [], partial=True), [])
        findings = oracle.check(SPOOLER_KEYS, [], [], [], partial=True)
        self.assertIn("named by neither the report nor the log", "\n".join(findings))

    def test_what_stays_still_has_what_it_loads(self):
        for case, gone, added, texts in BROKEN:
            with self.subTest(case):
                after = [line for line in PRINTING if line not in gone] + added
                findings = "\n".join(oracle.broken_remains(PRINTING, after))
                if not texts:
                    self.assertEqual(findings, "")
                for text in texts:
                    self.assertIn(text, findings)


class InputTest(unittest.TestCase):
    def test_log_lines(self):
        lines = [
            ('10:00:01  printers  printer "Quellan Laser 5": removed', rec("printer", "Quellan Laser 5")),
            ('10:00:02  drivers  driver "QLN" (Windows x64): kept: in use by Quellan Ink 2 (error 3001)',
             rec("driver", "QLN", "Windows x64", "kept", "in use by Quellan Ink 2")),
            ('2024-05-01 10:00:03  files  file "C:\\a b\\x.dll": deferred: MoveFileEx (error 32)',
             rec("file", "C:\\a b\\x.dll", "", "deferred", "MoveFileEx")),
            ('10:00:04  printers  printer "A "quoted" name": not present',
             rec("printer", 'A "quoted" name', "", "not present")),
            ("10:00:05  exit code 3010", None),
        ]
        for line, expected in lines:
            with self.subTest(line=line):
                self.assertEqual(oracle.parse_log(line), [expected] if expected else [])

    def test_report_objects_by_kind(self):
        text = ('{"printers": {"selected": [], "remaining": []}, "objects": {"driver": [{"name": "QLN", '
                '"outcome": "present", "scope": "Windows x64", "step": "drivers"}], "hook": [{"name": "H.DLL", '
                '"outcome": "present", "detail": "Export"}]}, "exitCode": 0}')
        self.assertEqual(oracle.parse_report(text), [rec("driver", "QLN", "Windows x64", "present"),
                                                     rec("hook", "H.DLL", "", "present", "Export")])

    def test_same_dumps(self):
        with tempfile.TemporaryDirectory() as d:
            paths = []
            for name, text in (("a", "key X\n"), ("b", "key X\n"), ("c", "key X\nkey Y\n")):
                paths.append(os.path.join(d, name))
                with open(paths[-1], "w") as f:
                    f.write(text)
            self.assertEqual(oracle.main(["same", paths[0], paths[1]]), 0)
            self.assertEqual(oracle.main(["same", paths[0], paths[2]]), 1)


if __name__ == "__main__":
    unittest.main()
