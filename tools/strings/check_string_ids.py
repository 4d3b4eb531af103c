#!/usr/bin/env python3
"""Fails the build when the code fetches a string id that no table holds.

  check_string_ids.py <output header> <table.txt>... -- <source files>...

The ids the code uses are collected from the sources themselves:
  - arguments given as integer literals (or as `constexpr StringId` names) in
    calls of functions whose declarations take a `StringId` parameter at that
    position;
  - `constexpr StringId name = N;` declarations and `constexpr StringId`
    arrays;
  - fields of type `StringId` or `ShortStringId` in the rows of constant arrays
    of structures (the key table's key names).
An id is resolved the way the program resolves it: in either language table,
then the default table, then the constant table. Every used id must resolve in
both languages. The header written lists the used ids for the tests.
"""
import re
import sys
from pathlib import Path

ID_TYPES = ("StringId", "ShortStringId")
LANGUAGE_TABLES = ("english", "polish")


def read_table(path):
    ids = {}
    for number, line in enumerate(Path(path).read_text(encoding="utf-8").splitlines(), 1):
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        match = re.match(r"\s*(\d+)\s*(?:w\s*)?\|", line)
        if match:
            ids[int(match.group(1))] = f"{path}:{number}"
    return ids


def strip_comments(text):
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    return re.sub(r"//[^\n]*", " ", text)


def split_arguments(text, start):
    """Top-level comma-separated arguments of the call whose '(' is at start."""
    depth, current, arguments = 0, [], []
    for index in range(start, len(text)):
        char = text[index]
        if char in "([{":
            depth += 1
            if depth == 1:
                continue
        elif char in ")]}":
            depth -= 1
            if depth == 0:
                arguments.append("".join(current).strip())
                return arguments
        elif char == "," and depth == 1:
            arguments.append("".join(current).strip())
            current = []
            continue
        current.append(char)
    return arguments


def integer(text):
    text = text.strip()
    if re.fullmatch(r"0[xX][0-9a-fA-F]+|\d+", text):
        return int(text, 0)
    return None


def main(argv):
    separator = argv.index("--")
    output, tables, sources = argv[1], argv[2:separator], argv[separator + 1:]
    texts = {path: strip_comments(Path(path).read_text(encoding="utf-8")) for path in sources}

    # Which parameters of which functions (and local lambdas) are string ids.
    id_parameters = {}
    declarations = (r"\b([A-Z]\w*)\s*\(([^()]*)\)\s*(?:const\s*)?(?:override\s*)?;",
                    r"\b(\w+)\s*=\s*\[[^\]]*\]\s*\(([^()]*)\)")
    for text in texts.values():
        for match in (m for pattern in declarations for m in re.finditer(pattern, text)):
            parameters = [p.strip() for p in match.group(2).split(",")]
            positions = [i for i, p in enumerate(parameters) if re.match(r"(const\s+)?(%s)\b" % "|".join(ID_TYPES), p)]
            if positions:
                id_parameters.setdefault(match.group(1), set()).update(positions)

    # Which structure fields are string ids.
    id_fields = {}
    for text in texts.values():
        for match in re.finditer(r"struct\s+(\w+)\s*\{([^{}]*)\};", text):
            fields = [f.strip() for f in match.group(2).split(";") if f.strip()]
            positions = [i for i, f in enumerate(fields) if re.match(r"(%s)\s+\w+$" % "|".join(ID_TYPES), f)]
            if positions:
                id_fields[match.group(1)] = positions

    used = {}

    def use(value, where):
        if value is not None:
            used.setdefault(value, where)

    constants = {}
    for path, text in texts.items():
        for match in re.finditer(r"constexpr\s+(?:%s)\s+(\w+)\s*=\s*(\w+)\s*;" % "|".join(ID_TYPES), text):
            constants[match.group(1)] = integer(match.group(2))
            use(integer(match.group(2)), f"{path}: {match.group(1)}")
        for match in re.finditer(r"constexpr\s+(?:%s)\s+(\w+)\s*\[[^\]]*\]\s*=\s*\{([^{}]*)\}" % "|".join(ID_TYPES), text):
            for element in match.group(2).split(","):
                use(integer(element), f"{path}: {match.group(1)}[]")

    for path, text in texts.items():
        for name, positions in id_parameters.items():
            for match in re.finditer(r"(?<![\w:~])%s\s*\(" % name, text):
                arguments = split_arguments(text, match.end() - 1)
                for position in positions:
                    if position < len(arguments):
                        argument = arguments[position]
                        value = integer(argument)
                        if value is None:
                            value = constants.get(argument)
                        use(value, f"{path}: {name}({', '.join(arguments)})")
        for type_name, positions in id_fields.items():
            for match in re.finditer(r"\b%s\s+\w+\s*\[[^\]]*\]\s*=\s*\{" % type_name, text):
                body = split_arguments(text, match.end() - 1)
                for row in body:
                    if row.startswith("{"):
                        fields = split_arguments(row, 0)
                        for position in positions:
                            if position < len(fields):
                                use(integer(fields[position]), f"{path}: {type_name} row {row}")

    held = {Path(path).stem: read_table(path) for path in tables}
    shared = {}
    for name in ("default", "constant"):
        shared.update(held.get(name, {}))
    missing = []
    for value, where in sorted(used.items()):
        for language in LANGUAGE_TABLES:
            if value not in held.get(language, {}) and value not in shared:
                missing.append(f"string id {value} is in no table for {language}; used at {where}")
    if missing:
        sys.stderr.write("\n".join(missing) + "\n")
        return 1

    lines = ["// Generated by tools/strings/check_string_ids.py: the string ids the code uses.",
             "#pragma once",
             "#include <cstdint>",
             "",
             "constexpr std::uint32_t usedStringIds[] = {"]
    lines += [f"    {value}," for value in sorted(used)]
    lines += ["};", ""]
    Path(output).write_text("\n".join(lines), encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
