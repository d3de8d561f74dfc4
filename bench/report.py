#!/usr/bin/env python3
"""Prints the table of bench/run.sh from the raw results it left behind.

Usage: report.py RESULTS_DIR ELAPSED_MS
"""
import glob
import json
import os
import statistics
import sys

MIB = 1 << 20
KIB = 1 << 10


def hyperfine_times(pattern):
    """Every run's wall time per command name, over all rounds."""
    times = {}
    for path in sorted(glob.glob(pattern)):
        for result in json.load(open(path))["results"]:
            times.setdefault(result["command"], []).extend(result["times"])
    return times


def median_of(pattern, name):
    return statistics.median(hyperfine_times(pattern)[name])


def numbers(path):
    return [int(line) for line in open(path) if line.strip()]


def ms(seconds):
    return f"{seconds * 1e3:.2f} ms"


def secs(seconds):
    return f"{seconds:.3f} s"


def mib(kib):
    return f"{kib / KIB:.1f} MiB"


def gibs(bytes_per_second):
    return f"{bytes_per_second / (1 << 30):.2f} GiB/s"


def verdict(ok):
    return "met" if ok else "MISSED"


def micro(results):
    """Medians of the Google Benchmark aggregates, by benchmark name."""
    data = json.load(open(os.path.join(results, "micro.json")))
    return {
        b["run_name"]: b
        for b in data["benchmarks"]
        if b.get("aggregate_name") == "median"
    }


def main():
    results, elapsed_ms = sys.argv[1], int(sys.argv[2])
    at = lambda name: os.path.join(results, name)
    rows = []  # (measure, tolvarin, reference, ratio, goal, result)

    # 1. Start-up and launch.
    tol = median_of(at("startup-*.json"), "tolvarin")
    ref = median_of(at("startup-*.json"), "reference")
    runs = len(hyperfine_times(at("startup-*.json"))["tolvarin"])
    rows.append((f"1 start-up, delay 0, true ({runs} runs)", ms(tol),
                 f"sh -c 'sleep 0; true' {ms(ref)}", f"{tol / ref:.2f}",
                 "ratio <= 1.5", verdict(tol / ref <= 1.5)))

    # 2. A 256 MiB delay line.
    size = numbers(at("big-size.txt"))[0]
    tol = median_of(at("big-*.json"), "tolvarin")
    ref = median_of(at("big-*.json"), "reference")
    rows.append((f"2 {size // MIB} MiB LF-only line, wall", secs(tol),
                 f"cat to /dev/null {ms(ref)}", f"{tol / ref:.1f}",
                 "ratio <= 1.5", verdict(tol / ref <= 1.5)))
    rss = statistics.median(numbers(at("rss-big.txt")))
    limit = 1.25 * size + 16 * MIB
    rows.append(("2 same run, peak RSS", mib(rss), f"file {size / MIB:.0f} MiB",
                 f"{rss * KIB / size:.2f}",
                 f"<= 1.25 x file + 16 MiB ({limit / MIB:.0f} MiB)",
                 verdict(rss * KIB <= limit)))
    fresh = median_of(at("fresh.json"), "fresh")
    rows.append(("  context: write 256 MiB of new memory", secs(fresh),
                 f"cat to /dev/null {ms(ref)}", f"{fresh / ref:.1f}", "-",
                 "info"))

    # 3. Countdown.
    countdown = json.load(open(at("countdown.json")))["results"][0]
    tol = countdown["median"]
    rows.append((f"3 delay 3, true ({len(countdown['times'])} runs)", secs(tol),
                 "3 s of waits", f"{tol / 3:.4f}",
                 f"<= 3.020 s (+{(tol - 3) * 1e3:.1f} ms)",
                 verdict(tol <= 3.020)))

    # 4. Footprint.
    rss = statistics.median(numbers(at("rss-normal.txt")))
    sh = statistics.median(numbers(at("rss-sh.txt")))
    rows.append(("4 peak RSS, delay 0, true", mib(rss),
                 f"sh -c 'sleep 0; true' {mib(sh)}", f"{rss / sh:.2f}",
                 "<= 4 MiB", verdict(rss <= 4 * KIB)))
    for line in open(at("sizes.txt")):
        name, value, where = line.split(maxsplit=2)
        where = where.strip()
        if value == "missing":
            rows.append((f"4 stripped {name} exe", "missing",
                         f"no {where}", "-",
                         "<= 256 KiB" if name == "win32" else "-",
                         "not measured"))
            continue
        if value == "no-strip":
            rows.append((f"4 stripped {name} exe", "no strip tool", where, "-",
                         "-", "not measured"))
            continue
        size_kib = int(value) / KIB
        if name == "win32":
            rows.append((f"4 stripped {name} exe", f"{size_kib:.1f} KiB",
                         "limit 256 KiB", f"{size_kib / 256:.2f}", "<= 256 KiB",
                         verdict(size_kib <= 256)))
        else:
            rows.append((f"4 stripped {name} exe", f"{size_kib:.1f} KiB", "-",
                         "-", "-", "info"))

    # 5. In process.
    bench = micro(results)
    for arg, what in (("0", "64 MiB, ~100 B CR LF lines"),
                      ("1", "64 MiB, one line")):
        scan = bench[f"BM_MemchrScan/{arg}"]["bytes_per_second"]
        reader = bench[f"BM_LineReader/{arg}"]["bytes_per_second"]
        floor = bench[f"BM_CopyOutFloor/{arg}"]["bytes_per_second"]
        rows.append((f"5 LineReader, {what}", gibs(reader),
                     f"memchr scan {gibs(scan)}", f"{reader / scan:.3f}",
                     "ratio >= 0.5", verdict(reader / scan >= 0.5)))
        rows.append(("  context: memchr + copy into new strings", gibs(floor),
                     f"memchr scan {gibs(scan)}", f"{floor / scan:.3f}", "-",
                     "info"))
        if arg == "0":
            copy = bench["BM_SourceCopy/0"]["bytes_per_second"]
            both = 1 / (1 / floor + 1 / copy)
            rows.append(("  context: ByteSource copy in 64 KiB reads",
                         gibs(copy), f"memchr scan {gibs(scan)}",
                         f"{copy / scan:.3f}", "-", "info"))
            rows.append(("  context: both copies, estimated floor",
                         gibs(both), f"memchr scan {gibs(scan)}",
                         f"{both / scan:.3f}", "-", "info"))
    convert = bench["BM_ConvertInteger"]
    rows.append(("5 ConvertInteger, typical delay lines",
                 f"{1e9 / convert['items_per_second']:.1f} ns/line", "-", "-",
                 "-", "info"))

    head = ("measure", "tolvarin", "reference (median)", "ratio", "goal",
            "result")
    widths = [max(len(str(r[i])) for r in rows + [head]) for i in range(len(head))]
    line = lambda r: "  ".join(str(c).ljust(w) for c, w in zip(r, widths)).rstrip()
    print(line(head))
    print("  ".join("-" * w for w in widths))
    for row in rows:
        print(line(row))
    print()
    print("Medians throughout. Wall times by hyperfine (start-up in rounds of"
          " alternating order);")
    print("peak RSS by /usr/bin/time %M (-v's maximum resident set size);"
          " in-process rates by Google")
    print("Benchmark on CPU time (median of 3 repetitions). Raw results:",
          results)
    missed = sum(1 for r in rows if r[5] == "MISSED")
    print(f"{missed} goal(s) missed. bench/run.sh took {elapsed_ms / 1000:.0f} s.")


if __name__ == "__main__":
    main()
