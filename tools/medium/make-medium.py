#!/usr/bin/env python3
"""Assembles the sample distribution medium for kelvor from the built programs.

The medium is a folder tree: description files "kelvor.qmx" in three nested
folders, the programs they list (built with version resources), two text
files, the two font files and the two setup programs at the top. Text files
are written as a Windows program of the time would write them: code page
1250, CR LF lines. tools/medium/README.md describes the layout and its
deliberate oddities.

    make-medium.py --bin DIR --out DIR [--brennik EXE] [--fonts DIR] [--size FILES:MB]

--bin     folder with the built parvin.exe, ferlond.exe, kalmet.exe,
          brennik.exe, newfnt32.exe and 40comUpd.exe
--brennik the organizer program to put on the medium (default: the
          stand-in brennik.exe from --bin)
--fonts   folder with DejaVuSans.ttf and DejaVuSans-Bold.ttf
          (default: Debian's fonts-dejavu-core folder)
--size    "small" (the default), or FILES:MB to add the application
          "Dane próbne" of about FILES data files and MB megabytes, for the
          install benchmark
--out     the medium's folder; it is made anew (an existing folder is only
          replaced when it is empty or already holds a medium)
"""

import argparse
import os
import random
import shutil
import sys

# Description files: folder relative to the medium -> sections in file order.
# Each section is (name, [(key, value), ...]) in line order; keys starting
# with "<" are attributes, the other keys are file lines.
DESCRIPTIONS = [
    ("", [
        ("Parvin 2000", [
            ("<rozmiar>", "1,2 MB"),
            ("<katalog>", "Parvin"),
            ("<info>", "Dziennik korespondencji, książka adresowa i faktury"),
            ("<wersja>", "2000"),  # an attribute the installer does not know
            ("parvin.exe", "Parvin 2000"),  # display name equal to the section name
            ("pomoc.txt", "Pomoc - ważne; przeczytaj"),  # " - " and ";" in a display name
            ("brak.dat", "Dane przykładowe"),  # not on the medium
        ]),
    ]),
    ("pakiet", [
        ("Ferlond", [
            ("<rozmiar>", "340 KB"),
            ("<katalog>", ""),  # files go to the destination folder itself
            ("<info>", "Przypomina o terminach; uruchamia się razem z Windows"),
            ("ferlond.exe", "Dziennik Ferlonda"),
            # The same destination as Parvin 2000's pomoc.txt, in other letters.
            ("PARVIN\\POMOC.TXT", "Pomoc Parvina"),
        ]),
    ]),
    ("pakiet\\narzedzia", [
        ("Kalmet Księgowość", [
            ("<rozmiar>", "2,5 MB"),
            ("<katalog>", "Kalmet\\Dane"),
            ("<info>", "Księgowość małej firmy: płatności, konta i kontrahenci"),
            ("kalmet.exe", "Kalmet 2000"),
        ]),
        ("Lumero 2000", [
            ("<rozmiar>", "800 KB"),
            ("<katalog>", "Lumero"),
            ("<info>", "Organizator i konfigurator programów Orvath"),
            ("brennik.exe", "Brennik"),
            ("czytaj.txt", "Czytaj mnie"),
        ]),
    ]),
]

# Files of the medium other than programs and fonts: path -> text.
TEXTS = {
    "Parvin\\pomoc.txt": [
        "Parvin 2000 - pomoc",
        "",
        "Dziennik korespondencji zapisuje każdy list przychodzący i wychodzący.",
        "Książka adresowa i faktury korzystają ze wspólnej listy kontrahentów.",
    ],
    # Never installed from a full installation: its destination is taken by
    # Parvin 2000's pomoc.txt, which comes first.
    "pakiet\\PARVIN\\POMOC.TXT": [
        "Pomoc Parvina z pakietu Ferlond - ta kopia nie powinna zostać zainstalowana.",
    ],
    "pakiet\\narzedzia\\czytaj.txt": [
        "Lumero 2000",
        "",
        "Organizator pokazuje zainstalowane programy, przechowuje Twoje dane",
        "osobowe, robi kopie zapasowe plików z danymi i usuwa programy.",
    ],
}

# Built programs: name on the medium -> folder on the medium.
PROGRAMS = [
    ("parvin.exe", "Parvin"),
    ("ferlond.exe", "pakiet"),
    ("kalmet.exe", "pakiet\\narzedzia"),
    ("brennik.exe", "pakiet\\narzedzia"),
    ("newfnt32.exe", ""),
    ("40comUpd.exe", ""),
]

FONTS = [("DejaVuSans.ttf", "tahoma.ttf"), ("DejaVuSans-Bold.ttf", "tahomabd.ttf")]

BENCH_FOLDER = "dane"
BENCH_FILES_PER_SECTION = 100


def native(path):
    return path.replace("\\", os.sep)


def write_text(root, path, lines):
    """Writes lines as CP1250 text with CR LF endings."""
    target = os.path.join(root, native(path))
    os.makedirs(os.path.dirname(target), exist_ok=True)
    with open(target, "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("cp1250"))


def description_lines(sections):
    lines = []
    for i, (name, keys) in enumerate(sections):
        if i:
            lines.append("")
        lines.append("[%s]" % name)
        lines.extend("%s=%s" % kv for kv in keys)
    return lines


def bench_descriptions(files, megabytes):
    """Sections of BENCH_FILES_PER_SECTION data files each, FILES files in all."""
    sections = []
    for first in range(0, files, BENCH_FILES_PER_SECTION):
        number = first // BENCH_FILES_PER_SECTION + 1
        keys = [
            ("<rozmiar>", "%d MB" % max(1, megabytes * BENCH_FILES_PER_SECTION // max(files, 1))),
            ("<katalog>", "Dane\\%02d" % number),
            ("<info>", "Pliki próbne do pomiaru czasu instalacji"),
        ]
        for i in range(first, min(first + BENCH_FILES_PER_SECTION, files)):
            keys.append(("plik%04d.dat" % i, "Plik %d" % i))
        sections.append(("Dane próbne %02d" % number, keys))
    return sections


def write_bench_files(root, files, megabytes):
    # Contents are pseudo-random (fixed seed) so that neither the file system
    # nor the copy can shortcut them; sizes vary around the mean.
    rng = random.Random(1999)
    total = megabytes * 1024 * 1024
    mean = total // max(files, 1)
    sizes = [rng.randint(mean // 2, mean + mean // 2) for _ in range(files)]
    if files:
        sizes[-1] = max(0, total - sum(sizes[:-1]))
    folder = os.path.join(root, BENCH_FOLDER)
    os.makedirs(folder, exist_ok=True)
    for i, size in enumerate(sizes):
        with open(os.path.join(folder, "plik%04d.dat" % i), "wb") as f:
            f.write(rng.randbytes(size))


def parse_size(text):
    if text == "small":
        return None
    try:
        files, megabytes = (int(part) for part in text.split(":"))
    except ValueError:
        raise argparse.ArgumentTypeError('expected "small" or FILES:MB, e.g. 2000:200')
    if files < 1 or megabytes < 0:
        raise argparse.ArgumentTypeError("FILES must be at least 1 and MB not negative")
    return files, megabytes


def prepare_out(out):
    if os.path.isdir(out):
        # Guard against wiping a folder given by mistake.
        is_medium = all(os.path.isfile(os.path.join(out, name)) for name in ("kelvor.qmx", "newfnt32.exe"))
        if os.listdir(out) and not is_medium:
            sys.exit("make-medium: %s is not empty and holds no medium; not replacing it" % out)
        shutil.rmtree(out)
    os.makedirs(out)


def check(out, descriptions):
    """Every file line names a file on the medium, except the one meant to be missing."""
    missing = []
    for folder, sections in descriptions:
        for _, keys in sections:
            attrs = dict(k for k in keys if k[0].startswith("<"))
            # The installer's rule: the description file's folder, or the
            # application's "<katalog>" when the file stands at the top.
            base = folder or attrs.get("<katalog>", "")
            for key, _ in keys:
                if key.startswith("<"):
                    continue
                path = os.path.join(out, native(base), native(key))
                if not os.path.isfile(path) and key != "brak.dat":
                    missing.append(path)
    if missing:
        sys.exit("make-medium: listed but not made: " + ", ".join(missing))


def main():
    parser = argparse.ArgumentParser(description="Makes kelvor's sample medium.")
    parser.add_argument("--bin", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--brennik")
    parser.add_argument("--fonts", default="/usr/share/fonts/truetype/dejavu")
    parser.add_argument("--size", type=parse_size, default=None)
    args = parser.parse_args()

    out = os.path.abspath(args.out)
    prepare_out(out)

    descriptions = list(DESCRIPTIONS)
    for folder, sections in descriptions:
        write_text(out, os.path.join(folder, "kelvor.qmx"), description_lines(sections))
    for path, lines in TEXTS.items():
        write_text(out, path, lines)
    for name, folder in PROGRAMS:
        source = os.path.join(args.bin, name)
        if name == "brennik.exe" and args.brennik:
            source = args.brennik
        target = os.path.join(out, native(folder), name)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copyfile(source, target)
    for source, name in FONTS:
        shutil.copyfile(os.path.join(args.fonts, source), os.path.join(out, name))
    if args.size:
        files, megabytes = args.size
        sections = bench_descriptions(files, megabytes)
        write_text(out, os.path.join(BENCH_FOLDER, "kelvor.qmx"), description_lines(sections))
        write_bench_files(out, files, megabytes)
        descriptions.append((BENCH_FOLDER, sections))

    check(out, descriptions)


if __name__ == "__main__":
    main()
