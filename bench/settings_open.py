"""The timing loop of bench/settings_open.sh. settings_bench.exe (drive)
posts command 170 to the resident when asked; the clock runs from the
request to the display's map notification of the settings window (Xlib by
ctypes). Run by the script, which sets up the display and the prefix."""

import os
import statistics
import subprocess
import sys
import time

from x_display import MAP_NOTIFY, Display

ROOT, PREFIX, RUNS = sys.argv[1], sys.argv[2], int(sys.argv[3])
WINE_EXEC = [os.path.join(ROOT, "scripts/wine-exec"), PREFIX]
PROGRAM = os.path.join(ROOT, "build/win/glimmerly.exe")
HELPER = os.path.join(ROOT, "build/win/bench/windows/settings_bench.exe")
DISPLAY = Display()


def settings_sized(window):
    """The settings window is a few hundred pixels each way; the resident's
    other windows (notices, its hidden window) are not."""
    found = DISPLAY.geometry(window)
    return found is not None and found[2] >= 400 and found[3] >= 300


helper = subprocess.Popen(WINE_EXEC + [HELPER, "drive"], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)


def ask(command):
    helper.stdin.write(command + "\n")
    helper.stdin.flush()
    answer = helper.stdout.readline().strip()
    if answer != "done":
        sys.exit(f"{command}: {answer or 'no answer'}")


def main():
    ask("settings")
    resident = subprocess.Popen(WINE_EXEC + [PROGRAM])
    ask("wait")
    times = []
    for _ in range(RUNS):
        DISPLAY.drain()
        start = time.monotonic()
        ask("open")
        mapped, _ = DISPLAY.wait_for(MAP_NOTIFY, settings_sized, 60)
        if mapped is None:
            sys.exit("the settings window never mapped")
        times.append((mapped - start) * 1000)
        ask("close")
    print(f"{RUNS} runs, milliseconds")
    print(f"command 170 to the settings window mapped: median {statistics.median(times):.1f}  "
          f"min {min(times):.1f}  max {max(times):.1f}")
    ask("quit")
    resident.wait(timeout=60)
    helper.stdin.close()
    helper.wait(timeout=60)


main()
