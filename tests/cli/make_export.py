#!/usr/bin/env python3
"""Writes a large made-up export to the file named by the first argument:
IDENT lines with and without commas, tabs at every column, trailing blanks
and tabs, lines longer than a record and than the read buffer, lone CRs and
LFs, NUL and high bytes, a Ctrl-Z inside a line, and a Ctrl-Z where a line
begins followed by bytes that must never be read. The same file every time."""
import random
import sys

rng = random.Random(1234)
lines = []
for i in range(9000):
    kind = i % 17
    if kind == 0:
        lines.append(b"!!> IDENT(%d),PRE(T%d),NAME('TABLE%d')" % (i, i, i))
    elif kind == 1:
        lines.append(b"!!> IDENT(%d)" % i)
    elif kind == 2:
        lines.append(b"\t" * (i % 9) + b"Field%d\tSTRING(%d)\t \t" % (i, i % 255))
    elif kind == 3:
        lines.append(b"X" * (5000 + i % 30))
    elif kind == 4 and i % 5 == 0:
        lines.append(b"L" * 10030 + b"\t" + b"tail")
    elif kind == 5:
        lines.append(b"lone CR\rinside, lone LF\ninside")
    elif kind == 6:
        lines.append(bytes(rng.randrange(1, 256) for _ in range(rng.randrange(0, 120))).replace(b"\x1a", b"").replace(b"\r\n", b"\n"))
    elif kind == 7:
        lines.append(b"ends here\x1acontinues as a line")
    elif kind == 8:
        lines.append(b"   ")
    elif kind == 9:
        lines.append(b"NUL\x00between")
    else:
        lines.append(b"KEY(K%d),DUP,NOCASE  " % i)
data = b"\r\n".join(lines) + b"\r\n\x1aafter the end mark\r\n!!> IDENT(1),never\r\n"
with open(sys.argv[1], "wb") as out:
    out.write(data)
