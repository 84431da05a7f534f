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
command = dict(zip(captions, key_map))
example = re.compile(r'(、)?<span class="example">([^<]*)</span>\s*(?:→|で|の答えは)\s*(-?[\d,.]*\d)(?:（(税込|税抜|税)）)?')
failures = []
for page in sorted(glob.glob(f"{root}/resources/help/*.htm")):
    text = open(page, encoding="cp932").read()
    found = list(example.finditer(text))
    if len(found) != text.count('<span class="example">'):
        failures.append(f"{page}: an example without the number it shows")
    typed = ""
    for m in found:
        goes_on, keys, number, label = m.groups()
        typed = (typed if goes_on else "") + "".join(command.get(k, k) for k in keys.split())
        shown = subprocess.run([keys_exe, "--rate", "8", typed], capture_output=True, text=True).stdout
        expected = number + "\t" + (label or "")
        if (shown.rstrip("\n") if label else shown.split("\t")[0] + "\t") != expected:
            failures.append(f"{page}: {keys} ({typed}) shows {shown!r}, the help says {expected!r}")
print("\n".join(failures) or f"{len(captions)} captions, every example as the help says")
sys.exit(1 if failures or len(captions) != len(key_map) else 0)
