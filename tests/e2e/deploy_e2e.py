"""Setup as deployment tools and package managers run it: no windows with /silent, the result
as an exit code, every step in a log, the quiet uninstall command of the uninstall entry.

Wine hands the exit status to Linux as one byte: 1602 reads 66, 1603 reads 67, 1618 reads 82
and 1639 reads 103 here; the program itself ends with the full code."""
import os
import shlex
import shutil
import subprocess
import tempfile
import time

SETUP = "src/VindleSetup.exe"
UNINSTALL_KEY = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Qorvel Vindle"
DONE, FAILED, RUNNING, BAD_SWITCHES = 0, 1603 % 256, 1618 % 256, 1639 % 256


def drive_c(*parts):
    return os.path.join(os.environ["WINEPREFIX"], "drive_c", *parts)


def run_quietly(s, exe, *args, timeout=120):
    """Runs a program to its end, watching that it shows no window meanwhile; answers its
    exit status and whether a window of the product showed."""
    process = s.start(exe, *args)
    shown = False
    deadline = time.time() + timeout
    while process.poll() is None and time.time() < deadline:
        shown = shown or bool(s.find_windows("Vindle"))
        time.sleep(0.2)
    s.expect(process.poll() is not None, f"{exe} {' '.join(args)} ends by itself")
    return process.returncode, shown


def read_log(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return f.read()


def scenario_silent_install_then_quiet_uninstall(s):
    s.restart_wine()
    shutil.rmtree(drive_c("Tools"), ignore_errors=True)
    setup_log, uninstall_log = drive_c("vindle-setup.log"), drive_c("vindle-uninstall.log")
    for log in (setup_log, uninstall_log):
        if os.path.exists(log):
            os.remove(log)
    code, shown = run_quietly(s, SETUP, "/silent", "/dir", r"C:\Tools\Vindle", "/log", r"C:\vindle-setup.log")
    s.expect_equal(code, DONE, "exit status of the silent installation")
    s.expect(not shown, "a silent installation shows no window")
    exe = drive_c("Tools", "Vindle", "Vindle.exe")
    with open(exe, "rb") as f:
        s.expect_equal(f.read()[-8:], b"LOCALAPP", "marker of the installed copy")
    log = read_log(setup_log)
    for step in (r"Copied C:\Tools\Vindle\Vindle.exe", "Created the shortcut", "Registered the uninstall entry",
                 "Done (exit code 0)."):
        s.expect(step in log, f"the log says {step!r}:\n{log}")
    quiet = s.reg_query(UNINSTALL_KEY, "QuietUninstallString")
    s.expect(quiet and quiet.endswith("/silent"), f"a quiet uninstall command, got {quiet!r}")

    parts = [p.strip('"') for p in shlex.split(quiet, posix=False)]
    code, shown = run_quietly(s, s.unix_path(parts[0]), *parts[1:], "/log", r"C:\vindle-uninstall.log")
    s.expect_equal(code, DONE, "exit status of the quiet uninstallation")
    s.expect(not shown, "a quiet uninstallation shows no window")
    s.expect(not os.path.exists(drive_c("Tools", "Vindle")), "the installation folder is gone")
    s.expect(s.reg_query(UNINSTALL_KEY, "UninstallString") is None, "the uninstall entry is gone")
    log = read_log(uninstall_log)
    s.expect(r"Removed C:\Tools\Vindle" in log and "Done (exit code 0)." in log, f"the uninstall log:\n{log}")


def scenario_busy_bad_and_impossible_setups_say_so_by_exit_code(s):
    s.restart_wine()
    wizard = s.start(SETUP)
    s.wait_window("^Vindle Setup$", timeout=40)
    code, _ = run_quietly(s, SETUP, "/silent")
    s.expect_equal(code, RUNNING, "exit status of a setup while another runs")
    wizard.kill()
    wizard.wait(timeout=10)

    code, _ = run_quietly(s, SETUP, "/silent", "/quiet")
    s.expect_equal(code, BAD_SWITCHES, "exit status for an unknown switch")

    log_path = drive_c("vindle-failed.log")
    if os.path.exists(log_path):
        os.remove(log_path)
    code, shown = run_quietly(s, SETUP, "/silent", "/dir", r"Q:\Nowhere\Vindle", "/log", r"C:\vindle-failed.log")
    s.expect_equal(code, FAILED, "exit status when the folder cannot be created")
    s.expect(not shown, "a failing silent installation shows no window either")
    log = read_log(log_path)
    s.expect(r"Could not create the folder Q:\Nowhere\Vindle" in log and "exit code 1603" in log,
             f"the reason is in the log:\n{log}")


def system_state():
    """Every file of drive C: outside Windows' own and the temporary folders, and the machine's
    and the user's software keys, as comparable text."""
    root = drive_c()
    files = []
    for folder, subfolders, names in os.walk(root):
        relative = os.path.relpath(folder, root)
        subfolders[:] = [d for d in subfolders
                         if not (relative == "." and d.lower() in ("windows", "logs")) and d.lower() != "temp"]
        files += [os.path.join(relative, name) for name in subfolders + names]
    exports = []
    for key in (r"HKLM\SOFTWARE\Qorvel", r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall",
                r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"):
        # A file, not a pipe: a wineserver this call starts would hold a pipe open for ever.
        with tempfile.TemporaryFile() as out:
            subprocess.run(["wine", "reg", "query", key, "/s"], stdout=out, stderr=subprocess.DEVNULL, timeout=60)
            out.seek(0)
            exports.append(out.read().decode("utf-8", "replace").replace("\r", ""))
    return sorted(files), exports


def expect_entry_exactly_with_program(s, what):
    command = s.reg_query(UNINSTALL_KEY, "UninstallString")
    program = command and s.unix_path(shlex.split(command, posix=False)[0].strip('"'))
    s.expect((command is None) == (program is None or not os.path.isfile(program)),
             f"{what}: the uninstall entry is there exactly when its program is ({command!r})")


def scenario_refused_and_failed_setups_leave_the_system_as_it_was(s):
    s.restart_wine()
    shutil.rmtree(drive_c("Tools"), ignore_errors=True)
    shutil.rmtree(drive_c("logs"), ignore_errors=True)
    os.makedirs(drive_c("logs"))
    # Where the copy must fail: the program's name is taken by a folder.
    os.makedirs(drive_c("Tools", "Blocked", "Vindle.exe"))
    user = next(name for name in os.listdir(drive_c("users")) if name.lower() != "public")
    before = system_state()
    for number, (folder, code, reason) in enumerate([
            ("C:\\", BAD_SWITCHES, "a drive, system or user folder"),
            (f"C:\\users\\{user}", BAD_SWITCHES, "a drive, system or user folder"),
            (f"C:\\users\\{user}\\Desktop", BAD_SWITCHES, "a drive, system or user folder"),
            ("C:\\Program Files", BAD_SWITCHES, "a drive, system or user folder"),
            ("C:\\Tools\\Trail. ", BAD_SWITCHES, "drops the dots and spaces"),
            ("C:\\Tools\\CON", BAD_SWITCHES, "is a device name"),
            ("C:\\Tools\\Blocked", FAILED, r"Could not create C:\Tools\Blocked\Vindle.exe")]):
        log_path = f"C:\\logs\\refused-{number}.log"
        got, shown = run_quietly(s, SETUP, "/silent", "/dir", folder, "/log", log_path)
        log = read_log(drive_c("logs", f"refused-{number}.log"))
        s.expect_equal(got, code, f"exit status of /silent /dir {folder!r}:\n{log}")
        s.expect(reason in log, f"the log of {folder!r} says {reason!r}:\n{log}")
        s.expect(not shown, "a refused silent installation shows no window")
        s.expect(system_state() == before, f"/dir {folder!r} changed nothing")
        expect_entry_exactly_with_program(s, folder)

    # One product, one entry: a second folder is refused while the first installation exists.
    code, _ = run_quietly(s, SETUP, "/silent", "/dir", r"C:\Tools\R&D", "/log", r"C:\logs\first.log")
    s.expect_equal(code, DONE, "exit status of the first installation")
    installed = system_state()
    code, _ = run_quietly(s, SETUP, "/silent", "/dir", r"C:\Tools\Second", "/log", r"C:\logs\second.log")
    log = read_log(drive_c("logs", "second.log"))
    s.expect_equal(code, BAD_SWITCHES, f"exit status of a second folder:\n{log}")
    s.expect(r"already installed in C:\Tools\R&D" in log, f"the log names the installation:\n{log}")
    s.expect(system_state() == installed, "the refused second folder changed nothing")
    expect_entry_exactly_with_program(s, "after the refused second folder")

    # The quiet command runs through the command interpreter as it stands, "&" and all.
    quiet = s.reg_query(UNINSTALL_KEY, "QuietUninstallString")
    with open(drive_c("logs", "quiet.cmd"), "w") as script:
        script.write(f"@{quiet}\r\n@exit /b %errorlevel%\r\n")
    done = subprocess.run(["wine", "cmd", "/c", r"C:\logs\quiet.cmd"], stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, timeout=120)
    s.expect_equal(done.returncode, DONE, f"exit status of cmd /c {quiet}")
    s.expect(not os.path.exists(drive_c("Tools", "R&D")), "the installation in C:\\Tools\\R&D is gone")
    s.expect(system_state() == before, "after uninstalling, the system is as before the first installation")
