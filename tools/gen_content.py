#!/usr/bin/env python3
"""Builds the compiled-in game content from the sources under resources/content.

Reads the hand-edited sources (skills, texts, the twenty tree files, the
description table and the two text resources), checks every rule the program
relies on, derives the connector paths, and writes:

  resources/generated/skill_table.cpp
  resources/generated/skill_tree_blocks.cpp
  resources/generated/text_table.cpp
  resources/generated/former_title_table.cpp
  resources/generated/text_resources.cpp   (resources 177, 213, 214 as bytes)
  resources/bitmaps/...  and resources/bitmaps.qrc

Usage:
  gen_content.py                 regenerate in place
  gen_content.py --out DIR       write the artefacts under DIR instead
  gen_content.py --check         regenerate into a temporary folder and fail
                                 on any difference with the committed files
"""

import argparse
import filecmp
import os
import random
import re
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import content_art  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CONTENT = os.path.join(ROOT, 'resources', 'content')

SKILL_COUNT = 745
SEPARATORS = (0, 131, 413, 476, 744)
RUNS = ((1, 130), (132, 412), (414, 475), (477, 743))
PATH_END = 65535
LINE_HEIGHT = 11
MAX_LINE_WIDTH = 66

# --------------------------------------------------------------------------
# Fixed job data: the job table and the page frames (also compiled verbatim
# from src/data/job_table.cpp and the page descriptors below).

JOBS = {
    # id: (minGrade, maxGrade, nodes per page, titles, names, portraits[sex][grade])
    0: (1, 3, (7, 16, 4, 21), (30, 30, 43, 56), (86, 86, 99, 112), ((135, 135, 192, 9510), (134, 134, 193, 9710))),
    1: (1, 3, (6, 10, 5, 19), (31, 31, 44, 57), (87, 87, 100, 113), ((137, 137, 194, 9503), (136, 136, 195, 9703))),
    2: (1, 3, (5, 18, 6, 26), (32, 32, 45, 58), (88, 88, 101, 114), ((138, 138, 197, 9511), (138, 138, 197, 9511))),
    3: (1, 3, (7, 21, 5, 31), (33, 33, 46, 59), (89, 89, 102, 115), ((140, 140, 200, 9507), (139, 139, 201, 9707))),
    4: (1, 3, (7, 18, 4, 21), (34, 34, 47, 60), (90, 90, 103, 116), ((143, 143, 190, 9512), (142, 142, 191, 9712))),
    5: (1, 3, (5, 18, 6, 26), (35, 35, 48, 61), (91, 91, 104, 117), ((144, 144, 196, 9711), (144, 144, 196, 9711))),
    6: (1, 3, (5, 17, 4, 24), (36, 36, 49, 62), (92, 92, 105, 118), ((146, 146, 186, 9505), (145, 145, 187, 9705))),
    7: (1, 3, (7, 10, 8, 13), (37, 37, 50, 63), (93, 93, 106, 119), ((148, 148, 180, 9501), (147, 147, 183, 9701))),
    8: (1, 3, (14, 15, 4, 24), (38, 38, 51, 64), (94, 94, 107, 120), ((169, 169, 202, 9508), (149, 149, 203, 9708))),
    9: (1, 3, (14, 18, 4, 21), (39, 39, 52, 65), (95, 95, 108, 121), ((166, 166, 184, 9502), (167, 167, 185, 9702))),
    10: (1, 3, (6, 20, 4, 23), (40, 40, 53, 66), (96, 96, 109, 122), ((172, 172, 204, 9506), (171, 171, 205, 9706))),
    11: (1, 3, (13, 20, 8, 28), (41, 41, 54, 67), (97, 97, 110, 123), ((150, 150, 188, 9509), (179, 179, 189, 9709))),
    12: (0, 1, (49, 29, 0, 0), (69, 70, 0, 0), (125, 126, 0, 0), ((174, 1121, 0, 0), (176, 1122, 0, 0))),
    13: (1, 3, (13, 13, 6, 25), (42, 42, 55, 68), (98, 98, 111, 124), ((168, 168, 182, 9504), (170, 170, 181, 9704))),
    14: (1, 1, (17, 18, 0, 0), (72, 72, 0, 0), (128, 128, 0, 0), ((207, 207, 0, 0), (206, 206, 0, 0))),
    15: (1, 1, (17, 27, 0, 0), (73, 73, 0, 0), (129, 129, 0, 0), ((209, 209, 0, 0), (208, 208, 0, 0))),
    16: (1, 1, (23, 25, 0, 0), (75, 75, 0, 0), (131, 131, 0, 0), ((211, 1123, 0, 0), (211, 1123, 0, 0))),
    19: (1, 1, (23, 25, 0, 0), (76, 76, 0, 0), (132, 132, 0, 0), ((210, 1126, 0, 0), (210, 1126, 0, 0))),
    17: (1, 1, (22, 20, 0, 0), (77, 78, 0, 0), (133, 134, 0, 0), ((213, 1127, 0, 0), (212, 1128, 0, 0))),
    18: (0, 0, (14, 0, 0, 0), (79, 0, 0, 0), (135, 0, 0, 0), ((215, 0, 0, 0), (215, 0, 0, 0))),
}

PAGES = {
    0: ((0, 0, 212, 424, 80), (256, 0, 468, 424, 86), (256, 0, 532, 424, 99), (576, 0, 852, 424, 112)),
    1: ((0, 0, 148, 424, 81), (192, 0, 404, 424, 87), (192, 0, 468, 424, 100), (512, 0, 788, 424, 113)),
    2: ((0, 0, 148, 424, 82), (192, 0, 468, 424, 88), (192, 0, 532, 424, 101), (576, 0, 916, 424, 114)),
    3: ((0, 0, 212, 424, 80), (256, 0, 532, 424, 89), (256, 0, 596, 424, 102), (640, 0, 1044, 424, 115)),
    4: ((0, 0, 148, 424, 83), (192, 0, 468, 424, 90), (192, 0, 532, 424, 103), (576, 0, 852, 424, 116)),
    5: ((0, 0, 148, 424, 82), (192, 0, 468, 424, 91), (192, 0, 532, 424, 104), (576, 0, 916, 424, 117)),
    6: ((0, 0, 148, 424, 82), (192, 0, 468, 424, 92), (192, 0, 532, 424, 105), (576, 0, 852, 424, 118)),
    7: ((0, 0, 148, 424, 83), (192, 0, 404, 424, 93), (192, 0, 532, 424, 106), (576, 0, 788, 424, 119)),
    8: ((0, 0, 212, 488, 84), (256, 0, 532, 488, 94), (256, 0, 532, 488, 107), (576, 0, 852, 488, 120)),
    9: ((0, 0, 212, 424, 84), (256, 0, 532, 424, 95), (256, 0, 596, 424, 108), (640, 0, 916, 424, 121)),
    10: ((0, 0, 148, 424, 81), (192, 0, 532, 424, 96), (192, 0, 596, 424, 109), (640, 0, 980, 424, 122)),
    11: ((0, 0, 212, 424, 85), (256, 0, 596, 424, 97), (256, 0, 660, 424, 110), (704, 0, 1044, 424, 123)),
    12: ((0, 0, 523, 488, 125), (587, 0, 907, 488, 126), (523, 0, 715, 488, 0), None),
    13: ((0, 0, 212, 424, 85), (256, 0, 468, 424, 98), (256, 0, 532, 424, 111), (576, 0, 916, 424, 124)),
    14: ((0, 0, 276, 424, 127), (320, 0, 660, 424, 128), (320, 0, 660, 424, 128), None),
    15: ((0, 0, 276, 424, 127), (320, 0, 660, 424, 129), (320, 0, 660, 424, 129), None),
    16: ((0, 0, 340, 424, 130), (384, 0, 724, 424, 131), None, None),
    17: ((0, 0, 404, 424, 133), (448, 0, 724, 424, 134), (0, 0, 404, 424, 0), None),
    18: ((0, 0, 276, 424, 135), (0, 0, 276, 424, 0), (0, 0, 276, 424, 0), None),
    19: ((0, 0, 340, 424, 130), (384, 0, 724, 424, 132), None, None),
}

# First-job skills on page 1 per job; one advanced-second-job skill on job 12's page 1.
PAGE1_FIRST_JOB_SKILLS = {4: 4, 9: 3, 10: 3}
GRADE_RANGE_1_TO_3 = [j for j in range(20) if JOBS[j][0] == 1 and JOBS[j][1] == 3]

# Skill points granted for pages 0 to 3, by job id (as in src/data/job_table.cpp).
POINT_LIMITS = {j: (49, 49, 20, 59) for j in GRADE_RANGE_1_TO_3}
POINT_LIMITS.update({12: (98, 98, 0, 0), 14: (49, 49, 0, 0), 15: (49, 49, 0, 0), 16: (69, 49, 0, 0),
                     19: (69, 49, 0, 0), 17: (69, 49, 0, 0), 18: (49, 0, 0, 0)})
# Levels a job's pages must hold beyond the points granted for them, so that
# every point can be spent with a choice left.
SPARE_LEVELS = 5
HIGHEST_MAX_LEVEL = 10

PREREQ_DISTRIBUTION = (213, 593, 146, 40, 9, 1)
DEAD_ENTRIES = 33
JAPANESE_EMPTY_SKILLS = 309


# --------------------------------------------------------------------------
# Where a job's name is shown at a fixed width: the save options dialog gives
# each job a radio of a fixed width (dialog units, by job id; job 18 has
# none), the chooser a 41-unit label under each picture. Both dialogs use the
# 9-point dialog font, whose average character is 7 pixels wide (a dialog
# unit is a quarter of it), drawn at 12 pixels. A radio's text gets its width
# less the style's indicator and spacing.
SAVE_DLG_RADIO_WIDTHS = {9: 43, 8: 30, 7: 37, 4: 50, 3: 50, 0: 50, 1: 37, 10: 30, 13: 37, 11: 37,
                         6: 30, 2: 30, 12: 50, 5: 30, 14: 30, 15: 43, 16: 30, 19: 43, 17: 30}
CHOOSER_LABEL_WIDTH = 41
DIALOG_BASE_UNIT_X = 7
RADIO_INDICATOR_AND_SPACING = 20
# Advance widths of the dialog font's Latin face (printable ASCII from the
# space on, in 1/2048 of the em) and the em fraction of a Hangul syllable in
# its Korean face; other wide characters count as a full em.
LATIN_ADVANCES = (
    569, 569, 727, 1139, 1139, 1821, 1366, 391, 682, 682, 797, 1196, 569, 682, 569, 569,
    1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 569, 569, 1196, 1196, 1196, 1139,
    2079, 1366, 1366, 1479, 1479, 1366, 1251, 1593, 1479, 569, 1024, 1366, 1139, 1706, 1479, 1593,
    1366, 1593, 1479, 1366, 1251, 1479, 1366, 1933, 1366, 1366, 1251, 569, 569, 569, 961, 1139,
    682, 1139, 1139, 1024, 1139, 1139, 569, 1139, 1139, 455, 455, 1024, 455, 1706, 1139, 1139,
    1139, 1139, 682, 1024, 569, 1139, 1024, 1479, 1024, 1024, 1024, 684, 532, 684, 1196)
HANGUL_EM = 0.94
DIALOG_FONT_PIXELS = 12


def text_width(text, latin_advances, pixels, hangul_em=1.0, wide_extra=0):
    """Pixel width of a one-line text: Latin advances in 1/2048 of the em, a
    Hangul syllable `hangul_em`, any other character one em and `wide_extra`
    pixels."""
    em, extra = 0.0, 0
    for ch in text:
        o = ord(ch)
        if 32 <= o < 127:
            em += latin_advances[o - 32] / 2048
        elif 0xAC00 <= o <= 0xD7A3:
            em += hangul_em
        else:
            em += 1.0
            extra += wide_extra
    return round(em * pixels) + extra


def dialog_text_width(text):
    """Pixel width of a one-line text in the dialog font."""
    return text_width(text, LATIN_ADVANCES, DIALOG_FONT_PIXELS, HANGUL_EM)


def dialog_units_to_pixels(du):
    return (du * DIALOG_BASE_UNIT_X + 2) // 4


# The tree window's header draws the job's title from x = 90 in its title
# font (a bold italic serif with a 34-pixel cell, drawn at 30 pixels), and
# places Close (49 dialog units wide) 30 pixels from the right edge of a window
# as wide as the page rectangle of the grade shown plus 50. A title must end
# left of Close. Latin advances are the title face's (printable ASCII from
# the space on, in 1/2048 of the em); a Hangul syllable is one em, and other
# wide characters come from a face without a bold, emboldened one pixel wider.
# The italic's last stroke reaches past the advance by up to TITLE_OVERHANG.
TITLE_LEFT = 90
TITLE_FONT_PIXELS = 30
TITLE_OVERHANG = 5
CLOSE_BUTTON_WIDTH = 49
CLOSE_RIGHT_MARGIN = 30
WINDOW_EXTRA_WIDTH = 50
TITLE_LATIN_ADVANCES = (
    512, 797, 1137, 1024, 1024, 1706, 1593, 569, 682, 682, 1024, 1167, 512, 682, 512, 569,
    1024, 1024, 1024, 1024, 1024, 1024, 1024, 1024, 1024, 1024, 682, 682, 1167, 1167, 1167, 1024,
    1704, 1366, 1366, 1366, 1479, 1366, 1366, 1479, 1593, 797, 1024, 1366, 1251, 1821, 1479, 1479,
    1251, 1479, 1366, 1139, 1251, 1479, 1366, 1821, 1366, 1251, 1251, 682, 569, 682, 1167, 1024,
    682, 1024, 1024, 909, 1024, 909, 682, 1024, 1139, 569, 569, 1024, 569, 1593, 1139, 1024,
    1024, 1024, 797, 797, 569, 1139, 909, 1366, 1024, 909, 797, 713, 451, 713, 1167)


def title_text_width(text):
    """Pixel width of a job title in the tree window's title font."""
    return text_width(text, TITLE_LATIN_ADVANCES, TITLE_FONT_PIXELS, wide_extra=1)


def close_button_left(job, grade):
    """Left edge of Close in the tree window showing the job at that grade."""
    window_width = PAGES[job][grade][2] + WINDOW_EXTRA_WIDTH
    return window_width - dialog_units_to_pixels(CLOSE_BUTTON_WIDTH) - CLOSE_RIGHT_MARGIN


class ContentError(Exception):
    pass


def fail(msg):
    raise ContentError(msg)


# --------------------------------------------------------------------------
# Geometry shared with the drawing: a node at column c, row r has its icon at
# (64c + 33, 64r + 35) and its name centred under it from y = 64r + 96.

def icon_box(col, row):
    x, y = 64 * col + 33, 64 * row + 35
    return (x, y, x + 23, y + 23)


def char_width(ch):
    """Estimated pixel width of one character in the 11-pixel name font."""
    o = ord(ch)
    if o >= 0x1100:
        return 11
    if ch in 'MWmw':
        return 9
    if 'A' <= ch <= 'Z':
        return 7
    if ch == ' ':
        return 3
    return 6


def line_width(line):
    return sum(char_width(c) for c in line)


def name_extent(name, col, row):
    """Left, top, right, bottom (inclusive) of a name drawn under its icon."""
    lines = name.split('\n')
    width = max(line_width(line) for line in lines)
    centre = 64 * col + 45
    top = 64 * row + 61
    return (centre - (width + 1) // 2, top, centre + (width + 1) // 2, top + LINE_HEIGHT * len(lines) - 1)


# --------------------------------------------------------------------------
# Sources

def read_lines(path):
    with open(path, encoding='utf-8') as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip('\n')
            if not line.strip() or line.lstrip().startswith('#'):
                continue
            yield number, line


def unescape(text):
    return text.replace('\\n', '\n').replace('\\t', '\t')


class Skill:
    __slots__ = ('pos', 'ident', 'max_level', 'icon', 'art', 'names')


def load_skills():
    skills = {}
    path = os.path.join(CONTENT, 'skills.tsv')
    for number, line in read_lines(path):
        cols = line.split('\t')
        if len(cols) != 8:
            fail(f'skills.tsv:{number}: expected 8 columns, got {len(cols)}')
        s = Skill()
        s.pos = int(cols[0])
        s.ident = cols[1]
        s.max_level = int(cols[2])
        s.icon = int(cols[3])
        s.art = cols[4]
        s.names = tuple(unescape(c) for c in cols[5:8])
        if s.pos in skills:
            fail(f'skills.tsv:{number}: position {s.pos} twice')
        skills[s.pos] = s
    return skills


def load_texts():
    texts = {}
    for number, line in read_lines(os.path.join(CONTENT, 'texts.tsv')):
        cols = line.split('\t')
        if len(cols) != 4:
            fail(f'texts.tsv:{number}: expected 4 columns')
        texts[int(cols[0])] = tuple(unescape(c) for c in cols[1:])
    return texts


def load_former_titles():
    """(job, (Korean, English, Japanese), line) per line of former_titles.tsv."""
    titles = []
    for number, line in read_lines(os.path.join(CONTENT, 'former_titles.tsv')):
        cols = line.split('\t')
        if len(cols) != 4 or not cols[0].isdigit():
            fail(f'former_titles.tsv:{number}: expected "job<TAB>Korean<TAB>English<TAB>Japanese"')
        titles.append((int(cols[0]), tuple(unescape(c) for c in cols[1:]), number))
    return titles


class Entry:
    __slots__ = ('skill', 'level', 'start', 'path', 'dead')

    def __init__(self, skill, level, dead=False):
        self.skill, self.level, self.dead = skill, level, dead
        self.start, self.path = (0, 0), []


class Node:
    __slots__ = ('skill', 'page', 'col', 'row', 'entries', 'source')


def parse_tree_file(path, ident_to_pos, nodes, seen_files):
    if path in seen_files:
        fail(f'{path}: included twice')
    seen_files.add(path)
    for number, line in read_lines(path):
        words = line.split()
        where = f'{os.path.relpath(path, CONTENT)}:{number}'
        if words[0] == 'include':
            parse_tree_file(os.path.join(os.path.dirname(path), words[1]), ident_to_pos, nodes, seen_files)
            continue
        if len(words) < 4:
            fail(f'{where}: expected "page column row SKILL [PREREQ:LEVEL ...]"')
        n = Node()
        n.page, n.col, n.row = int(words[0]), int(words[1]), int(words[2])
        if words[3] not in ident_to_pos:
            fail(f'{where}: unknown skill {words[3]}')
        n.skill = ident_to_pos[words[3]]
        n.entries = []
        n.source = where
        for word in words[4:]:
            if word == 'dead':
                n.entries.append(Entry(0, 0, dead=True))
                continue
            ident, _, level = word.partition(':')
            if ident not in ident_to_pos or not level.lstrip('-').isdigit():
                fail(f'{where}: bad prerequisite {word}')
            n.entries.append(Entry(ident_to_pos[ident], int(level)))
        nodes.append(n)


def load_trees(skills):
    ident_to_pos = {s.ident: p for p, s in skills.items()}
    trees = {}
    for job in range(20):
        nodes = []
        parse_tree_file(os.path.join(CONTENT, 'trees', f'job{job:02d}.txt'), ident_to_pos, nodes, set())
        trees[job] = nodes
    return trees


def load_descriptions():
    """The description table: (identifier, [strings]) per line, in order."""
    lines = []
    with open(os.path.join(CONTENT, 'descriptions.tsv'), encoding='utf-8') as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip('\n')
            if not line or line.startswith('#'):
                continue
            cols = line.split('\t')
            lines.append((cols[0], [c for c in cols[1:]]))
    return lines


def read_text(name):
    with open(os.path.join(CONTENT, name), encoding='utf-8') as f:
        return f.read()


# --------------------------------------------------------------------------
# Connector routing. A path leaves the node at the middle of its left edge
# (prerequisite in a column to the left) or of its top edge (prerequisite
# above in the same column) and ends on the prerequisite's icon boundary. It
# runs along the gaps between icons and touches no other icon of the tree.

def segment_hits(box, a, b):
    x0, y0, x1, y1 = box
    sx0, sx1 = min(a[0], b[0]), max(a[0], b[0])
    sy0, sy1 = min(a[1], b[1]), max(a[1], b[1])
    return sx0 <= x1 and sx1 >= x0 and sy0 <= y1 and sy1 >= y0


def point_in(box, p):
    return box[0] <= p[0] <= box[2] and box[1] <= p[1] <= box[3]


def segment_ok(a, b, boxes, own, target, first, final_end):
    """A segment from a to b may touch the node's own icon only at the path
    start and the prerequisite's icon only at the path end."""
    ux = (b[0] > a[0]) - (b[0] < a[0])
    uy = (b[1] > a[1]) - (b[1] < a[1])
    length = abs(b[0] - a[0]) + abs(b[1] - a[1])
    for key, box in boxes.items():
        if not segment_hits(box, a, b):
            continue
        trim_start = key == own and first
        trim_end = key == target and final_end
        if not (trim_start or trim_end):
            return False
        if trim_end and not point_in(box, b):
            return False
        s = trim_start + trim_end
        if length - s < 0:
            continue
        sa = (a[0] + ux * trim_start, a[1] + uy * trim_start)
        sb = (b[0] - ux * trim_end, b[1] - uy * trim_end)
        if segment_hits(box, sa, sb):
            return False
    return True


def route(node, prereq, boxes):
    """Start offset and steps of the connector from node to prereq, or None."""
    own, target = (node.col, node.row), (prereq.col, prereq.row)
    nb, pb = boxes[own], boxes[target]
    if prereq.col < node.col:
        start_off = (0, 12)
    elif prereq.col == node.col and prereq.row < node.row:
        start_off = (12, 0)
    else:
        return None
    start = (nb[0] + start_off[0], nb[1] + start_off[1])
    # Ends: the middle of the prerequisite's right, bottom, top or left edge,
    # each reached moving into the icon.
    ends = {
        (pb[2], pb[1] + 12): 'left',   # arrive moving left
        (pb[0] + 12, pb[3]): 'up',
        (pb[0] + 12, pb[1]): 'down',
        (pb[0], pb[1] + 12): 'right',
    }
    lo_c, hi_c = min(node.col, prereq.col), max(node.col, prereq.col)
    lo_r, hi_r = min(node.row, prereq.row), max(node.row, prereq.row)
    xs = {start[0]} | {e[0] for e in ends}
    for k in range(lo_c, hi_c + 2):
        xs.add(64 * k + 18)
    for c in range(lo_c, hi_c + 1):
        xs.add(64 * c + 45)
    ys = {start[1]} | {e[1] for e in ends}
    for r in range(max(0, lo_r - 1), hi_r + 2):
        ys.add(64 * r + 32)
        ys.add(64 * r + 47)
    xs, ys = sorted(xs), sorted(ys)
    # Only icons inside the lanes' reach can be touched.
    reach = (xs[0], ys[0], xs[-1], ys[-1])
    near = {k: b for k, b in boxes.items() if segment_hits(b, reach[:2], reach[2:])}
    memo = {}

    def ok(p, q, first, is_end):
        key = (p, q, first, is_end)
        if key not in memo:
            memo[key] = segment_ok(p, q, near, own, target, first, is_end)
        return memo[key]

    best = None
    # states: point -> (segments, length, steps)
    frontier = {start: (0, 0, [])}
    for j in range(9):
        horizontal = j % 2 == 0
        nxt = {}
        for p, (segs, length, steps) in frontier.items():
            if best is not None and segs + 1 > best[0][0]:
                continue
            options = xs if horizontal else ys
            for v in options:
                q = (v, p[1]) if horizontal else (p[0], v)
                d = (v - p[0]) if horizontal else (v - p[1])
                if j == 0 and start_off == (0, 12) and d >= 0:
                    continue
                if j == 0 and start_off == (12, 0) and d != 0:
                    continue
                if j == 1 and start_off == (12, 0) and d >= 0:
                    continue
                first = segs == 0
                if d == 0:
                    cand = (segs, length, steps + [0])
                else:
                    arrive = ends.get(q)
                    direction = ('left' if d < 0 else 'right') if horizontal else ('up' if d < 0 else 'down')
                    is_end = arrive == direction
                    if not ok(p, q, first, is_end):
                        continue
                    cand = (segs + 1, length + abs(d), steps + [d])
                    if is_end:
                        key = (cand[0], cand[1], len(cand[2]))
                        if best is None or key < best[0]:
                            best = (key, cand[2])
                        continue
                old = nxt.get(q)
                if old is None or (old[0], old[1]) > (cand[0], cand[1]):
                    nxt[q] = cand
        frontier = nxt
    if best is None:
        return None
    steps = best[1]
    return start_off, steps


# --------------------------------------------------------------------------
# Checks

def check_skills(skills):
    expected = set(range(SKILL_COUNT)) - set(SEPARATORS)
    if set(skills) != expected:
        missing = sorted(expected - set(skills))[:5]
        extra = sorted(set(skills) - expected)[:5]
        fail(f'skills.tsv must list positions 1..743 outside the separators (missing {missing}, extra {extra})')
    idents, icons, names = set(), set(), [set(), set(), set()]
    jp_empty = 0
    levels = {}
    for p, s in sorted(skills.items()):
        if not (5 <= len(s.ident) <= 26) or any(not (c == '_' or 'A' <= c <= 'Z') for c in s.ident):
            fail(f'skill {p}: identifier {s.ident!r} must be 5-26 of A-Z and _')
        if s.ident in idents:
            fail(f'skill {p}: identifier {s.ident} twice')
        idents.add(s.ident)
        if not (10001 <= s.icon <= 11148) or s.icon in icons:
            fail(f'skill {p}: icon {s.icon} outside 10001..11148 or used twice')
        icons.add(s.icon)
        if s.max_level not in (0, 1, 2, 3, 4, 5, 7, 10):
            fail(f'skill {p}: maxLevel {s.max_level}')
        levels[s.max_level] = levels.get(s.max_level, 0) + 1
        for lang, name in enumerate(s.names):
            if len(name) > 30 or name.count('\n') > 2:
                fail(f'skill {p}: name {name!r} too long')
            if lang < 2 and not name:
                fail(f'skill {p}: Korean and English names must not be empty')
            for line in name.split('\n') if name else []:
                if not line or line_width(line) > MAX_LINE_WIDTH:
                    fail(f'skill {p}: name line {line!r} does not fit the name cell')
        jp_empty += not s.names[2]
    if levels.get(0) != 1:
        fail('exactly one skill must have maxLevel 0')
    if set(levels) != {0, 1, 2, 3, 4, 5, 7, 10}:
        fail(f'maxLevel values in use: {sorted(levels)}')
    if jp_empty != JAPANESE_EMPTY_SKILLS:
        fail(f'{jp_empty} skills lack a Japanese name, expected {JAPANESE_EMPTY_SKILLS}')


def run_of(pos):
    for g, (lo, hi) in enumerate(RUNS):
        if lo <= pos <= hi:
            return g
    return None


def page_frame(job, page):
    frame = PAGES[job][page]
    return frame[:4] if frame else None


def check_trees(skills, trees):
    counts = [0] * 6
    dead = 0
    level0, level_over = [], []
    five = []
    for job in range(20):
        nodes = trees[job]
        per_page = JOBS[job][2]
        got = [sum(1 for n in nodes if n.page == p) for p in range(4)]
        if tuple(got) != per_page:
            fail(f'job {job}: nodes per page {got}, expected {list(per_page)}')
        if len(nodes) > 99:
            fail(f'job {job}: too many nodes')
        pages = [n.page for n in nodes]
        if pages != sorted(pages):
            fail(f'job {job}: nodes must be ordered by page')
        cells, seen = {}, {}
        for n in nodes:
            if n.skill in seen:
                fail(f'{n.source}: skill {skills[n.skill].ident} twice in job {job}')
            seen[n.skill] = n
            if not (0 <= n.col <= 15 and 0 <= n.row <= 6):
                fail(f'{n.source}: cell ({n.col}, {n.row}) outside columns 0-15, rows 0-6')
            if (n.col, n.row) in cells:
                fail(f'{n.source}: cell ({n.col}, {n.row}) used twice in job {job}')
            cells[(n.col, n.row)] = n
            frame = page_frame(job, n.page)
            if frame is None or n.page > JOBS[job][1]:
                fail(f'{n.source}: page {n.page} is not shown for job {job}')
            left, top, right, bottom = frame
            inner = (left + 2, top + 8, right - 2, bottom + 4)
            ib = icon_box(n.col, n.row)
            if not (inner[0] < ib[0] and ib[2] < inner[2] and inner[1] < ib[1] and ib[3] < inner[3]):
                fail(f'{n.source}: icon outside the frame of page {n.page}')
            for lang, name in enumerate(skills[n.skill].names):
                if not name:
                    continue
                e = name_extent(name, n.col, n.row)
                if not (inner[0] < e[0] and e[2] < inner[2] and e[3] < inner[3]):
                    fail(f'{n.source}: name {name!r} outside the frame of page {n.page}')
                below = (n.col, n.row + 1)
                lines = name.count('\n') + 1
                if lines > 2 and any((m.col, m.row) == below for m in nodes):
                    fail(f'{n.source}: a node sits below, so the name may have two lines at most')
        for n in nodes:
            used = [e for e in n.entries if not e.dead]
            if any(e.dead for e in n.entries[:len(used)]):
                fail(f'{n.source}: dead entries must follow the used ones')
            if len(n.entries) > 5:
                fail(f'{n.source}: more than five entries')
            counts[len(used)] += 1
            dead += len(n.entries) - len(used)
            if len(used) == 5:
                five.append(job)
            for e in used:
                if e.skill == n.skill:
                    fail(f'{n.source}: a node cannot need its own skill')
                p = seen.get(e.skill)
                if p is None:
                    fail(f'{n.source}: prerequisite {skills[e.skill].ident} has no node in job {job}')
                if p.page > n.page:
                    fail(f'{n.source}: prerequisite on a later page')
                if not (p.col < n.col or (p.col == n.col and p.row < n.row)):
                    fail(f'{n.source}: prerequisite must lie left of or above the node')
                mx = skills[e.skill].max_level
                if e.level == 0 and mx == 0:
                    level0.append((job, n))
                    if n.entries[0] is not e:
                        fail(f'{n.source}: a level-0 requirement must be the first entry')
                elif e.level > mx:
                    level_over.append((job, mx, e.level))
                elif e.level < 1:
                    fail(f'{n.source}: required level {e.level}')
        # Grade runs.
        for n in nodes:
            run = run_of(n.skill)
            if run is None:
                fail(f'{n.source}: separator used in a tree')
    if tuple(counts) != PREREQ_DISTRIBUTION:
        fail(f'prerequisite counts {counts}, expected {list(PREREQ_DISTRIBUTION)}')
    if dead != DEAD_ENTRIES:
        fail(f'{dead} dead entries, expected {DEAD_ENTRIES}')
    if [j for j, _ in level0] != [0]:
        fail(f'the level-0 requirement must occur once, in job 0 (found in {[j for j, _ in level0]})')
    if level_over != [(3, 1, 3)]:
        fail(f'the over-high requirement must be level 3 of a maxLevel-1 skill in job 3 (found {level_over})')
    if five != [7]:
        fail(f'the five-prerequisite node must be the only one, in job 7 (found in {five})')
    check_runs(trees)


def check_point_budget(skills, trees):
    """A point granted for page k can be spent on pages 0..k only (pages 1 and 2
    share one pool), so the pages 0..0, 0..2 and 0..3 (up to the job's highest
    grade) must hold more levels than the points granted for them: at least
    SPARE_LEVELS more, or every skill at the highest maxLevel where the node
    count allows no more than that."""
    for job in range(20):
        top = JOBS[job][1]
        for last in sorted({min(p, top) for p in (0, 2, 3)}):
            nodes = [n for n in trees[job] if n.page <= last]
            levels = sum(skills[n.skill].max_level for n in nodes)
            points = sum(POINT_LIMITS[job][:last + 1])
            need = min(points + SPARE_LEVELS, HIGHEST_MAX_LEVEL * len(nodes))
            if need < points or levels < need:
                fail(f'job {job}: pages 0..{last} hold {levels} levels for {points} points '
                     f'(need {max(need, points)})')


def check_runs(trees):
    for job in range(20):
        off = {}
        for n in trees[job]:
            run = run_of(n.skill)
            if run != n.page:
                off[(n.page, run)] = off.get((n.page, run), 0) + 1
        expected = {}
        if job in GRADE_RANGE_1_TO_3:
            expected[(3, 0)] = 1
        if job in PAGE1_FIRST_JOB_SKILLS:
            expected[(1, 0)] = PAGE1_FIRST_JOB_SKILLS[job]
        if job == 12:
            expected[(1, 2)] = 1
        if off != expected:
            fail(f'job {job}: skills outside their page\'s run {off}, expected {expected}')


def derive_paths(trees):
    for job in range(20):
        nodes = trees[job]
        boxes = {(n.col, n.row): icon_box(n.col, n.row) for n in nodes}
        by_skill = {n.skill: n for n in nodes}
        for n in nodes:
            for e in n.entries:
                if e.dead:
                    # A leftover entry: it keeps a stub path that no reader draws.
                    e.start, e.path = (0, 12), [-8]
                    continue
                r = route(n, by_skill[e.skill], boxes)
                if r is None:
                    fail(f'{n.source}: no connector path to {e.skill} within nine steps')
                e.start, e.path = r


def check_texts(texts):
    if sorted(texts) != list(range(27, 136)):
        fail('texts.tsv must hold records 27 to 135')
    for i, t in texts.items():
        if any(len(s) > 99 for s in t):
            fail(f'text {i} longer than 99 characters')
        if not t[0]:
            fail(f'text {i} has no Korean text')
    for i in range(27, 30):
        if not texts[i][1] or texts[i][2]:
            fail(f'text {i}: Korean and English only')
    for i in range(30, 80):
        has = bool(texts[i][1]) or bool(texts[i][2])
        want = i in (43, 45, 46, 54, 72)
        if want and not (texts[i][1] and texts[i][2]) or (not want and has):
            fail(f'title {i}: English and Japanese only in 43, 45, 46, 54 and 72')
    no_jp = set(range(112, 125)) | {131, 132, 134, 135}
    for i in range(80, 136):
        if not texts[i][1]:
            fail(f'name {i} has no English text')
        if bool(texts[i][2]) == (i in no_jp):
            fail(f'name {i}: Japanese text {"must be empty" if i in no_jp else "missing"}')
    for lang in range(3):
        seen = {}
        for job in range(20):
            s = highest_title(texts, job, lang)
            if not s or s in seen:
                fail(f'highest-grade title of job {job} empty or equal to job {seen.get(s)} in language {lang}')
            seen[s] = job


def shown_text(t, lang):
    """A text record's text in a language by the lookup's fallback."""
    return t[lang] or t[1] or t[0]


def highest_title(texts, job, lang):
    """The title of the job's highest grade, which also names its builds in the profile."""
    return shown_text(texts[JOBS[job][3][JOBS[job][1]]], lang)


def check_former_titles(former, texts):
    """A former title names only its own job's builds: in no language does it
    read as another job's title or as another listed former title."""
    seen = {}
    for job, t, number in former:
        where = f'former_titles.tsv:{number}'
        if job not in JOBS:
            fail(f'{where}: no job {job}')
        if not t[0] or any(len(s) > 99 or '\n' in s for s in t):
            fail(f'{where}: a title needs a Korean text and at most 99 characters on one line')
        if all(shown_text(t, lang) == highest_title(texts, job, lang) for lang in range(3)):
            fail(f'{where}: {t[0]!r} is the current title of job {job} in every language')
        for lang in range(3):
            s = shown_text(t, lang)
            for other in range(20):
                if other != job and s == highest_title(texts, other, lang):
                    fail(f'{where}: {s!r} is the title of job {other} in language {lang}')
            if (lang, s) in seen:
                fail(f'{where}: {s!r} in language {lang} is listed before, for job {seen[lang, s]}')
            seen[lang, s] = job


def check_name_widths(texts):
    """Every job's name (of its highest grade, in each language by the lookup's
    fallback) fits its save-dialog radio and its chooser label."""
    for lang in range(3):
        for job in range(20):
            t = texts[JOBS[job][4][JOBS[job][1]]]
            name = t[lang] or t[1] or t[0]
            width = dialog_text_width(name)
            room = dialog_units_to_pixels(CHOOSER_LABEL_WIDTH)
            if width > room:
                fail(f'job {job}: name {name!r} ({width} px) wider than its chooser label ({room} px)')
            if job in SAVE_DLG_RADIO_WIDTHS:
                room = dialog_units_to_pixels(SAVE_DLG_RADIO_WIDTHS[job]) - RADIO_INDICATOR_AND_SPACING
                if width > room:
                    fail(f'job {job}: name {name!r} ({width} px) wider than its save-dialog radio ({room} px)')


def check_title_widths(texts):
    """Every job's title, at each grade it is shown in and in each language by
    the lookup's fallback, ends left of Close in the window of that grade."""
    for job in range(20):
        low, high = JOBS[job][0], JOBS[job][1]
        for grade in range(low, high + 1):
            t = texts[JOBS[job][3][grade]]
            close = close_button_left(job, grade)
            for lang in range(3):
                title = t[lang] or t[1] or t[0]
                right = TITLE_LEFT + title_text_width(title) + TITLE_OVERHANG
                if right > close:
                    fail(f'job {job}: title {title!r} at grade {grade} reaches x = {right}, '
                         f'past the left edge of Close at x = {close}')


def check_release_note_names(notes, texts):
    """The release notes name each job as the chooser does: by its Korean name
    of the highest grade. A job's other titles and names (lower grades, page
    titles) are refused where they stand as a word, bare or with a particle."""
    chooser = {job: texts[JOBS[job][4][JOBS[job][1]]][0] for job in range(20)}
    other = {}
    for job in range(20):
        low, high = JOBS[job][0], JOBS[job][1]
        grades = range(low, high + 1)
        shown = [JOBS[job][3][g] for g in grades] + [JOBS[job][4][g] for g in grades]
        shown += [PAGES[job][p][4] for p in range(4) if PAGES[job][p] and PAGES[job][p][4]]
        for index in shown:
            korean = texts[index][0]
            if korean != chooser[job] and korean not in chooser.values():
                other.setdefault(korean, job)
    particles = ('', '와', '과', '의', '를', '을', '은', '는', '이', '가', '도', '로', '으로', '에')
    for number, line in enumerate(notes.splitlines(), 1):
        words = [w.strip('.,()!?"\'') for w in line.split()]
        for text, job in other.items():
            if ' ' in text:
                hit = text in line
            else:
                hit = any(w == text + p for w in words for p in particles)
            if hit:
                fail(f'release_notes_177.txt:{number}: calls job {job} {text!r}; '
                     f'the chooser calls it {chooser[job]!r}')


# What a skill of at most one level cannot truthfully say: that its level
# rises ("레벨이 오를수록", "레벨을 올리면", "레벨업"), that something comes per
# level ("레벨당", "레벨마다", "레벨에 따라"), that more points raise it
# ("올릴수록", "익힐수록"), or a level above 1 ("[Lv 2]", "레벨 3").
ONE_LEVEL_REFUSED = re.compile(
    r'레벨\s*[이을가]?\s*(오르|오를|올라|올릴|올리|높아|높을|높일|높이|늘어|늘리|상승|증가)'
    r'|레벨\s*(당|마다|별|에\s*따라|업)'
    r'|(올릴|익힐|투자할)\s*수록'
    r'|(레벨|(?i:lv)\.?)\s*:?\s*([2-9]|[1-9][0-9])')


def check_descriptions(desc, skills):
    idents = {s.ident: p for p, s in skills.items()}
    matched, other, empty_other = set(), 0, 0
    for ident, strings in desc:
        if not ident or len(ident) > 26 or any(not (c == '_' or 'A' <= c <= 'Z') for c in ident):
            fail(f'description identifier {ident!r}')
        if ident in idents:
            if ident in matched:
                fail(f'description of {ident} twice')
            matched.add(ident)
        else:
            other += 1
            empty_other += not strings
        if len(strings) > 24:
            fail(f'{ident}: more than 24 strings')
        text = ''.join(strip_colours(s) + '\n' for s in strings)
        if len(text) > 1000:
            fail(f'{ident}: description of {len(text)} characters')
        for s in strings:
            if '"' in s or '}' in s or '\r' in s:
                fail(f'{ident}: string holds a quote, brace or CR')
        if ident in idents:
            max_level = skills[idents[ident]].max_level
            check_level_lines(ident, strings, max_level)
            if max_level <= 1:
                for x in strings:
                    found = ONE_LEVEL_REFUSED.search(strip_colours(x))
                    if found:
                        fail(f'{ident}: "{found.group(0)}" in a description of a skill with '
                             f'maxLevel {max_level}: {strip_colours(x)!r}')
    if (len(desc), len(matched), other, empty_other) != (1065, 736, 329, 152):
        fail(f'description lines {len(desc)}, matched {len(matched)}, other {other}, empty {empty_other}')


def check_level_lines(ident, strings, max_level):
    """A skill's description names its maxLevel and has one "[Lv n]" line per level."""
    stated = [x for x in strings if x.startswith('최대 레벨 : ')]
    if stated != ([f'최대 레벨 : {max_level}'] if max_level > 0 else []):
        fail(f'{ident}: level line {stated} for maxLevel {max_level}')
    lines = [x.split(']')[0] for x in strings if x.startswith('[Lv ')]
    if lines != [f'[Lv {n}' for n in range(1, max_level + 1)]:
        fail(f'{ident}: {len(lines)} level lines for maxLevel {max_level}')


def strip_colours(s):
    out, i = [], 0
    while i < len(s):
        if s[i] == '^':
            code = s[i + 1:i + 7]
            if len(code) != 6 or any(c not in '0123456789ABCDEFabcdef' for c in code):
                fail(f'bad colour code in {s!r}')
            i += 7
            continue
        out.append(s[i])
        i += 1
    return ''.join(out)


# --------------------------------------------------------------------------
# Output

def cpp_u16(s):
    out = []
    for ch in s:
        o = ord(ch)
        if ch == '\n':
            out.append('\\n')
        elif ch in '"\\':
            out.append('\\' + ch)
        elif 0xE000 <= o <= 0xF8FF or 0xF900 <= o <= 0xFAFF or o < 0x20:
            out.append(f'\\u{o:04X}')
        else:
            out.append(ch)
    return 'u"' + ''.join(out) + '"'


def trim_zeros(values):
    values = list(values)
    while values and values[-1] == 0:
        values.pop()
    return values


def emit_skill_table(skills):
    out = ['// Generated by tools/gen_content.py from resources/content/skills.tsv. Do not edit.',
           '// The skill table. Positions 0, 131, 413, 476 and 744 are separators between',
           '// the first-job, second-job, advanced second-job and third-job runs.',
           '#include "data/tables.h"', '',
           'const SkillRecord g_SkillTable[kSkillCount] = {']
    for p in range(SKILL_COUNT):
        if p == 0:
            out.append('    {0, 10000, {u"", u"", u""}, u"", 0, {}},')
        elif p == 744:
            out.append('    {0, 0, {u"", u"", u""}, u"", 0, {}},')
        elif p in SEPARATORS:
            out.append('    {0, 0, {u"?", u"", u""}, u"", 0, {}},')
        else:
            s = skills[p]
            names = ', '.join(cpp_u16(n) for n in s.names)
            out.append(f'    {{{p}, {s.icon}, {{{names}}}, {cpp_u16(s.ident)}, {s.max_level}, {{}}}},')
    out.append('};')
    return '\n'.join(out) + '\n'


def emit_entry(e):
    vals = [e.skill, e.level, e.start[0], e.start[1]]
    path = trim_zeros(e.path + [0] * (9 - len(e.path)))
    if path:
        return '{' + ', '.join(map(str, vals)) + ', {' + ', '.join(map(str, path)) + '}}'
    return '{' + ', '.join(map(str, trim_zeros(vals))) + '}'


def emit_tree_blocks(trees):
    out = ['// Generated by tools/gen_content.py from resources/content/trees. Do not edit.',
           '// The twenty job trees by job id: page frames (tree pixels: left, top,',
           '// right, bottom; all zero means no page), then the nodes. Node 0 holds no',
           '// skill; the list ends at the first node whose skill is 0.',
           '#include "data/tables.h"', '',
           '// Trailing zero fields are left out; they are zero-initialised.',
           '#pragma GCC diagnostic ignored "-Wmissing-field-initializers"', '',
           'SkillTreeBlock g_SkillTreeBlocks[kJobCount] = {']
    for job in range(20):
        portraits = JOBS[job][5]
        pages = []
        for p in range(4):
            f = PAGES[job][p]
            if f is None:
                pages.append('{{0, 0}, {0, 0, 0, 0}, 0}')
            else:
                pages.append(f'{{{{{portraits[0][0]}, {portraits[1][0]}}}, {{{f[0]}, {f[1]}, {f[2]}, {f[3]}}}, {f[4]}}}')
        out.append(f'    /* job {job} */ {{{{{", ".join(pages)}}}, {{}}, {{')
        out.append('        {},')
        for n in trees[job]:
            entries = [emit_entry(e) for e in n.entries]
            tail = f', {{{", ".join(entries)}}}' if entries else ''
            out.append(f'        {{{n.skill}, {n.page}, {n.col}, {n.row}{tail}}},')
        out.append('    }},')
    out.append('};')
    return '\n'.join(out) + '\n'


FIXED_TEXTS_HEAD = '''// Generated by tools/gen_content.py from resources/content/texts.tsv. Do not edit.
// Localized texts: Korean, English, Japanese. An empty text means the text has
// no translation in that language and the lookup falls back.
#include "data/tables.h"

const LocalizedText g_LocalizedTextTable[kTextCount] = {
    {{u"", u"", u""}},
    {{u"(&X)종료", u"e&Xit", u"(&X)終了"}},
    {{u"(&L)파일읽기", u"&Load", u"(&L)ロード"}},
    {{u"(&S)파일저장", u"&Save", u"(&S)保存"}},
    {{u"(&O)환경설정", u"c&Onfig", u"(&O)環境設定"}},
    {{u"(&A)정보", u"&About", u"(&A)情報"}},
    {{u"초기화", u"Reset", u""}},
    {{u"닫기", u"Close", u"終了"}},
    {{u">>", u"", u""}},
    {{u"<<", u"", u""}},
    {{u"확인", u"Ok", u"確認"}},
    {{u"취소", u"Cancel", u"取消"}},
    {{u"환경설정", u"Config", u"環境設定"}},
    {{u"성별선택", u"Select Sex", u"性別選択"}},
    {{u"남자", u"Boy", u"男子"}},
    {{u"여자", u"Girl", u"\\uF981子"}},
    {{u"스킬정보보기", u"Show Description for Skill", u"Show Description for Skill"}},
    {{u"윈도우를 항상 가운데로", u"Always Move to Center", u"Always Move to Center"}},
    {{u"스킬수 자동변경", u"Automatic Demanded Skill Points", u"Automatic Demanded Skill Points"}},
    {{u"자동업데이트 검사", u"Check if updated New Version", u"Check if updated New Version"}},
    {{u"자동저장", u"Autosave when exit", u"Autosave when exit"}},
    {{u"선택하지 않음", u"None Selection", u""}},
    {{u"자동실행할 직업", u"Select Job to Autorun", u""}},
    {{u"저장할 슬롯", u"Select Slot to Save", u""}},
    {{u"슬롯1", u"Slot1", u""}},
    {{u"슬롯2", u"Slot2", u""}},
    {{u"슬롯3", u"Slot3", u""}},
'''


def emit_text_table(texts):
    out = [FIXED_TEXTS_HEAD.rstrip('\n')]
    for i in range(27, 136):
        t = texts[i]
        out.append(f'    {{{{{cpp_u16(t[0])}, {cpp_u16(t[1])}, {cpp_u16(t[2])}}}}},  // {i}')
    out.append('};')
    return '\n'.join(out) + '\n'


def emit_former_title_table(former):
    out = ['// Generated by tools/gen_content.py from resources/content/former_titles.tsv. Do not edit.',
           '// Titles that jobs\' highest grades carried before: Korean, English, Japanese.',
           '#include "data/tables.h"', '',
           'const FormerJobTitle g_FormerJobTitleTable[] = {']
    for job, t, _ in former:
        out.append(f'    {{{job}, {{{{{cpp_u16(t[0])}, {cpp_u16(t[1])}, {cpp_u16(t[2])}}}}}}},')
    out.append('    {NO_JOB, {}},')
    out.append('};')
    return '\n'.join(out) + '\n'


def description_script(desc):
    lines = ['-- Tolvemar skill descriptions: one line per skill identifier.',
             '-- Strings may hold ^RRGGBB colour codes.',
             '',
             'SkillDescriptionTable = {']
    for i, (ident, strings) in enumerate(desc):
        body = ', '.join('"' + s + '"' for s in strings)
        sep = ', ' if i + 1 < len(desc) else ''
        lines.append(f'[SKID.{ident}] = {{{body}}}{sep}')
    return '\r\n'.join(lines) + '\r\n'


def crlf(text):
    return text.replace('\r\n', '\n').replace('\n', '\r\n')


def cpp_bytes(name, data):
    """A byte array as string literal pieces, one piece per source line."""
    out = [f'const unsigned char {name}[] = ']
    piece = []
    def flush():
        out.append('    "' + ''.join(piece) + '"')
        piece.clear()
    prev_hex = False
    for b in data:
        if 0x20 <= b < 0x7F and b not in (0x22, 0x5C, 0x3F):
            ch = chr(b)
            if prev_hex and ch in '0123456789abcdefABCDEF':
                piece.append('""')
            piece.append(ch)
            prev_hex = False
        elif b == 0x0A:
            piece.append('\\n')
            prev_hex = False
            flush()
        elif b == 0x0D:
            piece.append('\\r')
            prev_hex = False
        else:
            piece.append(f'\\x{b:02x}')
            prev_hex = True
    if piece:
        flush()
    out[-1] += ';'
    return '\n'.join(out)


def emit_text_resources(res, what):
    out = ['// Generated by tools/gen_content.py from resources/content. Do not edit.',
           f'// {what}',
           '#include <cstddef>', '']
    for rid, data in res:
        out.append(f'extern const unsigned char kTextResource{rid}[];')
        out.append(f'extern const std::size_t kTextResource{rid}Size;')
        out.append(cpp_bytes(f'kTextResource{rid}', data))
        out.append(f'const std::size_t kTextResource{rid}Size = {len(data)};')
        out.append('')
    return '\n'.join(out)


def build(out_root):
    skills = load_skills()
    check_skills(skills)
    texts = load_texts()
    check_texts(texts)
    check_name_widths(texts)
    check_title_widths(texts)
    former = load_former_titles()
    check_former_titles(former, texts)
    check_release_note_names(read_text('release_notes_177.txt'), texts)
    trees = load_trees(skills)
    check_trees(skills, trees)
    check_point_budget(skills, trees)
    derive_paths(trees)
    desc = load_descriptions()
    check_descriptions(desc, skills)

    files = {}
    files['resources/generated/skill_table.cpp'] = emit_skill_table(skills).encode()
    files['resources/generated/skill_tree_blocks.cpp'] = emit_tree_blocks(trees).encode()
    files['resources/generated/text_table.cpp'] = emit_text_table(texts).encode()
    files['resources/generated/former_title_table.cpp'] = emit_former_title_table(former).encode()
    res214 = description_script(desc).encode('cp949')
    res213 = crlf(read_text('skill_names_213.txt')).encode('cp949')
    res177 = crlf(read_text('release_notes_177.txt')).encode('cp949')
    if b'\0' in res177 or b'\0' in res214:
        fail('text resources must hold no zero byte')
    files['resources/generated/text_resources.cpp'] = emit_text_resources(
        [(177, res177), (213, res213)],
        'Text resources in code page 949: 177 the release notes, 213 carried and read by nothing.').encode()
    files['resources/generated/text_resource_214.cpp'] = emit_text_resources(
        [(214, res214)], 'Text resource 214 in code page 949: the skill description table.').encode()
    files.update(content_art.build_bitmaps(skills, JOBS))

    for rel, data in files.items():
        path = os.path.join(out_root, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        old = None
        if os.path.exists(path):
            with open(path, 'rb') as f:
                old = f.read()
        if old != data:
            with open(path, 'wb') as f:
                f.write(data)
    return files, skills, trees


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('--out', help='write the artefacts under this folder')
    ap.add_argument('--check', action='store_true', help='fail when the committed artefacts differ')
    args = ap.parse_args()
    try:
        if args.check:
            with tempfile.TemporaryDirectory() as tmp:
                files, _, _ = build(tmp)
                diff = [rel for rel in sorted(files)
                        if not os.path.exists(os.path.join(ROOT, rel))
                        or not filecmp.cmp(os.path.join(tmp, rel), os.path.join(ROOT, rel), shallow=False)]
                committed = set()
                bitmap_dir = os.path.join(ROOT, 'resources', 'bitmaps')
                for base, _, names in os.walk(bitmap_dir):
                    for n in names:
                        committed.add(os.path.relpath(os.path.join(base, n), ROOT))
                stale = sorted(committed - set(files))
                if diff or stale:
                    for rel in diff:
                        print(f'differs: {rel}')
                    for rel in stale:
                        print(f'not generated: {rel}')
                    return 1
                print(f'content check: {len(files)} artefacts match')
                return 0
        build(args.out or ROOT)
    except ContentError as e:
        print(f'gen_content: {e}', file=sys.stderr)
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main())
