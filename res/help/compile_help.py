#!/usr/bin/env python3
"""Compiles the help file from its UTF-8 sources.

The help viewer reads a Japanese (0x411) help file's contents, index, page
titles and window caption in code page 932, and chmcmd stores those texts as
the bytes it is given. So every text source is written to a staging folder
in code page 932 (Windows' Shift_JIS), with the pages' charset declaration
changed to match, and chmcmd compiles the staged copy. Any warning or error
of chmcmd (a missing file, a link to nowhere, an undefined anchor) fails the
build, since chmcmd itself still reports success for them.

usage: compile_help.py CHMCMD STAGE_DIR OUTPUT_CHM PROJECT.hhp SOURCE...
"""
import os
import re
import shutil
import subprocess
import sys

TEXT_SUFFIXES = {".hhp", ".hhc", ".hhk", ".htm", ".html", ".css"}
PAGE_SUFFIXES = {".htm", ".html"}
CHARSET = re.compile(rb"charset=utf-8", re.IGNORECASE)


def fail(message):
    sys.exit(f"compile_help: {message}")


def to_cp932(path):
    raw = open(path, "rb").read()
    try:
        text = raw.decode("utf-8-sig")
    except UnicodeDecodeError as e:
        fail(f"{path}: not UTF-8 (byte {e.start})")
    for number, line in enumerate(text.splitlines(), 1):
        try:
            line.encode("cp932")
        except UnicodeEncodeError as e:
            char = line[e.start]
            fail(f"{path}:{number}: U+{ord(char):04X} '{char}' has no code page 932 "
                 "(Shift_JIS) form; use another character or a character reference")
    data = text.encode("cp932")
    if os.path.splitext(path)[1].lower() in PAGE_SUFFIXES:
        data, count = CHARSET.subn(b"charset=shift_jis", data)
        if count != 1:
            fail(f"{path}: needs exactly one charset=utf-8 declaration, found {count}")
    return data


def compiled_name(project):
    for line in open(project, encoding="utf-8-sig"):
        key, _, value = line.partition("=")
        if key.strip().lower() == "compiled file":
            return value.strip()
    fail(f"{project}: no 'Compiled file=' option")


def main(argv):
    if len(argv) < 5:
        fail(__doc__.strip().splitlines()[-1])
    chmcmd, stage, output, project, *others = argv[1:]
    shutil.rmtree(stage, ignore_errors=True)
    os.makedirs(stage)
    for source in [project, *others]:
        target = os.path.join(stage, os.path.basename(source))
        if os.path.splitext(source)[1].lower() in TEXT_SUFFIXES:
            with open(target, "wb") as f:
                f.write(to_cp932(source))
        else:
            shutil.copyfile(source, target)

    run = subprocess.run([chmcmd, os.path.basename(project)], cwd=stage,
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    log = run.stdout.decode("cp932", errors="replace")
    problems = [line for line in log.splitlines()
                if line.startswith(("Warning:", "Error:")) or "exception" in line.lower()]
    chm = os.path.join(stage, compiled_name(project))
    if run.returncode != 0 or problems or not os.path.isfile(chm):
        sys.stderr.write(log)
        fail(f"chmcmd did not compile {os.path.basename(project)} cleanly "
             f"(exit status {run.returncode})")

    os.makedirs(os.path.dirname(os.path.abspath(output)), exist_ok=True)
    partial = output + ".part"
    shutil.copyfile(chm, partial)
    os.replace(partial, output)


if __name__ == "__main__":
    main(sys.argv)
