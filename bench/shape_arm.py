"""The timing loop of bench/shape_arm.sh: a temporary shape's shortcut typed
with xdotool over Notepad, and the drag begun 0.3 s after it, as a presenter
draws; the pointer effects (halo, click ripples, a spotlight waiting for its
key) on for one try and off for the next. The clock runs from the display's
raw key press to the moment the display's input focus is the shapes layer's
window (and, beside it, to the layer's map); both are seen on the display
itself through Xlib by ctypes. A try counts as drawn when 1.3 s after the
release the layer lets the mouse through with the shape in it. A try whose
shortcut never arms the layer (Wine drops a typed combination now and then)
is typed again and counted apart; one whose layer never takes the focus
counts with the 10 s waited for it. Run by the script, which sets up the
display and the prefix."""

import os
import statistics
import subprocess
import sys
import time

from x_display import Display

ROOT, PREFIX, RUNS = sys.argv[1], sys.argv[2], int(sys.argv[3])
BUSY = int(sys.argv[4]) if len(sys.argv) > 4 else 0
WINE_EXEC = [os.path.join(ROOT, "scripts/wine-exec"), PREFIX]
PROGRAM = os.path.join(ROOT, "build/win/glimmerly.exe")
HELPER = os.path.join(ROOT, "build/win/bench/windows/shape_arm_helper.exe")
FOCUS_TIMEOUT = 10.0

helper = subprocess.Popen(WINE_EXEC + [HELPER], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)


def ask(command):
    helper.stdin.write(command + "\n")
    helper.stdin.flush()
    answer = helper.stdout.readline().strip()
    if answer == "failed" or not answer:
        sys.exit(f"{command}: {answer or 'no answer'}")
    return answer


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True)


def start_load(count):
    """Processes that keep a core busy each, for the figures under load."""
    return [subprocess.Popen(["sh", "-c", "while :; do :; done"]) for _ in range(count)]


def stop_load(busy):
    for process in busy:
        process.kill()
        process.wait()


def p95(times):
    ordered = sorted(times)
    return ordered[max(0, -(-95 * len(ordered) // 100) - 1)]


def spread(times):
    return (f"median {statistics.median(times):7.1f}  p95 {p95(times):7.1f}  min {min(times):7.1f}  "
            f"max {max(times):7.1f}")


def one_try(display, effects, index):
    """(key to map, key to focus) in milliseconds and whether the shape was
    drawn; None when the shortcut never armed the layer."""
    ask("effects on" if effects else "effects off")
    ask("front")
    # The pointer over Notepad (keys reach Wine only over one of its
    # windows), moving as a presenter's does before the shortcut.
    xdotool("mousemove", 900, 900, "sleep", 0.1, "mousemove", 960, 540)
    # Wine's desktop process reads the key map of a focus change only when
    # the next Alt wakes it, and forgets that Alt: a lone one takes it.
    xdotool("key", "alt", "Escape")
    ask("calm")
    x, y = 300 + 200 * (index % 5), 200 + 150 * (index % 4)
    display.drain()
    typed = subprocess.Popen(["xdotool", *map(str, ("key", "alt+r", "sleep", 0.1, "mousemove", x, y, "sleep", 0.2,
                                                    "mousedown", 1, "sleep", 0.1, "mousemove", x + 90, y + 60,
                                                    "sleep", 0.1, "mousemove", x + 180, y + 120, "sleep", 0.1,
                                                    "mouseup", 1))])
    elapsed, window = display.time_key_to_map(5)
    mapped = time.monotonic()
    if window is None:
        typed.wait()
        ask("drop")
        return None
    pressed = mapped - elapsed
    focused = mapped + FOCUS_TIMEOUT
    if display.wait_for_focus(window, FOCUS_TIMEOUT):
        focused = time.monotonic()
    typed.wait()
    time.sleep(1.3)
    drawn = ask("shape") == "drawn"
    ask("drop")
    return elapsed * 1000, (focused - pressed) * 1000, drawn


def main():
    display = Display(raw_keys=True)
    ask("settings")
    resident = subprocess.Popen(WINE_EXEC + [PROGRAM])
    ask("wait")
    ask("front")
    busy = start_load(BUSY)
    maps = {True: [], False: []}
    focus = {True: [], False: []}
    drawn = {True: 0, False: 0}
    lost = {True: 0, False: 0}
    unfocused = {True: 0, False: 0}
    for index in range(2 * RUNS):
        effects = index % 2 == 0
        while True:
            result = one_try(display, effects, index)
            if result is not None:
                break
            lost[effects] += 1
            if lost[effects] > RUNS:
                sys.exit("the shortcut never armed the layer, again and again")
        maps[effects].append(result[0])
        focus[effects].append(result[1])
        unfocused[effects] += result[1] >= FOCUS_TIMEOUT * 1000
        drawn[effects] += result[2]
    stop_load(busy)
    print(f"display {display.size[0]} x {display.size[1]}, {RUNS} tries each, alternated, milliseconds"
          + (f", {BUSY} busy processes beside" if BUSY else ""))
    for effects in (True, False):
        name = "effects on: " if effects else "effects off:"
        print(f"{name} key to focus {spread(focus[effects])}")
        print(f"             key to map   {spread(maps[effects])}")
        print(f"             drawn {drawn[effects]} of {RUNS}; never focused {unfocused[effects]}; "
              f"shortcut typed again {lost[effects]} times")
    print(f"effects on / off, key to focus: median {statistics.median(focus[True]) / statistics.median(focus[False]):.2f} x"
          f", p95 {p95(focus[True]) / p95(focus[False]):.2f} x", flush=True)
    ask("quit")
    resident.wait(timeout=60)
    helper.stdin.close()
    helper.wait(timeout=60)


main()
