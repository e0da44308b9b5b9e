"""The timing loop of bench/board_open.sh. The clock runs from the start of
"glimmerly.exe --board" to the display's map notification of a full-screen
window (Xlib by ctypes), and from the Escape key typed with xdotool to the
process's end. The first run draws the 20 notes with xdotool, so that the
page names the monitor as the program does. Run by the script, which sets
up the display and the prefix."""

import glob
import os
import statistics
import subprocess
import sys
import time

from x_display import Display

ROOT, PREFIX, RUNS = sys.argv[1], sys.argv[2], int(sys.argv[3])
WINE_EXEC = [os.path.join(ROOT, "scripts/wine-exec"), PREFIX]
PROGRAM = os.path.join(ROOT, "build/win/glimmerly.exe")
DISPLAY = Display()
SIZE = DISPLAY.size


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True)


def open_board():
    DISPLAY.drain()
    start = time.monotonic()
    process = subprocess.Popen(WINE_EXEC + [PROGRAM, "--board"])
    mapped, window = DISPLAY.wait_for_full_screen_map(60)
    if mapped is None:
        sys.exit("the board's window never mapped")
    if not DISPLAY.wait_for_focus(window, 30):
        print("the board's window never got the input focus", file=sys.stderr)
    return process, (mapped - start) * 1000


def leave(process):
    start = time.monotonic()
    xdotool("key", "Escape")
    if process.wait(timeout=60) != 0:
        sys.exit("the board process failed")
    return (time.monotonic() - start) * 1000


def board_folder():
    found = glob.glob(os.path.join(PREFIX, "drive_c/users/*/AppData/Local/Glimmerly"))
    return os.path.join(found[0], "board") if found else None


def main():
    folder = board_folder()
    if folder:
        for name in glob.glob(os.path.join(folder, "*")):
            os.remove(name)
    process, _ = open_board()
    xdotool("key", "r")
    for i in range(20):
        x, y = 100 + (i % 5) * 340, 100 + (i // 5) * 220
        xdotool("mousemove", x, y, "mousedown", 1, "mousemove", x + 150, y + 100, "mousemove", x + 300, y + 180,
                "mouseup", 1)
    leave(process)
    with open(os.path.join(board_folder(), "page-1.txt"), encoding="utf-8") as f:
        notes = f.read().count("rectangle")
    opened, left = [], []
    for _ in range(RUNS):
        process, elapsed = open_board()
        opened.append(elapsed)
        left.append(leave(process))
    print(f"display {SIZE[0]} x {SIZE[1]}, {notes} notes on the page, {RUNS} runs, milliseconds")
    print(f"--board to window mapped: median {statistics.median(opened):.1f}  min {min(opened):.1f}  max {max(opened):.1f}")
    print(f"Escape to process end:    median {statistics.median(left):.1f}  min {min(left):.1f}  max {max(left):.1f}")


main()
