#!/usr/bin/env python3
"""Runs the end-to-end scenarios: every function named scenario_* in tests/e2e/*_e2e.py.

    run.py --build build/win32 [--results file.json] [pattern]

Each scenario gets a fresh Session; programs it started are ended afterwards, pass or
fail. Screenshots go to <build>/e2e-shots/<scenario>/.
"""
import argparse
import glob
import importlib.util
import json
import os
import sys
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402


def load_scenarios(pattern):
    here = os.path.dirname(os.path.abspath(__file__))
    for path in sorted(glob.glob(os.path.join(here, "*_e2e.py"))):
        module_name = os.path.splitext(os.path.basename(path))[0]
        found = importlib.util.spec_from_file_location(module_name, path)
        module = importlib.util.module_from_spec(found)
        found.loader.exec_module(module)
        for name in sorted(dir(module)):
            if name.startswith("scenario_") and (not pattern or pattern in f"{module_name}.{name}"):
                yield f"{module_name}.{name}", getattr(module, name), getattr(module, "setup", None)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--results")
    parser.add_argument("pattern", nargs="?")
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    shots = os.path.join(build, "e2e-shots")

    passed, failed = 0, []
    for full_name, scenario, _ in load_scenarios(args.pattern):
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
                traceback.print_exc()
        finally:
            session.end_all()

    print(f"e2e: {passed} passed, {len(failed)} failed")
    if args.results:
        with open(args.results, "w") as f:
            json.dump({"passed": passed, "failed": failed}, f)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
