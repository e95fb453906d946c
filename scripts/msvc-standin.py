#!/usr/bin/env python3
"""Stands in for an MSVC build at /W4 /WX where no MSVC exists.

Compiles every project source of a MinGW build (from its compile_commands.json) with
Clang for the MinGW target and the Clang warnings closest to the MSVC level-4 ones that
have bitten this code base, then looks for the calls that MSVC deprecates (C4996) and
for setjmp outside the one function that may call it (C4611).

    scripts/msvc-standin.py BUILD_DIR
"""
import concurrent.futures
import functools
import json
import os
import re
import shlex
import subprocess
import sys

# Clang's names for what MSVC reports as C4458/C4456/C4457 (a name hiding a member or an
# outer one), C4244/C4267 (a conversion that may lose data) and C4100/C4189 (unused).
WARNINGS = [
    "-Wall", "-Wextra", "-Werror",
    "-Wshadow-all",
    "-Wshorten-64-to-32", "-Wimplicit-int-conversion",
    "-Wunused-parameter", "-Wunused-variable",
    "-Wno-missing-field-initializers",
]

# C4996: MSVC's CRT deprecates these in favour of the _s forms.
DEPRECATED = re.compile(r"\bstd::(fopen|getenv|strcpy|strcat|sprintf|strncpy|strtok|"
                        r"localtime|gmtime|sscanf)\s*\(|(?<![\w:])(fopen|getenv|strcpy|"
                        r"strcat|sprintf|strncpy|strtok)\s*\(")
SETJMP = re.compile(r"\bsetjmp\s*\(")
# setjmp belongs in a function of its own that keeps no C++ object alive, with C4611
# switched off around that function alone.
SETJMP_CONFINED = "#pragma warning(disable : 4611)"

PROJECT_DIRS = ("app/", "bench/", "imagelist/", "integration/", "picture/", "platform/",
                "security/", "tests/", "ui/", "wallpaper/")


def project_sources(root, build):
    with open(os.path.join(build, "compile_commands.json")) as f:
        entries = json.load(f)
    seen = set()
    for entry in entries:
        path = os.path.relpath(entry["file"], root)
        if not path.startswith(PROJECT_DIRS) or not path.endswith(".cpp") or path in seen:
            continue
        seen.add(path)
        yield path, entry


@functools.lru_cache(maxsize=None)
def gcc_cxx_includes(compiler):
    """The MinGW compiler's own C++ header folders, which Clang does not find by itself."""
    result = subprocess.run([compiler, "-xc++", "-E", "-v", "-"], input="", capture_output=True,
                            text=True)
    lines = result.stderr.splitlines()
    start = lines.index("#include <...> search starts here:") + 1
    end = lines.index("End of search list.")
    return tuple(os.path.normpath(line.strip()) for line in lines[start:end])


def clang_command(entry):
    args = entry.get("arguments") or shlex.split(entry["command"])
    kept = ["clang++", "--target=x86_64-w64-mingw32", "-fsyntax-only", "-std=c++20",
            "-nostdinc++"]
    kept += [f"-isystem{folder}" for folder in gcc_cxx_includes(args[0]) if "/c++" in folder]
    skip_next = keep_next = False
    for arg in args[1:]:
        if skip_next:
            skip_next = False
            continue
        if arg in ("-o", "-c", "-MF", "-MT", "-MQ"):
            skip_next = True
            continue
        if arg == "-isystem":
            keep_next = True
            kept.append(arg)
            continue
        if keep_next or arg.startswith(("-I", "-D", "-isystem", "-municode")):
            keep_next = False
            kept.append(arg)
        elif arg == entry["file"] or arg.endswith(".cpp"):
            continue
    return kept + WARNINGS + [entry["file"]]


def check_source(root, path, entry):
    result = subprocess.run(clang_command(entry), cwd=entry["directory"], capture_output=True,
                            text=True)
    problems = [result.stderr.strip()] if result.returncode != 0 else []
    with open(os.path.join(root, path), encoding="utf-8") as f:
        text = f.read()
    confined = SETJMP_CONFINED in text
    for number, line in enumerate(text.splitlines(), 1):
        code = line.split("//", 1)[0]
        if DEPRECATED.search(code):
            problems.append(f"{path}:{number}: deprecated by MSVC (C4996): {line.strip()}")
        if SETJMP.search(code) and not confined:
            problems.append(f"{path}:{number}: setjmp in C++ (C4611): {line.strip()}")
    return path, problems


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    build = os.path.abspath(sys.argv[1])
    sources = list(project_sources(root, build))
    failed = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        for path, problems in pool.map(lambda s: check_source(root, *s), sources):
            if problems:
                failed += 1
                print("\n".join(problems))
    print(f"{len(sources) - failed} passed, {failed} failed")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
