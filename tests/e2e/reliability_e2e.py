"""Reliability of the real program: a full disk while saving, a process killed while saving,
hostile settings files, many simultaneous starts and DLLs planted beside the program."""
import contextlib
import hashlib
import os
import shutil
import subprocess
import tempfile
import time

import vindle

SHELL_FOLDERS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders"
HERE = os.path.dirname(os.path.abspath(__file__))


def _reg_set(key, value, kind, data):
    subprocess.run(["wine", "reg", "add", key, "/v", value, "/t", kind, "/d", data, "/f"],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)


def _free_drive_letter():
    dosdevices = os.path.join(os.environ["WINEPREFIX"], "dosdevices")
    for letter in "vwxyqrstuop":
        if not os.path.lexists(os.path.join(dosdevices, letter + ":")):
            return letter, os.path.join(dosdevices, letter + ":")
    raise RuntimeError("no free drive letter in the Wine prefix")


@contextlib.contextmanager
def small_appdata_drive(s, size="256k"):
    """A tmpfs of `size` mounted as a Wine drive and made the user's application-data folder.
    Yields the Unix path of the settings folder on it."""
    mountpoint = tempfile.mkdtemp(prefix="vindle-small-drive-")
    subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={size}", "tmpfs", mountpoint], check=True)
    letter, link = _free_drive_letter()
    os.symlink(mountpoint, link)
    previous = s.reg_query(SHELL_FOLDERS, "AppData")
    try:
        _reg_set(SHELL_FOLDERS, "AppData", "REG_EXPAND_SZ", letter.upper() + r":\AppData")
        yield os.path.join(mountpoint, "AppData", "Qorvel", "Vindle")
    finally:
        s.end_all()
        if previous is not None:
            _reg_set(SHELL_FOLDERS, "AppData", "REG_EXPAND_SZ", previous)
        os.remove(link)
        subprocess.run(["umount", "-l", mountpoint], check=False)
        os.rmdir(mountpoint)


def fill(folder):
    """Fills the drive holding `folder` to the last byte."""
    chunk = b"\0" * 4096
    with open(os.path.join(folder, "..", "..", "filler"), "wb", buffering=0) as f:
        try:
            while True:
                f.write(chunk)
        except OSError:
            pass
        try:
            while True:
                f.write(b"\0")
        except OSError:
            pass
    return os.path.join(folder, "..", "..", "filler")


def read(path):
    with open(path, "rb") as f:
        return f.read()


def run_and_exit(s):
    process = vindle.start(s)
    vindle.ruler(s)
    vindle.exit_vindle(s, process)


SAVE_ERROR = "^Error saving settings$"


def exit_into_save_error(s):
    """Starts Vindle, exits through the tray menu and answers the save error's box."""
    process = vindle.start(s)
    vindle.ruler(s)
    vindle.choose_from_tray_menu(s, "x")
    box = s.wait_window(SAVE_ERROR, timeout=30)
    return process, box


def answer_save_error(s, key):
    """Presses `key` on the save error's box until the box is gone: a box that has just been
    mapped may not hold the keyboard focus yet, and the key would be lost."""
    for _ in range(5):
        # A click on its caption gives the box the keyboard when the window system did not.
        boxes = s.find_windows(SAVE_ERROR)
        if boxes:
            s.click(boxes[0].x + boxes[0].width // 2, boxes[0].y + 10)
        s.key(key)
        deadline = time.time() + 3
        while time.time() < deadline:
            if not s.find_windows(SAVE_ERROR):
                return
            time.sleep(0.1)
    s.wait_no_window(SAVE_ERROR, timeout=1)


def scenario_full_disk_cancel_keeps_the_previous_file_and_retry_saves(s):
    with small_appdata_drive(s) as folder:
        run_and_exit(s)
        settings = os.path.join(folder, "Settings.xml")
        s.expect(os.path.isfile(settings), f"a settings file on the small drive at {settings}")
        previous = read(settings)
        filler = fill(folder)

        process, box = exit_into_save_error(s)
        s.screenshot("save-error-on-a-full-disk")
        s.expect(box.width > 200, f"a message box with the error text, got {box}")
        answer_save_error(s, "Escape")          # Cancel
        s.wait_exit(process, timeout=20)
        s.expect(read(settings) == previous, "Cancel leaves the previous settings file byte for byte")
        s.expect_equal(sorted(os.listdir(folder)), ["Settings.xml"], "the files in the settings folder")

        process, box = exit_into_save_error(s)
        os.remove(filler)                       # the user makes room, then retries
        answer_save_error(s, "r")
        s.wait_exit(process, timeout=20)
        saved = read(settings)
        s.expect(saved != previous and saved.rstrip().endswith(b"</settings>"), "Retry writes the new settings")
        s.expect(b"<count>1</count>" in saved, "the start that saved is counted after the first")
        s.expect_equal(sorted(os.listdir(folder)), ["Settings.xml"], "the files in the settings folder")


def scenario_killed_while_saving_the_next_start_reads_complete_settings(s):
    with small_appdata_drive(s) as folder:
        run_and_exit(s)
        settings = os.path.join(folder, "Settings.xml")
        previous = read(settings)
        filler = fill(folder)
        # The save is stuck at its error box, half done; the process dies there.
        process, _ = exit_into_save_error(s)
        process.kill()
        process.wait(timeout=10)
        os.remove(filler)
        s.expect(read(settings) == previous, "the settings file is untouched by the killed save")

        process = vindle.start(s)
        vindle.ruler(s)
        s.expect(not s.find_windows("^Error loading settings"), "no load error after the killed save")
        vindle.exit_vindle(s, process)
        s.expect(b"<count>1</count>" in read(settings), "the next start read the count of the previous file")


# ---- hostile settings files ------------------------------------------------------------

# The bounds the program keeps with any settings file (the tokenizer never holds more than one
# token of 1 MiB, and stops at the first impossible byte).
LOAD_SECONDS = 30          # from the start to the question about the damaged file
PEAK_MEMORY_MB = 256       # resident size of the process at its peak


def peak_memory_mb(process):
    with open(f"/proc/{process.pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) // 1024
    return 0


def fingerprint(path):
    """Size, time and hash of the first and last MiB: enough to see any rewrite of a huge file."""
    status = os.stat(path)
    with open(path, "rb") as f:
        head = f.read(1 << 20)
        f.seek(max(status.st_size - (1 << 20), 0))
        tail = f.read()
    return status.st_size, status.st_mtime_ns, hashlib.sha1(head + tail).hexdigest()


def write_hostile_file(path, head, body_mb, block, tail=b""):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(head)
        chunk = (block * ((1 << 20) // len(block) + 1))[: 1 << 20]
        for _ in range(body_mb):
            f.write(chunk)
        f.write(tail)


def declined_file_is_reported_and_kept(s, label):
    path = vindle.settings_file()
    before = fingerprint(path)
    started = time.monotonic()
    process = s.start(vindle.EXE)
    box = s.wait_window("^Error loading settings", timeout=LOAD_SECONDS + 30)
    seconds = time.monotonic() - started
    memory = peak_memory_mb(process)
    s.screenshot(label)
    print(f"{label}: question after {seconds:.1f} s, peak memory {memory} MB, box {box.name!r}")
    s.expect(seconds <= LOAD_SECONDS, f"the question within {LOAD_SECONDS} s, took {seconds:.1f} s")
    s.expect(memory <= PEAK_MEMORY_MB, f"at most {PEAK_MEMORY_MB} MB of memory, used {memory} MB")
    s.move(*box.centre())
    s.key("n")                                  # No: keep the file
    s.wait_no_window("^Error loading settings")
    vindle.ruler(s)
    vindle.exit_vindle(s, process)
    s.expect(fingerprint(path) == before, "the declined file is not written")


def scenario_huge_value_is_reported_and_the_file_kept(s):
    vindle.forget_settings()
    write_hostile_file(vindle.settings_file(), b"<settings>\r\n\t<general>\r\n\t\t<orientation>", 100, b"1",
                       b"</orientation>\r\n\t</general>\r\n</settings>\r\n")
    try:
        declined_file_is_reported_and_kept(s, "hundred-megabyte-value")
    finally:
        vindle.forget_settings()


def scenario_gigabyte_of_garbage_is_reported_and_the_file_kept(s):
    vindle.forget_settings()
    # Generated here, never kept: a gigabyte of random bytes without structure.
    write_hostile_file(vindle.settings_file(), b"<settings>\r\n", 1024, os.urandom(1 << 20))
    try:
        declined_file_is_reported_and_kept(s, "gigabyte-of-garbage")
    finally:
        vindle.forget_settings()


def scenario_deep_nesting_nul_bytes_and_bad_references_load_quietly(s):
    vindle.forget_settings()
    depth = 100000
    body = (b"\t<deep>" + b"<deep>" * depth + b"\0&#99999999999999999999;&#xD800;&#;" + b"</deep>" * depth +
            b"</deep>\r\n\t<configuration name=\"0\"><name>a&#0;b&#x110000;</name></configuration>\r\n"
            b"\t<general><orientation>1</orientation></general>\r\n")
    os.makedirs(os.path.dirname(vindle.settings_file()), exist_ok=True)
    with open(vindle.settings_file(), "wb") as f:
        f.write(b"<settings>\r\n\0" + body + b"</settings>\r\n")
    started = time.monotonic()
    process = s.start(vindle.EXE)
    win = vindle.ruler(s, timeout=LOAD_SECONDS + 30)
    print(f"nested file: ruler after {time.monotonic() - started:.1f} s, peak memory {peak_memory_mb(process)} MB")
    s.screenshot("after-deep-nesting")
    s.expect(not s.find_windows("^Error loading settings"), "no question about a file that is well formed")
    s.expect(win.height > win.width, f"the vertical ruler read after the nesting, got {win}")
    vindle.exit_vindle(s, process)
    written = read(vindle.settings_file())
    s.expect(b"\0" not in written and b"<deep>" not in written, "the rewritten file is plain and ours")
    s.expect(b"<orientation>1</orientation>" in written, "the values read are written back")
    vindle.forget_settings()


# ---- many starts at once --------------------------------------------------------------

def trivial_program(s):
    """A Windows program that ends at once: the cost of starting any process under Wine."""
    folder = s.path("e2e-reliability")
    os.makedirs(folder, exist_ok=True)
    source = os.path.join(folder, "ends_at_once.c")
    exe = os.path.join(folder, "EndsAtOnce.exe")
    with open(source, "w") as f:
        f.write("int main(void) { return 0; }\n")
    subprocess.run(["i686-w64-mingw32-gcc", "-O1", "-o", exe, source], check=True)
    return exe


def timed_run(s, exe):
    started = time.monotonic()
    process = s.start(exe)
    s.wait_exit(process, timeout=60)
    return time.monotonic() - started


def scenario_twenty_simultaneous_starts_leave_one_instance(s):
    vindle.forget_settings()
    starts = [s.start(vindle.EXE) for _ in range(20)]
    s.wait_for(lambda: sum(p.poll() is None for p in starts) <= 1, "all starts but one to end", timeout=120)
    running = [p for p in starts if p.poll() is None]
    s.expect_equal(len(running), 1, "instances still running")
    first = running[0]
    s.expect(all(p.returncode == 0 for p in starts if p is not first), "the other starts end normally")
    s.wait_for(lambda: vindle.tray_icon_present(s), "the tray icon", timeout=30)
    vindle.ruler(s)
    time.sleep(1)
    s.expect_equal(len(s.find_windows(vindle.RULER_TITLE)), 1, "ruler windows")
    trays = s.find_windows("^Wine System Tray$")
    s.expect(trays and trays[0].width <= 160 + 20, f"one tray icon, got {trays}")
    s.screenshot("after-twenty-starts")

    # A hidden ruler comes back when more starts ask for it, and each of them ends within
    # 2 s of what any process start costs here.
    s.click(*vindle.tray_icon(s))
    s.wait_no_window(vindle.RULER_TITLE)
    baseline = timed_run(s, trivial_program(s))
    late = timed_run(s, s.path(vindle.EXE))
    print(f"a start of a trivial program: {baseline:.2f} s, a second start of Vindle: {late:.2f} s")
    s.expect(late <= baseline + 2.0, f"the second start ends within 2 s of a trivial start ({late:.2f} s vs {baseline:.2f} s)")
    vindle.ruler(s)
    s.click(*vindle.tray_icon(s))
    s.wait_no_window(vindle.RULER_TITLE)
    more = [s.start(vindle.EXE) for _ in range(19)]
    for p in more:
        s.wait_exit(p, timeout=120)
    vindle.ruler(s)
    s.expect(first.poll() is None, "the first instance still runs")
    s.expect_equal(len(s.find_windows(vindle.RULER_TITLE)), 1, "ruler windows")
    vindle.exit_vindle(s, first)


# ---- DLLs planted beside the program ---------------------------------------------------

PLANTED = ("version", "uxtheme", "msimg32", "dwmapi")


def planted_folder(s, exe_name):
    """A folder with a copy of the program and DLLs that leave a mark when they are loaded."""
    folder = tempfile.mkdtemp(prefix="vindle-planted-")
    for name in PLANTED:
        subprocess.run(["i686-w64-mingw32-gcc", "-O1", "-shared", "-static-libgcc", "-Wl,--kill-at",
                        "-o", os.path.join(folder, name + ".dll"), os.path.join(HERE, "planted_dll.c")], check=True)
    shutil.copy(s.path(os.path.join("src", exe_name)), folder)
    return folder


# DLLs Windows always takes from the system folder (known DLLs), and comctl32, which the
# program's manifest takes from the side-by-side store.
KNOWN_SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "ole32.dll",
                     "oleaut32.dll", "comdlg32.dll", "msvcrt.dll", "shlwapi.dll", "imm32.dll", "comctl32.dll"}


def imported_dlls(exe):
    out = subprocess.run(["i686-w64-mingw32-objdump", "-p", exe], capture_output=True, text=True, check=True).stdout
    return {line.split(":", 1)[1].strip().lower() for line in out.splitlines() if line.strip().startswith("DLL Name:")}


def scenario_planted_dlls_beside_the_setup_file_are_not_loaded(s):
    folder = planted_folder(s, "VindleSetup.exe")
    try:
        # Windows resolves the imports of a program beside it first, unless they are known
        # system DLLs: anything else must be loaded later, from the system folder.
        imports = imported_dlls(os.path.join(folder, "VindleSetup.exe"))
        s.expect(imports <= KNOWN_SYSTEM_DLLS, f"only known system DLLs imported at start, got {sorted(imports)}")
        with open(os.path.join(folder, "VindleSetup.exe"), "rb") as f:
            s.expect(b"version.dll" in f.read().lower(), "version.dll is still used, delay-loaded")

        process = s.start(os.path.join(folder, "VindleSetup.exe"))
        s.wait_for(lambda: s.find_windows("Vindle"), "a window of the program", timeout=40)
        time.sleep(3)
        s.screenshot("setup-with-planted-dlls")
        s.expect(process.poll() is None, "the program runs")
        s.end_all()
        marks = sorted(name for name in os.listdir(folder) if name.endswith(".loaded"))
        s.expect_equal(marks, [], "planted DLLs that were loaded")
    finally:
        shutil.rmtree(folder, ignore_errors=True)
