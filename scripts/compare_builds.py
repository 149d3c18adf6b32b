#!/usr/bin/env python3
"""Runs two junctra programs on the same random database pairs and compares
their exit codes, standard error and every file they leave behind.

compare_builds.py OLD NEW [--seed N] [--count N] [--keep DIR]
"""
import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile

WORDS = ["Pump", "Valve", "Tank", "Heater", "Motor", "Fan", "Drive", "Level"]
ODD = ["\x01", "\x1b[31m", "\x7f", "\x85", "\x9b", "\u202e", "\u2066", "\xe9", "\u20ac"]


def name(rng, stem):
    text = stem + str(rng.randint(1, 30))
    if rng.random() < 0.05:
        text += rng.choice(ODD)
    return text


def make_database(rng):
    classes = {}
    for _ in range(rng.randint(0, 5)):
        members = [(name(rng, rng.choice(WORDS)), rng.randint(0, 3), "Text " + name(rng, "m"))
                   for _ in range(rng.randint(0, 4))]
        classes[name(rng, rng.choice(WORDS))] = members
    tags = {}
    for _ in range(rng.randint(0, 8)):
        sections = [[f"Key{k}={rng.randint(0, 9)}" for k in range(rng.randint(0, 3))]
                    for _ in range(3)]
        tags[name(rng, rng.choice(["P-", "V-", "T-", "FT-"]))] = (
            rng.randint(1, 999), rng.randint(1, 3 + len(classes) + (rng.random() < 0.1)), "Area " + str(rng.randint(1, 3)), sections)
    return classes, tags


def recase(rng, text):
    return "".join(c.swapcase() if rng.random() < 0.5 else c for c in text)


def derive(rng, database):
    """The second database: shares many names with the first, some changed."""
    classes, tags = (dict(part) for part in database)
    rate = rng.choice([0, 0, 0.05, 0.1, 0.2])
    for group in (classes, tags):
        for key in list(group):
            roll = rng.random()
            if roll < 0.15:
                del group[key]
            elif roll < 0.15 + rate:
                group[recase(rng, key)] = group.pop(key)
            elif roll < 0.15 + 2 * rate:
                value = group.pop(key)
                group[key] = value[:-1] if isinstance(value, list) else (value[0] + 1,) + value[1:]
    extra_classes, extra_tags = make_database(rng)
    classes.update(list(extra_classes.items())[: rng.randint(0, 2)])
    tags.update(list(extra_tags.items())[: rng.randint(0, 3)])
    order = list(classes.items())
    if rng.random() < 0.3:
        rng.shuffle(order)
    return dict(order), tags


def class_text(classes):
    lines = ["V4.x - CLASS LIST"]
    for cls, members in classes.items():
        lines.append("Class:" + cls)
        lines += [f"{m}|0|{t}|{text}" for m, t, text in members]
    return lines


def tag_text(tags):
    lines = ["//4.x - Application Tags"]
    for i, (tag, (number, kind, rest, sections)) in enumerate(tags.items(), 1):
        lines.append(f"#{i}|{tag}|{number}|{kind}|{rest}")
        for header, body in zip(("#Parameters", "#Alarm", "#History"), sections):
            lines += [header] + body
    return lines + ["#"]


def spoil_lines(rng, lines):
    """Hostile changes that are easiest on the lines."""
    roll = rng.random()
    if roll < 0.15:
        lines[0] = lines[0].replace("4.x", rng.choice(["4.y", "4x", "4.X"]))
    elif roll < 0.3:
        lines[0] += " " * (1022 + rng.randint(-2, 2) - len(lines[0]))
    elif roll < 0.45:
        lines.insert(rng.randint(1, len(lines)), "Long=" + "x" * (1022 + rng.randint(-3, 3) - 5))
    elif roll < 0.6:
        at = rng.randrange(len(lines))
        lines[at] += "\0" + rng.choice(["", "\0\0", "tail"])
    elif roll < 0.75:
        lines.insert(rng.randint(1, len(lines)), rng.choice(["junk", "#Bad", "|||", "#9|X"]))
    return lines


def encode(rng, lines, hostile):
    ending = "\r\n"
    if hostile and rng.random() < 0.3:
        ending = rng.choice(["\r", "\r\r\n", "\n"])
    text = ending.join(lines) + ending
    codec = rng.choice(["utf-16-le", "utf-16-le", "bom", "latin-1", "cp1252"] + (["utf-16-be"] if hostile else []))
    if codec == "bom":
        data = b"\xff\xfe" + text.encode("utf-16-le")
    else:
        data = text.encode(codec, errors="replace")
    if hostile and rng.random() < 0.2:
        data = data[: rng.randrange(len(data) + 1)]
    return data


def write_database(rng, folder, database, hostile):
    os.makedirs(folder)
    classes, tags = database
    files = {"class.lst": class_text(classes), "tagl.txt": tag_text(tags)}
    for file, lines in files.items():
        spoilt = hostile and rng.random() < 0.5
        if spoilt and rng.random() < 0.1:
            continue  # missing file
        if spoilt:
            lines = spoil_lines(rng, lines)
        if hostile and rng.random() < 0.1:
            file = recase(rng, file)
        with open(os.path.join(folder, file), "wb") as out:
            out.write(encode(rng, lines, spoilt))
    if not classes and rng.random() < 0.5 and os.path.exists(os.path.join(folder, "class.lst")):
        os.remove(os.path.join(folder, "class.lst"))


def make_pair(rng, folder):
    """Writes first/ and second/; returns True for the two-folder form."""
    hostile = rng.random() < 0.4
    first = make_database(rng)
    write_database(rng, os.path.join(folder, "first"), first, hostile)
    write_database(rng, os.path.join(folder, "second"), derive(rng, first), hostile)
    return rng.random() < 0.3


def run(program, template, folder, two_folders):
    shutil.copytree(template, folder, symlinks=True)
    args = [program, os.path.join(folder, "first"), os.path.join(folder, "second")]
    if not two_folders:
        args.append(os.path.join(folder, "out"))
        os.mkdir(args[-1])
    env = dict(os.environ, HOME=os.path.join(folder, "home"), XDG_CONFIG_HOME=os.path.join(folder, "home"))
    done = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env, timeout=120)
    files = {}
    for root, dirs, names in os.walk(folder):
        for entry in sorted(dirs + names):
            path = os.path.join(root, entry)
            with_data = os.path.isfile(path) and not os.path.islink(path)
            files[os.path.relpath(path, folder)] = (os.lstat(path).st_mode, open(path, "rb").read() if with_data else None)
    normal = lambda data: data.replace(folder.encode(), b"RUN")
    return done.returncode, normal(done.stdout), normal(done.stderr), files


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("old")
    parser.add_argument("new")
    parser.add_argument("--seed", type=int, default=int(os.environ.get("SEED", 1)))
    parser.add_argument("--count", type=int, default=int(os.environ.get("COUNT", 1000)))
    parser.add_argument("--keep", default=os.environ.get("KEEP"), help="folder for differing pairs")
    options = parser.parse_args()
    work = tempfile.mkdtemp(prefix="compare-builds-")
    keep = options.keep or work
    counts = {"identical": 0, "differ": 0, "merged": 0, "refused": 0, "conflicts": 0}
    for index in range(options.count):
        rng = random.Random(f"{options.seed}-{index}")
        pair = os.path.join(work, f"pair-{index}")
        two_folders = make_pair(rng, os.path.join(pair, "input"))
        old = run(os.path.abspath(options.old), os.path.join(pair, "input"), os.path.join(pair, "old"), two_folders)
        new = run(os.path.abspath(options.new), os.path.join(pair, "input"), os.path.join(pair, "new"), two_folders)
        if old == new:
            counts["identical"] += 1
            shutil.rmtree(pair)
        else:
            counts["differ"] += 1
            what = [part for part, a, b in zip(("exit code", "stdout", "stderr", "files"), old, new) if a != b]
            if keep != work:
                os.makedirs(keep, exist_ok=True)
                shutil.move(pair, os.path.join(keep, f"pair-{options.seed}-{index}"))
            print(f"pair {index} (SEED={options.seed}) differs in {', '.join(what)}: kept in {keep}", file=sys.stderr)
        stderr = old[2]
        outcome = "merged" if old[0] == 0 else "conflicts" if b"has different definitions" in stderr \
            or b"which its database does not define" in stderr else "refused"
        counts[outcome] += 1
    if not counts["differ"]:
        shutil.rmtree(work)
    print(f"{options.count} pairs: {counts['identical']} identical, {counts['differ']} differ "
          f"({counts['merged']} merged, {counts['refused']} refused, {counts['conflicts']} conflicts)")
    return 1 if counts["differ"] else 0


if __name__ == "__main__":
    sys.exit(main())
