#!/usr/bin/env python3
"""Runs every worked example of the help pages through the engine with karvold-keys (rate 8,
truncation) and compares what it shows. An example is a span of keys by their captions, then
"→", "で" or "の答えは" and the number shown, with the tax label in brackets where there is one;
an example right after "、" goes on from the one before, any other starts afresh. Captions
become commands through the program's own string table and key map."""
import glob, re, subprocess, sys

keys_exe, root = sys.argv[1:]
captions = re.findall(r'IDS_KEY_FIRST \+ \d+,\s*"([^"]*)"', open(f"{root}/resources/karvold.rc", encoding="utf-8").read())
key_map = re.search(r'KeyMap\[\] = "([^"]*)"', open(f"{root}/shell/key_layout.h").read()).group(1)
example = re.compile(r'(、)?<span class="example">([^<]*)</span>\s*(?:→|で|の答えは)\s*(-?[\d,.]*\d)(?:（(税込|税抜|税)）)?')
failures = [] if len(captions) == len(key_map) == 30 else ["captions and key map differ"]
for page in sorted(glob.glob(f"{root}/resources/help/*.htm")):
    text = open(page, encoding="cp932").read()
    if len(example.findall(text)) != text.count('<span class="example">'):
        failures.append(f"{page}: an example without the number it shows")
    typed = ""
    for goes_on, keys, number, label in example.findall(text):
        typed = (typed if goes_on else "") + "".join(dict(zip(captions, key_map)).get(k, k) for k in keys.split())
        shown = subprocess.run([keys_exe, "--rate", "8", typed], capture_output=True, text=True).stdout.rstrip("\n")
        if (shown if label else shown.split("\t")[0]) != (number + "\t" + label if label else number):
            failures.append(f"{page}: {keys} ({typed}) shows {shown!r}, the help says {number} {label}")
print("\n".join(failures) or "every example as the help says")
sys.exit(1 if failures else 0)
