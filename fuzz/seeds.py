#!/usr/bin/env python3
"""Writes hand-made seed inputs for the fuzz targets into fuzz/corpus/<target>/.

Seeds are small, valid (or nearly valid) inputs of every kind a target reads, so
that fuzzing starts from the interesting shapes instead of from nothing:
EMF records of each kind, saved-report files plain and compressed, window
definitions, CSV files, statement texts and expressions. Re-running it is
harmless: files are named by content, so nothing is duplicated.
Usage: python3 fuzz/seeds.py
"""
import hashlib
import os
import struct

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def put(target, data):
    if isinstance(data, str):
        data = data.encode("utf-8")
    d = os.path.join(ROOT, target)
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, hashlib.sha1(data).hexdigest()), "wb") as f:
        f.write(data)


def i32(*v):
    return struct.pack("<%di" % len(v), *v)


def u32(*v):
    return struct.pack("<%dI" % len(v), *v)


def f32(*v):
    return struct.pack("<%df" % len(v), *v)


# ---- EMF -------------------------------------------------------------------

def rec(kind, payload=b""):
    while len(payload) % 4:
        payload += b"\0"
    return u32(kind, 8 + len(payload)) + payload


def emf(records, width=320, height=240):
    body = b"".join(records) + rec(14, u32(0, 16, 20))  # EOF
    total = 108 + len(body)
    head = u32(1, 108) + i32(0, 0, width - 1, height - 1, 0, 0, width * 100 // 4, height * 100 // 4)
    head += u32(0x464D4520, 0x10000, total, len(records) + 2) + struct.pack("<HH", 4, 0)
    head += u32(0, 0, 0) + i32(1024, 768, 320, 240) + u32(0, 0, 0) + i32(320000, 240000)
    assert len(head) == 108
    return head + body


RECT = i32(10, 10, 100, 80)
POINTS = i32(10, 10, 60, 20, 40, 70, 10, 10)


def dib(bits, w=2, h=2):
    colors = 1 << bits if bits <= 8 else 0
    stride = ((w * bits + 31) // 32) * 4
    bmi = i32(40, w, h) + struct.pack("<HH", 1, bits) + u32(0, stride * h, 0, 0, colors, 0)
    bmi += b"".join(u32((i * 0x3F1F7F) & 0xFFFFFF) for i in range(colors))
    return bmi, bytes((i * 37) & 0xFF for i in range(stride * h))


def stretchdibits(bits):
    bmi, data = dib(bits)
    off = 8 + 80
    return rec(81, RECT + i32(5, 5, 0, 0, 2, 2) + u32(off, len(bmi), off + len(bmi), len(data), 0, 0x00CC0020)
               + i32(40, 30) + bmi + data)


def blt(kind, extra=b""):
    bmi, data = dib(24)
    fixed = 8 + 100 + len(extra)
    head = RECT + i32(5, 5, 40, 30) + u32(0x00CC0020) + i32(0, 0) + f32(1, 0, 0, 1, 0, 0) + u32(0xFFFFFF, 0)
    return rec(kind, head + u32(fixed, len(bmi), fixed + len(bmi), len(data)) + extra + bmi + data)


def text_w(s, options=0, dx=True):
    chars = s.encode("utf-16-le")
    off = 8 + 76
    offdx = off + len(chars) + (len(chars) % 4) if dx else 0
    body = RECT + u32(1) + f32(1, 1) + i32(20, 20) + u32(len(s), off, options) + RECT + u32(offdx)
    body += chars + b"\0" * (len(chars) % 4)
    if dx:
        body += u32(*([7] * len(s)))
    return rec(84, body)


def text_a(s):
    chars = s.encode("cp1252")
    off = 8 + 76
    body = RECT + u32(1) + f32(1, 1) + i32(20, 40) + u32(len(s), off, 0) + RECT + u32(0) + chars
    return rec(83, body)


def logfont(height=-13, weight=400, italic=0, name="Arial"):
    face = name.encode("utf-16-le").ljust(64, b"\0")
    return i32(height, 0, 0, 0, weight) + bytes([italic, 0, 0, 0, 0, 0, 0, 0]) + face


def rgn(rects):
    data = u32(32, 1, len(rects), 16 * len(rects)) + RECT + b"".join(i32(*r) for r in rects)
    return data


def emf_seeds():
    R = [(10, 10, 50, 40), (60, 20, 90, 70)]
    kinds = {
        "window": [rec(17, u32(8)), rec(9, i32(1000, 1000)), rec(10, i32(-10, -10)), rec(11, i32(320, -240)),
                   rec(12, i32(5, 5)), rec(31, i32(2, 1, 3, 1)), rec(32, i32(1, 2, 1, 3)), rec(43, RECT)],
        "isotropic": [rec(17, u32(7)), rec(9, i32(100, 50)), rec(11, i32(320, 240)), rec(42, RECT)],
        "state": [rec(18, u32(1)), rec(19, u32(2)), rec(20, u32(13)), rec(21, u32(4)), rec(22, u32(24)),
                  rec(24, u32(0x0000FF)), rec(25, u32(0x00FF00)), rec(57, u32(2)), rec(58, f32(4)),
                  rec(13, i32(1, 1)), rec(16, u32(1)), rec(23, b"\0" * 24)],
        "savedc": [rec(33), rec(36, f32(2, 0, 0, 2, 5, 5) + u32(4)), rec(43, RECT), rec(34, i32(-1)),
                   rec(33), rec(33), rec(34, i32(-2)), rec(34, i32(5))],
        "transform": [rec(35, f32(0.7, 0.7, -0.7, 0.7, 100, 0)), rec(36, f32(1, 0, 0, 1, 3, 4) + u32(2)),
                      rec(36, f32(1, 0, 0, 1, 0, 0) + u32(3)), rec(36, u32(0) * 6 + u32(1)), rec(42, RECT)],
        "lines": [rec(27, i32(0, 0)), rec(54, i32(100, 100)), rec(54, i32(0, 100))],
        "pens": [rec(38, u32(1, 1) + i32(3, 0) + u32(0xFF)), rec(37, u32(1)), rec(43, RECT),
                 rec(95, u32(2, 0, 0, 0, 0) + u32(0x10000 | 0x200 | 0x1000 | 7, 5, 0, 0x00FF00, 0, 2, 3, 1)),
                 rec(37, u32(2)), rec(54, i32(100, 100)), rec(40, u32(1)), rec(37, u32(0x80000000 | 7)),
                 rec(38, u32(3, 5) + i32(0, 0) + u32(0)), rec(37, u32(3)), rec(54, i32(10, 100))],
        "brushes": [rec(39, u32(1, 0, 0x123456, 0)), rec(37, u32(1)), rec(43, RECT),
                    rec(39, u32(2, 2, 0xFF, 3)), rec(37, u32(2)), rec(42, RECT),
                    rec(39, u32(3, 1, 0, 0)), rec(37, u32(3)), rec(37, u32(0x80000000 | 4)), rec(43, RECT),
                    rec(37, u32(0x80000000 | 18)), rec(37, u32(0x80000000 | 99)), rec(37, u32(77))],
        "patternbrush": [rec(94, u32(1, 0, 24, 40 + 8, 24 + 48, 8) + dib(1, 8, 2)[0] + b"\xAA\0\0\0\x55\0\0\0"),
                         rec(37, u32(1)), rec(43, RECT),
                         rec(93, u32(2, 0, 24, 48, 72, 8) + dib(1, 8, 2)[0] + b"\xF0\0\0\0\x0F\0\0\0"),
                         rec(37, u32(2)), rec(42, RECT)],
        "fonts": [rec(82, u32(1) + logfont()), rec(37, u32(1)), text_w("Página 1 de 3"),
                  rec(82, u32(2) + logfont(-20, 700, 1, "Courier New")), rec(37, u32(2)), text_w("Total", 0x4),
                  text_w("R$ 1.234,56", 0x2, dx=False), text_a("Relatório"), rec(40, u32(2))],
        "smalltext": [rec(108, i32(10, 10) + u32(3, 0x200 | 0x100, 1) + f32(1, 1) + b"abc"),
                      rec(108, i32(10, 30) + u32(2, 0, 1) + f32(1, 1) + RECT + "ok".encode("utf-16-le"))],
        "polytext": [rec(97, RECT + u32(1) + f32(1, 1) + u32(1) + i32(10, 10) + u32(2, 8 + 56, 0) + RECT
                         + u32(0) + "hi".encode("utf-16-le"))],
        "shapes": [rec(44, RECT + i32(10, 10)), rec(45, RECT + i32(0, 0, 100, 100)),
                   rec(46, RECT + i32(100, 0, 0, 100)), rec(47, RECT + i32(50, 0, 0, 50)),
                   rec(55, RECT + i32(0, 0, 10, 10)), rec(41, i32(50, 50) + u32(20) + f32(0, 270))],
        "poly32": [rec(k, RECT + u32(4) + POINTS) for k in (2, 3, 4, 5, 6)],
        "poly16": [rec(k, RECT + u32(4) + struct.pack("<8h", 10, 10, 60, 20, 40, 70, 10, 10))
                   for k in (85, 86, 87, 88, 89)],
        "polypoly": [rec(7, RECT + u32(2, 5) + u32(2, 3) + i32(0, 0, 10, 10, 20, 20, 30, 0, 40, 40)),
                     rec(8, RECT + u32(2, 6) + u32(3, 3) + i32(0, 0, 10, 10, 0, 20, 50, 50, 60, 60, 50, 70)),
                     rec(90, RECT + u32(1, 2) + u32(2) + struct.pack("<4h", 0, 0, 9, 9)),
                     rec(91, RECT + u32(1, 3) + u32(3) + struct.pack("<6h", 0, 0, 9, 0, 9, 9))],
        "polydraw": [rec(56, RECT + u32(4) + POINTS + bytes([6, 2, 4, 3])),
                     rec(92, RECT + u32(4) + struct.pack("<8h", 1, 1, 5, 5, 9, 1, 1, 1) + bytes([6, 4, 4, 4]))],
        "pixel": [rec(15, i32(5, 5) + u32(0xFF)), rec(15, i32(-5, 5000) + u32(0))],
        "path": [rec(59), rec(27, i32(10, 10)), rec(54, i32(50, 10)), rec(54, i32(30, 40)), rec(61), rec(60),
                 rec(63, RECT), rec(59), rec(43, RECT), rec(60), rec(62, RECT), rec(59), rec(42, RECT),
                 rec(60), rec(64, RECT), rec(59), rec(42, RECT), rec(60), rec(65), rec(66), rec(67, u32(1)),
                 rec(59), rec(68), rec(60), rec(64, RECT)],
        "clip": [rec(30, RECT), rec(29, i32(20, 20, 30, 30)), rec(26, i32(5, 5)), rec(43, RECT),
                 rec(75, u32(48, 5) + rgn([(0, 0, 50, 50)])), rec(75, u32(0, 5)), rec(28),
                 rec(75, u32(64, 1) + rgn(R)), rec(75, u32(64, 2) + rgn(R)), rec(75, u32(64, 3) + rgn(R)),
                 rec(75, u32(64, 4) + rgn(R))],
        "regions": [rec(39, u32(1, 0, 0xFF00, 0)), rec(71, RECT + u32(64, 1) + rgn(R)),
                    rec(72, RECT + u32(48, 1) + i32(2, 2) + rgn(R[:1])),
                    rec(73, RECT + u32(48) + rgn(R[:1])), rec(74, RECT + u32(64) + rgn(R))],
        "dib": [stretchdibits(b) for b in (1, 4, 8, 16, 24, 32)],
        "setdibits": [rec(80, RECT + i32(0, 0, 0, 0, 2, 2) + u32(76, 40, 116, 16, 0, 0, 2)
                          + dib(32)[0] + dib(32)[1])],
        "blt": [blt(76), blt(77, i32(2, 2)), blt(114, i32(2, 2)), blt(116, i32(2, 2)),
                rec(76, RECT + i32(5, 5, 40, 30) + u32(0x00F00021) + b"\0" * 72)],
        "palette": [rec(49, u32(1) + struct.pack("<HH", 0x300, 2) + u32(0xFF, 0xFF00)), rec(48, u32(1)),
                    rec(40, u32(1))],
        "comment": [rec(70, u32(12) + b"Cliente 123 "), rec(70, u32(0))],
        "unknown": [rec(200, u32(1, 2, 3)), rec(78, b"\0" * 100), rec(79, b"\0" * 120)],
    }
    for name, records in kinds.items():
        put("fuzz_emf_player", emf(records))
    # A header with a description, and a bare one.
    put("fuzz_emf_player", emf([]))
    e = bytearray(emf([rec(43, RECT)]))
    struct.pack_into("<II", e, 60, 4, 88)  # nDescription, offDescription inside the header
    e[88:96] = "Rel\0".encode("utf-16-le")
    put("fuzz_emf_player", bytes(e))
    return [emf(kinds["fonts"] + kinds["shapes"]), emf(kinds["lines"]), emf(kinds["comment"] * 3)]


# ---- saved-report files ----------------------------------------------------

def encode(data):
    """The page coder: an adaptive prefix code on a semi-splayed tree."""
    up = [0] + [(i - 1) // 2 for i in range(1, 513)]
    left = [2 * j + 1 for j in range(256)]
    right = [2 * j + 2 for j in range(256)]
    out, pending, bit = bytearray(), 0, 0

    def splay(s):
        a = s + 256
        while a != 0:
            c = up[a]
            if c == 0:
                break
            d = up[c]
            b = left[d]
            if c == b:
                b = right[d]
                right[d] = a
            else:
                left[d] = a
            if a == left[c]:
                left[c] = b
            else:
                right[c] = b
            up[a] = d
            up[b] = c
            a = d

    for s in data:
        bits, a = [], s + 256
        while a != 0:
            p = up[a]
            bits.append(1 if right[p] == a else 0)
            a = p
        for b in reversed(bits):
            if b:
                pending |= 1 << bit
            if bit == 7:
                out.append(pending & 0xFF)
                pending, bit = 0, 0
            else:
                bit += 1
        splay(s)
    if bit:
        out.append(pending & 0xFF)
    return bytes(out)


assert encode(b"abc") == bytes([0x46, 0x3D, 0x01]) and encode(b"aaaa") == bytes([0x46, 0x45])


def brp(pages, compressed, count=None):
    header = bytearray(128)
    struct.pack_into("<HHiid", header, 0, 3, 362, 0, len(pages) if count is None else count, 46000.5)
    header[12:16] = b"\0" * 4
    struct.pack_into("<i", header, 8, len(pages) if count is None else count)
    header[25] = 1 if compressed else 0
    out = bytearray(header)
    for n, page in enumerate(pages, 1):
        start = len(out)
        data = i32(len(page)) + encode(page) if compressed else page
        out += i32(n, start + 12 + len(data)) + data + i32(start)
    return bytes(out)


def main():
    pages = emf_seeds()
    put("fuzz_brp_loader", brp(pages[:1], False))
    put("fuzz_brp_loader", brp(pages[:1], True))
    put("fuzz_brp_loader", brp(pages, False))
    put("fuzz_brp_loader", brp(pages, True))
    put("fuzz_brp_loader", brp(pages, False, count=1))  # an aborted run
    put("fuzz_brp_loader", brp([], False))

    for text in ["A:integer,B:float,C:string,D:boolean,E:date\n1,2.5,x,true,2024-03-12\n-7,,\"a,\"\"b\"\"\",0,31/12/1999\n",
                 "\ufeffNOME,TOTAL:float\n\"Ana\",10.25\n\n\"Bia\nRui\",3\n",
                 "A\n", "A:integer\n1\nx\n", "A,B\n1,2\n3\n", "A:money\n1\n", "D:date\n31/02/2005\n",
                 "X:boolean,Y\r\nTRUE,\"\"\r\nfalse,\"open\n", ",B\n",
                 # Values no report can print, marks inside lines, Unicode blanks and digits.
                 "V:float,D:date\n1e3,2024-03-05\ninf,01/01/2000\n-1,-0001-01-01\n nan ,05/03/-2024\n",
                 "\ufeff\ufeffN:integer,T\n\ufeff7,\ufefftexto\n\u00a0\n \u0667 ,x\n\"\"\"a\"b,c\n"]:
        put("fuzz_csv_dataset", text)

    for text in ["SUM(QryRel.TOTALPEDIDO) * 10 + COUNT", "IF(ATIVO, CLIENTE, 'x') + STR(QryRel.NUMERO)",
                 "AVERAGE(IF(NUMERO = 2, 2.5, NUMERO))", "MAX(CLIENTE) + MIN(CLIENTE)", "TYPEOF([DATA PEDIDO])",
                 "[X-Y] + 1 - 10", "'Página ' + STR(PAGENUMBER) + REPORTTITLE", "LOOP + PING + TOTAL",
                 "dd/mm/yyyy hh:nn:ss", "#,##0.00;(#,##0.00);'zero'", "h:mm AM/PM dddd mmmm zzz",
                 "NOT (1 < 2) AND 3 >= 4 OR 'a' <> 'b'", "-(2147483647 + 1) * 1.5e300 / 0", "APPNAME + AppStartDate",
                 "UPPER(COPY(CLIENTE, 2, 3))", "((((((1))))))", "'unterminated", "QryAux.[X-Y] DIV 0 MOD 0"]:
        put("fuzz_expr", text)

    for text in ["select * from Pedidoc where datafatura between :DataIni and :DataFim and tipo in (:T1, :T2)",
                 "select ':nao' as x, \"a:b\" from t -- :comentario\nwhere a = :A /* :b */ and c = :A",
                 "update t set a = ::x, b = :\"Nome Com Espaco\"\r\nwhere c=:c1",
                 "DataIni=01/01/2024\nDataFim=31/01/2024\nT=51", ":"]:
        put("fuzz_statement_params", text)

    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "..", "resources", "UPrincipal.def"), "rb") as f:
        put("fuzz_definition_reader", f.read())
    for text in ["object A: TForm\n  Caption = 'Per'#237'odo' + 'x'\n  Items.Strings = (\n    'a'\n    'b')\n"
                 "  Font.Style = [fsBold, fsItalic]\n  Tag = -1\n  Width = 1.5E3\n  Data = {\n    0A0B0C}\n"
                 "  object B: TButton\n    OnClick = BClick\n  end\nend\n",
                 "inherited F: TF\n  Collection = <\n    item\n      Name = 'x'\n    end>\nend\n", "object X: T\n"]:
        put("fuzz_definition_reader", text)


if __name__ == "__main__":
    main()
