#!/usr/bin/env python3
"""The medium generator's size option and its guard of the output folder.

    size_test.py MAKE_MEDIUM_PY BIN_DIR
"""

import os
import subprocess
import sys
import tempfile

failures = []


def expect(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED:", what)


def generate(script, bin_dir, out, *extra):
    return subprocess.run([sys.executable, script, "--bin", bin_dir, "--out", out, *extra],
                          capture_output=True, text=True)


def sections(path):
    """Section name -> file lines (keys not starting with "<"), in file order."""
    raw = open(path, "rb").read()
    expect(b"\n" not in raw.replace(b"\r\n", b""), "CR LF lines in " + path)
    result = {}
    current = None
    for line in raw.decode("cp1250").split("\r\n"):
        if line.startswith("["):
            current = line[1:-1]
            result[current] = []
        elif "=" in line and not line.startswith("<"):
            result[current].append(line.split("=", 1)[0])
    return result


def main():
    script, bin_dir = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as temp:
        out = os.path.join(temp, "medium")

        # 250 files in 3 MB: sections of 100 files, every listed file made.
        run = generate(script, bin_dir, out, "--size", "250:3")
        expect(run.returncode == 0, "bench medium made: " + run.stderr)
        dane = sections(os.path.join(out, "dane", "kelvor.qmx"))
        expect([len(files) for files in dane.values()] == [100, 100, 50], "100 files a section: %r" % dane.keys())
        expect(list(dane)[0] == "Dane próbne 01", "section names: %r" % list(dane))
        listed = [name for files in dane.values() for name in files]
        data = sorted(f for f in os.listdir(os.path.join(out, "dane")) if f.endswith(".dat"))
        expect(sorted(listed) == data and len(data) == 250, "250 listed files, each on the medium")
        total = sum(os.path.getsize(os.path.join(out, "dane", f)) for f in data)
        expect(total == 3 * 1024 * 1024, "3 MB of data, got %d bytes" % total)
        expect(os.path.isfile(os.path.join(out, "pakiet", "narzedzia", "kalmet.exe")), "the small medium is kept")

        # Made again at the small size: the folder is replaced, not merged.
        run = generate(script, bin_dir, out)
        expect(run.returncode == 0, "small medium over a bench medium: " + run.stderr)
        expect(not os.path.exists(os.path.join(out, "dane")), "no bench data left behind")

        # A folder that holds something else is never wiped.
        other = os.path.join(temp, "other")
        os.makedirs(other)
        open(os.path.join(other, "keep.txt"), "w").close()
        run = generate(script, bin_dir, other)
        expect(run.returncode != 0, "refused to replace a folder that is not a medium")
        expect(os.listdir(other) == ["keep.txt"], "the other folder is untouched")

        for bad in ("abc", "0:5", "10"):
            run = generate(script, bin_dir, os.path.join(temp, "bad"), "--size", bad)
            expect(run.returncode != 0, "size %r refused" % bad)

    print("size option: %s" % ("ok" if not failures else "%d failures" % len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
