"""The timing loop of bench/capture_start.sh: types the capture shortcut with
xdotool and waits for the editor's window to map. The clock runs from the
moment the display takes the key press to the moment it maps the window:
both are seen as events of the display itself (a raw key event and a map
notification, through Xlib and XInput 2 by ctypes), so that neither
xdotool's own start nor its pause between press and release is counted.
Run by the script, which sets up the display and the prefix."""

import os
import statistics
import subprocess
import sys
import time

from x_display import Display

ROOT, PREFIX, RUNS = sys.argv[1], sys.argv[2], int(sys.argv[3])
BUSY = int(sys.argv[4]) if len(sys.argv) > 4 else 0
LEAK_CAPTURES = 100
WINE_EXEC = [os.path.join(ROOT, "scripts/wine-exec"), PREFIX]
PROGRAM = os.path.join(ROOT, "build/win/glimmerly.exe")
HELPER = os.path.join(ROOT, "build/win/bench/windows/capture_bench_helper.exe")
STAND_IN = os.path.join(ROOT, "build/win/bench/windows/resident_standin.exe")


def helper(*args):
    out = subprocess.run(WINE_EXEC + [HELPER, *map(str, args)], capture_output=True, text=True, timeout=120)
    if out.returncode != 0:
        sys.exit(f"capture_bench_helper {' '.join(map(str, args))} failed: {out.stderr.strip()}")
    return out.stdout.strip()


def key(name):
    subprocess.run(["xdotool", "key", name], check=True)


def escape_into(display, window):
    if window is None or not display.wait_for_focus(window, 30):
        print("the capture's window never got the input focus", file=sys.stderr)
    key("Escape")


def p95(times):
    ordered = sorted(times)
    return ordered[max(0, -(-95 * len(ordered) // 100) - 1)]


def spread(times):
    return (f"median {statistics.median(times):.1f}  p95 {p95(times):.1f}  min {min(times):.1f}  "
            f"max {max(times):.1f}")


def start_load(count):
    """Processes that keep a core busy each, for the figures under load."""
    return [subprocess.Popen([sys.executable, "-c", "while True: pass"]) for _ in range(count)]


def stop_load(busy):
    for process in busy:
        process.kill()
        process.wait()


def measure(display, cold):
    times = []
    child = 0
    for _ in range(RUNS):
        child = int(helper("child", child))
        if cold:
            helper("kill", child)
            time.sleep(0.3)  # the resident forgets the dead child; the next press starts a cold one
        display.drain()
        xdotool = subprocess.Popen(["xdotool", "key", "Print"])
        elapsed, window = display.time_key_to_map(30)
        xdotool.wait()
        if elapsed is None:
            sys.exit("the editor's window never mapped")
        times.append(elapsed * 1000)
        opened = helper("opened")
        escape_into(display, window)
        if helper("closed", opened) == "posted":
            print("the Escape typed on the display did not reach the capture; the helper posted it", file=sys.stderr)
        if cold:
            child = 0  # the cold child is new; the next prepared one follows its exit
    return times


def own_names(path):
    """The command lines Wine gives a program of this tree: its DOS path (Wine
    rewrites it so for the program) or its host path (as for the stand-in)."""
    path = os.path.abspath(path)
    return (("Z:" + path.replace("/", "\\")).encode(), path.encode())


def resident_host_process(names=own_names(PROGRAM)):
    return host_process(names) or sys.exit(f"{names[1].decode()} is not running")


def host_process(names):
    # Wine's own process for the program, not a script that started it, an
    # editor child, nor another tree's program running meanwhile.
    for entry in os.listdir("/proc"):
        try:
            with open(f"/proc/{entry}/cmdline", "rb") as f:
                line = f.read().replace(b"\0", b" ").strip()
            binary = os.path.basename(os.readlink(f"/proc/{entry}/exe"))
        except (OSError, ValueError):
            continue
        if "wine" in binary and line.endswith(names) and b"--prepared-editor" not in line:
            return entry
    return None


def anonymous_mib(pid):
    """The process's anonymous memory as the host counts it: what Wine keeps
    private for it (its heap, and every image it mapped as private pages)."""
    with open(f"/proc/{pid}/smaps_rollup") as f:
        for line in f:
            if line.startswith("Anonymous:"):
                return int(line.split()[1]) / 1024
    return float("nan")


def usage():
    # Wine answers the process counters of another process with zeros, so
    # the host's view of the resident's process stands beside them there.
    private, gdi, user, handles = map(int, helper("usage").split())
    counters = f"private {private / 1048576:.1f} MiB, GDI objects {gdi}, USER objects {user}, handles {handles}"
    pid = resident_host_process()
    with open(f"/proc/{pid}/status") as f:
        status = dict(line.split(":", 1) for line in f if ":" in line)
    host = (f"host: anonymous {anonymous_mib(pid):.1f} MiB, "
            f"threads {status['Threads'].strip()}, descriptors {len(os.listdir(f'/proc/{pid}/fd'))}")
    return f"{counters}; {host}"


def measure_stand_in(display):
    """The stand-in's idle memory and its cold start, timed like the program's:
    a tray icon and a hotkey whose press starts a child that grabs the screen
    and shows it in a full-screen window."""
    stand_in = subprocess.Popen(WINE_EXEC + [STAND_IN])
    deadline = time.monotonic() + 60
    while not host_process(own_names(STAND_IN)):
        if stand_in.poll() is not None or time.monotonic() > deadline:
            sys.exit(f"the stand-in did not start ({stand_in.poll()})")
        time.sleep(0.1)
    time.sleep(2)  # settled: its icon added and its hotkey registered
    pid = resident_host_process(own_names(STAND_IN))
    idle = anonymous_mib(pid)
    times = []
    for _ in range(RUNS):
        display.drain()
        key_press = subprocess.Popen(["xdotool", "key", "Print"])
        elapsed, window = display.time_key_to_map(30)
        key_press.wait()
        if elapsed is None:
            sys.exit("the stand-in's window never mapped")
        times.append(elapsed * 1000)
        escape_into(display, window)
        time.sleep(0.5)  # its child ends on the Escape (or after two seconds)
    stand_in.terminate()
    stand_in.wait()
    return idle, times


def main():
    display = Display(raw_keys=True)
    target = subprocess.Popen(WINE_EXEC + [HELPER, "target"], stdout=subprocess.PIPE, text=True)
    if target.stdout.readline().strip() != "ready":
        sys.exit("the target window did not show")
    subprocess.run(["xdotool", "mousemove", str(display.size[0] // 2), str(display.size[1] // 2)], check=True)
    # The stand-in first, alone with the target: it takes Print Screen too.
    # The idle memory is read before the load starts, the times under it.
    busy = start_load(BUSY)
    stand_in_idle, stand_in_cold = measure_stand_in(display)
    stop_load(busy)
    helper("settings")
    subprocess.Popen(WINE_EXEC + [PROGRAM])

    helper("child", 0)
    idle = usage()
    idle_anonymous = anonymous_mib(resident_host_process())
    busy = start_load(BUSY)
    prepared = measure(display, cold=False)
    cold = measure(display, cold=True)
    stop_load(busy)
    print(f"display {display.size[0]} x {display.size[1]}, {RUNS} runs each, milliseconds"
          + (f", {BUSY} busy processes beside" if BUSY else ""))
    print(f"prepared child: {spread(prepared)}")
    print(f"cold child:     {spread(cold)}")
    print(f"stand-in (tray icon and hotkey, a child started on the key):")
    print(f"  cold child:   {spread(stand_in_cold)}")
    print(f"  idle: host: anonymous {stand_in_idle:.1f} MiB")
    print(f"program / stand-in: cold capture {statistics.median(cold) / statistics.median(stand_in_cold):.2f} x "
          f"(p95 {p95(cold) / p95(stand_in_cold):.2f} x), "
          f"prepared capture {statistics.median(prepared) / statistics.median(stand_in_cold):.2f} x "
          f"(p95 {p95(prepared) / p95(stand_in_cold):.2f} x), "
          f"idle memory {idle_anonymous:.1f} / {stand_in_idle:.1f} MiB = {idle_anonymous / stand_in_idle:.2f} x",
          flush=True)
    # The resident's own use, idle and after many captures: growth would be a
    # leak in the resident's side of the capture road.
    for _ in range(max(0, LEAK_CAPTURES - 2 * RUNS)):
        helper("child", 0)
        display.drain()
        key("Print")
        _, window = display.time_key_to_map(30)
        # The child that opened the capture: the one `child` named may have
        # been replaced by a newer one meanwhile.
        opened = helper("opened")
        escape_into(display, window)
        helper("closed", opened)
    helper("child", 0)
    print(f"resident idle:                {idle}")
    print(f"resident after {max(LEAK_CAPTURES, 2 * RUNS)} captures: {usage()}")
    # The resident closes its child; ending the programs of the prefix instead
    # could miss a child still starting.
    helper("quit")
    target.kill()


main()
