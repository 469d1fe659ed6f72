#!/usr/bin/env python3
"""Whole-program timings of Vindle.exe under Wine against BaselineTray.exe, the least a tray
program with one window costs, run alternately in the same prefix and on the same display.

Each round starts both programs once for start-up, idle CPU, peak and anonymous memory, once more for the
CPU a moving mouse costs (Vindle with its magnifier shown, the baseline capturing the screen on
the same 50 ms timer), and once more for the time from the measure hotkey to an overlay on the
screen (Vindle's measure tool: snapshot, composition and overlay; the baseline: a bare capture of
the whole screen shown in one topmost window). Medians over the rounds go to the JSON file.

Run it inside the Wine session of tools/wine-env.sh (DISPLAY and WINEPREFIX set):
    whole_program.py --build build/win32 --out build/bench/whole.json [--quick]
"""
import argparse
import json
import os
import signal
import statistics
import subprocess
import sys
import time

VINDLE = "src/Vindle.exe"
BASELINE = "benchmarks/BaselineTray.exe"
VINDLE_TITLE = "^Vindle$"
BASELINE_TITLE = "^Vindle Baseline$"
MEASURE_TITLE = "^Measure$"
BASELINE_OVERLAY_TITLE = "^Vindle Baseline overlay$"
MEASURE_CHORD = "ctrl+alt+shift+m"
TRAY_TITLE = "^Wine System Tray$"
PARKED_POINTER = (1200, 1000)   # away from every window the programs show

# Configuration 2 shows the magnifier by default; selecting it is all the file needs to say.
MAGNIFIER_SETTINGS = "<settings>\n\t<general>\n\t\t<configuration>2</configuration>\n\t</general>\n</settings>\n"


class RunFailure(Exception):
    pass


def xdotool(*args):
    return subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True).stdout


def move_pointer(x, y):
    xdotool("mousemove", x, y)


def visible_windows(title):
    return xdotool("search", "--onlyvisible", "--name", title).split()


def window_geometry(window):
    values = {}
    for line in xdotool("getwindowgeometry", "--shell", window).splitlines():
        key, _, value = line.partition("=")
        values[key] = int(value) if value.lstrip("-").isdigit() else value
    return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]


def cpu_seconds(pid):
    """CPU time of all live threads of a process, in seconds, with nanosecond resolution."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                total += int(f.read().split()[0])
        except (FileNotFoundError, ProcessLookupError):
            pass   # a thread that just ended
    return total / 1e9


def memory_kib(pid, field):
    """A memory figure of /proc/<pid>/status in KiB: "VmHWM" is the peak resident size, "RssAnon"
    the resident anonymous memory, what the program allocated and wrote (heap, stacks, copies of
    written pages). The peak also counts file pages, and the kernel maps a page-cache folio of up
    to 2 MiB at once when a file's mapping happens to fall on a matching boundary, so it moves
    with the address layout (the theme file's mapping once moved by 64 KiB onto such a boundary
    and became 1.8 MiB more resident, all of it clean shared pages); RssAnon does not."""
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(field + ":"):
                return int(line.split()[1])
    raise RunFailure(f"no {field} for process {pid}")


def appdata_folder():
    users = os.path.join(os.environ["WINEPREFIX"], "drive_c", "users")
    for user in sorted(os.listdir(users)):
        folder = os.path.join(users, user, "AppData", "Roaming")
        if user != "Public" and os.path.isdir(folder):
            return folder
    raise RunFailure("the Wine prefix has no user application-data folder")


def vindle_settings(text):
    """Writes Vindle's settings file, or removes it for a first start when text is None."""
    folder = os.path.join(appdata_folder(), "Qorvel", "Vindle")
    os.makedirs(folder, exist_ok=True)
    for name in ("Settings.xml", "Settings.bak"):
        path = os.path.join(folder, name)
        if os.path.exists(path):
            os.remove(path)
    if text is not None:
        with open(os.path.join(folder, "Settings.xml"), "w", newline="\r\n") as f:
            f.write(text)


def wait_until(condition, what, timeout):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if condition():
            return
        time.sleep(0.05)
    raise RunFailure(f"timed out waiting for {what}")


class Program:
    """One run of a program: started, measured and killed (no settings are written, so every
    run starts from the same state)."""

    def __init__(self, build, exe, title, args=()):
        self.path = os.path.join(build, exe)
        self.title = title
        self.args = list(args)
        self.process = None

    def start(self):
        """Starts the program and answers the seconds until its window is visible and its tray
        icon added."""
        if not os.path.exists(self.path):
            raise RunFailure(f"{self.path} was not built")
        wait_until(lambda: not visible_windows(TRAY_TITLE), "an empty tray before the start", 20)
        started = time.monotonic()
        self.process = subprocess.Popen(["wine", self.path, *self.args], cwd=os.path.dirname(self.path),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = started + 60
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                raise RunFailure(f"{self.path} ended at start with code {self.process.returncode}")
            if visible_windows(self.title) and visible_windows(TRAY_TITLE):
                return time.monotonic() - started
            time.sleep(0.02)
        raise RunFailure(f"{self.path} showed no window and tray icon within 60 s")

    @property
    def pid(self):
        return self.process.pid

    def window(self):
        found = visible_windows(self.title)
        if not found:
            raise RunFailure(f"the window of {self.path} is gone")
        return found[0]

    def stop(self):
        if self.process and self.process.poll() is None:
            os.kill(self.process.pid, signal.SIGKILL)
            self.process.wait()
        self.process = None
        wait_until(lambda: not visible_windows(self.title), "the window to close", 20)


def idle_cpu(program, seconds):
    move_pointer(*PARKED_POINTER)
    time.sleep(1)   # whatever a start leaves to do
    before = cpu_seconds(program.pid)
    time.sleep(seconds)
    return (cpu_seconds(program.pid) - before) / seconds


def moving_cpu(program, seconds):
    """CPU seconds per second while the pointer sweeps to and fro along the window's middle,
    one step every 20 ms."""
    x, y, width, height = window_geometry(program.window())
    move_pointer(x + 10, y + height // 2)
    time.sleep(1)
    before = cpu_seconds(program.pid)
    started = time.monotonic()
    step = 0
    while time.monotonic() - started < seconds:
        offset = (step * 7) % (2 * (width - 20))
        along = offset if offset < width - 20 else 2 * (width - 20) - offset
        move_pointer(x + 10 + along, y + height // 2 - 5 + step % 10)
        step += 1
        time.sleep(0.02)
    elapsed = time.monotonic() - started
    result = (cpu_seconds(program.pid) - before) / elapsed
    move_pointer(*PARKED_POINTER)
    return result


def overlay_seconds(program, overlay_title, repetitions):
    """Median seconds from the measure chord to the overlay's window on the screen. Under Wine a
    hotkey arrives while a Wine window has the keyboard, so the program's own window is clicked
    first; the pointer then rests on the screen's empty part."""
    times = []
    for _ in range(repetitions):
        x, y, width, height = window_geometry(program.window())
        move_pointer(x + width // 2, y + height // 2)
        xdotool("click", 1)
        move_pointer(*PARKED_POINTER)
        time.sleep(0.5)
        started = time.monotonic()
        xdotool("key", MEASURE_CHORD)
        while not visible_windows(overlay_title):   # as fast as xdotool answers: no sleep
            if time.monotonic() - started > 20:
                raise RunFailure(f"no {overlay_title} window within 20 s of the chord")
        times.append(time.monotonic() - started)
        time.sleep(0.3)
        xdotool("key", "Escape")
        wait_until(lambda: not visible_windows(overlay_title), "the overlay to go", 20)
    return statistics.median(times)


def measure(build, rounds, idle_seconds, moving_seconds, warm_up, log):
    results = {key: {"vindle": [], "baseline": []}
               for key in ("startup_s", "idle_cpu", "moving_cpu", "peak_rss_kib", "anon_kib", "overlay_s")}

    def run(name, settings, baseline_mode, body):
        """Starts one of the two programs, runs body(program, start-up seconds), stops it."""
        vindle_settings(settings)
        program = (Program(build, VINDLE, VINDLE_TITLE) if name == "vindle"
                   else Program(build, BASELINE, BASELINE_TITLE, [baseline_mode]))
        try:
            body(program, program.start())
        finally:
            program.stop()

    def idle_run(name):
        def body(program, startup):
            results["startup_s"][name].append(startup)
            results["idle_cpu"][name].append(idle_cpu(program, idle_seconds))
            results["peak_rss_kib"][name].append(memory_kib(program.pid, "VmHWM"))
            results["anon_kib"][name].append(memory_kib(program.pid, "RssAnon"))
        run(name, None, "timer", body)

    def moving_run(name):
        run(name, MAGNIFIER_SETTINGS, "capture",
            lambda program, _: results["moving_cpu"][name].append(moving_cpu(program, moving_seconds)))

    def overlay_run(name):
        def body(program, _):
            time.sleep(1)
            title = MEASURE_TITLE if name == "vindle" else BASELINE_OVERLAY_TITLE
            results["overlay_s"][name].append(overlay_seconds(program, title, 3))
        run(name, None, "overlay", body)

    # One start of each first: a fresh prefix loads and caches a lot on its first runs.
    for name in ("vindle", "baseline") if warm_up else ():
        program = Program(build, VINDLE if name == "vindle" else BASELINE, VINDLE_TITLE if name == "vindle"
                          else BASELINE_TITLE)
        try:
            program.start()
        finally:
            program.stop()

    for round_number in range(rounds):
        # Alternate which program goes first, so that neither always follows the other.
        order = ("vindle", "baseline") if round_number % 2 == 0 else ("baseline", "vindle")
        for name in order:
            idle_run(name)
        for name in order:
            moving_run(name)
        for name in order:
            overlay_run(name)
        log(f"round {round_number + 1}/{rounds}: " + ", ".join(
            f"{key} {results[key]['vindle'][-1]:.4g}/{results[key]['baseline'][-1]:.4g}" for key in results))
    vindle_settings(None)

    summary = {}
    for key, runs in results.items():
        summary[key] = {name: statistics.median(values) for name, values in runs.items()}
    summary["exe_bytes"] = {"vindle": os.path.getsize(os.path.join(build, VINDLE)),
                            "baseline": os.path.getsize(os.path.join(build, BASELINE))}
    return {"rounds": rounds, "idle_seconds": idle_seconds, "moving_seconds": moving_seconds,
            "runs": results, "medians": summary}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", required=True, help="the win32 build tree")
    parser.add_argument("--out", required=True, help="the JSON file to write")
    parser.add_argument("--quick", action="store_true", help="one round of short windows: does it still run?")
    options = parser.parse_args()
    rounds, idle_seconds, moving_seconds = (1, 1, 1) if options.quick else (7, 10, 5)
    try:
        data = measure(os.path.abspath(options.build), rounds, idle_seconds, moving_seconds, not options.quick,
                       lambda text: print(text, flush=True))
    except RunFailure as failure:
        print(f"whole-program benchmark failed: {failure}", file=sys.stderr)
        return 1
    os.makedirs(os.path.dirname(os.path.abspath(options.out)), exist_ok=True)
    with open(options.out, "w") as f:
        json.dump(data, f, indent=2)
    return 0


if __name__ == "__main__":
    sys.exit(main())
