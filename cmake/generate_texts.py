#!/usr/bin/env python3
"""Compiles text/lang/*.txt into the read-only text table.

Every language file lists the same keys in the same order as en.txt, one
text per line as key, tab, text ("\\n" is a line break, "\\\\" a backslash).
The build fails here, with the file and line, on a missing or extra key, an
empty text, a placeholder set that differs from the English one, or a brace
that does not belong to a placeholder: such a table would show broken text.
"""
import re
import sys
from pathlib import Path

LANGUAGES = ["en", "zh-Hans", "ru", "es", "pt-BR", "de", "ja", "fr", "pl", "ko",
             "zh-Hant", "tr", "uk", "it", "cs"]


def fail(path, line, message):
    sys.stderr.write(f"{path}:{line}: {message}\n")
    sys.exit(1)


def unescape(path, line, raw):
    out = []
    i = 0
    while i < len(raw):
        c = raw[i]
        if c == "\\":
            nxt = raw[i + 1] if i + 1 < len(raw) else ""
            if nxt == "n":
                out.append("\n")
            elif nxt == "\\":
                out.append("\\")
            else:
                fail(path, line, f"unknown escape \\{nxt}")
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


def placeholders(path, line, text):
    names = []
    depth_open = None
    for i, c in enumerate(text):
        if c == "{":
            if depth_open is not None:
                fail(path, line, "brace inside a placeholder")
            depth_open = i
        elif c == "}":
            if depth_open is None:
                fail(path, line, "closing brace outside a placeholder")
            names.append(text[depth_open + 1:i])
            depth_open = None
    if depth_open is not None:
        fail(path, line, "unclosed placeholder")
    return sorted(set(names))


def read_language(path):
    entries = []
    raw = path.read_bytes()
    try:
        content = raw.decode("utf-8")
    except UnicodeDecodeError as e:
        fail(path, 0, f"not UTF-8: {e}")
    if content.startswith("\ufeff"):
        fail(path, 1, "byte-order mark")
    for number, line in enumerate(content.split("\n"), start=1):
        if line.endswith("\r"):
            fail(path, number, "carriage return")
        if not line or line.startswith("#"):
            continue
        key, sep, text = line.partition("\t")
        if not sep:
            fail(path, number, "no tab between key and text")
        if not re.fullmatch(r"[a-z0-9_]+(\.[a-z0-9_]+)+", key):
            fail(path, number, f"malformed key {key!r}")
        text = unescape(path, number, text)
        if not text.strip():
            fail(path, number, f"empty text for {key}")
        entries.append((number, key, text))
    return entries


def c_literal(text):
    out = ['"']
    for ch in text:
        if ch == "\\":
            out.append("\\\\")
        elif ch == '"':
            out.append('\\"')
        elif ch == "\n":
            out.append('\\n')
        else:
            out.append(ch)
    out.append('"')
    return "".join(out)


def main():
    if len(sys.argv) >= 3 and sys.argv[1] == "--check":
        # Checks some languages against English without writing anything:
        #   generate_texts.py --check text/lang de fr
        lang_dir = Path(sys.argv[2])
        check(lang_dir, ["en"] + sys.argv[3:])
        print("ok")
        return
    lang_dir, out_header, out_source = Path(sys.argv[1]), Path(sys.argv[2]), Path(sys.argv[3])
    english, tables = check(lang_dir, LANGUAGES)
    write_outputs(english, tables, out_header, out_source)


def check(lang_dir, codes):
    tables = []
    english = None
    for code in codes:
        path = lang_dir / f"{code}.txt"
        if not path.exists():
            fail(path, 0, "missing language file")
        entries = read_language(path)
        if english is None:
            english = entries
            keys = [k for _, k, _ in entries]
            if len(set(keys)) != len(keys):
                fail(path, 0, "duplicate keys")
        else:
            if len(entries) != len(english):
                fail(path, 0, f"{len(entries)} texts, English has {len(english)}")
            for (number, key, text), (en_number, en_key, en_text) in zip(entries, english):
                if key != en_key:
                    fail(path, number, f"key {key}, expected {en_key}")
                if placeholders(path, number, text) != placeholders(lang_dir / "en.txt", en_number, en_text):
                    fail(path, number, f"placeholders of {key} differ from English")
                if en_text.count("\n") != text.count("\n"):
                    fail(path, number, f"{key} has {text.count(chr(10))} line breaks, English has {en_text.count(chr(10))}")
        for number, key, text in entries:
            placeholders(path, number, text)
        tables.append([t for _, _, t in entries])
    return english, tables


def write_outputs(english, tables, out_header, out_source):
    keys = [k for _, k, _ in english]
    enum_names = [k.replace(".", "_") for k in keys]
    if len(set(enum_names)) != len(enum_names):
        sys.exit("keys collide once dots become underscores")

    header = ["// Generated from text/lang/*.txt by cmake/generate_texts.py; do not edit.",
              "#pragma once", "#include <cstdint>", "",
              "namespace glimmerly {", "",
              f"inline constexpr std::uint16_t TEXT_COUNT = {len(keys)};",
              f"inline constexpr std::uint8_t LANGUAGE_COUNT = {len(LANGUAGES)};", "",
              "enum class TextId : std::uint16_t {"]
    for i, name in enumerate(enum_names):
        header.append(f"    {name} = {i},")
    header += ["};", "", "}  // namespace glimmerly", ""]

    source = ["// Generated from text/lang/*.txt by cmake/generate_texts.py; do not edit.",
              '#include "text/text_table.h"', "",
              "namespace glimmerly::detail {", "",
              "extern const std::array<std::string_view, TEXT_COUNT> kTextKeys = {{"]
    source += [f"    {c_literal(k)}," for k in keys]
    source += ["}};", "", "extern const std::array<std::array<std::string_view, TEXT_COUNT>, LANGUAGE_COUNT> kTexts = {{"]
    for code, table in zip(LANGUAGES, tables):
        source.append(f"    {{{{  // {code}")
        source += [f"        {c_literal(t)}," for t in table]
        source.append("    }},")
    source += ["}};", "", "}  // namespace glimmerly::detail", ""]

    for path, lines in ((out_header, header), (out_source, source)):
        text = "\n".join(lines)
        if not path.exists() or path.read_text(encoding="utf-8") != text:
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_text(text, encoding="utf-8")


if __name__ == "__main__":
    main()
