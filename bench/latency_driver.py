#!/usr/bin/env python3
"""Input-to-present latency of the real program under an X server (run inside Xvfb).

Starts tesmora with TESMORA_LATENCY_REPORT=1 on a project, focuses its window and sends
key strokes through the XTEST extension at random moments (alternately a letter and
BackSpace, so the document does not grow), reading the program's "latency <ms>
present_ns <counter>" lines. For each stroke it takes the first frame presented after
the stroke was flushed to the server and reports two figures:
  - in-process: the program's own figure, from the platform event's time stamp to just
    after the present (what the program can see);
  - end-to-end: from the moment the stroke left this driver to that present (both
    clocks are CLOCK_MONOTONIC), which also counts the wait for the main loop's sleep.

Usage: latency_driver.py PROGRAM PROJECT [STROKES]
Prints one line: "latency strokes N in_process_median M in_process_p99 P end_to_end_median E end_to_end_p99 Q"
"""
import ctypes
import os
import random
import subprocess
import sys
import threading
import time


def percentile(values, p):
    s = sorted(values)
    if not s:
        return float("nan")
    k = min(len(s) - 1, max(0, int(round(p / 100.0 * (len(s) - 1)))))
    return s[k]


def main():
    program, project = sys.argv[1], sys.argv[2]
    strokes = int(sys.argv[3]) if len(sys.argv) > 3 else 200
    env = dict(os.environ, TESMORA_LATENCY_REPORT="1", TESMORA_STARTUP_REPORT="1")
    proc = subprocess.Popen([program, project], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env,
                            text=True, bufsize=1)
    lines = []  # (present_ns, ms)
    started = threading.Event()
    lock = threading.Lock()

    def reader():
        for line in proc.stdout:
            if line.startswith("first frame"):
                started.set()
            elif line.startswith("latency "):
                parts = line.split()
                with lock:
                    lines.append((int(parts[3]), float(parts[1])))

    threading.Thread(target=reader, daemon=True).start()
    try:
        if not started.wait(30):
            sys.exit("latency_driver: no first frame")
        window = subprocess.run(["xdotool", "search", "--sync", "--name", "^tesmora$"], capture_output=True,
                                text=True, timeout=20).stdout.split()[0]
        subprocess.run(["xdotool", "windowfocus", "--sync", window], timeout=20, check=True)
        time.sleep(1.0)  # the first analysis and the focus events settle

        x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
        xtst = ctypes.cdll.LoadLibrary("libXtst.so.6")
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        x11.XFlush.argtypes = [ctypes.c_void_p]
        xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        display = x11.XOpenDisplay(None)
        if not display:
            sys.exit("latency_driver: cannot open the display")
        letter = x11.XKeysymToKeycode(display, 0x61)  # XK_a
        backspace = x11.XKeysymToKeycode(display, 0xFF08)  # XK_BackSpace

        random.seed(1)
        sent = []
        for i in range(strokes):
            time.sleep(random.uniform(0.03, 0.07))  # random phase against the frame loop
            code = letter if i % 2 == 0 else backspace
            xtst.XTestFakeKeyEvent(display, code, 1, 0)
            xtst.XTestFakeKeyEvent(display, code, 0, 0)
            x11.XFlush(display)
            sent.append(time.monotonic_ns())
        time.sleep(0.5)
    finally:
        proc.kill()
        proc.wait()

    with lock:
        reported = sorted(lines)
    in_process, end_to_end = [], []
    j = 0
    for t in sent:
        while j < len(reported) and reported[j][0] <= t:
            j += 1
        if j < len(reported):
            in_process.append(reported[j][1])
            end_to_end.append((reported[j][0] - t) / 1e6)
    if not in_process:
        sys.exit("latency_driver: no latency lines")
    print("latency strokes %d in_process_median %.2f in_process_p99 %.2f end_to_end_median %.2f end_to_end_p99 %.2f" %
          (len(in_process), percentile(in_process, 50), percentile(in_process, 99), percentile(end_to_end, 50),
           percentile(end_to_end, 99)))


if __name__ == "__main__":
    main()
