#!/usr/bin/env python3
"""Writes the hand-made seed inputs of the fuzz targets into corpus/<target>/.

The seeds cover valid inputs and the malformed cases the unit tests check.
Inputs that a fuzzer found are kept in the same folders under their own
names (crash-*, and the like) and are not touched here. The profile files
profile-lang*.ini were written by the program's own profile store;
table-head and release-notes are the first lines of text resources 214
and 177.
"""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")

INT_MIN, INT_MAX = -2**31, 2**31 - 1
MAGIC = b"Tolvemar Datafile"
HEADER = 17 + 9 * 4
BLOCK = 303 * 4


def put(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def words(*values):
    return b"".join(struct.pack("<i", v) for v in values)


def header(job=20, slot=0, grade=0, version=3, a=186, b=176):
    return MAGIC + words(0, version, job, slot, grade, a, b, 3, 100)


def block(job, selected=0, level=lambda s, n: (s + n) % 4, marker=126):
    out = words(marker, job, selected)
    for s in range(3):
        out += words(*[(s + 1 if n == 0 else level(s, n)) for n in range(100)])
    return out


def save_file_seeds():
    t = "fuzz_save_file"
    full = header(4, 1, 2) + b"".join(block(j, j % 3) for j in range(20))
    put(t, "valid", full)
    put(t, "header-only", header())
    put(t, "cut-in-block-3", full[:HEADER + 3 * BLOCK + 401])
    put(t, "cut-in-header", full[:40])
    put(t, "empty", b"")
    bad = bytearray(full)
    bad[5] ^= 0x20
    put(t, "bad-magic", bytes(bad[:HEADER + 2 * BLOCK]))
    put(t, "bad-version", header(version=4) + block(0))
    put(t, "bad-check-word", header(a=185) + block(0))
    for v in (-1, 21, 256, INT_MIN, INT_MAX):
        put(t, "autorun-%d" % v, header(v, v) + block(0) + block(1))
    for v in (-1, 20, 256, INT_MIN, INT_MAX):
        put(t, "job-id-%d" % v, header() + block(0) + block(v) + block(2))
        put(t, "slot-%d" % v, header() + block(6, v))
    levels = (INT_MIN, -1, 16, INT_MAX)
    put(t, "levels-extreme", header() +
        b"".join(block(j, 0, lambda s, n, j=j: levels[(j + s + n) % 4]) for j in range(20)))
    put(t, "node0-out-of-range",
        header() + words(126, 3, 0) + words(*([INT_MAX] + [1] * 99)) * 3)
    put(t, "duplicate-reordered", header() + block(5) + block(3) + block(5, 2, lambda s, n: 3))
    put(t, "missing-marker", header() + block(0) + block(1, marker=125) + block(2))
    put(t, "25-blocks", header() + b"".join(block(j % 20) for j in range(25)))


class Provider:
    """Builds inputs the way FuzzedDataProvider takes them apart: integers
    and booleans from the end, strings from the front."""

    def __init__(self):
        self.front = bytearray()
        self.back = bytearray()

    def byte(self, value):  # ConsumeBool, ConsumeIntegralInRange over <= 256 values
        self.back.append(value & 0xFF)

    def string(self, data):  # ConsumeRandomLengthString
        self.front += data.replace(b"\\", b"\\\\") + b"\\x"

    def raw(self, data):  # ConsumeBytes, ConsumeRemainingBytes
        self.front += data

    def data(self):
        return bytes(self.front) + bytes(reversed(self.back))


def profile_seeds():
    t = "fuzz_profile_builds"
    texts = [b"", b"3", b"0A9f", b"fB", b"9" * 100, "2x-\u00e9".encode("utf-8"), b"1gG ",
             b"1" * 100 + b"9" + b"1" * 49, b"4aff000", b"f" * 100, b"-12", b"junk"]
    slots = [b"-1", b"3", b"20", b"-2147483648", b"2147483647", b"junk", b"2", b" 1", b"+2"]
    for language in range(-1, 3):
        p = Provider()
        p.byte(language + 1)  # ConsumeIntegralInRange(-1, 2)
        for job in range(20):
            p.byte(1)
            p.byte(0)  # text as bytes
            p.string(slots[job % len(slots)])
            for s in range(3):
                p.byte(1)
                p.byte(0)
                p.string(texts[(job * 3 + s) % len(texts)])
        put(t, "all-values-language-%d" % language, p.data())
    p = Provider()
    p.byte(1)
    for job in range(20):
        p.byte(job % 2)
        if job % 2:
            p.byte(1)  # text as UTF-16 code units, surrogates included
            p.string(bytes([0x31, 0x00, 0x00, 0xD8, 0x41, 0x00]))
        for s in range(3):
            p.byte(1)
            p.byte(1)
            p.string(("%d\ud800a" % s).encode("utf-16-le", "surrogatepass"))
    put(t, "wide-text", p.data())
    put(t, "empty", b"")


def update_seeds():
    t = "fuzz_update_reply"
    marker = b"##Tolvemar_UpdateInformation:"
    replies = {
        "newer": marker + b"2.2131,http://dl.test/setup.exe",
        "same": marker + b"2.213,http://dl.test/setup.exe",
        "truncated": marker + b"2.21309,http://dl.test/x",
        "spaces": marker + b" \t\r\n 2.5,\n  http://dl.test/a b c",
        "blank-before-comma": marker + b"2.5 ,http://dl.test/a",
        "no-address": marker + b"3,",
        "no-comma": marker + b"3",
        "no-number": marker + b"v3,http://x.test",
        "lower-case-marker": b"##tolvemar_updateinformation:3,http://x.test",
        "two-markers": marker + b"2.0,http://old.test\n" + marker + b"9.0,http://new.test\n",
        "zero-byte": b"head\x00" + marker + b"9.0,http://new.test",
        "huge-version": marker + b"214748.37,http://dl.test/x",
        "negative": marker + b"-3,http://dl.test/x",
        "exponent": marker + b"2.3e0,https://dl.test/x",
        "inf": marker + b"inf,http://dl.test/x",
        "hex-float": marker + b"0x1p4,http://dl.test/x",
        "long-address": marker + b"9,http://dl.test/" + b"a" * 984,
        "too-long-address": marker + b"9,http://dl.test/" + b"a" * 985,
        "file-address": marker + b"9,file:///etc/passwd",
        "no-host": marker + b"9,https:///path",
        "control-char": marker + b"9,http://dl.test/\x01x",
        "utf8-broken": b"a\xff" b"b\xc3 \xe0\x80\x80 \xed\xa0\x80 \xe2\x82x " + marker + b"9,http://x.test",
        "korean": "최신 버전 ".encode() + marker + "2.3,http://dl.test/최신".encode(),
        "error-page": b"<html><body>404 Not Found</body></html>",
    }
    for name, reply in replies.items():
        p = Provider()
        p.byte(0)  # the shipped local version
        p.raw(struct.pack("<f", 2.213))
        p.raw(reply)
        put(t, name, p.data())
    for local in (b"  2.213xyz", b"", b"1e40", b"-0", b"99999999"):
        p = Provider()
        p.byte(1)
        p.string(local)
        p.raw(struct.pack("<f", float("nan")))
        p.raw(replies["newer"])
        put(t, "local-" + (local.strip().decode() or "empty"), p.data())


def ini_seeds():
    t = "fuzz_ini_profile"
    put(t, "empty", b"")
    put(t, "options-malformed",
        b"[Option]\nSkillInfo=abc\nAutoChange=12x\nAutoCenter=99999999999\nAutoSave=\n"
        b"SexType= 7 \nLanguage=-2147483648\n")
    put(t, "options-language-out-of-range", b"[Option]\nLanguage=3\nSaveToFile=-1\n")
    put(t, "stray-text-before-sections", b"+\n[Option]\nLanguage=1\n")
    put(t, "control-byte", b"\x1a")
    put(t, "escapes",
        b"[Slot]\n%U30A2%U30FC%U30C1%U30E3%U30FC=2\nBlade%252FMaster=1\n"
        b"[Data]\n%UAC80%UC0AC0=\"4a\\\"00\", x\n%ZZ=1\n%U12=\\x41\\0\n@Variant(\\0\\0)=1\n"
        b"[Option]\nLanguage=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x10)\n")
    put(t, "sections-odd", b"[]\n=\n[Data\nx=1\n[[Slot]]\n;comment\n#comment\n[General]\nk=v\n")


def description_seeds():
    t = "fuzz_descriptions"
    a, b = b"HOLY_STRIKE", b"THUNDER_WAVE"

    def table(*lines, cp949=True):
        text = b"-- header\r\n" + b"".join(line + b"\r\n" for line in lines)
        if cp949:
            return b"\x01" + text
        return b"\x00" + text.decode("cp949", "replace").encode("utf-16-le")

    put(t, "colour-codes", table(b"[SKID." + a + b'] = {"Fire ^FF0000Bolt^000000", "Lv 1"},'))
    put(t, "separators", table(b"[SKID." + a + b'] = {"x, y" ,  ^123456 ;"z"}, trailing'))
    put(t, "quirks", table(b"[SKID." + a + b'] = {"first"}', b"[SKID." + b + b'] = {"old"},',
                           b"[SKID." + b + b'] = {"new"},', b"[SKID." + a + b'] = {"cut}here"},',
                           b"[SKID." + a + b"] = {}"))
    put(t, "skipped-lines", table(b'[SKID.] = {"empty identifier"}', b"[SKID." + a.lower() + b'] = {"case"}',
                                  b"[SKID." + a + b'] = "no brace"', b"[SKID." + a + b' = {"no bracket"}',
                                  b"[SKID." + b"A" * 31 + b'] = {"too long"}'))
    put(t, "unclosed", table(b"[SKID." + a + b'] = {"open, never closed}', b'[SKID.NOT_A_SKILL] = {"',
                             b"[SKID." + b + b'] = {"a b", "c"}'))
    put(t, "line-end", table(b"[SKID." + a + b'] = {"tail" ^12', b"[SKID." + b + b'] = {"x", "no close'))
    put(t, "long", table(b"[SKID." + a + b'] = {"' + b"x" * 1001 + b'"}',
                         b"[SKID." + b + b'] = {"' + b"y" * 999 + b'"}'))
    put(t, "hangul", table(b"[SKID." + a + b'] = {"\xB0\xA1\xB3\xAA \xC7\xD1"}'))
    put(t, "broken-cp949", table(b"[SKID." + a + b'] = {"x\xFF" "y\xB0"}', b"\xB0"))
    put(t, "utf16", table(b"[SKID." + b + b'] = {"\xB0\xA1", "^FFFFFF"}', cp949=False))
    put(t, "zero-byte", table(b"[SKID." + a + b'] = {"before\x00after"}'))


def main():
    description_seeds()
    save_file_seeds()
    profile_seeds()
    update_seeds()
    ini_seeds()
    return 0


if __name__ == "__main__":
    sys.exit(main())
