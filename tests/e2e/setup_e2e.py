"""The setup file as a user meets it: the installation wizard page by page, the installed
copy, a second setup that finds it, the uninstallation through the Windows uninstall entry,
and a portable installation to a removable drive."""
import os
import shlex
import shutil
import subprocess
import time

import vindle

SETUP = "src/VindleSetup.exe"
SETUP_TITLE = "^Vindle Setup$"
UNINSTALL_TITLE = "^Uninstall Vindle$"
CLIENT_WIDTH, CLIENT_HEIGHT = 416, 346
UNINSTALL_KEY = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Qorvel Vindle"
INSTALLATION_KEY = r"HKLM\SOFTWARE\Qorvel\Vindle\installation"

# Places on the wizard's client area (96-dpi units; Wine runs at 96 dpi).
BACK, NEXT, CANCEL = (201, 326), (286, 326), (371, 326)
ACCEPT_LICENCE = (20, 263)
PORTABLE_SETUP = (20, 155)
START_NOW = (20, 243)


class Wizard:
    """The wizard window, clicked in client coordinates."""

    def __init__(self, s, title):
        self.s = s
        self.title = title
        self.win = s.wait_window(title, timeout=40)
        border = (self.win.width - CLIENT_WIDTH) // 2
        self.left = self.win.x + border
        self.top = self.win.y + self.win.height - CLIENT_HEIGHT - border

    def click(self, point):
        self.s.click(self.left + point[0], self.top + point[1])

    def shot(self, label):
        return self.s.screenshot(label)

    def pixel(self, shot, point):
        return shot.pixel(self.left + point[0], self.top + point[1])

    def button_enabled(self, point, label="buttons"):
        """Whether the button at `point` shows its caption in dark (enabled) text."""
        shot = self.shot(label)
        return any(max(self.pixel(shot, (point[0] + dx, point[1] + dy))) < 80
                   for dx in range(-25, 26) for dy in range(-5, 6))

    def wait_next_enabled(self, what, timeout=40):
        self.s.wait_for(lambda: self.button_enabled(NEXT), what, timeout=timeout, interval=0.5)
        time.sleep(0.3)


def program_files():
    return os.path.join(os.environ["WINEPREFIX"], "drive_c", "Program Files")


def installed_folder():
    return os.path.join(program_files(), "Qorvel", "Vindle")


def answer_box(s, title, key):
    """Answers a message box by its accelerator key."""
    box = s.wait_window(f"^{title}$", timeout=20)
    s.screenshot(f"box-{title}")
    s.click(box.x + box.width // 2, box.y + 10)  # the box gets the keyboard
    s.key(key)
    s.wait_no_window(f"^{title}$", timeout=10)


def tray_host():
    """The process id of this prefix's desktop, which holds Wine's tray; None without one."""
    def read(pid, name):
        try:
            with open(f"/proc/{pid}/{name}", "rb") as f:
                return f.read().lower().split(b"\0")
        except OSError:
            return []
    ours = f"WINEPREFIX={os.environ['WINEPREFIX']}".lower().encode()
    return next((int(pid) for pid in filter(str.isdigit, os.listdir("/proc"))
                 if b"/desktop" in read(pid, "cmdline") and ours in read(pid, "environ")), None)


def expect_tray_outlives_setup(s):
    """The setup has ended and only the copy it started uses the desktop: the desktop and its
    tray must stay through trips into the tray menu, rounds of messages through its host."""
    host = s.wait_for(tray_host, "the desktop that holds the tray")
    for trip in range(3):
        menu = vindle.open_tray_menu(s)
        s.key("Escape")
        s.wait_for(lambda: not [w for w in s.find_windows("") if w.id == menu.id], "the tray menu to close")
        s.expect_equal(tray_host(), host, f"the tray's host after trip {trip + 1} through its menu")
    s.expect(vindle.tray_icon_present(s), "the icon stays in the tray")


def exit_tray_program(s):
    vindle.choose_from_tray_menu(s, "x")
    s.wait_for(lambda: not vindle.tray_icon_present(s), "the tray icon to go", timeout=20)


def start_setup_at_setup_type(s):
    """Starts the setup file and walks its wizard to the setup-type page."""
    setup = s.start(SETUP)
    w = Wizard(s, SETUP_TITLE)
    w.wait_next_enabled("the wizard to show")
    walk_to_setup_type(s, w)
    return setup, w


def walk_to_setup_type(s, w):
    w.shot("welcome")
    w.click(NEXT)
    time.sleep(0.5)
    w.shot("licence")
    s.expect(not w.button_enabled(NEXT), "Next is disabled until the licence is accepted")
    w.click(ACCEPT_LICENCE)
    s.expect(w.button_enabled(NEXT), "Next is enabled once the licence is accepted")
    w.click(NEXT)
    time.sleep(0.5)
    w.shot("setup-type")


def scenario_local_installation_then_again_then_uninstall(s):
    s.restart_wine()
    shutil.rmtree(installed_folder(), ignore_errors=True)
    install_locally(s)

    exe = os.path.join(installed_folder(), "Vindle.exe")
    with open(exe, "rb") as f:
        data = f.read()
    with open(s.path(SETUP), "rb") as f:
        setup_data = f.read()
    s.expect_equal(len(data), len(setup_data), "size of the installed copy")
    s.expect_equal(data[-8:], b"LOCALAPP", "marker of the installed copy")
    s.expect(os.path.isfile(os.path.join(installed_folder(), "Installation.xml")), "the uninstall configuration")
    s.wait_for(lambda: vindle.tray_icon_present(s), "the installed copy started from the completion page", timeout=30)
    expect_tray_outlives_setup(s)
    s.screenshot("installed-copy-running")
    uninstall = s.reg_query(UNINSTALL_KEY, "UninstallString")
    s.expect(uninstall and "-uninstall" in uninstall, f"an uninstall entry, got {uninstall!r}")
    s.expect_equal(s.reg_query(INSTALLATION_KEY, "Directory"), r"C:\Program Files\Qorvel\Vindle", "installation folder")
    exit_tray_program(s)

    # A second setup finds the installation.
    setup, w = start_setup_at_setup_type(s)
    w.click(NEXT)
    time.sleep(0.5)
    w.shot("previous-installation")
    w.click(CANCEL)
    answer_box(s, "Exit Setup", "y")
    s.wait_exit(setup, timeout=20)
    s.expect(os.path.isfile(exe), "cancelling the second setup leaves the installation alone")

    # The uninstall entry's command line: the installed copy hands over to a temporary copy.
    u = run_uninstall_entry(s)
    u.shot("uninstall-welcome")
    u.click(NEXT)  # "Uninstall now"
    time.sleep(0.5)
    u.shot("uninstalling")
    u.wait_next_enabled("the uninstallation to finish")
    u.shot("uninstalled")
    u.click(NEXT)  # "Finish"
    s.wait_no_window(UNINSTALL_TITLE)
    s.expect(not os.path.exists(installed_folder()), "the installation folder is removed")
    s.expect(s.reg_query(UNINSTALL_KEY, "UninstallString") is None, "the uninstall entry is removed")
    s.expect(s.reg_query(INSTALLATION_KEY, "Directory") is None, "the installation key is removed")
    programs = os.path.join(os.environ["WINEPREFIX"], "drive_c", "ProgramData", "Microsoft", "Windows",
                            "Start Menu", "Programs", "Qorvel")
    s.expect(not os.path.exists(programs), "the start-menu group is removed")
    s.expect(not os.path.exists(os.path.join(program_files(), "Qorvel")), "the company folder left empty goes")
    company_key = subprocess.run(["wine", "reg", "query", r"HKLM\SOFTWARE\Qorvel"], stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL)
    s.expect(company_key.returncode != 0, "the company key left empty goes")


def drive_link(letter):
    return os.path.join(os.environ["WINEPREFIX"], "dosdevices", f"{letter}:")


def map_removable_drive(s, letter, folder):
    """A Wine drive letter on a folder, reported as a removable (floppy) drive."""
    os.makedirs(folder, exist_ok=True)
    unmap_drive(letter)
    os.symlink(folder, drive_link(letter))
    subprocess.run(["wine", "reg", "add", r"HKLM\Software\Wine\Drives", "/v", f"{letter}:", "/t", "REG_SZ", "/d",
                    "floppy", "/f"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    s.restart_wine()


def unmap_drive(letter):
    if os.path.islink(drive_link(letter)):
        os.remove(drive_link(letter))
    subprocess.run(["wine", "reg", "delete", r"HKLM\Software\Wine\Drives", "/v", f"{letter}:", "/f"],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def scenario_portable_installation_to_a_removable_drive(s):
    drive = os.path.join(s.shots_dir, "removable")
    shutil.rmtree(drive, ignore_errors=True)
    map_removable_drive(s, "r", drive)
    try:
        portable_installation(s, drive)
    finally:
        s.end_all()
        unmap_drive("r")


def portable_installation(s, drive):
    setup, w = start_setup_at_setup_type(s)
    w.click(PORTABLE_SETUP)
    time.sleep(0.5)
    w.shot("portable-drive-chosen")
    w.click(NEXT)
    time.sleep(0.5)
    w.shot("portable-folder")
    w.click(NEXT)  # "Install now"
    exe = os.path.join(drive, "Qorvel", "Vindle", "Vindle.exe")
    w.wait_next_enabled("the completion page")
    w.shot("portable-completed")
    w.click(NEXT)  # "Finish" starts it
    s.wait_exit(setup, timeout=20)
    with open(exe, "rb") as f:
        s.expect_equal(f.read()[-8:], b"PORTABLE", "marker of the portable copy")
    s.expect(not os.path.exists(os.path.join(drive, "Qorvel", "Vindle", "Installation.xml")),
             "a portable installation has no uninstaller")
    s.expect(s.reg_query(UNINSTALL_KEY, "UninstallString") is None, "a portable installation registers nothing")
    s.wait_for(lambda: vindle.tray_icon_present(s), "the portable copy started from the completion page", timeout=30)
    tip = vindle.icon_tooltip(s)
    s.screenshot("portable-tooltip")
    s.expect(tip.width >= 70, f"a tooltip as wide as 'Vindle portable', got {tip}")
    exit_tray_program(s)
    s.expect(os.path.isfile(os.path.join(drive, "Qorvel", "Vindle", "Vindle.xml")),
             "the portable copy keeps its settings beside itself")


def install_locally(s):
    """Walks the wizard through a local installation (into the previous installation's folder
    when there is one, else the proposed folder); Finish starts the installed copy."""
    setup, w = start_setup_at_setup_type(s)
    w.click(NEXT)
    time.sleep(0.5)
    if os.path.isdir(installed_folder()):
        w.shot("previous-installation")
        w.click(NEXT)  # the same folder (update / repair)
        time.sleep(0.5)
    else:
        w.shot("install-folder")
        w.click(NEXT)  # the proposed folder
        time.sleep(0.5)
    w.shot("start-menu")
    w.click(NEXT)  # "Install now"
    time.sleep(0.8)
    w.shot("installing")
    w.wait_next_enabled("the completion page", timeout=60)
    w.shot("completed")
    w.click(NEXT)  # "Finish" with "Start Vindle now" checked
    s.wait_exit(setup, timeout=20)


def run_uninstall_entry(s):
    uninstall = s.reg_query(UNINSTALL_KEY, "UninstallString")
    s.expect(uninstall and "-uninstall" in uninstall, f"an uninstall entry, got {uninstall!r}")
    parts = [p.strip('"') for p in shlex.split(uninstall, posix=False)]
    s.start(s.unix_path(parts[0]), *parts[1:])
    u = Wizard(s, UNINSTALL_TITLE)
    u.wait_next_enabled("the uninstall wizard to show")
    return u


def scenario_setup_and_uninstall_close_the_running_vindle_and_keep_the_users_files(s):
    s.restart_wine()
    shutil.rmtree(os.path.join(program_files(), "Qorvel"), ignore_errors=True)
    vindle.forget_settings()
    install_locally(s)
    s.wait_for(lambda: vindle.tray_icon_present(s), "the installed copy to start", timeout=30)
    s.wait_for(lambda: vindle.notification_shown(s), "the first start to say where the program lives", timeout=10)
    s.screenshot("first-start-notification")
    exe = os.path.join(installed_folder(), "Vindle.exe")
    s.expect_equal(s.reg_query(UNINSTALL_KEY, "DisplayIcon"), r"C:\Program Files\Qorvel\Vindle\Vindle.exe",
                   "the icon of the entry in the list of programs")
    s.expect_equal(s.reg_query(UNINSTALL_KEY, "NoModify"), "0x1", "no Modify button for the entry")

    # Setup over the running copy: it is asked to end, the copy succeeds, Finish starts it again.
    install_locally(s)
    with open(exe, "rb") as f:
        s.expect_equal(f.read()[-8:], b"LOCALAPP", "the copy over the running program")
    s.wait_for(lambda: vindle.tray_icon_present(s), "the updated copy to start", timeout=30)
    time.sleep(3)
    s.expect(not vindle.notification_shown(s), "a later start shows no notification")

    # A damaged configuration file: the failure is reported and the entry stays for another try.
    config = os.path.join(installed_folder(), "Installation.xml")
    with open(config, "rb") as f:
        recorded = f.read()
    open(config, "wb").close()
    u = run_uninstall_entry(s)
    u.click(NEXT)  # "Uninstall now"
    answer_box(s, "Error", "Return")
    s.wait_no_window(UNINSTALL_TITLE, timeout=20)
    s.expect(os.path.isfile(exe), "nothing is removed on a corrupt configuration")
    s.expect(vindle.tray_icon_present(s), "the program is not closed for a configuration that cannot be read")
    s.expect(s.reg_query(UNINSTALL_KEY, "UninstallString"), "the uninstall entry stays")
    with open(config, "wb") as f:
        f.write(recorded)

    # The uninstallation while the program runs, with the user's own file in its folder.
    if os.path.exists(vindle.settings_file()):
        os.remove(vindle.settings_file())
    users_file = os.path.join(installed_folder(), "My measurements.txt")
    with open(users_file, "w") as f:
        f.write("the user's")
    u = run_uninstall_entry(s)
    u.click(NEXT)  # "Uninstall now"
    u.wait_next_enabled("the uninstallation to finish", timeout=60)
    u.shot("uninstalled-with-a-users-file")
    s.expect(not vindle.tray_icon_present(s), "the running program was closed")
    s.expect(os.path.isfile(vindle.settings_file()), "the program saved its settings as it ended")
    u.click(NEXT)  # "Finish"
    s.wait_no_window(UNINSTALL_TITLE)
    s.expect(not os.path.exists(exe), "the program file is removed")
    s.expect(not os.path.exists(config), "the configuration file is removed")
    s.expect(os.path.isfile(users_file), "the user's file stays, and its folder with it")
    s.expect(s.reg_query(UNINSTALL_KEY, "UninstallString") is None, "the uninstall entry is removed")
    s.expect(s.reg_query(INSTALLATION_KEY, "Directory") is None, "the installation key is removed")
    shutil.rmtree(os.path.join(program_files(), "Qorvel"), ignore_errors=True)
