"""The timing loop of bench/first_start.sh: a first start, timed from the
display's side. Each run removes the settings, starts glimmerly.exe and
waits until the display maps the setup window (not full screen, not the
system tray), then clicks its Save button and waits until the display
unmaps it: from the click to the unmap is the commit of the proposed Print
Screen, which needs no retry since the program already holds the key. The
resident is then ended for the next run; the Wine server stays up. Run by the script."""

import glob
import os
import statistics
import subprocess
import sys
import time

from x_display import MAP_NOTIFY, UNMAP_NOTIFY, Display

ROOT, PREFIX, RUNS = sys.argv[1], sys.argv[2], int(sys.argv[3])
WINE_EXEC = [os.path.join(ROOT, "scripts/wine-exec"), PREFIX]
PROGRAM = os.path.join(ROOT, "build/win/glimmerly.exe")
DISPLAY = Display()


def dialog(window):
    x, y, w, h = DISPLAY.geometry(window) or (0, 0, 0, 0)
    return 400 <= w <= 900 and 200 <= h <= 600


def wait_for(kind, accept, timeout=20.0):
    seen, window = DISPLAY.wait_for(kind, accept, timeout)
    if seen is None:
        sys.exit("timed out")
    return seen, window


def run_once():
    for path in glob.glob(os.path.join(PREFIX, "drive_c/users/*/AppData/Local/Glimmerly/settings.txt")):
        os.remove(path)
    started = time.monotonic()
    process = subprocess.Popen(WINE_EXEC + [PROGRAM], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    mapped, window = wait_for(MAP_NOTIFY, dialog)
    x, y, w, h = DISPLAY.geometry(window) or (0, 0, 0, 0)
    time.sleep(0.5)  # the dialog painted and holding Print Screen; not timed
    # Save's middle: (356, 212) of the 420 x 248 design, below the frame's caption.
    caption = h - 248 * w // 420 if w >= 420 else 0
    subprocess.run(["xdotool", "mousemove", str(x + 356 * w // 420), str(y + caption + 212 * (h - caption) // 248)])
    clicked = time.monotonic()
    subprocess.run(["xdotool", "click", "1"])
    unmapped, _ = wait_for(UNMAP_NOTIFY, lambda win: win == window)
    subprocess.run(WINE_EXEC + ["taskkill", "/f", "/im", "glimmerly.exe"], stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    process.wait()
    time.sleep(0.5)
    return (mapped - started) * 1000, (unmapped - clicked) * 1000


# A server kept running, as it is on a machine where Wine already runs: the
# figure is the program's start, not the server's.
subprocess.run(["env", "WINEPREFIX=" + PREFIX, "wineserver", "-p"])
starts, commits = [], []
for _ in range(RUNS):
    start, commit = run_once()
    starts.append(start)
    commits.append(commit)
print(f"process start to setup window mapped: median {statistics.median(starts):.0f} ms "
      f"(min {min(starts):.0f}, max {max(starts):.0f}, {RUNS} runs)")
print(f"Save clicked to setup window unmapped: median {statistics.median(commits):.0f} ms "
      f"(min {min(commits):.0f}, max {max(commits):.0f}) - includes xdotool's click")
