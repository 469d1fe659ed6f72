#!/usr/bin/env python3
"""Prints the one table of ./bench from the raw results and writes it as JSON.

    report.py --micro build/bench/micro.json [--whole build/bench/whole.json] --out build/bench/ratios.json

Micro-benchmarks carry their baseline and aim in their label ("vs=<name>;max=<ratio>", see
BenchCompare.h); the median CPU time is used when repetitions were run. A benchmark without
a label is reported per operation (and per item when it counts items).
"""
import argparse
import json
import sys


def micro_times(data):
    """CPU time in ns, label and items per second of every benchmark, by name."""
    scale = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}
    results = {}
    for entry in data.get("benchmarks", []):
        if entry.get("error_occurred"):
            results[entry["run_name"]] = {"error": entry.get("error_message", "failed")}
            continue
        aggregate = entry.get("aggregate_name")
        if entry.get("run_type") == "aggregate" and aggregate != "median":
            continue
        name = entry["run_name"]
        if aggregate is None and name in results:
            continue   # plain repetitions without aggregates: the first one stands
        results[name] = {"ns": entry["cpu_time"] * scale[entry.get("time_unit", "ns")],
                         "label": entry.get("label") or "",
                         "items_per_second": entry.get("items_per_second")}
    return results


def parse_label(label):
    fields = dict(part.split("=", 1) for part in label.split(";") if "=" in part)
    return fields.get("vs"), float(fields["max"]) if "max" in fields else None


def format_ns(ns):
    for unit, factor in (("s", 1e9), ("ms", 1e6), ("us", 1e3)):
        if ns >= factor:
            return f"{ns / factor:.3g} {unit}"
    return f"{ns:.3g} ns"


def row(name, value, baseline, ratio, target, kind="ratio"):
    if target is None:
        verdict = "report"
    else:
        verdict = "ok" if ratio <= target else "MISSED"
    return {"name": name, "value": value, "baseline": baseline, "ratio": ratio, "target": target,
            "kind": kind, "verdict": verdict}


def micro_rows(results):
    rows = []
    # By name, so that a family stays together whatever order the runs were interleaved in.
    for name, result in sorted(results.items()):
        if "error" in result:
            rows.append({"name": name, "verdict": "FAILED", "error": result["error"]})
            continue
        baseline_name, target = parse_label(result["label"])
        if baseline_name is None:
            per_item = result["items_per_second"]
            value = format_ns(result["ns"]) + " per run"
            if per_item:
                value += f", {1e9 / per_item:.3g} ns per item"
            rows.append(row(name, value, None, None, None, "per operation"))
            continue
        baseline = results.get(baseline_name)
        if not baseline or "ns" not in baseline:
            rows.append({"name": name, "verdict": "FAILED", "error": f"no baseline {baseline_name}"})
            continue
        rows.append(row(name, format_ns(result["ns"]), f"{baseline_name} {format_ns(baseline['ns'])}",
                        result["ns"] / baseline["ns"], target))
    return rows


def whole_rows(whole):
    m = whole["medians"]
    mib = 1024.0
    rows = [
        row("Start-up to window and tray icon", f"{m['startup_s']['vindle']:.3f} s",
            f"BaselineTray {m['startup_s']['baseline']:.3f} s",
            m["startup_s"]["vindle"] / m["startup_s"]["baseline"], 1.3),
        row(f"Idle CPU over {whole['idle_seconds']} s", f"{100 * m['idle_cpu']['vindle']:.3f} %",
            f"BaselineTray timer {100 * m['idle_cpu']['baseline']:.3f} %",
            m["idle_cpu"]["vindle"] / max(m["idle_cpu"]["baseline"], 1e-9), 2.0),
        row("Idle CPU, share of one core", f"{100 * m['idle_cpu']['vindle']:.3f} %", "1 %",
            m["idle_cpu"]["vindle"] / 0.01, 1.0, "share of the limit"),
        row(f"Moving mouse CPU over {whole['moving_seconds']} s, magnifier shown",
            f"{100 * m['moving_cpu']['vindle']:.3f} %",
            f"BaselineTray capture {100 * m['moving_cpu']['baseline']:.3f} %",
            m["moving_cpu"]["vindle"] / max(m["moving_cpu"]["baseline"], 1e-9), 1.5),
        row("Measure hotkey to the overlay on the screen", f"{m['overlay_s']['vindle']:.3f} s",
            f"BaselineTray overlay (capture and blit) {m['overlay_s']['baseline']:.3f} s",
            m["overlay_s"]["vindle"] / m["overlay_s"]["baseline"], 1.5),
        row("Peak resident size", f"{m['peak_rss_kib']['vindle'] / mib:.2f} MiB",
            f"BaselineTray {m['peak_rss_kib']['baseline'] / mib:.2f} MiB",
            (m["peak_rss_kib"]["vindle"] - m["peak_rss_kib"]["baseline"]) / mib, 4.0, "MiB more"),
        row("Anonymous memory after the idle time", f"{m['anon_kib']['vindle'] / mib:.2f} MiB",
            f"BaselineTray {m['anon_kib']['baseline'] / mib:.2f} MiB",
            (m["anon_kib"]["vindle"] - m["anon_kib"]["baseline"]) / mib, 2.0, "MiB more"),
        row("Executable size", f"{m['exe_bytes']['vindle'] / mib / mib:.2f} MiB",
            f"BaselineTray {m['exe_bytes']['baseline'] / mib / mib:.2f} MiB",
            m["exe_bytes"]["vindle"] / m["exe_bytes"]["baseline"], None),
    ]
    return rows


def print_table(rows):
    header = ("benchmark", "measured", "baseline", "ratio", "aim", "")
    lines = [header]
    for r in rows:
        if r["verdict"] == "FAILED":
            lines.append((r["name"], "", r.get("error", ""), "", "", "FAILED"))
            continue
        ratio = "" if r["ratio"] is None else (f"{r['ratio']:+.2f}" if r["kind"] == "MiB more" else f"{r['ratio']:.3f}")
        target = "" if r["target"] is None else (f"<= {r['target']:+g} MiB" if r["kind"] == "MiB more"
                                                 else f"<= {r['target']:.3g}")
        lines.append((r["name"], r["value"], r["baseline"] or "", ratio, target, r["verdict"]))
    widths = [max(len(str(line[i])) for line in lines) for i in range(len(header))]
    for line in lines:
        print("  ".join(str(cell).ljust(width) for cell, width in zip(line, widths)).rstrip())


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--micro", required=True)
    parser.add_argument("--whole")
    parser.add_argument("--out", required=True)
    options = parser.parse_args()
    with open(options.micro) as f:
        rows = micro_rows(micro_times(json.load(f)))
    if options.whole:
        with open(options.whole) as f:
            rows += whole_rows(json.load(f))
    print_table(rows)
    with open(options.out, "w") as f:
        json.dump(rows, f, indent=2)
    missed = sum(r["verdict"] == "MISSED" for r in rows)
    failed = sum(r["verdict"] == "FAILED" for r in rows)
    print(f"\n{len(rows)} figures: {missed} aims missed, {failed} failed to run")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
