#!/usr/bin/env python3
"""Time from process start to the first presented frame (run inside Xvfb).

Starts the program RUNS times with TESMORA_STARTUP_REPORT=1 and reads its report: the
"startup <step> <ms>" lines (time since main at each step of start-up) and "first frame
presented after <ms> ms (present_ns <counter>)". The figure from process start is taken
from just before the process is created (CLOCK_MONOTONIC here, the same clock as the
program's counter), so it also counts loading the program and its libraries before main.

Usage: startup_driver.py PROGRAM PROJECT [RUNS]
Prints one line: "startup runs N from_spawn_median A from_main_median B steps STEP=MS ..."
"""
import os
import statistics
import subprocess
import sys
import time


def main():
    program, project = sys.argv[1], sys.argv[2]
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 7
    env = dict(os.environ, TESMORA_STARTUP_REPORT="1")
    from_spawn, from_main, steps = [], [], {}
    for _ in range(runs):
        t0 = time.monotonic_ns()
        proc = subprocess.Popen([program, project], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env,
                                text=True, bufsize=1)
        try:
            deadline = time.monotonic() + 30
            for line in proc.stdout:
                parts = line.split()
                if line.startswith("startup ") and len(parts) >= 3:
                    steps.setdefault(parts[1], []).append(float(parts[2]))
                elif line.startswith("first frame presented after"):
                    from_main.append(float(parts[4]))
                    from_spawn.append((int(parts[7].rstrip(")")) - t0) / 1e6)
                    break
                if time.monotonic() > deadline:
                    break
        finally:
            proc.kill()
            proc.wait()
        time.sleep(0.2)
    if not from_spawn:
        sys.exit("startup_driver: no first frame reported")
    order = sorted(steps, key=lambda s: statistics.median(steps[s]))
    print("startup runs %d from_spawn_median %.1f from_main_median %.1f steps %s" %
          (len(from_spawn), statistics.median(from_spawn), statistics.median(from_main),
           " ".join("%s=%.1f" % (s, statistics.median(steps[s])) for s in order)))


if __name__ == "__main__":
    main()
