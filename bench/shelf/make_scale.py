#!/usr/bin/env python3
"""Writes 20 StarDict dictionaries of 150,000 generated headwords each (3 million in all) into a folder, for the
benchmarks of the window at that scale. Usage: make_scale.py FOLDER"""
import os
import random
import struct
import sys

folder = sys.argv[1]
random.seed(20261209)
letters = "abcdefghijklmnopqrstuvwxyz"
for d in range(20):
    words = sorted({"g%d%s" % (d, "".join(random.choices(letters, k=random.randint(4, 11)))) for _ in range(150000)},
                   key=lambda w: (w.lower(), w))
    idx, data = bytearray(), bytearray()
    for w in words:
        text = ("generated entry of " + w).encode()
        idx += w.encode() + b"\0" + struct.pack(">II", len(data), len(text))
        data += text
    name = "scale%02d" % d
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name + ".ifo"), "w") as f:
        f.write("StarDict's dict ifo file\nversion=2.4.2\nbookname=Generated %d\nwordcount=%d\nidxfilesize=%d\n"
                "sametypesequence=m\n" % (d, len(words), len(idx)))
    with open(os.path.join(folder, name + ".idx"), "wb") as f:
        f.write(idx)
    with open(os.path.join(folder, name + ".dict"), "wb") as f:
        f.write(data)
