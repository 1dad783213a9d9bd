#!/usr/bin/env python3
"""Console mode beside two other serial terminals on the same load: a colourful log
(ANSI colours on every line) written into a pseudo-terminal whose other end each
terminal shows, one run at a time, on one virtual display.

For each terminal: the time from the first byte written until its processes are idle
again (their CPU time stops growing for half a second), as MB/s, median of the runs.

    console_peers.py PORTPROBE [--megabytes N] [--runs N]

Needs picocom, tmux and gtkterm (Debian packages), Xvfb and an X display in DISPLAY
(run it under xvfb-run), and PORTPROBE a build of the window.
"""
import argparse
import os
import pty
import statistics
import subprocess
import tempfile
import threading
import time
import tty

COLOURS = ["31", "32", "33", "34", "35", "36", "1;31", "38;5;208"]


def colour_log(size):
    """The load of bench/receive_flood's console rows: coloured level and name a line."""
    lines, line = [], 0
    total = 0
    while total < size:
        text = (f"\x1b[{COLOURS[line % 8]}m[  OK  ]\x1b[0m Started \x1b[1;{COLOURS[(line // 8) % 8]}m"
                f"service-{line}\x1b[0m: the daemon that keeps line {line * 7919} of the log going.\r\n")
        lines.append(text)
        total += len(text)
        line += 1
    return "".join(lines).encode()[:size]


def cpu_ticks(pids):
    total = 0
    for pid in pids:
        try:
            with open(f"/proc/{pid}/stat") as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
            total += int(fields[11]) + int(fields[12])
        except (FileNotFoundError, ProcessLookupError):
            pass
    return total


def descendants(pid):
    """pid and every process below it."""
    found, queue = [], [pid]
    while queue:
        current = queue.pop()
        found.append(current)
        try:
            with open(f"/proc/{current}/task/{current}/children") as children:
                queue.extend(int(child) for child in children.read().split())
        except FileNotFoundError:
            pass
    return found


def run(start, load, extra_pids=lambda: []):
    """Starts a terminal on a fresh pty; returns the seconds until it is idle again."""
    master, slave = pty.openpty()
    tty.setraw(slave)
    path = os.ttyname(slave)
    process = start(path)
    time.sleep(3)  # the terminal opens its port and draws its first screen
    pids = lambda: descendants(process.pid) + extra_pids()
    done = threading.Event()

    def write():
        view = memoryview(load)
        while view:
            view = view[os.write(master, view[:65536]):]
        done.set()

    began = time.monotonic()
    threading.Thread(target=write, daemon=True).start()
    last_change, last_ticks = began, cpu_ticks(pids())
    while True:
        time.sleep(0.05)
        ticks = cpu_ticks(pids())
        now = time.monotonic()
        if ticks != last_ticks:
            last_change, last_ticks = now, ticks
        elif done.is_set() and now - last_change > 0.5:
            break
        if now - began > 300:
            break
    process.terminate()
    process.wait()
    os.close(master)
    os.close(slave)
    return last_change - began


def tmux_server_pids():
    out = subprocess.run(["tmux", "-L", "bench", "display", "-p", "#{pid}"], capture_output=True, text=True).stdout
    return descendants(int(out)) if out.strip() else []


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("portprobe")
    parser.add_argument("--megabytes", type=int, default=16)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--only", help="the one terminal to run, by the start of its name")
    args = parser.parse_args()
    load = colour_log(args.megabytes << 20)
    config = tempfile.mkdtemp()
    os.makedirs(f"{config}/portprobe")
    with open(f"{config}/portprobe/portprobe.ini", "w") as settings:
        settings.write("[display]\nconsole=true\n")
    env = dict(os.environ, XDG_CONFIG_HOME=config, XDG_STATE_HOME=tempfile.mkdtemp())

    def picocom(path):
        subprocess.run(["tmux", "-L", "bench", "kill-server"], stderr=subprocess.DEVNULL)
        return subprocess.Popen(["tmux", "-L", "bench", "new-session", "-d", "-x", "80", "-y", "24",
                                 f"picocom -q -b 115200 {path}"], stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                env=dict(os.environ, TERM="xterm-256color"))

    terminals = [
        ("PortProbe, console mode", lambda path: subprocess.Popen(
            [args.portprobe, "--port", path], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL), None),
        ("picocom in tmux", picocom, tmux_server_pids),
        ("gtkterm", lambda path: subprocess.Popen(
            ["gtkterm", "-p", path, "-s", "115200"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL), None),
    ]
    print(f"{args.megabytes} MiB of colourful log lines, MB/s until idle, median of {args.runs} runs")
    for name, start, extra in terminals:
        if args.only and not name.startswith(args.only):
            continue
        seconds = [run(start, load, extra or (lambda: [])) for _ in range(args.runs)]
        rate = len(load) / 1e6 / statistics.median(seconds)
        print(f"{name:26} {rate:8.1f}   ({', '.join(f'{s:.1f}' for s in seconds)} s)", flush=True)
    subprocess.run(["tmux", "-L", "bench", "kill-server"], stderr=subprocess.DEVNULL)


if __name__ == "__main__":
    main()
