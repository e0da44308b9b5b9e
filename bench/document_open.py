"""The timing loop of bench/document_open.sh: starts the program with an
editable document named on its command line, as a double-click does, and
waits for the editor's window to map. The clock runs from the moment the
process is started (with Wine's server already running, as it is on a
desktop where other programs run) to the map notification of the display.
The window is closed with Escape typed by xdotool. Run by the script, which
sets up the display and the prefix."""

import os
import statistics
import subprocess
import sys
import time

from x_display import Display

ROOT, PREFIX, RUNS = sys.argv[1], sys.argv[2], int(sys.argv[3])
WINE_EXEC = [os.path.join(ROOT, "scripts/wine-exec"), PREFIX]
PROGRAM = os.path.join(ROOT, "build/win/glimmerly.exe")
HELPER = os.path.join(ROOT, "build/win/bench/windows/document_bench_helper.exe")
DOCUMENT = os.path.join(ROOT, "build/win/bench-document.vexil")


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def open_once(display):
    display.drain()
    started = time.monotonic()
    program = subprocess.Popen(WINE_EXEC + [PROGRAM, windows_path(DOCUMENT)])
    mapped, window = display.wait_for_full_screen_map(60)
    if mapped is None:
        program.kill()
        sys.exit("the editor's window never mapped")
    if not display.wait_for_focus(window, 30):
        print("the editor's window never got the input focus", file=sys.stderr)
    subprocess.run(["xdotool", "key", "Escape"], check=True)
    if program.wait(timeout=60) != 0:
        sys.exit("the document editor did not end with exit code 0")
    return (mapped - started) * 1000


def main():
    out = subprocess.run(WINE_EXEC + [HELPER, windows_path(DOCUMENT)], capture_output=True, text=True, timeout=120)
    if out.returncode != 0:
        sys.exit(f"document_bench_helper failed: {out.stderr.strip()}")
    display = Display()
    # Focus follows the pointer on a display without a window manager.
    subprocess.run(["xdotool", "mousemove", str(display.size[0] // 2), str(display.size[1] // 2)], check=True)
    open_once(display)  # Wine's server and the program's pages warm, as on a desktop in use
    times = [open_once(display) for _ in range(RUNS)]
    print(f"display {display.size[0]} x {display.size[1]}, {os.path.getsize(DOCUMENT)} byte document, {RUNS} runs")
    print(f"process start to editor window mapped: median {statistics.median(times):.1f} ms  "
          f"min {min(times):.1f}  max {max(times):.1f}")


main()
