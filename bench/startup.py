#!/usr/bin/env python3
"""Start-up against the floor: runs the start-up probe (the program's own
start, ending at the job chooser's first paint) and the floor (one Qt dialog
with one button, ending at its first paint) alternately, each in the offscreen
platform with a fresh temporary profile, and prints the medians of their wall
times, the ratio, and the peak resident memory of each.

    python3 bench/startup.py [--build BUILD_DIR] [--runs N] [--empty-profile]
                             [--first-start]

By default the profile is a returning user's (language chosen, builds of every
job stored), made once per script run and used by every run, as the same
user's starts would; --empty-profile starts from nothing but a chosen
language, and --first-start gives every run a new profile and data folder,
so each start also writes the desktop registration anew.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def run_once(exe, env):
    """Wall time in ms, peak RSS in KiB and the in-process time to first paint."""
    start = time.perf_counter()
    proc = subprocess.Popen([exe], env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(proc.pid, 0)
    wall = (time.perf_counter() - start) * 1000.0
    out = proc.stdout.read().decode(errors="replace")
    err = proc.stderr.read().decode(errors="replace")
    proc.stdout.close()
    proc.stderr.close()
    code = os.waitstatus_to_exitcode(status)
    if code != 0:
        sys.exit(f"{exe} ended with {code}:\n{out}{err}")
    inside = None
    for line in out.splitlines():
        if line.startswith("first-paint-ms "):
            inside = float(line.split()[1])
    return wall, usage.ru_maxrss, inside


def fresh_env(root, name, probe, profile):
    """A temporary configuration and data folder. profile: None (nothing),
    "language" (only a chosen language) or "builds" (a returning user)."""
    home = os.path.join(root, name)
    if os.path.exists(home):
        shutil.rmtree(home)
    env = dict(os.environ)
    env["QT_QPA_PLATFORM"] = "offscreen"
    env["XDG_CONFIG_HOME"] = os.path.join(home, "config")
    env["XDG_DATA_HOME"] = os.path.join(home, "data")
    env["XDG_CACHE_HOME"] = os.path.join(home, "cache")
    env["XDG_RUNTIME_DIR"] = os.path.join(home, "runtime")
    for d in ("config", "data", "cache", "runtime"):
        os.makedirs(os.path.join(home, d), mode=0o700)
    if profile == "builds":
        subprocess.run([probe, "--seed-profile"], env=env, check=True,
                       stdout=subprocess.DEVNULL)
    elif profile == "language":
        os.makedirs(os.path.join(env["XDG_CONFIG_HOME"], "Tolvemar"))
        ini = os.path.join(env["XDG_CONFIG_HOME"], "Tolvemar", "Tolvemar.ini")
        with open(ini, "w", encoding="utf-8") as f:
            f.write("[Option]\nLanguage=0\n")
    return env


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(here, "..", "build-rel"))
    parser.add_argument("--runs", type=int, default=30)
    parser.add_argument("--empty-profile", action="store_true")
    parser.add_argument("--first-start", action="store_true")
    args = parser.parse_args()
    if args.runs < 20:
        sys.exit("at least 20 runs of each")
    probe = os.path.join(args.build, "bench", "tolvemar_startup_probe")
    floor = os.path.join(args.build, "bench", "tolvemar_startup_floor")
    for exe in (probe, floor):
        if not os.access(exe, os.X_OK):
            sys.exit(f"missing {exe}: build the benchmarks first (see bench/README.md)")

    probe_profile = "language" if args.empty_profile else "builds"
    results = {"probe": [], "floor": []}
    with tempfile.TemporaryDirectory(prefix="tolvemar-startup-") as root:
        envs = {}
        # One warm-up run of each, not counted: the first start after a build
        # pays for reading the files from disk, and the program's first start
        # for its desktop registration.
        for name, exe in (("probe", probe), ("floor", floor)):
            envs[name] = fresh_env(root, name, probe, probe_profile if name == "probe" else None)
            run_once(exe, envs[name])
        for _ in range(args.runs):
            for name, exe in (("probe", probe), ("floor", floor)):
                if args.first_start:
                    envs[name] = fresh_env(root, name, probe,
                                           probe_profile if name == "probe" else None)
                results[name].append(run_once(exe, envs[name]))

    def med(name, i):
        return statistics.median(r[i] for r in results[name])

    kind = "new profile each run" if args.first_start else "one temporary profile"
    print(f"runs of each: {args.runs} (alternating), QT_QPA_PLATFORM=offscreen, {kind}, "
          f"{'language only' if args.empty_profile else 'builds of every job'}")
    print(f"{'':8}{'wall median ms':>16}{'first paint ms':>16}{'peak RSS MiB':>14}")
    for name in ("probe", "floor"):
        print(f"{name:8}{med(name, 0):16.1f}{med(name, 2):16.1f}{max(r[1] for r in results[name]) / 1024:14.1f}")
    ratio = med("probe", 0) / med("floor", 0)
    extra = (max(r[1] for r in results["probe"]) - max(r[1] for r in results["floor"])) / 1024
    print(f"ratio probe/floor (wall medians): {ratio:.2f}  (target <= 1.5)")
    print(f"ratio probe/floor (first paint):  {med('probe', 2) / med('floor', 2):.2f}")
    print(f"peak RSS above the floor: {extra:.1f} MiB  (target <= 40)")


if __name__ == "__main__":
    main()
