# SPDX-License-Identifier: GPL-3.0-or-later
"""plant_faults.py [--only IDS | --folder NAME] [--e2e] [--build DIR] --out FILE(.json|.tsv):
plants each fault of faults.tsv (id, folder, file, original, replacement,
description; tabs between, \\n \\t \\\\ escapes, # comments) in turn, builds,
runs the unit and window tests (-LE e2e; with --e2e then -L e2e, each stage only
when the one before passed) and says which stage and test caught it; then
restores the file. A row whose original does not occur exactly once is
"broken", one that does not compile "does not build"; neither counts.
"""

import argparse
import collections
import functools
import json
import os
import re
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
FAULTS = Path(__file__).resolve().with_name("faults.tsv")

STAGES = [("unit", ["-LE", "e2e", "--stop-on-failure", "-j2"]), ("e2e", ["-L", "e2e"])]
# CTest's TIMEOUT properties stop a hung test; these stop a stage or build that outlives them.
STAGE_TIMEOUT, BUILD_TIMEOUT = 3600, 1800


class Fault:
    def __init__(self, fields):
        self.id, self.folder, self.file, original, replacement, self.description = fields
        self.original, self.replacement = unescape(original), unescape(replacement)


def unescape(text):
    return re.sub(r"\\([nt\\])", lambda m: {"n": "\n", "t": "\t", "\\": "\\"}[m.group(1)], text)


def read_faults(path):
    faults, problems, seen = [], [], set()
    for number, raw in enumerate(path.read_text(encoding="utf-8").splitlines(), start=1):
        if not raw.strip() or raw.startswith("#"):
            continue
        fields = raw.split("\t")
        if len(fields) != 6 or fields[0] in seen:
            problem = f"{len(fields)} fields, not 6" if len(fields) != 6 else f"id {fields[0]} used twice"
            problems.append(f"{path.name}:{number}: {problem}")
            continue
        seen.add(fields[0])
        faults.append(Fault(fields))
    return faults, problems


log = functools.partial(print, flush=True)


def run(command, timeout, log_file):
    """Runs command in the repository, output appended to log_file: (exit code, None on a timeout; output)."""
    with open(log_file, "a", encoding="utf-8") as out:
        out.write(f"\n$ {' '.join(command)}\n")
        out.flush()
        process = subprocess.Popen(command, cwd=ROOT, stdout=subprocess.PIPE,
                                   stderr=subprocess.STDOUT, text=True,
                                   errors="replace", start_new_session=True)
        try:
            output, code = process.communicate(timeout=timeout)[0], process.returncode
        except BaseException as error:
            # A timeout, or Ctrl+C: stop the build or the tests we started before the file is restored.
            os.killpg(process.pid, signal.SIGKILL)
            output, code = process.communicate()[0], None
            if not isinstance(error, subprocess.TimeoutExpired):
                raise
        out.write(output)
    return code, output


FAILED_LINE = re.compile(r"^\s*\d+ - (\S+) \(.*\)\s*$")
RESULT_LINE = re.compile(r"Test\s+#\d+: (\S+) \.*\s*\**(Failed|Timeout|Exception|Subprocess|SEGFAULT|Child aborted|Not Run|.*Exit code)")


def failed_tests(output):
    """The tests ctest's summary names as failed, else those its result lines do."""
    lines = output.splitlines()
    if "The following tests FAILED:" in lines:
        summary = lines[lines.index("The following tests FAILED:") + 1:]
        names = [m.group(1) for m in map(FAILED_LINE.match, summary) if m]
        if names:
            return names
    return list(dict.fromkeys(m.group(1) for m in map(RESULT_LINE.search, lines) if m))


def build(build_dir, log_file):
    return run(["cmake", "--build", str(build_dir), "-j2"], BUILD_TIMEOUT, log_file)[0] == 0


def file_is_clean(relative):
    return subprocess.run(["git", "diff", "--quiet", "--", relative], cwd=ROOT).returncode == 0


def run_stages(build_dir, with_e2e, log_file, folder=None):
    """Returns (stage name that failed, failing tests) or (None, [])."""
    stages = [(name, arguments) for name, arguments in STAGES if with_e2e or name != "e2e"]
    if folder:
        # The fault's own folder's tests first: a fault they catch is known in seconds.
        stages.insert(0, ("unit", ["-R", f"^{folder}_", "-LE", "e2e", "--stop-on-failure", "-j2"]))
    for name, arguments in stages:
        code, output = run(["ctest", "--test-dir", str(build_dir), *arguments], STAGE_TIMEOUT, log_file)
        if code is None:
            return name, ["(stage timed out)"]
        if code != 0:
            return name, failed_tests(output) or ["(ctest failed: see the log)"]
    return None, []


def plant_and_test(fault, build_dir, with_e2e, log_file):
    path = ROOT / fault.file
    if not path.is_file():
        return {"result": "broken", "why": "no such file"}
    original_bytes = path.read_bytes()
    text = original_bytes.decode("utf-8")
    count = text.count(fault.original)
    if count != 1:
        return {"result": "broken", "why": f"original text found {count} times"}
    if fault.original == fault.replacement:
        return {"result": "broken", "why": "replacement equals the original"}
    if not file_is_clean(fault.file):
        return {"result": "broken", "why": "file differs from git before planting"}

    result = {}
    try:
        path.write_text(text.replace(fault.original, fault.replacement), encoding="utf-8")
        started = time.monotonic()
        built = build(build_dir, log_file)
        result["build_seconds"] = round(time.monotonic() - started, 1)
        if not built:
            result["result"] = "does not build"
        else:
            started = time.monotonic()
            stage, tests = run_stages(build_dir, with_e2e, log_file, fault.folder)
            result["test_seconds"] = round(time.monotonic() - started, 1)
            result.update(result="killed" if stage else "survived", stage=stage, tests=tests)
    finally:
        path.write_bytes(original_bytes)
        os.utime(path)  # newer than the objects built from the fault, or ninja keeps them
        if not file_is_clean(fault.file):
            raise SystemExit(f"{fault.file} was not restored: stop and check the tree")
    return result


def print_table(records):
    table = collections.OrderedDict()
    for record in records:
        row = table.setdefault(record["folder"], collections.Counter())
        row["planted"] += record["result"] in ("killed", "survived")
        row[record["stage"] if record["result"] == "killed" else record["result"]] += 1
    table["all"] = sum(table.values(), collections.Counter())
    header = f"{'folder':<10} {'planted':>7} {'unit':>5} {'e2e':>5} {'survived':>8} {'rate':>6}   {'no build':>8} {'broken':>6}"
    log(f"\n{header}\n{'-' * len(header)}")
    for name, row in table.items():
        planted = row["planted"]
        rate = f"{100 * (row['unit'] + row['e2e']) / planted:.0f}%" if planted else "-"
        log(f"{name:<10} {planted:>7} {row['unit']:>5} {row['e2e']:>5} "
            f"{row['survived']:>8} {rate:>6}   {row['does not build']:>8} {row['broken']:>6}")
    log("(planted: faults that built; unit: killed by unit/window tests; e2e: only by e2e)")


def write_results(records, out):
    out = Path(out)
    out.parent.mkdir(parents=True, exist_ok=True)
    if out.suffix == ".json":
        out.write_text(json.dumps(records, ensure_ascii=False, indent=1) + "\n", encoding="utf-8")
        return
    columns = ["id", "folder", "file", "result", "stage", "tests", "build_seconds",
               "test_seconds", "why", "description"]
    def cell(value):
        return ",".join(value) if isinstance(value, list) else "" if value is None else str(value)
    rows = [columns] + [[cell(record.get(column)) for column in columns] for record in records]
    out.write_text("".join("\t".join(row) + "\n" for row in rows), encoding="utf-8")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--only", help="comma-separated fault ids")
    parser.add_argument("--folder", help="only the faults of this folder (platform, shell, ...)")
    parser.add_argument("--e2e", action="store_true", help="run the end-to-end tests as stage 3")
    parser.add_argument("--build", default="build/dev", help="build directory (default build/dev)")
    parser.add_argument("--out", required=True, help="results file, .json or .tsv")
    parser.add_argument("--faults", default=str(FAULTS), help="the faults table")
    parser.add_argument("--no-baseline", action="store_true",
                        help="skip checking that the clean tree passes the stages first")
    arguments = parser.parse_args()

    build_dir = Path(arguments.build)
    if not build_dir.is_absolute():
        build_dir = ROOT / build_dir
    faults, problems = read_faults(Path(arguments.faults))
    for problem in problems:
        log(f"broken row: {problem}")
    if arguments.only:
        wanted = [name.strip() for name in arguments.only.split(",") if name.strip()]
        unknown = set(wanted) - {fault.id for fault in faults}
        if unknown:
            raise SystemExit(f"unknown fault ids: {', '.join(sorted(unknown))}")
        faults = [fault for fault in faults if fault.id in wanted]
    if arguments.folder:
        faults = [fault for fault in faults if fault.folder == arguments.folder]
    if not faults:
        raise SystemExit("no faults selected")

    log_file = Path(arguments.out).with_suffix(".log")
    log_file.parent.mkdir(parents=True, exist_ok=True)
    log_file.write_text("", encoding="utf-8")
    log(f"{len(faults)} faults; build and test output in {log_file}")

    if not build(build_dir, log_file):
        raise SystemExit("the clean tree does not build: see the log")
    if not arguments.no_baseline:
        stage, tests = run_stages(build_dir, arguments.e2e, log_file)
        if stage:
            raise SystemExit(f"the clean tree fails the {stage} stage ({', '.join(tests)}): fix that first")
        log("the clean tree passes")

    records = []
    try:
        for number, fault in enumerate(faults, start=1):
            # The previous fault's file was restored and touched: the next
            # build makes it clean again together with this fault's file.
            record = {"id": fault.id, "folder": fault.folder, "file": fault.file,
                      "description": fault.description}
            record.update(plant_and_test(fault, build_dir, arguments.e2e, log_file))
            records.append(record)
            where = f": {record['why']}" if record.get("why") else ""
            if record["result"] == "killed":
                where = f" at {record['stage']} by {', '.join(record['tests'])}"
            log(f"[{number}/{len(faults)}] {fault.id} {fault.file}: {record['result']}{where}")
            write_results(records, arguments.out)
    finally:
        if records:
            write_results(records, arguments.out)
        # Leave the program built from the clean tree.
        if not build(build_dir, log_file):
            log("warning: the clean tree did not build after the last fault")
    print_table(records)
    survivors = [f"  {r['id']}  {r['file']}  {r['description']}" for r in records if r["result"] == "survived"]
    if survivors:
        log("\nsurvived:\n" + "\n".join(survivors))


if __name__ == "__main__":
    # Stopped from outside (or started in the background, where Ctrl+C is
    # ignored), the planted file is still restored.
    signal.signal(signal.SIGINT, signal.default_int_handler)
    signal.signal(signal.SIGTERM, signal.default_int_handler)
    try:
        main()
    except KeyboardInterrupt:
        sys.exit("interrupted; the planted file was restored")
