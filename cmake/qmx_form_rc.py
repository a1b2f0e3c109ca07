#!/usr/bin/env python3
"""Turns form descriptions (UTF-8) into CP1250 files and one .rc file that
embeds each as an RCDATA resource named after its form class in upper case.

Usage: qmx_form_rc.py OUTDIR FORM...
Writes OUTDIR/forms.rc and OUTDIR/<form file name>.cp1250 for each form.
"""
import os
import re
import sys

HEADER = re.compile(r"\s*object\s+[A-Za-z_][A-Za-z0-9_]*\s*:\s*([A-Za-z_][A-Za-z0-9_]*)", re.IGNORECASE)


def fail(message):
    sys.stderr.write(message + "\n")
    sys.exit(1)


def convert(path):
    with open(path, encoding="utf-8-sig") as f:
        text = f.read()
    match = HEADER.match(text)
    if not match:
        fail(f"{path}:1: a form description starts with 'object Name: TClass'")
    data = bytearray()
    for number, line in enumerate(text.splitlines(keepends=True), 1):
        try:
            data += line.encode("cp1250")
        except UnicodeEncodeError as e:
            fail(f"{path}:{number}: {line[e.start]!r} has no character in code page 1250")
    return match.group(1).upper(), bytes(data)


def write_if_changed(path, data):
    # An unchanged file keeps its time, so nothing depending on it is rebuilt.
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return
    except FileNotFoundError:
        pass
    with open(path, "wb") as f:
        f.write(data)


def main():
    if len(sys.argv) < 3:
        fail(__doc__)
    outdir, forms = sys.argv[1], sys.argv[2:]
    os.makedirs(outdir, exist_ok=True)
    lines = ["// Made by qmx_form_rc.py from the form descriptions; do not edit.\n"]
    seen = {}
    for form in forms:
        name, data = convert(form)
        if name in seen:
            fail(f"{form}: form class {name} is also described in {seen[name]}")
        seen[name] = form
        out = os.path.join(outdir, os.path.basename(form) + ".cp1250")
        write_if_changed(out, data)
        quoted = out.replace("\\", "/").replace('"', '""')
        lines.append(f'{name} RCDATA "{quoted}"\n')
    # Always written: the build expects it newer than the form files.
    with open(os.path.join(outdir, "forms.rc"), "w", encoding="ascii") as f:
        f.writelines(lines)


main()
