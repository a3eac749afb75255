#!/usr/bin/env python3
"""The mutation check behind ./mutate: plants one-line faults and sees whether a test fails.

Lines are drawn at random (a fixed seed) from the code of src/platform, src/core and src/ui
that this build compiles; a line outside a function body, or one no operator applies to, is
drawn again. Each mutant is built in build-mutate and tested, and the file is put back before
the next one. The original of a file being mutated is kept in build-mutate/mutate-backup, so a
run that was killed is undone by the next one.
"""

import hashlib
import json
import os
import random
import re
import shlex
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
BUILD = ROOT / "build-mutate"
BACKUP = BUILD / "mutate-backup"
LAYERS = ["src/platform", "src/core", "src/ui"]
# Generated tables: no one types these lines.
GENERATED = {"src/platform/Cp932Tables.cpp", "src/core/text/EmojiSourcesTable.cpp"}
TEST_TIMEOUT = 60  # seconds per ctest test; a hang is a failure, not a wait
# Survivors a developer has judged equivalent: no test can tell them from the code.
EQUIVALENT = ROOT / "scripts" / "mutate-equivalent.txt"

OPERATORS = [
    "flip-comparison",
    "loosen-comparison",
    "and-or",
    "negate-condition",
    "drop-statement",
    "constant",
    "early-return",
    "swap-arguments",
]


def log(*parts):
    print(*parts, file=sys.stderr, flush=True)


def reviewed_equivalents():
    """(file, line, mutated line) of each judged survivor, stripped, with the reason given.

    Each entry is a file, its line after "- ", the mutant after "+ ", and "why: " with the
    reason. An entry holds only while the line reads exactly so: a change to it asks again."""
    entries = {}
    if not EQUIVALENT.exists():
        return entries
    block = []
    for line in EQUIVALENT.read_text().split("\n") + [""]:
        if line.startswith("#"):
            continue
        if line.strip():
            block.append(line)
            continue
        if len(block) == 4 and block[1].startswith("- ") and block[2].startswith("+ ") and block[3].startswith("why: "):
            entries[(block[0].strip(), block[1][2:].strip(), block[2][2:].strip())] = block[3][5:].strip()
        elif block:
            log(f"mutate: {EQUIVALENT.name}: an entry is not file, - line, + line, why: " + " / ".join(block))
        block = []
    return entries


# --- Putting files back ------------------------------------------------------------------

def restore():
    """Puts back every file a run left mutated. Safe to call at any time."""
    if not BACKUP.is_dir():
        return
    for saved in BACKUP.rglob("*"):
        if saved.is_file():
            target = ROOT / saved.relative_to(BACKUP)
            target.write_bytes(saved.read_bytes())
            saved.unlink()
    shutil.rmtree(BACKUP, ignore_errors=True)


def on_signal(number, _frame):
    restore()
    log(f"mutate: stopped by signal {number}; the sources are as they were")
    sys.exit(128 + number)


# --- Reading C++ just well enough ----------------------------------------------------------

STRING = re.compile(r'(?:u8|u|U|L)?R"([^(\s]*)\((?:.|\n)*?\)\1"|(?:u8|u|U|L)?"(?:\\.|[^"\\\n])*"|'
                    r"(?:u8|u|U|L)?'(?:\\.|[^'\\\n])*'|//[^\n]*|/\*(?:.|\n)*?\*/")


def masked(text):
    """The text with comments blanked and the insides of literals replaced by '_', same length."""
    def blank(m):
        s = m.group(0)
        if s.startswith("//") or s.startswith("/*"):
            return re.sub(r"[^\n]", " ", s)
        quote = s.index(s[-1])
        return s[:quote + 1] + re.sub(r"[^\n]", "_", s[quote + 1:-1]) + s[-1]
    return STRING.sub(blank, text)


LAMBDA_TAIL = re.compile(r"\]\s*(\([^()]*(\([^()]*\)[^()]*)*\))?\s*(mutable\s*)?(->\s*[\w:<>,\s\*&]+)?$")
FUNCTION_TAIL = re.compile(r"\)\s*(const\s*)?(noexcept\s*)?(override\s*|final\s*)*(->\s*[\w:<>,\s\*&]+)?$")


class Body:
    """A function's or lambda's braces: where it opens and closes."""

    def __init__(self, start, kind):
        self.start, self.end, self.kind = start, None, kind


def scan(code):
    """For masked code: the offsets inside function bodies, and the function and lambda bodies."""
    inside = bytearray(len(code))
    bodies = []
    stack = []  # (is_code, Body or None)
    statement = 0
    i = 0
    while i < len(code):
        c = code[i]
        if c == "#" and code[code.rfind("\n", 0, i) + 1:i].strip() == "":
            while True:  # a preprocessor line, with its continuations
                end = code.find("\n", i)
                if end < 0:
                    end = len(code)
                if code[i:end].rstrip().endswith("\\"):
                    i = end + 1
                    continue
                break
            i = end
            statement = i
            continue
        in_code = bool(stack) and stack[-1][0]
        if c == "{":
            prefix = code[statement:i].strip()
            body = None
            if LAMBDA_TAIL.search(prefix) and "[" in prefix:
                body = Body(i, "lambda")
                is_code = True
            elif in_code:
                is_code = True
            elif re.match(r"(template\s*<.*>\s*)?(namespace|extern|class|struct|union|enum)\b", prefix, re.S):
                is_code = False
            elif "(" in prefix and "=" not in prefix.split("(")[0] and (
                    FUNCTION_TAIL.search(prefix) or re.search(r"\)\s*:", prefix)):
                body = Body(i, "function")
                is_code = True
            else:
                is_code = False
            if body:
                bodies.append(body)
            stack.append((is_code, body))
            statement = i + 1
        elif c == "}":
            if stack:
                _, body = stack.pop()
                if body:
                    body.end = i
            statement = i + 1
        elif c == ";":
            statement = i + 1
        if in_code or (c == "}" and stack and stack[-1][0]):
            inside[i] = 1
        i += 1
    return inside, bodies


def active_lines(path, preprocess):
    """Line numbers of `path` that this build compiles (from the preprocessor's line markers)."""
    found = preprocess(path)
    if found is None:
        return None
    command, directory = found
    out = subprocess.run(command, cwd=directory, capture_output=True, text=True, errors="replace")
    if out.returncode != 0:
        return None
    wanted = str(path)
    lines = set()
    current, number = None, 0
    for line in out.stdout.split("\n"):
        m = re.match(r'# (\d+) "([^"]*)"', line)
        if m:
            number, current = int(m.group(1)), m.group(2)
            continue
        if current == wanted and line.strip():
            lines.add(number)
        number += 1
    return lines


def preprocessor(database):
    """The lines each file has in this build, from the build's compile commands (a header
    through a source file that includes it)."""
    entries = json.loads(database.read_text())
    by_file = {Path(e["file"]).resolve(): e for e in entries}
    cache = {}

    def including(header):
        name = str(header.relative_to(ROOT / "src"))
        for source, entry in sorted(by_file.items()):
            if source.suffix == ".cpp" and f'#include "{name}"' in source.read_text(errors="replace"):
                return entry
        return None

    def preprocess(path):
        entry = by_file.get(path.resolve()) if path.suffix == ".cpp" else including(path)
        if entry is None:
            return None
        args = entry.get("arguments") or shlex.split(entry["command"])
        keep, skip = [], False
        for a in args:
            if skip:
                skip = False
            elif a == "-o":
                skip = True
            elif a != "-c":
                keep.append(a)
        return keep + ["-E", "-o", "-"], entry["directory"]

    def lines(path):
        if path not in cache:
            cache[path] = active_lines(path, preprocess)
        return cache[path]

    return lines


# --- The operators -------------------------------------------------------------------------

COMPARISON = re.compile(r"(?<=\s)(==|!=|<=|>=|<|>)(?=\s)")
FLIP = {"==": "!=", "!=": "==", "<": ">=", ">=": "<", ">": "<=", "<=": ">"}
LOOSEN = {"<": "<=", "<=": "<", ">": ">=", ">=": ">"}
KEYWORDS = {"if", "for", "while", "switch", "return", "sizeof", "alignof", "decltype", "catch", "static_assert",
            "noexcept", "co_return", "throw", "new", "delete", "operator"}
SYMMETRIC = {"min", "max", "swap", "hypot", "gcd", "lcm", "pair", "make_pair", "tie"}


def balanced(code, open_at):
    """The offset of the bracket closing the one at open_at, or -1 when not on this line."""
    pairs = {"(": ")", "[": "]", "{": "}"}
    depth = []
    for i in range(open_at, len(code)):
        if code[i] in pairs:
            depth.append(pairs[code[i]])
        elif code[i] in ")]}":
            if not depth or depth.pop() != code[i]:
                return -1
            if not depth:
                return i
    return -1


def top_level_commas(code, start, end):
    commas, depth = [], 0
    for i in range(start, end):
        ch = code[i]
        if ch in "([{":
            depth += 1
        elif ch in ")]}":
            depth -= 1
        elif ch == "," and depth == 0:
            commas.append(i)
    return commas


def whole_statement(ctx):
    """A statement that starts and ends on this line, not the body of an if, for or else without braces."""
    code = ctx["code"].strip()
    if not code.endswith(";") or ctx["previous"][-1:] not in (";", "{", "}", ":"):
        return False
    opens = sum(code.count(b) for b in "([{")
    closes = sum(code.count(b) for b in ")]}")
    return opens == closes and not code.startswith(("case ", "default"))


DECLARATION = re.compile(r"^(?:(?:const|static|constexpr|thread_local|volatile)\s+)*[\w:]+(?:<.*>)?[\s\*&]+"
                         r"[\*&]?\s*(?:\[[^\]]*\]|\w+)\s*(?:=|\{|\(|;|\[)")


def is_declaration(code):
    first = re.match(r"\s*(\w+)", code)
    if first and first.group(1) in KEYWORDS | {"else", "case", "goto", "break", "continue"}:
        return False
    return bool(DECLARATION.match(code.strip()))


def op_comparison(ctx, rng, table):
    code = ctx["code"]
    if "template" in code or "operator" in code:
        return None
    found = [m for m in COMPARISON.finditer(code) if m.group(1) in table]
    if not found:
        return None
    m = rng.choice(found)
    return ctx["line"][:m.start()] + table[m.group(1)] + ctx["line"][m.end():]


def op_and_or(ctx, rng):
    found = [m for m in re.finditer(r"(?<=\s)(&&|\|\|)(?=\s)", ctx["code"])]
    if not found:
        return None
    m = rng.choice(found)
    return ctx["line"][:m.start()] + ("||" if m.group(1) == "&&" else "&&") + ctx["line"][m.end():]


def op_negate(ctx, rng):
    found = []
    for m in re.finditer(r"\b(if|while)\s*\(", ctx["code"]):
        close = balanced(ctx["code"], m.end() - 1)
        if close > 0:
            found.append((m.end(), close))
    if not found:
        return None
    start, close = rng.choice(found)
    line = ctx["line"]
    return line[:start] + "!(" + line[start:close] + ")" + line[close:]


def op_drop(ctx, rng):
    if not whole_statement(ctx) or is_declaration(ctx["code"]):
        return None
    if ctx["code"].strip().startswith("return ") and ctx["last"]:
        return None  # a function that ends without its value does not build
    return ""


def op_constant(ctx, rng):
    code = ctx["code"]
    found = [m for m in re.finditer(r"(?<![\w.'])(0[xX][0-9a-fA-F]+|\d+)([uUlLzZ]*)(?![\w.'])", code)]
    found = [m for m in found if not code[:m.start()].rstrip().endswith("#include")]
    if not found:
        return None
    m = rng.choice(found)
    text = m.group(1)
    value = int(text, 16) if text[:2].lower() == "0x" else int(text, 10)
    step = 1 if value == 0 or rng.random() < 0.5 else -1
    value += step
    if text[:2].lower() == "0x":
        digits = len(text) - 2
        new = text[:2] + format(value, "X" if any(ch.isupper() for ch in text[2:]) else "x").zfill(digits)
    else:
        new = str(value)
    return ctx["line"][:m.start(1)] + new + ctx["line"][m.end(1):]


def op_early_return(ctx, rng):
    if not whole_statement(ctx) or ctx["code"].strip().startswith("return"):
        return None
    body = ctx["body"]
    if body is None:
        return None
    value = "return {};" if body.returns else "return;"
    indent = ctx["line"][:len(ctx["line"]) - len(ctx["line"].lstrip())]
    return indent + value + " " + ctx["line"].lstrip()


def op_swap(ctx, rng):
    code = ctx["code"]
    found = []
    for m in re.finditer(r"([A-Za-z_]\w*)\s*(<[^<>;]*>)?\(", code):
        if m.group(1) in KEYWORDS or m.group(1) in SYMMETRIC:
            continue
        open_at = m.end() - 1
        close = balanced(code, open_at)
        if close < 0:
            continue
        commas = top_level_commas(code, open_at + 1, close)
        if not commas:
            continue
        end_second = commas[1] if len(commas) > 1 else close
        first = (open_at + 1, commas[0])
        second = (commas[0] + 1, end_second)
        a, b = code[first[0]:first[1]].strip(), code[second[0]:second[1]].strip()
        if a and b and a != b and "[" not in a[:1] + b[:1]:
            found.append((first, second))
    if not found:
        return None
    (s1, e1), (s2, e2) = rng.choice(found)
    line = ctx["line"]
    a, b = line[s1:e1].strip(), line[s2:e2].strip()
    lead1 = line[s1:e1][:len(line[s1:e1]) - len(line[s1:e1].lstrip())]
    lead2 = line[s2:e2][:len(line[s2:e2]) - len(line[s2:e2].lstrip())]
    return line[:s1] + lead1 + b + line[e1:s2] + lead2 + a + line[e2:]


APPLY = {
    "flip-comparison": lambda ctx, rng: op_comparison(ctx, rng, FLIP),
    "loosen-comparison": lambda ctx, rng: op_comparison(ctx, rng, LOOSEN),
    "and-or": op_and_or,
    "negate-condition": op_negate,
    "drop-statement": op_drop,
    "constant": op_constant,
    "early-return": op_early_return,
    "swap-arguments": op_swap,
}


# --- The draw ------------------------------------------------------------------------------

class SourceFile:
    def __init__(self, rel):
        self.rel = rel
        self.text = (ROOT / rel).read_text()
        self.lines = self.text.split("\n")
        code = masked(self.text)
        self.code_lines = code.split("\n")
        inside, bodies = scan(code)
        self.starts, self.offsets = [], []  # whether a line starts inside a function body; where it starts
        offset = 0
        for line in self.code_lines:
            lead = len(line) - len(line.lstrip())
            self.starts.append(offset + lead < len(inside) and inside[offset + lead] == 1 and line.strip() != "")
            self.offsets.append(offset)
            offset += len(line) + 1
        for body in bodies:
            if body.end is None:
                body.end = len(code)
        for body in bodies:
            # Whether it returns a value, not counting the lambdas inside it.
            nested = [b for b in bodies if b is not body and body.start < b.start < body.end]
            outermost = [b for b in nested if not any(o is not b and o.start < b.start < o.end for o in nested)]
            text = code[body.start:body.end]
            for inner in sorted(outermost, key=lambda b: -b.start):
                text = text[:inner.start - body.start] + text[inner.end - body.start:]
            body.returns = re.search(r"\breturn\s+[^;\s]", text) is not None
        self.bodies = bodies

    def body_at(self, index):
        at = self.offsets[index]
        holding = [b for b in self.bodies if b.start < at < (b.end or 0)]
        return max(holding, key=lambda b: b.start) if holding else None

    def context(self, index):
        previous = ""
        for k in range(index - 1, -1, -1):
            if self.code_lines[k].strip() and not self.code_lines[k].lstrip().startswith("#"):
                previous = self.code_lines[k].rstrip()
                break
        body = self.body_at(index)
        following = next((k for k in range(index + 1, len(self.code_lines)) if self.code_lines[k].strip()), None)
        last = (body is not None and following is not None and self.code_lines[following].strip() == "}" and
                self.offsets[following] <= body.end < self.offsets[following] + len(self.code_lines[following]))
        return {"line": self.lines[index], "code": self.code_lines[index], "previous": previous, "body": body,
                "last": last}


def candidates():
    files = []
    for layer in LAYERS:
        for path in sorted((ROOT / layer).rglob("*")):
            rel = str(path.relative_to(ROOT))
            if path.suffix not in (".cpp", ".h") or rel in GENERATED or path.stem.endswith("_win"):
                continue
            files.append(rel)
    return files


def draw(count, seed, active):
    rng = random.Random(seed)
    files = [SourceFile(rel) for rel in candidates()]
    everywhere = [(f, i) for f in files for i in range(len(f.lines))]
    chosen, seen = [], set()
    attempts = 0
    while len(chosen) < count and attempts < 200000:
        attempts += 1
        f, i = everywhere[rng.randrange(len(everywhere))]
        if (f.rel, i) in seen or not f.starts[i]:
            continue
        seen.add((f.rel, i))
        code = f.code_lines[i].strip()
        if not re.search(r"\w", code):
            continue  # braces and the like
        lines = active(ROOT / f.rel)
        if lines is None or (i + 1) not in lines:
            continue  # not compiled here (Windows-only, or a branch for other processors)
        ctx = f.context(i)
        first = len(chosen) % len(OPERATORS)
        for k in range(len(OPERATORS)):
            name = OPERATORS[(first + k) % len(OPERATORS)]
            op_rng = random.Random(f"{seed}:{f.rel}:{i}:{name}")
            mutated = APPLY[name](ctx, op_rng)
            if mutated is not None and mutated != ctx["line"]:
                chosen.append((f.rel, i, name, mutated))
                break
    return chosen


# --- Building and testing ------------------------------------------------------------------

def environment():
    env = dict(os.environ)
    env["QT_QPA_PLATFORM"] = "offscreen"
    env["ASAN_OPTIONS"] = "detect_leaks=1:abort_on_error=0"
    env["LSAN_OPTIONS"] = f"suppressions={ROOT}/scripts/lsan.supp:print_suppressions=0"
    env["UBSAN_OPTIONS"] = "print_stacktrace=1:halt_on_error=1"
    return env


def run(command, timeout=None, **kw):
    """The finished process, or None when it ran past the timeout (and was killed)."""
    out = run_partly(command, timeout, **kw)
    return out if out.returncode is not None else None


def run_partly(command, timeout=None, **kw):
    """Like run, but a process killed at the timeout gives what it printed, with returncode None."""
    try:
        return subprocess.run(command, cwd=kw.pop("cwd", ROOT), capture_output=True, text=True, errors="replace",
                              timeout=timeout, env=environment(), **kw)
    except subprocess.TimeoutExpired as e:
        printed = e.stdout or b""
        printed = printed.decode(errors="replace") if isinstance(printed, bytes) else printed
        return subprocess.CompletedProcess(command, None, printed, "")


def build(targets=None):
    command = ["cmake", "--build", str(BUILD), "-j2"]
    if targets:
        command += ["--target", *targets]
    out = run(command)
    return out is not None and out.returncode == 0


def first_failure(output):
    for pattern in (r"^\s*\d+/\d+ Test\s+#\d+: (\S+) \.+\**\s*(Failed|Timeout|Exception|Subprocess|\*)",
                    r"^\s*\d+ - (\S+) \((?:Failed|Timeout|Subprocess aborted|SEGFAULT|Exception)"):
        m = re.search(pattern, output, re.M)
        if m:
            return m.group(1)
    return "?"


def ctest(extra=()):
    """Runs the tests; None when all pass, else the first failing test's name."""
    out = run(["ctest", "--timeout", str(TEST_TIMEOUT), "--stop-on-failure", "-j2", *extra],
              cwd=BUILD, timeout=3600)
    if out is None:
        return "(ctest timed out)"
    if out.returncode == 0:
        return None
    return first_failure(out.stdout)


def test_program(rel):
    """The test program of the part of the code a file belongs to (tests mirror src)."""
    parts = Path(rel).parts
    name = "test_ui" if parts[1] == "ui" else "test_platform" if parts[1] == "platform" else "test_" + parts[2]
    return name


def quick_test(program, limit):
    """The part's own test program in one process first, where most mutants fail fast: the first
    failing test as ctest runs it on its own, or the one that ran past the limit."""
    exe = BUILD / "tests" / program
    if not exe.exists():
        return None
    out = run_partly([str(exe)], timeout=limit, cwd=BUILD / "tests")
    if out.returncode == 0:
        return None
    failed = re.search(r"^\[  FAILED  \] (\S+) \(", out.stdout, re.M)
    started = re.findall(r"^\[ RUN      \] (\S+)", out.stdout, re.M)
    name = failed.group(1) if failed else started[-1] if started else None
    if name is None:
        return None
    if out.returncode is None:
        return name  # it hung there: ctest would only wait for its own timeout to say so
    return ctest(["-R", "^" + re.escape(name) + "$"])


def programs():
    return sorted({test_program(rel) for rel in candidates()})


def tree_hash():
    h = hashlib.sha256()
    for top in ("src", "tests", "cmake", "CMakeLists.txt"):
        for path in sorted((ROOT / top).rglob("*")) if (ROOT / top).is_dir() else [ROOT / top]:
            if path.is_file():
                h.update(str(path.relative_to(ROOT)).encode())
                h.update(path.read_bytes())
    return h.hexdigest()


def main():
    args = sys.argv[1:]
    if args == ["--restore"]:
        restore()
        return 0
    dry = "--dry-run" in args
    args = [a for a in args if a != "--dry-run"]
    count = int(args[0]) if len(args) > 0 else 40
    seed = int(args[1]) if len(args) > 1 else 1
    for number in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(number, on_signal)
    restore()  # a run killed outright left its mutant
    try:
        if dry:  # the draw alone, from the compile commands of an existing build
            for rel, index, name, mutated in draw(count, seed, preprocessor(BUILD / "compile_commands.json")):
                original = (ROOT / rel).read_text().split("\n")[index]
                print(f"{rel}:{index + 1} {name}\n    - {original.strip()}\n    + {mutated.strip()}")
            return 0
        return mutate(count, seed)
    finally:
        restore()


def mutate(count, seed):
    log(f"mutate: configuring and building {BUILD.name}")
    out = run(["cmake", "-S", str(ROOT), "-B", str(BUILD), "-DCMAKE_BUILD_TYPE=Debug", "-DKOTORI_SANITIZE=ON",
               "-DKOTORI_TESTS=ON"])
    if out is None or out.returncode != 0 or not build():
        log(out.stderr if out else "", "mutate: the unchanged tree does not build")
        return 2
    stamp = BUILD / "mutate-baseline.json"
    current = tree_hash()
    baseline = json.loads(stamp.read_text()) if stamp.exists() else {}
    if baseline.get("tree") != current:
        log("mutate: running the tests on the unchanged tree")
        failing = ctest()
        if failing:
            log(f"mutate: {failing} fails without any mutant; fix that first")
            return 2
        limits = {}
        for program in programs():  # how long each runs in one process, for its limit
            started = time.time()
            out = run([str(BUILD / "tests" / program)], timeout=TEST_TIMEOUT * 10, cwd=BUILD / "tests")
            if out is None or out.returncode != 0:
                log(f"mutate: {program} fails when run in one process; fix that first")
                return 2
            limits[program] = max(30, round(4 * (time.time() - started)))
        baseline = {"tree": current, "limits": limits}
        stamp.write_text(json.dumps(baseline))
    limits = baseline["limits"]

    active = preprocessor(BUILD / "compile_commands.json")
    mutants = draw(count, seed, active)
    equivalents = reviewed_equivalents()
    results = []
    for number, (rel, index, name, mutated) in enumerate(mutants, 1):
        path = ROOT / rel
        original = path.read_text()
        lines = original.split("\n")
        saved = BACKUP / rel
        saved.parent.mkdir(parents=True, exist_ok=True)
        saved.write_text(original)
        started = time.time()
        try:
            lines[index] = mutated
            path.write_text("\n".join(lines))
            program = test_program(rel)
            verdict, test = judge(program, limits.get(program, TEST_TIMEOUT * 5))
        finally:
            path.write_text(original)
            saved.unlink(missing_ok=True)
        print(f"mutant {number} {rel}:{index + 1} {name} {verdict} {test}", flush=True)
        before = original.split(chr(10))[index].strip()
        # A judgement holds for a line that stands once in its file: another like it is judged anew.
        once = sum(1 for line in original.split(chr(10)) if line.strip() == before) == 1
        why = equivalents.get((rel, before, mutated.strip())) if verdict == "survived" and once else None
        log(f"    - {before}\n    + {mutated.strip()}\n" + (f"    equivalent, as judged before: {why}\n" if why else "") +
            f"    ({time.time() - started:.0f} s)")
        results.append((rel, verdict, why is not None))

    def summary(rows):
        counts = {v: sum(1 for _, r, _ in rows if r == v) for v in ("killed", "survived", "not-viable")}
        return f"{counts['killed']} killed, {counts['survived']} survived, {counts['not-viable']} not viable"

    def judged(rows):
        # Equivalent survivors are no fault a test could catch: the share of the rest caught.
        killed = sum(1 for _, r, _ in rows if r == "killed")
        open_ = sum(1 for _, r, same in rows if r == "survived" and not same)
        same = sum(1 for _, _, s in rows if s)
        share = f"{100 * killed / (killed + open_):.0f}%" if killed + open_ else "-"
        return f"; {same} of the survivors judged equivalent, {share} of the rest caught"

    for name, rows in (("core+platform", [r for r in results if not r[0].startswith("src/ui/")]),
                       ("ui", [r for r in results if r[0].startswith("src/ui/")])):
        print(f"layer {name}: " + summary(rows) + judged(rows))
    print("mutants: " + summary(results), flush=True)
    return 0


def judge(program, limit):
    """Builds and tests the mutant in place: its verdict and the first test that failed."""
    if not build([program]):
        return "not-viable", "-"
    failing = quick_test(program, limit)
    if failing is None:
        if not build():
            return "not-viable", "-"
        failing = ctest()
    return ("killed", failing) if failing else ("survived", "-")


if __name__ == "__main__":
    sys.exit(main())
