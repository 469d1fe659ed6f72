#!/usr/bin/env python3
"""Runs the end-to-end scenarios: every function named scenario_* in tests/e2e/*_e2e.py.

    run.py --build build/win32 [--results file.json] [--jobs N] [pattern]

Each scenario gets a fresh Session; programs it started are ended afterwards, pass or
fail. Screenshots go to <build>/e2e-shots/<scenario>/.

One job runs on the display and Wine prefix the caller started (tools/wine-env.sh). With
--jobs N, N workers each start a display and a prefix of their own and take the scenario
files one at a time from a shared queue: the scenarios of one file always run in order in one
prefix, as they do in a single job, since some leave files or settings the next one expects.
"""
import argparse
import glob
import importlib.util
import json
import os
import queue
import subprocess
import sys
import threading
import time
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)
import harness  # noqa: E402

DONE = "@done "  # a worker's report after each file: passed count and failed names, as JSON


def scenario_files():
    return sorted(glob.glob(os.path.join(HERE, "*_e2e.py")))


def load_scenarios(path, pattern):
    module_name = os.path.splitext(os.path.basename(path))[0]
    found = importlib.util.spec_from_file_location(module_name, path)
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    for name in sorted(dir(module)):
        if name.startswith("scenario_") and (not pattern or pattern in f"{module_name}.{name}"):
            yield f"{module_name}.{name}", getattr(module, name)


def run_file(path, pattern, build, shots):
    """Runs the file's scenarios that match; returns (passed, failed names)."""
    passed, failed = 0, []
    for full_name, scenario in load_scenarios(path, pattern):
        session = harness.Session(full_name, build, shots)
        started = time.time()
        try:
            scenario(session)
            passed += 1
            print(f"[  PASS  ] {full_name} ({time.time() - started:.1f} s)", flush=True)
        except Exception as error:  # noqa: BLE001 - every failure is reported the same way
            failed.append(full_name)
            print(f"[  FAIL  ] {full_name} ({time.time() - started:.1f} s)", flush=True)
            if isinstance(error, harness.ScenarioFailure):
                print(f"           {error}", flush=True)
            else:
                traceback.print_exc(file=sys.stdout)
                sys.stdout.flush()
        finally:
            session.end_all()
    return passed, failed


def serve(pattern, build, shots):
    """A worker: runs each file named on stdin and reports when it is through."""
    print("@ready", flush=True)
    for line in sys.stdin:
        passed, failed = run_file(line.strip(), pattern, build, shots)
        print(DONE + json.dumps([passed, failed]), flush=True)


def start_worker(index, pattern, build):
    """A worker with a display and a Wine prefix of its own, started once the last is up (two
    starting together could pick the same free display number)."""
    command = ('source "$0/tools/wine-env.sh" && vindle_wine_start "$1" "$1/wine-run-e2e-$2" >/dev/null 2>&1 && '
               'trap vindle_wine_stop EXIT && python3 "$0/tests/e2e/run.py" --build "$1" --serve -- "$3"')
    worker = subprocess.Popen(["bash", "-c", command, ROOT, build, str(index), pattern or ""],
                              stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1)
    if worker.stdout.readline().strip() != "@ready":
        raise RuntimeError(f"e2e worker {index} could not start its display and Wine prefix")
    return worker


def run_parallel(jobs, pattern, build):
    # The files with the most scenarios go first, so no worker is left with a long one at the end.
    counts = {path: sum(1 for _ in load_scenarios(path, pattern)) for path in scenario_files()}
    files = sorted((path for path in counts if counts[path]), key=lambda path: -counts[path])
    passed, failed = 0, []
    workers = [start_worker(index, pattern, build) for index in range(min(jobs, len(files)))]
    reports = queue.Queue()  # (worker, line), and (worker, None) when its output ends

    def read_lines(worker):
        for line in worker.stdout:
            reports.put((worker, line))
        reports.put((worker, None))

    running = {}  # worker -> the file it runs

    def hand_out(worker):
        if files:
            running[worker] = files.pop(0)
            worker.stdin.write(running[worker] + "\n")
            worker.stdin.flush()

    for worker in workers:
        threading.Thread(target=read_lines, args=(worker,), daemon=True).start()
        hand_out(worker)
    while running:
        worker, line = reports.get()
        if line is None:  # the worker died: what it ran counts as failed
            if worker in running:
                name = os.path.basename(running.pop(worker))
                failed.append(f"{name} (its worker ended with exit code {worker.wait()})")
        elif line.startswith(DONE):
            file_passed, file_failed = json.loads(line[len(DONE):])
            passed += file_passed
            failed += file_failed
            del running[worker]
            hand_out(worker)
        else:
            print(line, end="", flush=True)
    failed += [f"{os.path.basename(path)} (not run: no worker was left)" for path in files]
    for worker in workers:
        worker.stdin.close()
        worker.wait()
    return passed, failed


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--results")
    parser.add_argument("--jobs", type=int, default=1)
    parser.add_argument("--serve", action="store_true", help=argparse.SUPPRESS)
    parser.add_argument("pattern", nargs="?")
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    shots = os.path.join(build, "e2e-shots")

    if args.serve:
        serve(args.pattern, build, shots)
        return 0
    if args.jobs > 1:
        passed, failed = run_parallel(args.jobs, args.pattern, build)
    else:
        passed, failed = 0, []
        for path in scenario_files():
            file_passed, file_failed = run_file(path, args.pattern, build, shots)
            passed += file_passed
            failed += file_failed

    print(f"e2e: {passed} passed, {len(failed)} failed")
    if args.results:
        with open(args.results, "w") as f:
            json.dump({"passed": passed, "failed": failed}, f)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
