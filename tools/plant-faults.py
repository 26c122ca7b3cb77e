#!/usr/bin/python3
"""Plants the faults of tools/faults.txt one at a time, rebuilds, runs the
whole test suite until its first failure and reports the faults that no test
caught. A fault is a one-line edit of the code with the reason it is wrong:

    src/rules/pairs.cpp | EQUAL_POINTS = 1200 | EQUAL_POINTS = 1100 | an equal pair scores 1200

The text to replace must occur exactly once in its file; in both texts \\n
stands for a line break and \\| for a bar. Usage:
tools/plant-faults.py [-k PATTERN] [--build DIR]; the build folder (default
build-faults) is configured on first use and rebuilt incrementally. Every
file is restored after each fault, also when the run is interrupted.
"""
import argparse, atexit, os, shutil, subprocess, sys, time

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
parser = argparse.ArgumentParser()
parser.add_argument("-k", default="", help="only faults whose line contains this text")
parser.add_argument("--build", default="build-faults")
args = parser.parse_args()
os.chdir(root)
env = dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy")

# The window tests run only with a display to open their windows on: an
# Xvfb of this run's own, where there is one.
if shutil.which("Xvfb") and not env.get("OG_WINDOW_DISPLAY"):
    ready, told = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(told), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            pass_fds=(told,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(told)
    env["OG_WINDOW_DISPLAY"] = ":" + os.read(ready, 16).decode().strip()
    atexit.register(lambda: (xvfb.terminate(), xvfb.wait()))

faults = []
for number, line in enumerate(open("tools/faults.txt", encoding="utf-8"), 1):
    if line.strip() and not line.startswith("#") and args.k in line:
        parts = [p.strip() for p in line.rstrip("\n").split(" | ")]
        if len(parts) != 4:
            sys.exit(f"tools/faults.txt:{number}: want 'file | text | replacement | reason'")
        path, text, replacement, reason = parts
        unescape = lambda t: t.replace("\\n", "\n").replace("\\|", "|")
        faults.append((number, path, unescape(text), unescape(replacement), reason))

def run(*command):
    return subprocess.run(command, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)

if not os.path.exists(os.path.join(args.build, "CMakeCache.txt")):
    run("cmake", "-S", ".", "-B", args.build, "-DOG_BENCH=OFF")
jobs = str(os.cpu_count() or 2)
if run("cmake", "--build", args.build, "-j", jobs).returncode:
    sys.exit("the unchanged code does not build")

caught, survived, broken = 0, [], []
for number, path, text, replacement, reason in faults:
    original = open(path, encoding="utf-8").read()
    if original.count(text) != 1:
        broken.append(f"{number}: '{text}' is not once in {path}")
        continue
    started = time.time()
    try:
        with open(path, "w", encoding="utf-8") as f:
            f.write(original.replace(text, replacement))
        if run("cmake", "--build", args.build, "-j", jobs).returncode:
            broken.append(f"{number}: does not build: {reason}")
            continue
        tests = run("ctest", "--test-dir", args.build, "--stop-on-failure", "-j", jobs)
    finally:
        with open(path, "w", encoding="utf-8") as f:
            f.write(original)
    if tests.returncode:
        caught += 1
        verdict = "caught"
    else:
        survived.append(f"{number}: {path}: {reason}")
        verdict = "SURVIVED"
    print(f"{verdict:8} {number:3} {time.time() - started:5.0f} s  {reason}", flush=True)
run("cmake", "--build", args.build, "-j", jobs)

total = caught + len(survived)
print(f"\n{caught} of {total} planted faults caught" + (f" ({100 * caught // total}%)" if total else ""))
for line in survived:
    print("survived:", line)
for line in broken:
    print("not planted:", line)
sys.exit(1 if survived or broken else 0)
