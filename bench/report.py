#!/usr/bin/env python3
"""Prints the benchmark and footprint figures as one table: figure, Karvold, peer, ratio.

Inputs are what tools/bench-all collects: Google Benchmark JSON of decimal_bench and
engine_bench, the probe launcher's run lines, and the footprint check's output.
"""

import argparse
import json
import math
import re
import statistics
import sys

OPERATIONS = ["Add", "Subtract", "Multiply", "Divide", "Format", "Parse"]
# Karvold time over decimal64 time: at most this.
DECIMAL64_LIMITS = {"Add": 1.0, "Multiply": 1.0, "Divide": 2.0}
ENGINE_TARGET = 10e6
SIZE_LIMIT = 512 * 1024
STARTUP_RATIO_LIMIT = 1.15
MEMORY_EXCESS_LIMIT = 2 * 1024 * 1024
MIN_RUNS = 10


def median_rates(path):
    """name -> operations per second, from the median aggregate (or the only run)."""
    with open(path) as f:
        data = json.load(f)
    rates = {}
    for b in data["benchmarks"]:
        if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
            continue
        name = b.get("run_name", b["name"])
        if "items_per_second" in b:
            rates[name] = b["items_per_second"]
    return rates


def ns_per_operation(rates, operation, number_type):
    """Geometric mean over the operand sets of the time of one operation, and per set."""
    per_set = {}
    for name, rate in rates.items():
        parts = name.split("/")
        if len(parts) == 3 and parts[0] == operation and parts[2] == number_type:
            per_set[parts[1]] = 1e9 / rate
    if not per_set:
        return None, per_set
    return math.exp(sum(math.log(v) for v in per_set.values()) / len(per_set)), per_set


def probe_runs(path):
    """name -> list of measured runs (warm-up runs left out)."""
    runs = {}
    with open(path) as f:
        for line in f:
            if not line.startswith("run "):
                continue
            fields = dict(re.findall(r"(\w+)=(\S+)", line))
            if fields.get("warmup") == "1" or "startup_us" not in fields:
                continue
            runs.setdefault(fields["name"], []).append(fields)
    return runs


def footprint(path):
    text = open(path).read()
    size = re.search(r"stripped size: (\d+) bytes", text)
    imports = re.search(r"imports: (.*)", text)
    return (int(size.group(1)) if size else None,
            imports.group(1).split() if imports else [],
            "FAIL" not in text)


class Table:
    def __init__(self):
        self.rows = []

    def add(self, figure, karvold, peer, ratio, target, met):
        self.rows.append((figure, karvold, peer, ratio, target,
                          "" if met is None else ("yes" if met else "NO")))

    def print(self):
        header = ("figure", "Karvold", "peer", "ratio", "target", "met")
        widths = [max(len(str(r[i])) for r in self.rows + [header]) for i in range(6)]
        line = "  ".join("{:<%d}" % w for w in widths)
        print(line.format(*header))
        print("  ".join("-" * w for w in widths))
        for row in self.rows:
            print(line.format(*row))


def arithmetic_rows(table, rates, details):
    for operation in OPERATIONS:
        karvold, karvold_sets = ns_per_operation(rates, operation, "karvold")
        decimal64, decimal64_sets = ns_per_operation(rates, operation, "decimal64")
        mpq, mpq_sets = ns_per_operation(rates, operation, "mpq")
        if karvold is None:
            continue
        limit = DECIMAL64_LIMITS.get(operation)
        ratio = karvold / decimal64
        table.add(f"{operation} ns/op vs decimal64", f"{karvold:.1f}", f"{decimal64:.1f}",
                  f"{ratio:.2f}", f"<= {limit:.2f}" if limit else "", 
                  ratio <= limit if limit else None)
        ratio = karvold / mpq
        table.add(f"{operation} ns/op vs mpq", f"{karvold:.1f}", f"{mpq:.1f}", f"{ratio:.2f}",
                  "< 1.00", ratio < 1.0)
        for name in sorted(karvold_sets):
            details.append(f"{operation:<9} {name:<14} karvold {karvold_sets[name]:7.1f} ns  "
                           f"decimal64 {decimal64_sets.get(name, float('nan')):7.1f} ns  "
                           f"mpq {mpq_sets.get(name, float('nan')):7.1f} ns")


def engine_rows(table, rates):
    for name, rate in rates.items():
        table.add("engine commands/s (office sequence)", f"{rate / 1e6:.1f} M", "", "",
                  f">= {ENGINE_TARGET / 1e6:.0f} M", rate >= ENGINE_TARGET)


def executable_rows(table, karvold_path, minimal_path):
    size, imports, ok = footprint(karvold_path)
    minimal_size, _, _ = footprint(minimal_path)
    if size is None:
        return
    table.add("karvold.exe stripped KiB", f"{size / 1024:.1f}",
              f"{minimal_size / 1024:.1f}" if minimal_size else "",
              f"{size / minimal_size:.1f}" if minimal_size else "", "<= 512", size <= SIZE_LIMIT)
    table.add("karvold.exe imports", f"{len(imports)} DLLs", "", "", "system DLLs only", ok)
    print("karvold.exe imports: " + " ".join(imports))


def probe_rows(table, runs):
    karvold = runs.get("karvold", [])
    minimal = runs.get("minimal", [])
    if not karvold or not minimal:
        print("no probe runs for both programs", file=sys.stderr)
        return
    count = min(len(karvold), len(minimal))

    def median(runs_of, key):
        return statistics.median(float(r[key]) for r in runs_of)

    startup = median(karvold, "startup_us") / 1000
    startup_minimal = median(minimal, "startup_us") / 1000
    ratio = startup / startup_minimal
    table.add(f"start-up to first paint ms (median of {count})", f"{startup:.1f}",
              f"{startup_minimal:.1f}", f"{ratio:.2f}", f"<= {STARTUP_RATIO_LIMIT}",
              ratio <= STARTUP_RATIO_LIMIT and count >= MIN_RUNS)
    # The fastest run is the one least disturbed by the rest of the machine.
    fastest = min(float(r["startup_us"]) for r in karvold) / 1000
    fastest_minimal = min(float(r["startup_us"]) for r in minimal) / 1000
    table.add("start-up to first paint ms (fastest run)", f"{fastest:.1f}",
              f"{fastest_minimal:.1f}", f"{fastest / fastest_minimal:.2f}",
              f"<= {STARTUP_RATIO_LIMIT}", None)
    # Runs of one round follow each other, so their ratio sees nearly the same load.
    by_round = {r["round"]: float(r["startup_us"]) for r in minimal}
    paired = [float(r["startup_us"]) / by_round[r["round"]] for r in karvold if r["round"] in by_round]
    table.add("start-up ratio, median of per-round ratios", "", "", f"{statistics.median(paired):.2f}",
              f"<= {STARTUP_RATIO_LIMIT}", None)
    peak = median(karvold, "peak_working_set")
    peak_minimal = median(minimal, "peak_working_set")
    excess = peak - peak_minimal
    table.add("peak working set MiB after 1000 keys", f"{peak / 2**20:.2f}",
              f"{peak_minimal / 2**20:.2f}", f"+{excess / 2**20:.2f} MiB", "<= +2.00 MiB",
              excess <= MEMORY_EXCESS_LIMIT)
    paints = median(karvold, "key_paints")
    pixels = median(karvold, "key_painted_pixels")
    window = float(karvold[0]["window_pixels"])
    per_command = pixels / float(karvold[0]["key_commands"])
    table.add("repainted px per key command", f"{per_command:.0f}", f"{window:.0f} (window)",
              f"{per_command / window:.2f}", "display strip only", None)
    table.add("paints per key command", f"{paints / float(karvold[0]['key_commands']):.2f}",
              "", "", "", None)
    print(f"repaint bounds over all key commands: {karvold[0]['key_paint_bounds']}")
    def modules(run):
        return {m.lower() for m in run.get("modules", "").split(",") if m}

    extra = sorted(m for m in modules(karvold[0]) - modules(minimal[0])
                   if not m.startswith(("karvold", "minimal")))
    if extra:
        print("modules Karvold loads beyond the minimal window: " + ", ".join(extra))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--decimal", help="decimal_bench JSON")
    parser.add_argument("--engine", help="engine_bench JSON")
    parser.add_argument("--probe", help="probe_launcher output")
    parser.add_argument("--karvold-exe", help="footprint check output for karvold.exe")
    parser.add_argument("--minimal-exe", help="footprint check output for minimal_window.exe")
    parser.add_argument("--details", help="file for the per-operand-set times")
    args = parser.parse_args()

    table = Table()
    details = []
    if args.decimal:
        arithmetic_rows(table, median_rates(args.decimal), details)
    if args.engine:
        engine_rows(table, median_rates(args.engine))
    if args.karvold_exe and args.minimal_exe:
        executable_rows(table, args.karvold_exe, args.minimal_exe)
    if args.probe:
        probe_rows(table, probe_runs(args.probe))
    table.print()
    if args.details and details:
        with open(args.details, "w") as f:
            f.write("\n".join(details) + "\n")


if __name__ == "__main__":
    main()
