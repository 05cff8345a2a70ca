#!/usr/bin/python3
"""How Tavoret's start and preview scale with the number of installed fonts.

    /usr/bin/python3 bench/scaling.py [--build DIR] [--app PATH] [--bench PATH]
        [--floor PATH] [--firstpaint PATH] [--cache DIR]
        [--sizes 0,1000,4000] [--repeat 5] [--runs 100]

For each size N it measures the program against the machine's fonts plus N generated font
families and prints one Markdown table with a column per N:

- start-up, timed from outside on a private Xvfb by tavoret_firstpaint (X DAMAGE): the bare Qt
  window tavoret_floor (the floor), tavoret started bare (until its first paint) and tavoret
  started with a font file (until the drawing stops, i.e. the previewed face is drawn), each
  --repeat times, interleaved, after one untimed round; medians, and peak RSS;
- in-process timings from `tavoret_bench --runs RUNS preview fonttable` on the offscreen
  platform (one preview + redraw, a step of the arrow-key run, a re-read of the font list after
  the user's font folder changed). Its whole output goes to CACHE/last-run.log.

CACHE is $XDG_CACHE_HOME/tavoret-bench or ~/.cache/tavoret-bench unless --cache says otherwise.
The generated fonts (4000 families "Tavoret Many 0001" ..., made once by
tests/fonts/make_test_fonts.py, about 80 s and 76 MB) are kept in CACHE/many/1 ... 4, 1000 in
each; the configuration for N, CACHE/fonts-N.conf, is the machine's configuration plus the first
N/1000 of these folders, with its own font cache in CACHE/fc-cache (fc-cache brings it up to
date, which takes a moment only the first time). Every program run gets that configuration in
FONTCONFIG_FILE, a fresh, empty HOME and XDG folders, and the display of a private Xvfb.

Needs Xvfb, xdpyinfo, fc-cache and fc-list, fontTools for the generator, and the builds of
tavoret, tavoret_bench, tavoret_floor and tavoret_firstpaint (by default from build/).
--app and --bench measure other binaries, e.g. an older build kept elsewhere.
"""

import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
GENERATOR = os.path.join(REPO, "tests", "fonts", "make_test_fonts.py")
PREVIEW_FILE = os.path.join(REPO, "tests", "fonts", "files", "TavoretBeta.ttf")
FONTS_PER_FOLDER = 1000
FOLDERS = 4


def log(message):
    print(message, file=sys.stderr, flush=True)


def run(command, env=None, timeout=600):
    """Runs a command and returns its stdout; raises on failure or timeout."""
    return subprocess.run(command, env=env, timeout=timeout, check=True, text=True,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE).stdout


# The generated fonts.

def expected_files(folder):
    first = (folder - 1) * FONTS_PER_FOLDER + 1
    return {"bench-%04d.ttf" % n for n in range(first, first + FONTS_PER_FOLDER)}


def folder_complete(cache, folder):
    path = os.path.join(cache, "many", str(folder))
    return os.path.isdir(path) and expected_files(folder) <= set(os.listdir(path))


def ensure_many_fonts(cache, folders):
    """Makes CACHE/many/1 ... unless the folders asked for are all there."""
    if all(folder_complete(cache, f) for f in range(1, folders + 1)):
        return
    count = FONTS_PER_FOLDER * FOLDERS
    scratch = os.path.join(cache, "many", "new")
    shutil.rmtree(scratch, ignore_errors=True)
    log("generating %d font families in %s (takes a minute or two) ..." % (count, scratch))
    run(["/usr/bin/python3", GENERATOR, "--many", str(count), scratch, "--family", "Tavoret Many"],
        timeout=3600)
    for folder in range(1, FOLDERS + 1):
        path = os.path.join(cache, "many", str(folder))
        shutil.rmtree(path, ignore_errors=True)
        os.makedirs(path)
        for name in expected_files(folder):
            os.rename(os.path.join(scratch, name), os.path.join(path, name))
    shutil.rmtree(scratch)


def write_config(cache, size):
    """Writes CACHE/fonts-N.conf (only when its text changes) and returns its path."""
    dirs = "".join("  <dir>%s</dir>\n" % os.path.join(cache, "many", str(f))
                   for f in range(1, size // FONTS_PER_FOLDER + 1))
    text = ('<?xml version="1.0"?>\n<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">\n'
            "<fontconfig>\n  <cachedir>%s</cachedir>\n"
            '  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>\n%s</fontconfig>\n'
            % (os.path.join(cache, "fc-cache"), dirs))
    path = os.path.join(cache, "fonts-%d.conf" % size)
    old = None
    if os.path.exists(path):
        with open(path) as f:
            old = f.read()
    if old != text:
        with open(path, "w") as f:
            f.write(text)
    return path


# Program runs.

class Sandbox:
    """A fresh HOME and XDG folders for every run, below one temporary folder."""

    def __init__(self, display, config):
        self.root = tempfile.mkdtemp(prefix="tavoret-scaling-")
        self.display = display
        self.config = config

    def env(self, platform):
        """The environment of one run; the folders are emptied first."""
        run_dir = os.path.join(self.root, "run")
        shutil.rmtree(run_dir, ignore_errors=True)
        env = dict(os.environ)
        env.pop("WAYLAND_DISPLAY", None)
        for name, sub in (("HOME", "home"), ("XDG_DATA_HOME", "data"),
                          ("XDG_CONFIG_HOME", "config"), ("XDG_CACHE_HOME", "cache"),
                          ("XDG_RUNTIME_DIR", "runtime")):
            env[name] = os.path.join(run_dir, sub)
            os.makedirs(env[name], mode=0o700)
        env["FONTCONFIG_FILE"] = self.config
        env["DISPLAY"] = self.display
        env["QT_QPA_PLATFORM"] = platform
        return env

    def remove(self):
        shutil.rmtree(self.root, ignore_errors=True)


def count_fonts(sandbox):
    """Brings the configuration's font cache up to date; returns (font files, families)."""
    env = sandbox.env("offscreen")
    cache = subprocess.run(["fc-cache"], env=env, timeout=1800, text=True,
                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    if cache.returncode != 0:
        log("fc-cache: %s" % cache.stdout.strip()[-300:])
    files = set(run(["fc-list", "--format", "%{file}\n"], env=env, timeout=300).splitlines())
    families = set(run(["fc-list", "--format", "%{family[0]}\n"], env=env, timeout=300).splitlines())
    return len(files - {""}), len(families - {""})


def first_paint(tools, sandbox, command):
    """One start timed by tavoret_firstpaint: a dict of its figures, or None."""
    try:
        result = subprocess.run([tools.firstpaint, "--timeout", "30000", "--"] + command,
                                env=sandbox.env("xcb"), timeout=90, text=True,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    except subprocess.TimeoutExpired:
        log("timed out: %s" % " ".join(command))
        return None
    figures = dict(re.findall(r"(\w+)=(-?[\d.]+)", result.stdout))
    if result.returncode != 0 or "first_paint_ms" not in figures:
        log("no first paint for %s: %s" % (" ".join(command), result.stderr.strip()[-300:]))
        return None
    return {key: float(value) for key, value in figures.items()}


def startup(tools, sandbox, repeat):
    """Start-up figures, medians over `repeat` interleaved rounds (after one untimed round), and
    the single times."""
    runs = {  # command, and the figure that counts for it
        "floor": ([tools.floor], "first_paint_ms"),
        "app": ([tools.app], "first_paint_ms"),
        "file": ([tools.app, PREVIEW_FILE], "settled_ms"),
    }
    samples = {name: [] for name in runs}
    for round_ in range(repeat + 1):
        for name, (command, _) in runs.items():
            figures = first_paint(tools, sandbox, command)
            if round_ > 0 and figures:
                samples[name].append(figures)

    def median(values):
        values = [v for v in values if v >= 0]
        return statistics.median(values) if values else None

    times = {name: [s[key] for s in samples[name]] for name, (_, key) in runs.items()}
    figures = {name: median(values) for name, values in times.items()}
    figures["rss_floor"] = median([s["peak_rss_kib"] for s in samples["floor"]])
    figures["rss_app"] = median([s["peak_rss_kib"] for s in samples["app"]])
    return figures, times


def in_process(tools, sandbox, runs):
    """tavoret_bench's figures (None where a line is missing) and its raw output."""
    try:
        result = subprocess.run([tools.bench, "--runs", str(runs), "preview", "fonttable"],
                                env=sandbox.env("offscreen"), timeout=7200, text=True,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        output = result.stdout
    except subprocess.TimeoutExpired as timeout:
        output = timeout.stdout or b""
        if isinstance(output, bytes):
            output = output.decode(errors="replace")
        output += "\n(timed out)\n"
    timings = {}
    for name, median, p90 in re.findall(
            r"^(.+?):\s+median ([\d.]+) ms \(min [\d.]+, 90% ([\d.]+);", output, re.M):
        timings[name.strip()] = (float(median), float(p90))
    arrow = re.search(r"per step median ([\d.]+) ms, slowest ([\d.]+) ms", output)
    figures = {
        "preview": timings.get("one preview (click) + redraw", (None, None)),
        "arrow": (float(arrow.group(1)), float(arrow.group(2))) if arrow else (None, None),
        "reread": timings.get("ReadInstalledFontNames after a change", (None, None))[0],
    }
    return figures, output


# Xvfb.

def start_xvfb():
    """Starts Xvfb on the first free display from :90 on; returns (process, display)."""
    for number in range(90, 200):
        if os.path.exists("/tmp/.X%d-lock" % number) or os.path.exists("/tmp/.X11-unix/X%d" % number):
            continue
        display = ":%d" % number
        # -noreset: the server stays as it is between the runs instead of resetting whenever its
        # last client leaves, so the next run never meets a server in the middle of a reset.
        xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                                 "-noreset"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 15
        while time.monotonic() < deadline and xvfb.poll() is None:
            ready = subprocess.run(["xdpyinfo", "-display", display], timeout=10,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if ready.returncode == 0:
                return xvfb, display
            time.sleep(0.1)
        stop(xvfb)  # another server took the display, or it did not come up
    raise RuntimeError("could not start Xvfb")


def stop(process):
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


# The table.

def ms(value):
    if value is None:
        return "n/a"
    return "%.1f" % value if value >= 10 else "%.2f" % value


def times(value, floor):
    if value is None or not floor:
        return ms(value)
    return "%s (%.2f×)" % (ms(value), value / floor)


def mib(kib):
    return None if kib is None else kib / 1024


def table(sizes, results):
    rows = [
        ("installed font files", lambda r: str(r["files"])),
        ("families", lambda r: str(r["families"])),
        ("floor: start to first paint (ms)", lambda r: ms(r["floor"])),
        ("start to first paint (ms, × floor)", lambda r: times(r["app"], r["floor"])),
        ("start with a file until the preview is drawn (ms, × floor)",
         lambda r: times(r["file"], r["floor"])),
        ("one preview + redraw, median / 90 % (ms)",
         lambda r: "%s / %s" % (ms(r["preview"][0]), ms(r["preview"][1]))),
        ("arrow-key step, median / slowest (ms)",
         lambda r: "%s / %s" % (ms(r["arrow"][0]), ms(r["arrow"][1]))),
        ("re-read after a font-folder change (ms)", lambda r: ms(r["reread"])),
        ("peak RSS floor (MiB)", lambda r: ms(mib(r["rss_floor"]))),
        ("peak RSS app (MiB, × floor)", lambda r: times(mib(r["rss_app"]), mib(r["rss_floor"]))),
    ]
    lines = ["| generated families | " + " | ".join(str(n) for n in sizes) + " |",
             "|---|" + "---:|" * len(sizes)]
    for title, cell in rows:
        lines.append("| %s | %s |" % (title, " | ".join(cell(results[n]) for n in sizes)))
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default="build", help="build folder (relative to the repository)")
    parser.add_argument("--app", help="tavoret to measure (default BUILD/tavoret)")
    parser.add_argument("--bench", help="tavoret_bench to run (default BUILD/bench/tavoret_bench)")
    parser.add_argument("--floor", help="default BUILD/bench/tavoret_floor")
    parser.add_argument("--firstpaint", help="default BUILD/bench/tavoret_firstpaint")
    parser.add_argument("--cache", help="generated fonts, configurations and the log "
                        "(default $XDG_CACHE_HOME/tavoret-bench or ~/.cache/tavoret-bench)")
    parser.add_argument("--sizes", default="0,1000,4000", help="numbers of generated families")
    parser.add_argument("--repeat", type=int, default=5, help="starts of each program per size")
    parser.add_argument("--runs", type=int, default=100, help="tavoret_bench --runs")
    tools = parser.parse_args()

    build = os.path.join(REPO, tools.build)
    tools.app = os.path.abspath(tools.app or os.path.join(build, "tavoret"))
    tools.bench = os.path.abspath(tools.bench or os.path.join(build, "bench", "tavoret_bench"))
    tools.floor = os.path.abspath(tools.floor or os.path.join(build, "bench", "tavoret_floor"))
    tools.firstpaint = os.path.abspath(tools.firstpaint or os.path.join(build, "bench", "tavoret_firstpaint"))
    for path in (tools.app, tools.bench, tools.floor, tools.firstpaint):
        if not os.access(path, os.X_OK):
            parser.error("not an executable: %s" % path)
    cache = os.path.abspath(tools.cache or os.path.join(
        os.environ.get("XDG_CACHE_HOME") or os.path.expanduser("~/.cache"), "tavoret-bench"))
    sizes = [int(s) for s in tools.sizes.split(",")]
    if any(n < 0 or n % FONTS_PER_FOLDER or n > FONTS_PER_FOLDER * FOLDERS for n in sizes):
        parser.error("sizes must be multiples of %d up to %d" % (FONTS_PER_FOLDER, FONTS_PER_FOLDER * FOLDERS))

    os.makedirs(os.path.join(cache, "fc-cache"), exist_ok=True)
    ensure_many_fonts(cache, max(sizes) // FONTS_PER_FOLDER)
    xvfb, display = start_xvfb()
    results = {}
    try:
        with open(os.path.join(cache, "last-run.log"), "w") as raw:
            raw.write("app %s\nbench %s\n" % (tools.app, tools.bench))
            for size in sizes:
                sandbox = Sandbox(display, write_config(cache, size))
                try:
                    log("%d generated families: font cache ..." % size)
                    files, families = count_fonts(sandbox)
                    log("%d generated families: start-up (%d rounds) ..." % (size, tools.repeat))
                    figures, spread = startup(tools, sandbox, tools.repeat)
                    log("%d generated families: tavoret_bench ..." % size)
                    bench, output = in_process(tools, sandbox, tools.runs)
                finally:
                    sandbox.remove()
                results[size] = dict(files=files, families=families, **figures, **bench)
                raw.write("\n== %d generated families (FONTCONFIG_FILE=%s)\n" % (size, sandbox.config))
                for name, values in spread.items():
                    raw.write("start-up %s (ms): %s\n" % (name, " ".join(ms(v) for v in values)))
                raw.write(output)
                raw.flush()
    finally:
        stop(xvfb)
    print(table(sizes, results))


if __name__ == "__main__":
    main()
