#!/usr/bin/env python3
"""End-to-end tests of Tremo.exe under Wine with the simulated keyboard.

Plays the configuration program's side through `scripts/sim listen`, drives the
keyboard and the service through `scripts/sim`, and checks the keyboard's journal
and the settings files. One session (a prefix with Tremo running) is shared by the
cases that run in order against it:

    tremo_e2e.py ROOT BIN SIM_DIR CASE

CASE is start, start-absent, stop, or one of the case names below.
"""
import os
import re
import signal
import subprocess
import sys
import threading
import time

ROOT, BIN, SIM_DIR, CASE = sys.argv[1:5]
SIM = os.path.join(ROOT, "scripts", "sim")
# scripts/sim runs $BUILD_DIR/windows/bin/Tremo.exe.
ENV = dict(os.environ, SIM_DIR=SIM_DIR, BUILD_DIR=os.path.dirname(os.path.dirname(os.path.abspath(BIN))))
# The harness's own prefix must not leak into the session's.
for name in ("WINEPREFIX", "WINESERVER"):
    ENV.pop(name, None)


def feature_line(*command):
    """The journal line of a command as the service frames it."""
    c = list(command) + [0] * (7 - len(command))
    return "F 00" + "".join(f"{b:02X}" for b in c) + f"{(sum(c) & 0xFF) ^ 0xAA:02X}"


START_FRAME = feature_line(0x02, 0xFF, 0x10, 0x01)
SKIP = 77  # CTest SKIP_RETURN_CODE


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def sim(*args, timeout=120, check_rc=True):
    r = subprocess.run([SIM, *map(str, args)], env=ENV, stdin=subprocess.DEVNULL, capture_output=True,
                       text=True, timeout=timeout)
    if check_rc and r.returncode != 0:
        raise Failure(f"scripts/sim {' '.join(map(str, args))} failed ({r.returncode}): {r.stderr.strip()}")
    return r.stdout


def probe(*args, timeout=60):
    exe = os.path.join(BIN, "tremo_probe.exe")
    r = subprocess.run([SIM, "exec", exe, *map(str, args)], env=ENV, stdin=subprocess.DEVNULL,
                       capture_output=True, text=True, timeout=timeout)
    return r.returncode, r.stdout


class Listener:
    """`scripts/sim listen`: the stand-in configuration window and what it receives."""

    def __init__(self, seconds=120):
        self.lines = []
        self.lock = threading.Lock()
        self.proc = subprocess.Popen([SIM, "listen", str(seconds)], env=ENV, stdin=subprocess.DEVNULL,
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                                     start_new_session=True)
        self.thread = threading.Thread(target=self._read, daemon=True)
        self.thread.start()
        wait_for(lambda: window_exists("Dravex Orsel RGB Keyboard"), 15, "the listener's window")

    def _read(self):
        for line in self.proc.stdout:
            with self.lock:
                self.lines.append(line.strip())

    def received(self):
        with self.lock:
            return list(self.lines)

    def wait(self, line, seconds):
        wait_for(lambda: line in self.received(), seconds, f"'{line}' from the service (got {self.received()})")

    def close(self):
        # The stand-in window ends on the quit message, as the configuration program does.
        if self.proc.poll() is None:
            probe("quit-window", "Dravex Orsel RGB Keyboard")
        try:
            self.proc.wait(15)
        except subprocess.TimeoutExpired:
            os.killpg(self.proc.pid, signal.SIGKILL)
            self.proc.wait(5)
        wait_for(lambda: not window_exists("Dravex Orsel RGB Keyboard"), 10, "the listener to close")

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


def window_exists(title):
    rc, _ = probe("has-window", title)
    return rc == 0


def wait_for(condition, seconds, what):
    end = time.time() + seconds
    while True:
        if condition():
            return
        if time.time() > end:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(0.1)


def journal():
    return [re.sub(r"\s+@\d+$", "", l.strip()) for l in sim("journal").splitlines()
            if l.strip() and not l.startswith("#")]


def tremo_log():
    try:
        return open(sim("tremo-log").strip(), encoding="utf-8", errors="replace").read()
    except OSError:
        return ""


def settings_dir():
    return sim("settings-dir").strip()


def read_ini(path):
    data = open(path, "rb").read()
    text = data.decode("utf-16") if data[:2] in (b"\xff\xfe", b"\xfe\xff") else data.decode("cp1252")
    sections = {}
    current = None
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            current = sections.setdefault(line[1:-1].lower(), {})
        elif "=" in line and current is not None:
            k, v = line.split("=", 1)
            current[k.strip().lower()] = v.strip()
    return sections


def write_ini_value(path, section, key, value):
    data = open(path, "rb").read()
    utf16 = data[:2] == b"\xff\xfe"
    text = data.decode("utf-16") if utf16 else data.decode("cp1252")
    out, current, done = [], None, False
    for line in text.splitlines():
        s = line.strip()
        if s.startswith("[") and s.endswith("]"):
            current = s[1:-1].lower()
        elif current == section.lower() and "=" in s and s.split("=", 1)[0].strip().lower() == key.lower():
            line = f"{key}={value}"
            done = True
        out.append(line)
    check(done, f"{key} not found in {path}")
    text = "\r\n".join(out) + "\r\n"
    open(path, "wb").write(b"\xff\xfe" + text.encode("utf-16-le") if utf16 else text.encode("cp1252"))


def config_ini():
    return read_ini(os.path.join(settings_dir(), "Config.ini"))["setting"]


def profile_file(p):
    return os.path.join(settings_dir(), "config", f"Default{p}.gkp")


def settings_snapshot():
    folder = settings_dir()
    names = ["Config.ini"] + [os.path.join("config", f"Default{p}.gkp") for p in range(4)]
    return {n: open(os.path.join(folder, n), "rb").read() for n in names}


def service_running():
    return window_exists("Vo Orsel RGB GamingKeyboardMonitor")


def tray_shown():
    rc, _ = probe("tray")
    return rc == 0


def last_apply(lines, expected):
    """The lines of the journal's last apply: from the last performance command on."""
    starts = [i for i, l in enumerate(lines) if l == expected[0]]
    check(starts, f"no apply in the journal (first expected line {expected[0]})")
    return lines[starts[-1]:starts[-1] + len(expected)]


def expected_apply():
    rc, out = probe("expect-apply")
    check(rc == 0, "tremo_probe expect-apply failed")
    return [l.strip() for l in out.splitlines() if l.strip() and not l.startswith("#")]


def apply_and_wait(listener, wparam=0):
    before = listener.received().count("1224 0 1")
    sim("post", wparam, 0)
    wait_for(lambda: listener.received().count("1224 0 1") > before, 30, "1224 0 1 after the apply")


def windows_path(linux_path):
    r = subprocess.run(["winepath", "-w", linux_path], env=dict(ENV, WINEPREFIX=os.path.join(SIM_DIR, "prefix")),
                       capture_output=True, text=True, stdin=subprocess.DEVNULL, timeout=60)
    return r.stdout.strip()


# ---- cases ---------------------------------------------------------------

def case_start():
    if not os.path.exists(SIM):
        print("SKIP: scripts/sim is not there yet (the simulated keyboard's Wine side)")
        return SKIP
    sim("stop", check_rc=False)
    sim("start", timeout=300)
    check(service_running(), "Tremo's window did not appear")


def case_start_absent():
    if not os.path.exists(SIM):
        print("SKIP: scripts/sim is not there yet")
        return SKIP
    sim("stop", check_rc=False)
    sim("start", "--no-keyboard", "--no-tremo", timeout=300)
    with Listener() as listener:
        sim("start-tremo", timeout=120)
        listener.wait("quit", 10)
        check(config_ini().get("keyboardplugin") == "0", "KeyboardPlugIn is not 0 after an absent start")
        check(not tray_shown(), "tray icon shown without the keyboard")
        check(service_running(), "Tremo ended without the keyboard")
    log = tremo_log()
    # Wine writes each diagnostic twice (OutputDebugStringA, then dispatch_exception).
    searches = log.count('OutputDebugStringA "SetupDiEnumDeviceInterfaces failed.')
    check(searches == 10, f"{searches} searches at start instead of ten")
    check("Hide icon and write device NULL" in log, "no diagnostic of the hidden icon")
    sim("plug")
    wait_for(lambda: config_ini().get("keyboardplugin") == "1", 15, "KeyboardPlugIn 1 after plugging in")
    wait_for(tray_shown, 10, "the tray icon after plugging in")
    wait_for(lambda: START_FRAME in journal(), 10, "02 FF 10 01 after plugging in")
    with Listener() as listener:
        sim("press-profile", 1)
        listener.wait("1224 1 20", 10)  # the reader runs


def case_first_start():
    folder = settings_dir()
    for name in ["Config.ini"] + [os.path.join("config", f"Default{p}.gkp") for p in range(4)]:
        check(os.path.isfile(os.path.join(folder, name)), f"{name} missing after the first start")
    setting = config_ini()
    check(setting.get("currentprofile") == "0", f"CurrentProfile {setting.get('currentprofile')}")
    check(setting.get("keyboardplugin") == "1", f"KeyboardPlugIn {setting.get('keyboardplugin')}")
    rc, out = probe("factory-check")
    check(rc == 0, f"the profile files do not hold factory values: {out.strip()}")
    lines = journal()
    check(lines.count(START_FRAME) == 1, f"02 FF 10 01 sent {lines.count(START_FRAME)} times")
    check(not any(l.startswith("F 0011") for l in lines), "an apply was sent at start")
    check(tray_shown(), "no tray icon with the keyboard present")
    # A second copy ends at once and leaves the first untouched.
    r = subprocess.run([SIM, "exec", os.path.join(BIN, "Tremo.exe")], env=ENV, stdin=subprocess.DEVNULL,
                       capture_output=True, timeout=30)
    check(r.returncode == 0, f"second Tremo exited with {r.returncode}")
    check(service_running() and tray_shown(), "the first Tremo was disturbed")
    check(journal().count(START_FRAME) == 1, "the second Tremo talked to the keyboard")


def case_apply():
    with Listener() as listener:
        for wparam in (0, 1):
            apply_and_wait(listener, wparam)
            expected = expected_apply()
            got = last_apply(journal(), expected)
            check(got == expected, f"apply {wparam}: journal differs from the expected transcript:\n"
                  + "\n".join(f"{a:40} {b}" for a, b in zip(expected, got) if a != b)[:2000])
        n = len(journal())
        received = len(listener.received())
        sim("post", 2, 3)
        wait_for(lambda: feature_line(1, 3) in journal()[n:], 5, "01 03 after 1224 (2, 3)")
        time.sleep(1.5)
        check(len(listener.received()) == received,
              f"something came back after 1224 (2, 3): {listener.received()[received:]}")
        sim("post", 2, 0)


def case_keys():
    with Listener() as listener:
        sim("press-profile", 2)
        listener.wait("1224 2 20", 10)
        check(config_ini().get("currentprofile") == "2", "CurrentProfile not saved after the profile key")
        sim("press-effect", 2)
        listener.wait("1224 2 30", 10)
        check(read_ini(profile_file(2))["setting"].get("lteffecttype") == "5",
              "LtEffectType of profile 2 not 5 after effect key 2")
    before = settings_snapshot()
    sim("press-profile", 1)
    sim("press-effect", 0)
    time.sleep(1.5)
    check(settings_snapshot() == before, "files changed by the keyboard's keys without the configuration window")
    with Listener() as listener:
        sim("post", 2, 0)
        apply_and_wait(listener)  # the keyboard and the files agree again


def link(profile, path):
    write_ini_value(profile_file(profile), "Setting", "GameFile", path)


def case_foreground():
    exe = windows_path(os.path.join(BIN, "tremo_probe.exe"))
    check(exe.lower().endswith("tremo_probe.exe"), f"winepath gave {exe!r}")
    with Listener() as listener:
        link(3, exe)
        apply_and_wait(listener)
        # In the background: nothing switches.
        n = len(journal())
        probe("window", 3, "--background", timeout=30)
        check(not feature_line(1, 3) in journal()[n:], "switched for a program in the background")
        check("1224 3 20" not in listener.received(), "1224 3 20 for a program in the background")
        # In the foreground: 01 03, saved, 1224 (3, 20).
        probe("window", 3, timeout=30)
        listener.wait("1224 3 20", 5)
        check(feature_line(1, 3) in journal()[n:], "no 01 03 for the linked program")
        check(config_ini().get("currentprofile") == "3", "CurrentProfile 3 not saved")
        # A path differing only in letter case.
        link(3, "")
        link(1, exe.upper())
        sim("post", 2, 0)
        apply_and_wait(listener)
        probe("window", 3, timeout=30)
        listener.wait("1224 1 20", 5)
        link(1, "")
        sim("post", 2, 0)
        apply_and_wait(listener)


def case_unplug_during_apply():
    with Listener() as listener:
        before = settings_snapshot()
        sim("post", 0, 0)
        time.sleep(1.5)
        sim("unplug")
        listener.wait("1224 0 1", 30)
        listener.wait("quit", 15)
        check(service_running(), "Tremo ended after the unplug")
        wait_for(lambda: config_ini().get("keyboardplugin") == "0", 10, "KeyboardPlugIn 0 after the unplug")
        after = settings_snapshot()
        for name in before:
            check(len(after[name]) > 0, f"{name} empty after the unplug")
        rc, out = probe("load-check")
        check(rc == 0, f"settings files damaged: {out}")
    check(not tray_shown(), "tray icon still shown after the unplug")
    n = journal().count(START_FRAME)
    sim("plug")
    wait_for(lambda: config_ini().get("keyboardplugin") == "1", 15, "KeyboardPlugIn 1 after plugging in again")
    wait_for(lambda: journal().count(START_FRAME) > n, 10, "02 FF 10 01 after plugging in again")
    check(tray_shown(), "no tray icon after plugging in again")


def case_menu():
    with Listener() as listener:
        rc, _ = probe("command", 2027)
        check(rc == 0, "could not post 2027")
        time.sleep(1)
        check(service_running(), "Tremo ended on 2027")
        rc, _ = probe("command", 2026)
        check(rc == 0, "could not post 2026")
        listener.wait("quit", 10)
        rc, _ = probe("wait-exit", 10)
        check(rc == 0, "Tremo's window is still there after 2026")
    # The process itself ends too: the reader thread does not keep it alive.
    pid = open(os.path.join(SIM_DIR, "tremo.pid")).read().strip()
    wait_for(lambda: process_gone(pid), 10, f"Tremo's process {pid} to end")


def process_gone(pid):
    try:
        with open(f"/proc/{pid}/stat") as f:
            return f.read().split(")")[-1].split()[0] in ("Z", "X")
    except OSError:
        return True


CASES = {
    "start": case_start,
    "start-absent": case_start_absent,
    "first-start": case_first_start,
    "apply": case_apply,
    "keys": case_keys,
    "foreground": case_foreground,
    "unplug-during-apply": case_unplug_during_apply,
    "menu": case_menu,
    "stop": lambda: sim("stop", check_rc=False) and None,
}


def main():
    try:
        rc = CASES[CASE]()
    except Failure as e:
        print(f"FAILED {CASE}: {e}")
        return 1
    except subprocess.TimeoutExpired as e:
        print(f"FAILED {CASE}: timeout: {e}")
        return 1
    print(f"{CASE}: {'skipped' if rc == SKIP else 'passed'}")
    return rc or 0


if __name__ == "__main__":
    sys.exit(main())
